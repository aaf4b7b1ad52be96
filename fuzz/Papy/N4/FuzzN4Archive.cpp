// Reads arbitrary bytes as an N4 object archive with the real object kinds. What reads
// must write, read back, and write the same bytes again.
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

using namespace Ostra;

std::vector<unsigned char> Save(Papy::N4TdoFile& file) {
  Util::MemoryStream out("written.3do");
  file.Save(out);
  return out.TakeBytes();
}

CountedPtr<Util::BinaryStream> StreamOf(std::vector<unsigned char> bytes) {
  return CountedPtr<Util::BinaryStream>(new Util::MemoryStream("fuzz.3do", std::move(bytes)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Papy::N4ArchiverList& archivers = Papy::N4ArchiverRegistry::Instance().GetReadable();
  std::vector<unsigned char> written;
  try {
    Papy::N4TdoFile file(StreamOf(std::vector<unsigned char>(data, data + size)), archivers,
                         nullptr);
    written = Save(file);
  } catch (const Util::Exception&) {
    return 0;
  }
  // Not caught: an archive we wrote that fails to read back is a fault.
  Papy::N4TdoFile again(StreamOf(written), archivers, nullptr);
  if (Save(again) != written)
    std::abort();
  return 0;
}
