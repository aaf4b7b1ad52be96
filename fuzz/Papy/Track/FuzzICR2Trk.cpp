// Reads arbitrary bytes as an ICR2 track file, walks the track made from it and writes
// it back, which must read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/TrackFSection.h"
#include "Papy/Track/TrackWSection.h"
#include "Papy/Track/TrackXSection.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;

// Asks every view a few questions; results are summed so nothing is optimised away.
double Walk(const Papy::Track& track) {
  double sum = track.GetLength3D() + track.GetLength2D();
  for (U32 s = 0; s < track.GetSegmentCount(); ++s) {
    const auto segment = track.GetSegment(s);
    sum += segment->GetCentrelineStartX() + segment->GetCentrelineEndY() + segment->GetLength2D() +
           segment->GetEndOrientation();
    for (U32 i = 0; i < segment->GetXSectionCount(); ++i) {
      const auto x = segment->GetXSection(i);
      sum += x->GetStartLatitude() + x->GetEndAltitude() + x->GetAltitudeAt(0.5);
    }
    for (U32 i = 0; i < segment->GetFSectionCount(); ++i) {
      const auto f = segment->GetFSection(i);
      sum += f->GetLeftEndLatitude() + f->GetRightStartLatitude() + f->GetSurfaceType();
    }
    for (U32 i = 0; i < segment->GetWSectionCount(); ++i) {
      const auto w = segment->GetWSection(i);
      sum += w->GetStartLatitude() + w->GetEndWidth() + w->GetStartHeight() + w->GetWallType();
    }
  }
  for (double d : {-1.0, 0.0, 0.3 * track.GetLength2D(), track.GetLength2D() + 2.0}) {
    const Papy::TrackFrame frame = track.GetFrame(d, 1.5);
    sum += frame.X + frame.Y + frame.Z + frame.Pitch + frame.Bank + frame.SurfaceType;
    double offset = 0.0;
    sum += track.GetSegmentAt(d, offset)->GetLength3D() + offset;
  }
  return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountedPtr<Papy::TrkFile> file;
  try {
    const CountedPtr<Util::BinaryStream> stream(
        new Util::MemoryStream("fuzz.trk", std::vector<unsigned char>(data, data + size)));
    file.Reset(new Papy::ICR2TrkFile(stream));
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
    Papy::ICR2TrkFile again(out);
    if (again.GetSectionCount() != file->GetSectionCount())
      std::abort();
  } catch (const Util::Exception&) {
    std::abort();
  }
  return 0;
}
