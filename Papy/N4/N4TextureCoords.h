#pragma once

#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectTextureCoords.h"

namespace Ostra::Papy {

// Format notes: texture-coordinates body, after the object reference.
//   U32 1, U32 0, U32 1, U32 vertex count n, U32 3,
//   u array, v array: each a U32 byte size (8 n, or 0 for both when the surface has
//     no texture vertices) and that many bytes of F64,
//   22 channel arrays, channels 0 to 21: U32 byte size 0 (absent) or 8 n, then the
//     F64 values.
// Sizes that break these rules are assertions, as the game's own reader has them.
class N4TextureCoords final : public ThreeDObjectTextureCoords, public N4Object {
public:
  static constexpr U32 ChannelCount = 22;

  // Reads the body. Throws XFileFormat "N4 ptf TextureCoords ...", XAssertion for an
  // array size that does not fit the vertex count, XFileRead for a short stream and
  // the archive's errors.
  N4TextureCoords(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);

  std::string GetTypeName() const override { return "TextureCoords"; }
  unsigned GetIntegerCount() const override { return static_cast<unsigned>(ChannelIds.size()); }
  // Both getters throw XAssertion for an index at or past the count.
  S32 GetInteger(unsigned index) const override;
  unsigned GetDoubleCount() const override { return static_cast<unsigned>(ChannelValues.size()); }
  double GetDouble(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  int GetVertexCount() const override { return static_cast<int>(VertexCount); }
  bool HasTextureVertices() const override { return !TextureVertices.empty(); }
  Point2D GetTextureVertex(int index) const override;

private:
  U32 VertexCount = 0;
  std::vector<Point2D> TextureVertices;
  std::vector<U32> ChannelIds;
  std::vector<double> ChannelValues;
};

class N4ArchiverTextureCoords final : public N4ArchiverOf<N4TextureCoords> {
public:
  // Made on first use, never freed.
  static const N4ArchiverTextureCoords& Instance();
  const char* GetDescriptorName() const override { return "TextureCoordsDescriptor"; }
};

} // namespace Ostra::Papy
