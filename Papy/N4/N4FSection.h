#pragma once

#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectFSection.h"

namespace Ostra::Papy {

// Format notes: F-section body, after the object reference.
//   U32 1, U32 0, U32 version (4 or 5),
//   start and end latitude: F64 in version 4, F32 in version 5,
//   U8 flag, U32 secondary code, U32 surface code (1 to 12),
//   appearance reference; when the appearance has textures, a texture-coordinates
//   reference, then one layer record per texture:
//     U8 flag A; when it is 0: U8 flag B, F64 value 1, U8 flag C, F64 values 2 to 5
//     (43 bytes in all); otherwise the record is that one byte.
// The appearance must be an appearance without a specular texture and without any of
// its four other textures, so a line has at most two layers.
class N4FSection final : public ThreeDObjectFSection, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 ptf FSection ...", XAssertion "a != 0" for
  // an appearance reference to an object of another kind, and the archive's errors.
  N4FSection(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "F_Section"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  CountedPtr<ThreeDObject> GetAppearance() const override { return Resolve(AppearanceId); }
  CountedPtr<ThreeDObject> GetTextureCoords() const override { return Resolve(TextureCoordsId); }
  bool GetFlag() const override { return Flag != 0; }
  double GetStartLatitude() const override { return StartLatitude; }
  double GetEndLatitude() const override { return EndLatitude; }
  // SurfaceUnknown for a code outside the table; with strict checking on, XAssertion
  // "false" instead.
  SurfaceType GetSurfaceType() const override;
  int GetGripModifier() const override { return 0; }
  int GetSecondaryType() const override;
  bool HasTexture() const override { return TextureFlag != 0; }
  bool HasSecondTexture() const override { return SecondTextureFlag != 0; }

  unsigned GetLayerCount() const override { return static_cast<unsigned>(Layers.size()); }
  bool GetLayerFlagA(unsigned layer) const override { return At(layer).FlagA != 0; }
  bool GetLayerFlagB(unsigned layer) const override { return At(layer).FlagB != 0; }
  double GetLayerValue1(unsigned layer) const override { return At(layer).Value1; }
  double GetLayerValue3(unsigned layer) const override { return At(layer).Value3; }
  double GetLayerValue4(unsigned layer) const override { return At(layer).Value4; }
  bool GetLayerFlagC(unsigned layer) const override { return At(layer).FlagC != 0; }
  double GetLayerValue2(unsigned layer) const override { return At(layer).Value2; }
  double GetLayerValue5(unsigned layer) const override { return At(layer).Value5; }

  U32 GetVersion() const { return Version; }
  U32 GetSurfaceCode() const { return SurfaceCode; }

private:
  struct Layer {
    U8 FlagA = 0;
    U8 FlagB = 0;
    double Value1 = 0.0;
    double Value3 = 0.0;
    double Value4 = 0.0;
    U8 FlagC = 0;
    double Value2 = 0.0;
    double Value5 = 0.0;
  };

  const Layer& At(unsigned layer) const;

  U32 Version = 0;
  U32 AppearanceId = 0;
  U32 TextureCoordsId = 0;
  U8 TextureFlag = 0;
  U8 SecondTextureFlag = 0;
  double StartLatitude = 0.0;
  double EndLatitude = 0.0;
  U8 Flag = 0;
  U32 SecondaryCode = 0;
  U32 SurfaceCode = 0;
  std::vector<Layer> Layers;
};

class N4ArchiverFSection final : public N4ArchiverOf<N4FSection> {
public:
  // Made on first use, never freed.
  static const N4ArchiverFSection& Instance();
  const char* GetDescriptorName() const override { return "F_SectionDescriptor"; }
};

} // namespace Ostra::Papy
