#pragma once

#include <array>
#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectWSection.h"

namespace Ostra::Papy {

// Format notes: W-section body, after the object reference.
//   U32 1, U32 0, U32 version (5 to 7),
//   start and end latitude: F64 in version 5, F32 in versions 6 and 7,
//   U8 flag, U32 integer 0,
//   F64 start height, end height, start width, end width, start extent, end extent,
//   U32 direction (0 or 1),
//   version 7: U32 profile (0 or 1); with profile 1: F32 -1.0, U32 profile point
//     count k, four F32 x, four F32 y (the profile is the last k of the four points),
//   U32 wall code (2049 to 2059 name a wall type), U32 row count, U32 integers 1, 2,
//   the rows: every row but the first starts with an F64 boundary, then five faces:
//     appearance reference; when the appearance has textures, a texture-coordinates
//     reference, then one layer record per texture:
//       U8 flag A; when it is 0: U8 flag B, F64 values 1 and 2, U8 flag C, F64 values
//       3 and 4 (35 bytes in all); otherwise the record is that one byte.
// The appearances must have no specular texture and none of their four other
// textures, so a face has at most two layers. The three integers are kept as the
// object's integer list.
class N4WSection final : public ThreeDObjectWSection, public N4Object {
public:
  static constexpr unsigned MaxProfilePoints = 4;

  // Reads the body. Throws XFileFormat "N4 ptf WSection ...", XAssertion "a != 0" for
  // a face whose appearance reference names an object of another kind, and the
  // archive's errors.
  N4WSection(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "W_Section"; }
  unsigned GetIntegerCount() const override { return static_cast<unsigned>(Integers.size()); }
  // Throws XAssertion for an index at or past the count.
  S32 GetInteger(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  bool GetFlag() const override { return Flag != 0; }
  double GetStartLatitude() const override { return StartLatitude; }
  double GetEndLatitude() const override { return EndLatitude; }
  double GetStartHeight() const override { return StartHeight; }
  double GetEndHeight() const override { return EndHeight; }
  double GetStartWidth() const override { return StartWidth; }
  double GetEndWidth() const override { return EndWidth; }
  double GetStartExtent() const override { return StartExtent; }
  double GetEndExtent() const override { return EndExtent; }
  WallType GetWallType() const override;
  bool IsDirectionZero() const override { return Direction == 0; }
  bool HasProfile() const override { return Profile == 1; }
  unsigned GetProfilePointCount() const override { return ProfilePointCount; }
  Point3D GetProfilePoint(unsigned index) const override;
  unsigned GetRowCount() const override { return RowCount; }
  double GetRowBoundary(unsigned index) const override;

  bool HasAppearance(unsigned row, unsigned column) const override;
  CountedPtr<ThreeDObjectAppearance> GetAppearance(unsigned row, unsigned column) const override;
  bool HasTextureCoords(unsigned row, unsigned column) const override;
  CountedPtr<ThreeDObjectTextureCoords> GetTextureCoords(unsigned row,
                                                         unsigned column) const override;
  bool HasTexture(unsigned row, unsigned column) const override;
  bool HasSecondTexture(unsigned row, unsigned column) const override;

  unsigned GetLayerCount(unsigned row, unsigned column) const override;
  bool GetLayerFlagA(unsigned row, unsigned column, unsigned layer) const override;
  bool GetLayerFlagB(unsigned row, unsigned column, unsigned layer) const override;
  double GetLayerValue1(unsigned row, unsigned column, unsigned layer) const override;
  double GetLayerValue2(unsigned row, unsigned column, unsigned layer) const override;
  bool GetLayerFlagC(unsigned row, unsigned column, unsigned layer) const override;
  double GetLayerValue3(unsigned row, unsigned column, unsigned layer) const override;
  double GetLayerValue4(unsigned row, unsigned column, unsigned layer) const override;

  U32 GetVersion() const { return Version; }
  U32 GetWallCode() const { return WallCode; }

private:
  struct Cell {
    U32 AppearanceId = 0;
    U32 TextureCoordsId = 0;
    U32 LayerCount = 0;
    bool Texture = false;
    bool SecondTexture = false;
    U32 FirstLayer = 0;
  };
  struct Layer {
    U8 FlagA = 0;
    U8 FlagB = 0;
    double Value1 = 0.0;
    double Value2 = 0.0;
    U8 FlagC = 0;
    double Value3 = 0.0;
    double Value4 = 0.0;
  };

  void ReadCell(N4Archiver& reader);
  const Cell& CellAt(unsigned row, unsigned column) const;
  const Layer& LayerAt(unsigned row, unsigned column, unsigned layer) const;

  U32 Version = 0;
  U8 Flag = 0;
  double StartLatitude = 0.0;
  double EndLatitude = 0.0;
  double StartHeight = 0.0;
  double EndHeight = 0.0;
  double StartWidth = 0.0;
  double EndWidth = 0.0;
  double StartExtent = 0.0;
  double EndExtent = 0.0;
  U32 WallCode = 0;
  U32 Direction = 0;
  U32 Profile = 0;
  U32 ProfilePointCount = 0;
  std::array<F32, MaxProfilePoints> ProfileX{};
  std::array<F32, MaxProfilePoints> ProfileY{};
  // A body may hold no rows at all; then no face can be addressed.
  U32 RowCount = 0;
  std::vector<double> RowBoundaries;
  std::vector<Cell> Cells;
  std::vector<Layer> Layers;
  std::vector<S32> Integers;
};

class N4ArchiverWSection final : public N4ArchiverOf<N4WSection> {
public:
  // Made on first use, never freed.
  static const N4ArchiverWSection& Instance();
  const char* GetDescriptorName() const override { return "W_SectionDescriptor"; }
};

} // namespace Ostra::Papy
