#include "Papy/Dat/UncompressedSubFile.h"

#include "Util/Exception.h"

namespace Ostra::Papy {

UncompressedSubFile::UncompressedSubFile(const CountedPtr<Util::BinaryStream>& parent,
                                         const std::string& name, S64 offset, S64 size)
    : Parent(parent), SubFileName(name), SubFileSize(size), Offset(offset) {}

void UncompressedSubFile::Read(U32 byteCount, void* buffer) {
  if (byteCount > SubFileSize - Position)
    throw Util::XFileRead(SubFileName);
  // The parent is shared: another sub-file may have moved it.
  Seek(Position);
  try {
    Parent->Read(byteCount, buffer);
  } catch (const Util::XFileRead&) {
    throw Util::XFileRead(SubFileName);
  }
  Position += byteCount;
}

void UncompressedSubFile::Write(U32 byteCount, const void* data) {
  if (byteCount > SubFileSize - Position)
    throw Util::XFileWrite(SubFileName);
  Seek(Position);
  try {
    Parent->Write(byteCount, data);
  } catch (const Util::XFileWrite&) {
    throw Util::XFileWrite(SubFileName);
  }
  Position += byteCount;
}

S64 UncompressedSubFile::Tell() const { return Position; }

void UncompressedSubFile::Seek(S64 position) {
  if (position < 0 || position > SubFileSize)
    throw Util::XFileSeek(SubFileName);
  try {
    Parent->Seek(Offset + position);
  } catch (const Util::XFileSeek&) {
    throw Util::XFileSeek(SubFileName);
  }
  Position = position;
}

S64 UncompressedSubFile::Size() const { return SubFileSize; }

bool UncompressedSubFile::AtEnd() const { return Position == SubFileSize; }

std::string UncompressedSubFile::Name() const { return SubFileName; }

} // namespace Ostra::Papy
