// Reads arbitrary bytes as a GPL track file, walks the track made from it and writes it
// back, which must read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrackFSection.h"
#include "Papy/Track/TrackWSection.h"
#include "Papy/Track/TrackXSection.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;

// Touches every answer of every view; results are summed so nothing is optimised away.
double Walk(const Papy::Track& track) {
  double sum = track.GetLength3D() + track.GetLength2D();
  for (U32 s = 0; s < track.GetSegmentCount(); ++s) {
    const auto segment = track.GetSegment(s);
    sum += segment->GetCentrelineStartX() + segment->GetCentrelineEndY() +
           segment->GetLength2D() + segment->GetEndOrientation();
    double cx, cy, r, sweep;
    segment->GetArc(cx, cy, r, sweep);
    sum += cx + cy + r + sweep;
    for (U32 i = 0; i < segment->GetXSectionCount(); ++i) {
      const auto x = segment->GetXSection(i);
      sum += x->GetStartLatitude() + x->GetEndAltitude() + x->GetEndSlope() +
             x->GetAltitudeAt(segment->GetLength2D() / 2);
    }
    for (U32 i = 0; i < segment->GetFSectionCount(); ++i) {
      const auto f = segment->GetFSection(i);
      sum += f->GetLeftEndLatitude() + f->GetRightStartLatitude() + f->GetSurfaceType();
    }
    for (U32 i = 0; i < segment->GetWSectionCount(); ++i) {
      const auto w = segment->GetWSection(i);
      sum += w->GetStartLatitude() + w->GetEndWidth() + w->GetStartHeight() + w->GetWallType();
    }
    sum += segment->GetFrame(0.0, 1.0).Z;
  }
  for (double d : {-1.0, 0.0, 0.5 * track.GetLength2D(), track.GetLength2D() + 3.0}) {
    const Papy::TrackFrame frame = track.GetFrame(d, -2.0);
    sum += frame.X + frame.Pitch + frame.Bank + frame.SurfaceType;
    double offset = 0.0;
    sum += track.GetSegmentAt(d, offset)->GetLength3D() + offset + track.Length2DToLength3D(d);
  }
  return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountedPtr<Papy::TrkFile> file;
  try {
    const CountedPtr<Util::BinaryStream> stream(
        new Util::MemoryStream("fuzz.trk", std::vector<unsigned char>(data, data + size)));
    file.Reset(new Papy::GPLTrkFile(stream));
  } catch (const Util::Exception&) {
    return 0; // rejected input
  }
  try {
    const Papy::TrkTrack track(file);
    volatile double sink = Walk(track);
    (void)sink;
  } catch (const Util::Exception&) {
    // A lookup that a damaged file cannot answer.
  }
  // Whatever was accepted is written back in a form the reader accepts again.
  const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("out.trk"));
  file->Write(out);
  try {
    const Papy::GPLTrkFile again(out);
    if (again.GetSectionCount() != file->GetSectionCount())
      std::abort();
  } catch (const Util::Exception&) {
    std::abort();
  }
  return 0;
}
