#include "Util/CharBuffer.h"

#include <cstring>

#include "Util/Exception.h"

namespace Ostra::Util {

CharBuffer::CharBuffer(const std::string& name, U32 size, char* data)
    : ReadOnly(false), BufferName(name), Begin(data), Cursor(data), BufferSize(size) {}

CharBuffer::CharBuffer(const std::string& name) : ReadOnly(true), BufferName(name) {}

void CharBuffer::SetBuffer(U32 size, char* data) {
  Begin = data;
  Cursor = data;
  BufferSize = size;
  Position = 0;
}

void CharBuffer::Read(U32 byteCount, void* buffer) {
  if (byteCount > BufferSize - Position)
    throw XFileRead(BufferName);
  if (byteCount != 0)
    std::memcpy(buffer, Cursor, byteCount);
  Cursor += byteCount;
  Position += byteCount;
}

void CharBuffer::Write(U32 byteCount, const void* data) {
  if (ReadOnly || byteCount > BufferSize - Position)
    throw XFileWrite(BufferName);
  if (byteCount != 0)
    std::memcpy(Cursor, data, byteCount);
  Cursor += byteCount;
  Position += byteCount;
}

S64 CharBuffer::Tell() const { return static_cast<S64>(Position); }

void CharBuffer::Seek(S64 position) {
  if (position < 0 || position > static_cast<S64>(BufferSize))
    throw XFileSeek(BufferName);
  Position = static_cast<U32>(position);
  Cursor = Begin + Position;
}

S64 CharBuffer::Size() const { return static_cast<S64>(BufferSize); }

bool CharBuffer::AtEnd() const { return Position == BufferSize; }

std::string CharBuffer::Name() const { return BufferName; }

} // namespace Ostra::Util
