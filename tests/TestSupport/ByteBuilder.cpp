#include "TestSupport/ByteBuilder.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "Util/StreamIO.h"

namespace Ostra::Test {

ByteBuilder& ByteBuilder::U8(Util::U8 v) {
  Bytes.push_back(v);
  return *this;
}
ByteBuilder& ByteBuilder::U16(Util::U16 v) {
  Bytes.resize(Bytes.size() + 2);
  Util::StoreU16(Bytes.data() + Bytes.size() - 2, v);
  return *this;
}
ByteBuilder& ByteBuilder::U32(Util::U32 v) {
  Bytes.resize(Bytes.size() + 4);
  Util::StoreU32(Bytes.data() + Bytes.size() - 4, v);
  return *this;
}
ByteBuilder& ByteBuilder::U64(Util::U64 v) {
  Bytes.resize(Bytes.size() + 8);
  Util::StoreU64(Bytes.data() + Bytes.size() - 8, v);
  return *this;
}
ByteBuilder& ByteBuilder::F32(Util::F32 v) { return U32(std::bit_cast<Util::U32>(v)); }
ByteBuilder& ByteBuilder::F64(Util::F64 v) { return U64(std::bit_cast<Util::U64>(v)); }
ByteBuilder& ByteBuilder::Fixed(const std::string& text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i)
    Bytes.push_back(i < text.size() ? static_cast<unsigned char>(text[i]) : 0);
  return *this;
}
ByteBuilder& ByteBuilder::Raw(const std::vector<unsigned char>& bytes) {
  Bytes.insert(Bytes.end(), bytes.begin(), bytes.end());
  return *this;
}
ByteBuilder& ByteBuilder::Zeros(std::size_t count) {
  Bytes.insert(Bytes.end(), count, 0);
  return *this;
}

namespace {
void CheckPatch(std::size_t offset, std::size_t width, std::size_t size) {
  if (offset + width > size)
    throw std::out_of_range("ByteBuilder patch past the end");
}
} // namespace

ByteBuilder& ByteBuilder::PatchU16(std::size_t offset, Util::U16 v) {
  CheckPatch(offset, 2, Bytes.size());
  Util::StoreU16(Bytes.data() + offset, v);
  return *this;
}
ByteBuilder& ByteBuilder::PatchU32(std::size_t offset, Util::U32 v) {
  CheckPatch(offset, 4, Bytes.size());
  Util::StoreU32(Bytes.data() + offset, v);
  return *this;
}
ByteBuilder& ByteBuilder::PatchF32(std::size_t offset, Util::F32 v) {
  return PatchU32(offset, std::bit_cast<Util::U32>(v));
}
ByteBuilder& ByteBuilder::PatchF64(std::size_t offset, Util::F64 v) {
  CheckPatch(offset, 8, Bytes.size());
  Util::StoreU64(Bytes.data() + offset, std::bit_cast<Util::U64>(v));
  return *this;
}

} // namespace Ostra::Test
