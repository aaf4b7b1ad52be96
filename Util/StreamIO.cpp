#include "Util/StreamIO.h"

#include <algorithm>

#include "Util/Exception.h"

namespace Ostra::Util {

void RequireRemaining(const BinaryStream& s, U64 byteCount) {
  if (byteCount > static_cast<U64>(s.Remaining()))
    throw XFileRead(s.Name());
}

std::vector<unsigned char> ReadBytes(BinaryStream& s, U64 byteCount) {
  RequireRemaining(s, byteCount);
  std::vector<unsigned char> bytes(static_cast<std::size_t>(byteCount));
  constexpr U64 chunk = 1u << 30;
  for (U64 done = 0; done < byteCount;) {
    const U32 n = static_cast<U32>(std::min(chunk, byteCount - done));
    s.Read(n, bytes.data() + done);
    done += n;
  }
  return bytes;
}

std::string ReadFixedString(BinaryStream& s, U32 width) {
  auto bytes = ReadBytes(s, width);
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

void WriteFixedString(BinaryStream& s, const std::string& text, U32 width) {
  std::vector<unsigned char> field(width, 0);
  std::copy_n(text.begin(), std::min<std::size_t>(text.size(), width), field.begin());
  s.Write(width, field.data());
}

void CopyStream(BinaryStream& source, BinaryStream& target) {
  std::vector<unsigned char> buffer(1 << 16);
  for (S64 left = source.Remaining(); left > 0;) {
    const U32 n = static_cast<U32>(std::min<S64>(left, static_cast<S64>(buffer.size())));
    source.Read(n, buffer.data());
    target.Write(n, buffer.data());
    left -= n;
  }
}

} // namespace Ostra::Util
