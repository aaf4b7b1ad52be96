// Reads arbitrary bytes as a GPL track file, walks the track made from it and writes it
// back, which must read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "fuzz/Papy/TrackWalk.h"

using namespace Ostra;

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
    volatile double sink = Papy::Fuzz::WalkTrack(track);
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
