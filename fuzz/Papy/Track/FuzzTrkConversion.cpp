// Reads arbitrary bytes as a GPL or ICR2 track file and converts whatever reads into both
// formats, writing each result and reading it back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;

CountedPtr<Papy::TrkFile> ReadEither(const std::uint8_t* data, std::size_t size) {
  const CountedPtr<Util::BinaryStream> stream(
      new Util::MemoryStream("fuzz.trk", std::vector<unsigned char>(data, data + size)));
  try {
    return CountedPtr<Papy::TrkFile>(new Papy::ICR2TrkFile(stream));
  } catch (const Util::Exception&) {
  }
  try {
    return CountedPtr<Papy::TrkFile>(new Papy::GPLTrkFile(stream));
  } catch (const Util::Exception&) {
  }
  return {};
}

// A converted file need not read back: a source's own data (altitude joins, stored
// derivatives) may break the target's checks. Only crashes and hangs count here.
template <class Target> void ConvertWriteAndRead(const CountedPtr<Papy::TrkFile>& source) {
  try {
    const Target converted(source);
    const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("out.trk"));
    converted.Write(out);
    const Target again(out);
    S32 x, y, z, orientation, pitch, bank, surface;
    again.GetTrackPoint(again.GetLength() / 2, 0, x, y, z, orientation, pitch, bank, surface);
  } catch (const Util::Exception&) {
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const CountedPtr<Papy::TrkFile> source = ReadEither(data, size);
  if (!source)
    return 0;
  ConvertWriteAndRead<Papy::ICR2TrkFile>(source);
  ConvertWriteAndRead<Papy::GPLTrkFile>(source);
  return 0;
}
