// Reads arbitrary bytes as an N4 .ptf archive, presents it as a track, walks every answer
// of the track model and writes the archive back, which must read again into a track of
// the same shape.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrack.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "fuzz/Papy/TrackWalk.h"

using namespace Ostra;

namespace {

CountedPtr<Papy::Track> ReadTrack(const CountedPtr<Util::BinaryStream>& stream) {
  const CountedPtr<Papy::TdoFile> file(
      new Papy::N4TdoFile(stream, Papy::N4ArchiverRegistry::Instance().GetReadable(), nullptr));
  return CountedPtr<Papy::Track>(new Papy::PtfTrack(file, "fuzz.ptf"));
}

// Damaged coordinates may make lengths NaN, which must read back as NaN.
bool SameLength(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CountedPtr<Papy::Track> track;
  try {
    track = ReadTrack(CountedPtr<Util::BinaryStream>(
        new Util::MemoryStream("fuzz.ptf", std::vector<unsigned char>(data, data + size))));
  } catch (const Util::Exception&) {
    return 0; // rejected input
  }
  try {
    volatile double sink = Papy::Fuzz::WalkTrack(*track);
    (void)sink;
  } catch (const Util::Exception&) {
    // A question that damaged geometry cannot answer.
  }
  const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("out.ptf"));
  track->Write(out);
  try {
    out->Seek(0);
    const auto again = ReadTrack(out);
    if (again->GetSegmentCount() != track->GetSegmentCount() ||
        !SameLength(again->GetLength2D(), track->GetLength2D()))
      std::abort();
  } catch (const Util::Exception&) {
    std::abort();
  }
  return 0;
}
