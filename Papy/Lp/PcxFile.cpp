// Format notes: a PCX image ends with its 256-entry palette, 768 bytes of red, green,
// blue, one unsigned byte each, in index order. Nothing before it is read.
#include "Papy/Lp/PcxFile.h"

#include <cmath>

#include "Util/BinaryStream.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

namespace {

constexpr U32 PaletteEntries = 256;
constexpr U32 PaletteBytes = PaletteEntries * 3;

U8 ComponentByte(F32 component) {
  const double scaled = std::trunc(component * 255.0 + 0.5);
  if (!(scaled > 0.0))
    return 0;
  if (scaled >= 255.0)
    return 255;
  return static_cast<U8>(scaled);
}

} // namespace

PcxFile::PcxFile(const Util::CountedPtr<Util::BinaryStream>& stream) {
  Util::BinaryStream& in = *stream;
  const S64 size = in.Size();
  if (size < PaletteBytes)
    throw Util::XFileRead(in.Name());
  in.Seek(size - PaletteBytes);
  unsigned char block[PaletteBytes];
  in.Read(PaletteBytes, block);
  Palette.Reset(new Papy::Palette(PaletteEntries));
  for (U32 i = 0; i < PaletteEntries; ++i) {
    const unsigned char* rgb = block + 3 * i;
    Palette->SetColour(i, Colour(static_cast<F32>(rgb[0] / 255.0), static_cast<F32>(rgb[1] / 255.0),
                                 static_cast<F32>(rgb[2] / 255.0), 1.0f));
  }
}

Util::CountedPtr<Papy::Palette> PcxFile::GetPalette() const { return Palette; }

void PcxFile::WritePalette(const Util::CountedPtr<Util::BinaryStream>& stream) const {
  UTIL_ASSERT(Palette->Colours.size() >= 256);
  Util::BinaryStream& out = *stream;
  const S64 size = out.Size();
  if (size < PaletteBytes)
    throw Util::XFileSeek(out.Name());
  unsigned char block[PaletteBytes];
  for (U32 i = 0; i < PaletteEntries; ++i) {
    const Colour& colour = Palette->Colours[i];
    block[3 * i] = ComponentByte(colour.Red);
    block[3 * i + 1] = ComponentByte(colour.Green);
    block[3 * i + 2] = ComponentByte(colour.Blue);
  }
  out.Seek(size - PaletteBytes);
  out.Write(PaletteBytes, block);
}

} // namespace Ostra::Papy
