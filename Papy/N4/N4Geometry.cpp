#include "Papy/N4/N4Geometry.h"

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {
constexpr U32 GeometryVersion = 1;
} // namespace

void ThreeDObjectGeometry::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterGeometry(*this)) {
    if (visitor.BeforeVertices(*this))
      GetVertices()->Accept(visitor);
    visitor.AfterVertices(*this);
    if (visitor.BeforeTriangles(*this))
      GetTriangles()->Accept(visitor);
    visitor.AfterTriangles(*this);
  }
  visitor.LeaveGeometry(*this);
}

N4Geometry::N4Geometry(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  reader.ExpectU32(1, "N4 3do Geometry reserved0 not 1");
  reader.ExpectU32(0, "N4 3do Geometry reserved1 not 0");
  reader.ExpectU32(GeometryVersion, "N4 3do Geometry unsupported version");
  Vertices = reader.ReadObjectReference();
  Triangles = reader.ReadObjectReference();
}

N4Geometry::N4Geometry(N4TdoFile& owner, U32 id, U32 vertices_id, U32 triangles_id)
    : N4Object(owner, id, 0), Vertices(vertices_id), Triangles(triangles_id) {}

void N4Geometry::Write(Util::BinaryStream& stream, int reserved) {
  if (!WriteHeader(N4ArchiverGeometry::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, GeometryVersion);
  GetVertices()->Write(stream, reserved);
  GetTriangles()->Write(stream, reserved);
}

const N4ArchiverGeometry& N4ArchiverGeometry::Instance() {
  static const N4ArchiverGeometry* const instance = new N4ArchiverGeometry;
  return *instance;
}

} // namespace Ostra::Papy
