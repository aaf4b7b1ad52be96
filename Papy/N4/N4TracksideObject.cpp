#include "Papy/N4/N4TracksideObject.h"

#include "Papy/N4/ThreeDObjectVisitor.h"
#include "Util/BinaryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {
constexpr U32 LowestVersion = 2;
constexpr U32 FlagVersion = 3;
} // namespace

void ThreeDObjectTracksideObject::Accept(ThreeDObjectVisitor& visitor) {
  const ThreeDObjectVisitor::WalkStep step(visitor);
  visitor.VisitTracksideObject(*this);
}

N4TracksideObject::N4TracksideObject(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf TracksideObject reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf TracksideObject reserved1 not 0");
  Version = reader.ReadVersion(LowestVersion, FlagVersion,
                               "N4 ptf TracksideObject unsupported version");
  FirstString = ReadString(stream);
  SecondString = ReadString(stream);
  if (Version == FlagVersion)
    Flag = Util::ReadU8(stream);
}

void N4TracksideObject::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverTracksideObject::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  WriteString(stream, FirstString);
  WriteString(stream, SecondString);
  if (Version == FlagVersion)
    Util::WriteU8(stream, Flag);
}

const N4ArchiverTracksideObject& N4ArchiverTracksideObject::Instance() {
  static const N4ArchiverTracksideObject* const instance = new N4ArchiverTracksideObject;
  return *instance;
}

} // namespace Ostra::Papy
