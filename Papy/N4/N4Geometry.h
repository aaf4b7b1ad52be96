#pragma once

#include "Papy/N4/N4Archiver.h"
#include "Papy/N4/N4Object.h"
#include "Papy/N4/ThreeDObjectGeometry.h"

namespace Ostra::Papy {

// Format notes: geometry body, after the object reference.
//   U32 1, U32 0, U32 version 1, vertex list reference, triangle list reference.
// Written but not read by the editor; the kinds behind the references are not checked.
class N4Geometry final : public ThreeDObjectGeometry, public N4Object {
public:
  // Reads the body. Throws XFileFormat "N4 3do Geometry ..." and the archive's errors.
  N4Geometry(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position);
  // The archive position is 0 until the geometry is written.
  N4Geometry(N4TdoFile& owner, U32 id, U32 vertices_id, U32 triangles_id);

  std::string GetTypeName() const override { return "Geometry"; }
  void Write(Util::BinaryStream& stream, int reserved) override;

  CountedPtr<ThreeDObject> GetVertices() const override { return Resolve(Vertices); }
  CountedPtr<ThreeDObject> GetTriangles() const override { return Resolve(Triangles); }

private:
  U32 Vertices = 0;
  U32 Triangles = 0;
};

class N4ArchiverGeometry final : public N4ArchiverOf<N4Geometry> {
public:
  // Made on first use, never freed.
  static const N4ArchiverGeometry& Instance();
  const char* GetDescriptorName() const override { return "GeometryDescriptor"; }
};

} // namespace Ostra::Papy
