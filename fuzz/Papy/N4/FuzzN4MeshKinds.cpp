// Reads arbitrary bytes as an N4 object archive in which every object kind is readable,
// the mesh and animation kinds that the editor only writes included. What reads must
// survive a walk, write, read back, and write the same bytes again.
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4/ThreeDObjectRoot.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <typeinfo>
#include <vector>

namespace {

using namespace Ostra;

const Papy::N4ArchiverList& EveryKind() {
  static const Papy::N4ArchiverRegistry* const registry = [] {
    auto* made = new Papy::N4ArchiverRegistry;
    Papy::RegisterN4Archivers(*made);
    return made;
  }();
  return registry->GetAll();
}

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
  std::vector<unsigned char> written;
  try {
    Papy::N4TdoFile file(StreamOf(std::vector<unsigned char>(data, data + size)), EveryKind(),
                         nullptr);
    // Walks of heavily shared objects give up early, so that one input stays quick.
    Papy::ThreeDObjectVisitor walker(U64{1} << 16);
    file.GetRoot()->Accept(walker);
    written = Save(file);
  } catch (const Util::Exception&) {
    return 0;
  } catch (const std::bad_cast&) {
    // Kinds that cast their references to a required kind report a wrong one this way.
    return 0;
  }
  // Not caught: an archive we wrote that fails to read back is a fault.
  Papy::N4TdoFile again(StreamOf(written), EveryKind(), nullptr);
  if (Save(again) != written)
    std::abort();
  return 0;
}
