#include "Papy/N4/N4Shape.h"

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

void ThreeDObjectShape::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterShape(*this)) {
    if (visitor.BeforeShapeGeometry(*this))
      GetGeometry()->Accept(visitor);
    visitor.AfterShapeGeometry(*this);
    if (visitor.BeforeShapeAppearance(*this))
      GetAppearance()->Accept(visitor);
    visitor.AfterShapeAppearance(*this);
  }
  visitor.LeaveShape(*this);
}

N4Shape::N4Shape(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  reader.ExpectU32(1, "N4 3do Shape reserved0 not 1");
  Name = ReadString(reader.GetStream());
  reader.ExpectU32(1, "N4 3do Shape reserved1 not 1");
  reader.ExpectU32(1, "N4 3do Shape reserved2 not 1");
  Geometry = reader.ReadObjectReference();
  Appearance = reader.ReadObjectReference();
}

N4Shape::N4Shape(N4TdoFile& owner, U32 id, const std::string& name, U32 geometry_id,
                 U32 appearance_id)
    : N4Object(owner, id, 0), Name(name), Geometry(geometry_id), Appearance(appearance_id) {}

void N4Shape::Write(Util::BinaryStream& stream, int reserved) {
  if (!WriteHeader(N4ArchiverShape::Instance()))
    return;
  Util::WriteU32(stream, 1);
  WriteString(stream, Name);
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 1);
  GetGeometry()->Write(stream, reserved);
  GetAppearance()->Write(stream, reserved);
}

const N4ArchiverShape& N4ArchiverShape::Instance() {
  static const N4ArchiverShape* const instance = new N4ArchiverShape;
  return *instance;
}

} // namespace Ostra::Papy
