#include "Papy/N4/N4TrackDetail.h"

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 CoordinateArraySize = ThreeDObjectTrackDetail::PointCount * sizeof(F64);

void ReadCoordinateSize(Util::BinaryStream& stream) {
  const U32 array_size = Util::ReadU32(stream);
  UTIL_ASSERT_TEXT(array_size == CoordinateArraySize, "array_size == vertex_count * sizeof(F64)");
}

} // namespace

void ThreeDObjectTrackDetail::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  if (visitor.EnterTrackDetail(*this))
    GetObject()->Accept(visitor);
  visitor.LeaveTrackDetail(*this);
}

N4TrackDetail::N4TrackDetail(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf TrackDetail reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf TrackDetail reserved1 not 0");
  reader.ExpectU32(0, "N4 ptf TrackDetail reserved2 not 0");
  ObjectId = reader.ReadObjectReference();
  for (double& value : Values)
    value = Util::ReadF64(stream);
  ReadCoordinateSize(stream);
  for (Point2D& point : Points)
    point.X = Util::ReadF64(stream);
  ReadCoordinateSize(stream);
  for (Point2D& point : Points)
    point.Y = Util::ReadF64(stream);
}

Point2D N4TrackDetail::GetPoint(unsigned index) const {
  UTIL_ASSERT(index < PointCount);
  return Points[index];
}

void N4TrackDetail::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTrackDetail::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, 0);
  WriteReference(stream, ObjectId);
  for (const double value : Values)
    Util::WriteF64(stream, value);
  Util::WriteU32(stream, CoordinateArraySize);
  for (const Point2D& point : Points)
    Util::WriteF64(stream, point.X);
  Util::WriteU32(stream, CoordinateArraySize);
  for (const Point2D& point : Points)
    Util::WriteF64(stream, point.Y);
}

const N4ArchiverTrackDetail& N4ArchiverTrackDetail::Instance() {
  static const N4ArchiverTrackDetail* const instance = new N4ArchiverTrackDetail;
  return *instance;
}

} // namespace Ostra::Papy
