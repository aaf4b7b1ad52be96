#pragma once

#include <string>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTexture2.h"

namespace Ostra::Papy {

// Format notes: texture body, after the object reference.
//   U32 1, U32 0, U32 version (1 or 2), string texture name,
//   version 2 only: one byte, not 0 when the texture is shared.
class N4Texture final : public ThreeDObjectTexture2, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 3do Texture ..." and the archive's errors.
  N4Texture(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // A version 2 texture, not shared. Its archive position is 0 until it is written.
  N4Texture(N4TdoFile& owner, U32 id, const std::string& texture_name);

  std::string GetTypeName() const override { return "Texture"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  std::string GetTextureName() const override { return TextureName; }
  void SetTextureName(const std::string& name) override { TextureName = name; }
  bool IsShared() const override;
  // Throws XUsage "N4 3do Texture version 1 sharing not supported" on a version 1
  // texture, which has no place for the flag.
  void SetShared(bool shared) override;

  U32 GetVersion() const { return Version; }

private:
  U32 Version;
  std::string TextureName;
  U8 Shared = 0;
};

class N4ArchiverTexture final : public N4ArchiverOf<N4Texture> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTexture& Instance();
  const char* GetDescriptorName() const override { return "TextureDescriptor"; }
};

} // namespace Ostra::Papy
