#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Util/Types.h"

namespace Ostra::Test {

// Builds a file image field by field, little-endian, so that a malformed case is a
// valid image with one field patched.
class ByteBuilder {
public:
  ByteBuilder& U8(Util::U8 v);
  ByteBuilder& U16(Util::U16 v);
  ByteBuilder& U32(Util::U32 v);
  ByteBuilder& U64(Util::U64 v);
  ByteBuilder& S16(Util::S16 v) { return U16(static_cast<Util::U16>(v)); }
  ByteBuilder& S32(Util::S32 v) { return U32(static_cast<Util::U32>(v)); }
  ByteBuilder& F32(Util::F32 v);
  ByteBuilder& F64(Util::F64 v);
  // Text cut or NUL-padded to width bytes.
  ByteBuilder& Fixed(const std::string& text, std::size_t width);
  ByteBuilder& Raw(const std::vector<unsigned char>& bytes);
  ByteBuilder& Zeros(std::size_t count);

  // Overwrite an already written field.
  ByteBuilder& PatchU16(std::size_t offset, Util::U16 v);
  ByteBuilder& PatchU32(std::size_t offset, Util::U32 v);
  ByteBuilder& PatchF32(std::size_t offset, Util::F32 v);
  ByteBuilder& PatchF64(std::size_t offset, Util::F64 v);

  std::size_t Size() const { return Bytes.size(); }
  const std::vector<unsigned char>& Data() const { return Bytes; }
  std::vector<unsigned char>& Data() { return Bytes; }

private:
  std::vector<unsigned char> Bytes;
};

} // namespace Ostra::Test
