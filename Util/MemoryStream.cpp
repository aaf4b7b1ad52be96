#include "Util/MemoryStream.h"

#include <cstring>

#include "Util/Exception.h"

namespace Ostra::Util {

MemoryStream::MemoryStream(const std::string& name, std::vector<unsigned char> bytes)
    : StreamName(name), Data(std::move(bytes)) {}

void MemoryStream::Read(U32 byteCount, void* buffer) {
  if (byteCount > Data.size() - Position)
    throw XFileRead(StreamName);
  if (byteCount != 0)
    std::memcpy(buffer, Data.data() + Position, byteCount);
  Position += byteCount;
}

void MemoryStream::Write(U32 byteCount, const void* data) {
  if (byteCount == 0)
    return;
  if (Position + byteCount > Data.size())
    Data.resize(Position + byteCount);
  std::memcpy(Data.data() + Position, data, byteCount);
  Position += byteCount;
}

S64 MemoryStream::Tell() const { return static_cast<S64>(Position); }

void MemoryStream::Seek(S64 position) {
  if (position < 0 || position > static_cast<S64>(Data.size()))
    throw XFileSeek(StreamName);
  Position = static_cast<std::size_t>(position);
}

S64 MemoryStream::Size() const { return static_cast<S64>(Data.size()); }

std::string MemoryStream::Name() const { return StreamName; }

} // namespace Ostra::Util
