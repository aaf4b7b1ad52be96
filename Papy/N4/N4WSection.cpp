#include "Papy/N4/N4WSection.h"

#include "Papy/N4/ThreeDObjectAppearance.h"
#include "Papy/N4/ThreeDObjectTextureCoords.h"
#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 WideVersion = 5;
constexpr U32 ProfileVersion = 7;
constexpr F32 ProfileMarker = -1.0f;
// Every face takes at least its appearance reference.
constexpr U32 MinRowBytes = ThreeDObjectWSection::ColumnCount * 4;

struct WallCode {
  U32 Code;
  WallType Type;
};
constexpr WallCode WallCodes[] = {
    {2049, WallConcrete},       {2050, WallArmcoLeft}, {2051, WallTyres},
    {2052, WallHayBales},       {2053, WallWireFenceLeft}, {2054, WallShrubs},
    {2055, WallForest},         {2056, WallWood},      {2057, WallInvisible},
    {2058, WallWireFenceRight}, {2059, WallArmcoRight},
};

} // namespace

void ThreeDObjectWSection::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterWSection(*this)) {
    const unsigned rows = GetRowCount();
    for (unsigned row = 0; row < rows; ++row) {
      for (unsigned column = 0; column < ColumnCount; ++column) {
        if (!HasAppearance(row, column))
          continue;
        if (visitor.BeforeWSectionAppearance(*this, row, column))
          GetAppearance(row, column)->Accept(visitor);
        visitor.AfterWSectionAppearance(*this, row, column);
        // A face whose appearance has no texture has no texture coordinates to visit.
        if (visitor.BeforeWSectionTextureCoords(*this, row, column) &&
            HasTextureCoords(row, column))
          GetTextureCoords(row, column)->Accept(visitor);
        visitor.AfterWSectionTextureCoords(*this, row, column);
      }
    }
  }
  visitor.LeaveWSection(*this);
}

N4WSection::N4WSection(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf WSection reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf WSection reserved1 not 0");
  Version = reader.ReadVersion(WideVersion, ProfileVersion, "N4 ptf WSection unsupported version");
  if (Version == WideVersion) {
    StartLatitude = Util::ReadF64(stream);
    EndLatitude = Util::ReadF64(stream);
  } else {
    StartLatitude = Util::ReadF32(stream);
    EndLatitude = Util::ReadF32(stream);
  }
  Flag = Util::ReadU8(stream);
  Integers.push_back(Util::ReadS32(stream));
  StartHeight = Util::ReadF64(stream);
  EndHeight = Util::ReadF64(stream);
  StartWidth = Util::ReadF64(stream);
  EndWidth = Util::ReadF64(stream);
  StartExtent = Util::ReadF64(stream);
  EndExtent = Util::ReadF64(stream);
  Direction = Util::ReadU32(stream);
  if (Direction > 1)
    reader.Fail("N4 ptf WSection unknown direction");

  if (Version == ProfileVersion) {
    Profile = Util::ReadU32(stream);
    if (Profile > 1)
      reader.Fail("N4 ptf WSection unknown profile");
    if (Profile == 1) {
      if (Util::ReadF32(stream) != ProfileMarker)
        reader.Fail("N4 ptf WSection reserved2 not -1");
      ProfilePointCount = Util::ReadU32(stream);
      // Only the four stored points can be addressed.
      if (ProfilePointCount > MaxProfilePoints)
        reader.Fail("N4 ptf WSection profile point count above 4");
      for (F32& x : ProfileX)
        x = Util::ReadF32(stream);
      for (F32& y : ProfileY)
        y = Util::ReadF32(stream);
    }
  }

  WallCode = Util::ReadU32(stream);
  RowCount = reader.ReadCount(MinRowBytes);
  Integers.push_back(Util::ReadS32(stream));
  Integers.push_back(Util::ReadS32(stream));
  for (U32 row = 0; row < RowCount; ++row) {
    if (row > 0)
      RowBoundaries.push_back(Util::ReadF64(stream));
    for (unsigned column = 0; column < ColumnCount; ++column)
      ReadCell(reader);
  }
}

void N4WSection::ReadCell(N4Archiver& reader) {
  Util::BinaryStream& stream = reader.GetStream();
  Cell cell;
  cell.FirstLayer = static_cast<U32>(Layers.size());
  cell.AppearanceId = reader.ReadObjectReference();
  if (cell.AppearanceId != 0) {
    const CountedPtr<ThreeDObject> object = Resolve(cell.AppearanceId);
    const auto* a = dynamic_cast<const ThreeDObjectAppearance*>(object.Get());
    UTIL_ASSERT_TEXT(a != nullptr, "a != 0");
    if (a->HasSpecularTexture())
      reader.Fail("N4 ptf WSection with specular highlight");
    for (unsigned i = 0; i < a->GetOtherTextureCount(); ++i)
      if (a->HasOtherTexture(i))
        reader.Fail("N4 ptf WSection with other texture");
    cell.LayerCount = a->GetTextureCount();
    if (cell.LayerCount != 0)
      cell.TextureCoordsId = reader.ReadObjectReference();
    cell.Texture = a->HasFirstTexture();
    cell.SecondTexture = a->HasThirdTexture();
    for (U32 i = 0; i < cell.LayerCount; ++i) {
      Layer layer;
      layer.FlagA = Util::ReadU8(stream);
      if (layer.FlagA == 0) {
        layer.FlagB = Util::ReadU8(stream);
        layer.Value1 = Util::ReadF64(stream);
        layer.Value2 = Util::ReadF64(stream);
        layer.FlagC = Util::ReadU8(stream);
        layer.Value3 = Util::ReadF64(stream);
        layer.Value4 = Util::ReadF64(stream);
      }
      Layers.push_back(layer);
    }
  }
  Cells.push_back(cell);
}

