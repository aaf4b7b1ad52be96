#pragma once

#include "Papy/Lp/Palette.h"
#include "Util/CountedPtr.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// The 256-colour palette block at the end of a PCX image: the last 768 bytes, one
// red, green, blue byte triple per entry. The image itself is not interpreted.
class PcxFile {
public:
  // Reads the palette block. Throws XFileRead when the stream is shorter than the
  // block, XFileSeek/XFileRead from the stream.
  explicit PcxFile(const Util::CountedPtr<Util::BinaryStream>& stream);
  virtual ~PcxFile() = default;

  virtual Util::CountedPtr<Papy::Palette> GetPalette() const;
  // Writes the first 256 colours into the stream's palette block, each component
  // scaled to 0..255 (rounded, clamped); nothing else of the stream changes. Asserts
  // that the palette holds at least 256 colours. Throws XFileSeek when the stream is
  // shorter than the block, XFileWrite from the stream.
  virtual void WritePalette(const Util::CountedPtr<Util::BinaryStream>& stream) const;

  Util::CountedPtr<Papy::Palette> Palette;
};

} // namespace Ostra::Papy
