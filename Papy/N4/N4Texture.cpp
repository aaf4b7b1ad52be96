#include "Papy/N4/N4Texture.h"

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {
constexpr U32 FirstVersion = 1;
constexpr U32 SharingVersion = 2;
} // namespace

void ThreeDObjectTexture2::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitTexture2(*this);
}

N4Texture::N4Texture(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 3do Texture reserved0 not 1");
  reader.ExpectU32(0, "N4 3do Texture reserved1 not 0");
  Version = reader.ReadVersion(FirstVersion, SharingVersion, "N4 3do Texture unsupported version");
  TextureName = ReadString(stream);
  if (Version == SharingVersion)
    Shared = Util::ReadU8(stream);
}

N4Texture::N4Texture(N4TdoFile& owner, U32 id, const std::string& texture_name)
    : N4Object(owner, id, 0), Version(SharingVersion), TextureName(texture_name) {}

bool N4Texture::IsShared() const { return Version >= SharingVersion && Shared != 0; }

void N4Texture::SetShared(bool shared) {
  if (Version < SharingVersion)
    throw Util::XUsage("N4 3do Texture version 1 sharing not supported");
  Shared = shared ? 1 : 0;
}

void N4Texture::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTexture::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  WriteString(stream, TextureName);
  if (Version > FirstVersion)
    Util::WriteU8(stream, Shared);
}

const N4ArchiverTexture& N4ArchiverTexture::Instance() {
  static const N4ArchiverTexture* const instance = new N4ArchiverTexture;
  return *instance;
}

} // namespace Ostra::Papy
