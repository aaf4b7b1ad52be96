#include "GameFolderImages.h"

#include "TestSupport/ByteBuilder.h"

namespace Ostra::Test {

Bytes Words(const std::vector<Util::U32>& words) {
  ByteBuilder out;
  for (const Util::U32 word : words)
    out.U32(word);
  return out.Data();
}

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes DatImage(const std::vector<std::pair<std::string, Bytes>>& subFiles) {
  constexpr std::size_t RecordSize = 27;
  ByteBuilder out;
  out.S16(static_cast<Util::S16>(subFiles.size()));
  auto offset = static_cast<Util::U32>(2 + RecordSize * subFiles.size());
  for (const auto& [name, bytes] : subFiles) {
    const auto size = static_cast<Util::U32>(bytes.size());
    out.U8(5).U8(0).U32(size).U32(size).Fixed(name, 13).U32(offset);
    offset += size;
  }
  for (const auto& [name, bytes] : subFiles)
    out.Raw(bytes);
  return out.Data();
}

// 'K','A','R','T' then the version or type word.
Bytes GplTrkHeader() { return Words({0x5452414B, 3000}); }
Bytes Icr2TrkHeader() { return Words({0x5452414B, 1}); }
Bytes Gpl3do() { return Text("4OD3"); }
Bytes N23do() { return Text("3OD3"); }

} // namespace Ostra::Test
