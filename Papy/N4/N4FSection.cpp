#include "Papy/N4/N4FSection.h"

#include <array>

#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Papy/Types/ReaderOptions.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 WideVersion = 4;
constexpr U32 PackedVersion = 5;

// Surface type of each surface code from 1 up.
constexpr std::array<SurfaceType, 12> SurfaceTypes = {
    SurfaceAsphalt, SurfaceConcrete, SurfacePaint,      SurfaceGrass,
    SurfaceDirt,    SurfaceSand,     SurfaceGravel,     SurfaceWater,
    SurfaceTrainTrack, SurfaceUnreachable, SurfaceInvisible, SurfaceRumbleStrip};

// Secondary type of each secondary code from 0 up; other codes give OtherSecondaryType.
constexpr std::array<int, 6> SecondaryTypes = {6, 4, 2, 0, 3, 1};
constexpr int OtherSecondaryType = 5;

} // namespace

void ThreeDObjectFSection::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterFSection(*this)) {
    if (visitor.BeforeFSectionAppearance(*this))
      GetAppearance()->Accept(visitor);
    visitor.AfterFSectionAppearance(*this);
    if (visitor.BeforeFSectionTextureCoords(*this))
      GetTextureCoords()->Accept(visitor);
    visitor.AfterFSectionTextureCoords(*this);
  }
  visitor.LeaveFSection(*this);
}

N4FSection::N4FSection(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf FSection reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf FSection reserved1 not 0");
  Version = reader.ReadVersion(WideVersion, PackedVersion, "N4 ptf FSection unsupported version");
  if (Version == WideVersion) {
    StartLatitude = Util::ReadF64(stream);
    EndLatitude = Util::ReadF64(stream);
  } else {
    StartLatitude = Util::ReadF32(stream);
    EndLatitude = Util::ReadF32(stream);
  }
  Flag = Util::ReadU8(stream);
  SecondaryCode = Util::ReadU32(stream);
  SurfaceCode = Util::ReadU32(stream);

  AppearanceId = reader.ReadObjectReference();
  if (AppearanceId == 0)
    return;
  const CountedPtr<ThreeDObject> object = Resolve(AppearanceId);
  const auto* a = dynamic_cast<const ThreeDObjectAppearance*>(object.Get());
  UTIL_ASSERT_TEXT(a != nullptr, "a != 0");
  if (a->HasSpecularTexture())
    reader.Fail("N4 ptf FSection with specular highlight");
  for (unsigned i = 0; i < a->GetOtherTextureCount(); ++i)
    if (a->HasOtherTexture(i))
      reader.Fail("N4 ptf FSection with other texture");
  const unsigned layer_count = a->GetTextureCount();
  if (layer_count != 0)
    TextureCoordsId = reader.ReadObjectReference();
  TextureFlag = a->HasFirstTexture() ? 1 : 0;
  SecondTextureFlag = a->HasThirdTexture() ? 1 : 0;

  for (unsigned i = 0; i < layer_count; ++i) {
    Layer layer;
    layer.FlagA = Util::ReadU8(stream);
    if (layer.FlagA == 0) {
      layer.FlagB = Util::ReadU8(stream);
      layer.Value1 = Util::ReadF64(stream);
      layer.FlagC = Util::ReadU8(stream);
      layer.Value2 = Util::ReadF64(stream);
      layer.Value3 = Util::ReadF64(stream);
      layer.Value4 = Util::ReadF64(stream);
      layer.Value5 = Util::ReadF64(stream);
    }
    Layers.push_back(layer);
  }
}

SurfaceType N4FSection::GetSurfaceType() const {
  if (SurfaceCode >= 1 && SurfaceCode <= SurfaceTypes.size())
    return SurfaceTypes[SurfaceCode - 1];
  // Asked on every frame over the strip, so only strict checking may stop on the code.
  UTIL_ASSERT_TEXT(!ReaderOptions::Instance().Strict, "false");
  return SurfaceUnknown;
}

int N4FSection::GetSecondaryType() const {
  return SecondaryCode < SecondaryTypes.size() ? SecondaryTypes[SecondaryCode] : OtherSecondaryType;
}

const N4FSection::Layer& N4FSection::At(unsigned layer) const {
  UTIL_ASSERT(layer < Layers.size());
  return Layers[layer];
}

void N4FSection::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverFSection::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  if (Version == WideVersion) {
    Util::WriteF64(stream, StartLatitude);
    Util::WriteF64(stream, EndLatitude);
  } else {
    Util::WriteF32(stream, static_cast<F32>(StartLatitude));
    Util::WriteF32(stream, static_cast<F32>(EndLatitude));
  }
  Util::WriteU8(stream, Flag);
  Util::WriteU32(stream, SecondaryCode);
  Util::WriteU32(stream, SurfaceCode);
  WriteReference(stream, AppearanceId);
  if (Layers.empty())
    return;
  WriteReference(stream, TextureCoordsId);
  for (const Layer& layer : Layers) {
    Util::WriteU8(stream, layer.FlagA);
    if (layer.FlagA != 0)
      continue;
    Util::WriteU8(stream, layer.FlagB);
    Util::WriteF64(stream, layer.Value1);
    Util::WriteU8(stream, layer.FlagC);
    Util::WriteF64(stream, layer.Value2);
    Util::WriteF64(stream, layer.Value3);
    Util::WriteF64(stream, layer.Value4);
    Util::WriteF64(stream, layer.Value5);
  }
}

const N4ArchiverFSection& N4ArchiverFSection::Instance() {
  static const N4ArchiverFSection* const instance = new N4ArchiverFSection;
  return *instance;
}

} // namespace Ostra::Papy
