#include "DocView/Core/TrackTreeRows.h"

#include <string_view>

#include "Papy/Track/Track.h"

namespace Ostra::DocView {

namespace {

// std::to_string is independent of the user's locale (no digit grouping).
std::string Label(std::string_view prefix, U32 number) {
  std::string label(prefix);
  label += std::to_string(number);
  return label;
}

void EmitItems(U32 segment, U32 count, TrackItemKind kind, std::string_view prefix,
               const TrackTreeRowSink& sink) {
  for (U32 i = 0; i < count; ++i)
    sink({2, Label(prefix, i), MakeItemHint(segment, kind, i)});
}

} // namespace

void EmitTrackTreeItems(const Papy::Track* track, const TrackTreeRowSink& sink) {
  sink({0, "root", WholeTrackHint});
  if (track == nullptr)
    return;
  const U32 segment_count = track->GetSegmentCount();
  for (U32 s = 0; s < segment_count; ++s) {
    const CountedPtr<Papy::TrackSegment> segment = track->GetSegment(s);
    sink({1, Label("Segment ", s), MakeSegmentHint(s)});
    if (!segment)
      continue;
    EmitItems(s, segment->GetXSectionCount(), TrackItemKind::Trace, "Trace ", sink);
    EmitItems(s, segment->GetFSectionCount(), TrackItemKind::Surface, "Surface ", sink);
    EmitItems(s, segment->GetWSectionCount(), TrackItemKind::Wall, "Wall ", sink);
  }
}

std::vector<TrackTreeRow> BuildTrackTreeItems(const Papy::Track* track) {
  std::vector<TrackTreeRow> rows;
  EmitTrackTreeItems(track, [&rows](const TrackTreeRow& row) { rows.push_back(row); });
  return rows;
}

} // namespace Ostra::DocView