S32 N4WSection::GetInteger(unsigned index) const {
  UTIL_ASSERT(index < Integers.size());
  return Integers[index];
}

WallType N4WSection::GetWallType() const {
  for (const auto& [code, type] : WallCodes)
    if (code == WallCode)
      return type;
  return WallUnknown;
}

Point3D N4WSection::GetProfilePoint(unsigned index) const {
  UTIL_ASSERT(index < ProfilePointCount);
  const unsigned stored = index + MaxProfilePoints - ProfilePointCount;
  return Point3D(ProfileX[stored], ProfileY[stored], 0.0);
}

double N4WSection::GetRowBoundary(unsigned index) const {
  UTIL_ASSERT(index < RowBoundaries.size());
  return RowBoundaries[index];
}

const N4WSection::Cell& N4WSection::CellAt(unsigned row, unsigned column) const {
  UTIL_ASSERT(row < RowCount && column < ColumnCount);
  return Cells[static_cast<std::size_t>(row) * ColumnCount + column];
}

const N4WSection::Layer& N4WSection::LayerAt(unsigned row, unsigned column, unsigned layer) const {
  const Cell& cell = CellAt(row, column);
  UTIL_ASSERT(layer < cell.LayerCount);
  return Layers[cell.FirstLayer + layer];
}

bool N4WSection::HasAppearance(unsigned row, unsigned column) const {
  return CellAt(row, column).AppearanceId != 0;
}

CountedPtr<ThreeDObjectAppearance> N4WSection::GetAppearance(unsigned row, unsigned column) const {
  CountedPtr<ThreeDObjectAppearance> appearance;
  appearance.DynamicCast(Resolve(CellAt(row, column).AppearanceId));
  return appearance;
}

bool N4WSection::HasTextureCoords(unsigned row, unsigned column) const {
  return CellAt(row, column).TextureCoordsId != 0;
}

CountedPtr<ThreeDObjectTextureCoords> N4WSection::GetTextureCoords(unsigned row,
                                                                   unsigned column) const {
  CountedPtr<ThreeDObjectTextureCoords> coords;
  coords.DynamicCast(Resolve(CellAt(row, column).TextureCoordsId));
  return coords;
}

bool N4WSection::HasTexture(unsigned row, unsigned column) const {
  return CellAt(row, column).Texture;
}

bool N4WSection::HasSecondTexture(unsigned row, unsigned column) const {
  return CellAt(row, column).SecondTexture;
}

unsigned N4WSection::GetLayerCount(unsigned row, unsigned column) const {
  return CellAt(row, column).LayerCount;
}

bool N4WSection::GetLayerFlagA(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).FlagA != 0;
}

bool N4WSection::GetLayerFlagB(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).FlagB != 0;
}

double N4WSection::GetLayerValue1(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).Value1;
}

double N4WSection::GetLayerValue2(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).Value2;
}

bool N4WSection::GetLayerFlagC(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).FlagC != 0;
}

double N4WSection::GetLayerValue3(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).Value3;
}

double N4WSection::GetLayerValue4(unsigned row, unsigned column, unsigned layer) const {
  return LayerAt(row, column, layer).Value4;
}

void N4WSection::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverWSection::Instance()))
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
  Util::WriteS32(stream, Integers.at(0));
  for (const double value : {StartHeight, EndHeight, StartWidth, EndWidth, StartExtent, EndExtent})
    Util::WriteF64(stream, value);
  Util::WriteU32(stream, Direction);
  if (Version == ProfileVersion) {
    Util::WriteU32(stream, Profile);
    if (Profile == 1) {
      Util::WriteF32(stream, ProfileMarker);
      Util::WriteU32(stream, ProfilePointCount);
      for (const F32 x : ProfileX)
        Util::WriteF32(stream, x);
      for (const F32 y : ProfileY)
        Util::WriteF32(stream, y);
    }
  }
  Util::WriteU32(stream, WallCode);
  Util::WriteU32(stream, RowCount);
  Util::WriteS32(stream, Integers.at(1));
  Util::WriteS32(stream, Integers.at(2));
  for (U32 row = 0; row < RowCount; ++row) {
    if (row > 0)
      Util::WriteF64(stream, RowBoundaries[row - 1]);
    for (unsigned column = 0; column < ColumnCount; ++column) {
      const Cell& cell = CellAt(row, column);
      WriteReference(stream, cell.AppearanceId);
      if (cell.LayerCount == 0)
        continue;
      WriteReference(stream, cell.TextureCoordsId);
      for (U32 i = 0; i < cell.LayerCount; ++i) {
        const Layer& layer = Layers[cell.FirstLayer + i];
        Util::WriteU8(stream, layer.FlagA);
        if (layer.FlagA != 0)
          continue;
        Util::WriteU8(stream, layer.FlagB);
        Util::WriteF64(stream, layer.Value1);
        Util::WriteF64(stream, layer.Value2);
        Util::WriteU8(stream, layer.FlagC);
        Util::WriteF64(stream, layer.Value3);
        Util::WriteF64(stream, layer.Value4);
      }
    }
  }
}

const N4ArchiverWSection& N4ArchiverWSection::Instance() {
  static const N4ArchiverWSection* const instance = new N4ArchiverWSection;
  return *instance;
}

} // namespace Ostra::Papy
