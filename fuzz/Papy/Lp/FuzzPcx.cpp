// Reads arbitrary bytes as a PCX file's palette; writing it back must give the same
// bytes, and every colour must be found at or before its own index.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "Papy/Lp/PcxFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace Ostra;
  const std::vector<unsigned char> bytes(data, data + size);
  try {
    const Papy::PcxFile pcx(CountedPtr<Util::BinaryStream>(new Util::MemoryStream("in.pcx", bytes)));
    Papy::Palette& palette = *pcx.GetPalette();
    for (U32 i = 0; i < 256; ++i)
      if (palette.GetIndex(palette.Colours[i]) > i)
        std::abort();
    CountedPtr<Util::MemoryStream> out(new Util::MemoryStream("out.pcx", bytes));
    pcx.WritePalette(out);
    if (out->Bytes() != bytes)
      std::abort();
    palette.AddColour(Papy::Colour(0.5f, 0.25f, 2.0f, 1.0f));
  } catch (const Util::RuntimeError&) {
  }
  return 0;
}
