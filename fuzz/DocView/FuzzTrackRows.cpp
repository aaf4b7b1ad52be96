// Reads arbitrary bytes as a track file (GPL when the first byte is even, ICR2 when it
// is odd) and fills the track tree and, for every row of it, the property list, as a
// user clicking through a damaged track would. Each tree row's hint must name its own
// item, or its segment when the fields cannot hold the item, and the property list of
// a hint naming nothing must stay empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "DocView/Core/TrackItemHint.h"
#include "DocView/Core/TrackPropertyRows.h"
#include "DocView/Core/TrackTreeRows.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/TrackSegment.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

using namespace Ostra;
using namespace Ostra::DocView;

namespace {

void CheckHint(const TrackTreeRow& row, std::int32_t segment, std::int32_t kind, std::int32_t item) {
  const DecodedTrackItemHint decoded = DecodeTrackItemHint(row.Hint);
  const bool names_item = decoded.Segment == segment && decoded.Kind == kind && decoded.Item == item;
  const bool names_segment = decoded.Segment == segment && decoded.Kind == 0;
  if (row.Hint != NoItemHint && !names_item && !names_segment)
    std::abort();
}

void ShowRows(const Papy::Track& track, TrackItemHint hint) {
  try {
    (void)BuildPropertyRows(track, hint);
  } catch (const Util::Exception&) {
    // An unknown surface or wall type in a damaged file: the list keeps what it got.
  }
}

void ClickThrough(const Papy::Track& track) {
  std::vector<TrackTreeRow> rows;
  try {
    EmitTrackTreeItems(&track, [&rows](const TrackTreeRow& row) { rows.push_back(row); });
  } catch (const Util::Exception&) {
    // The tree shows the rows it got.
  }
  if (rows.empty() || rows.front().Hint != WholeTrackHint)
    std::abort();
  // Under each segment come its traces, surfaces and walls, each kind counting from 0.
  std::int32_t segment = -1;
  U32 traces = 0, surfaces = 0, position = 0;
  for (const TrackTreeRow& row : rows) {
    if (row.Depth == 1) {
      ++segment;
      const CountedPtr<Papy::TrackSegment> model = track.GetSegment(static_cast<U32>(segment));
      traces = model ? model->GetXSectionCount() : 0;
      surfaces = model ? model->GetFSectionCount() : 0;
      position = 0;
      CheckHint(row, segment, 0, -1);
    } else if (row.Depth == 2) {
      const U32 at = position++;
      if (at < traces)
        CheckHint(row, segment, 1, static_cast<std::int32_t>(at));
      else if (at < traces + surfaces)
        CheckHint(row, segment, 2, static_cast<std::int32_t>(at - traces));
      else
        CheckHint(row, segment, 3, static_cast<std::int32_t>(at - traces - surfaces));
    }
    ShowRows(track, row.Hint);
  }
  // A hint that names no item of this track (a stale one) shows nothing.
  const TrackItemHint stale = MakeSegmentHint(track.GetSegmentCount());
  if (stale != NoItemHint && !BuildPropertyRows(track, stale).empty())
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  CountedPtr<Papy::TrkFile> file;
  try {
    const CountedPtr<Util::BinaryStream> stream(
        new Util::MemoryStream("fuzz.trk", std::vector<unsigned char>(data + 1, data + size)));
    if (data[0] % 2 == 0)
      file.Reset(new Papy::GPLTrkFile(stream));
    else
      file.Reset(new Papy::ICR2TrkFile(stream));
  } catch (const Util::Exception&) {
    return 0; // rejected input
  }
  try {
    const Papy::TrkTrack track(file);
    ClickThrough(track);
  } catch (const Util::Exception&) {
    // A track the model cannot make from a damaged file.
  }
  return 0;
}
