#pragma once

#include <vector>

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectVertices.h"

namespace Ostra::Papy {

// Format notes: vertex-list body, after the object reference. n is the vertex count;
// an array is a U32 byte size and that many bytes of F64; points are stored planar
// (all x, then all y, then all z).
//   U32 1, U32 0, U32 version 1, U32 1, U32 n,
//   positions x, y, z (three arrays of 8 n bytes), U32 0,
//   directions x, y, z (three arrays of 8 n bytes), U32 3,
//   texture vertices: first components, second components (both 8 n, or both 0),
//   channels 0 to 17 (each 0 when absent, else 8 n),
//   second texture vertices as the first, channels 20 and 21 as the others.
// Written but not read by the editor. Sizes that break these rules are assertions.
class N4PlainVertexList final : public ThreeDObjectVertices, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 3do PlainVertexList ...", XAssertion for an
  // array size that does not fit the vertex count, XFileRead for a short stream.
  N4PlainVertexList(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // Copies the lists; there are no channels. Throws XAssertion unless directions has
  // one entry per position and each texture-vertex set is empty or has one. The
  // archive position is 0 until the list is written.
  N4PlainVertexList(N4TdoFile& owner, U32 id, const std::vector<Point3D>& positions,
                    const std::vector<Direction3D>& directions,
                    const std::vector<Point2D>& texture_vertices,
                    const std::vector<Point2D>& second_texture_vertices);

  std::string GetTypeName() const override { return "PlainVertexList"; }
  unsigned GetIntegerCount() const override { return static_cast<unsigned>(ChannelIds.size()); }
  // Both getters throw XAssertion for an index at or past the count.
  S32 GetInteger(unsigned index) const override;
  unsigned GetDoubleCount() const override { return static_cast<unsigned>(ChannelValues.size()); }
  double GetDouble(unsigned index) const override;
  void Write(Util::BinaryStream& stream, int reserved) override;

  int GetVertexCount() const override { return static_cast<int>(Positions.size()); }
  Point3D GetPosition(int index) const override;
  void SetPosition(int index, const Point3D& position) override;
  Direction3D GetDirection(int index) const override;
  void SetDirection(int index, const Direction3D& direction) override;
  bool HasTextureVertices() const override { return !TextureVertices.empty(); }
  Point2D GetTextureVertex(int index) const override;
  void SetTextureVertex(int index, const Point2D& vertex) override;
  bool HasSecondTextureVertices() const override { return !SecondTextureVertices.empty(); }
  Point2D GetSecondTextureVertex(int index) const override;
  void SetSecondTextureVertex(int index, const Point2D& vertex) override;

private:
  std::vector<Point3D> Positions;
  std::vector<Direction3D> Directions;
  std::vector<Point2D> TextureVertices;
  std::vector<Point2D> SecondTextureVertices;
  // Channel numbers in increasing order: 0 to 17, 20 and 21.
  std::vector<U32> ChannelIds;
  // Channel after channel, one value per vertex.
  std::vector<double> ChannelValues;
};

class N4ArchiverPlainVertexList final : public N4ArchiverOf<N4PlainVertexList> {
public:
  // Made on first use, never freed.
  static const N4ArchiverPlainVertexList& Instance();
  const char* GetDescriptorName() const override { return "PlainVertexListDescriptor"; }
};

} // namespace Ostra::Papy
