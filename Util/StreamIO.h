#pragma once

#include <bit>
#include <cstddef>
#include <string>
#include <vector>

#include "Util/BinaryStream.h"
#include "Util/Types.h"

// Little-endian field access for the readers and writers of every format. Values are
// assembled from bytes with shifts, never copied from disk into structs.
namespace Ostra::Util {

inline U16 LoadU16(const unsigned char* p) { return static_cast<U16>(p[0] | (p[1] << 8)); }
inline U32 LoadU32(const unsigned char* p) {
  return static_cast<U32>(p[0]) | (static_cast<U32>(p[1]) << 8) | (static_cast<U32>(p[2]) << 16) |
         (static_cast<U32>(p[3]) << 24);
}
inline U64 LoadU64(const unsigned char* p) {
  return static_cast<U64>(LoadU32(p)) | (static_cast<U64>(LoadU32(p + 4)) << 32);
}
inline void StoreU16(unsigned char* p, U16 v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}
inline void StoreU32(unsigned char* p, U32 v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<unsigned char>(v >> (8 * i));
}
inline void StoreU64(unsigned char* p, U64 v) {
  StoreU32(p, static_cast<U32>(v));
  StoreU32(p + 4, static_cast<U32>(v >> 32));
}

inline U8 ReadU8(BinaryStream& s) {
  unsigned char b[1];
  s.Read(1, b);
  return b[0];
}
inline U16 ReadU16(BinaryStream& s) {
  unsigned char b[2];
  s.Read(2, b);
  return LoadU16(b);
}
inline U32 ReadU32(BinaryStream& s) {
  unsigned char b[4];
  s.Read(4, b);
  return LoadU32(b);
}
inline U64 ReadU64(BinaryStream& s) {
  unsigned char b[8];
  s.Read(8, b);
  return LoadU64(b);
}
inline S8 ReadS8(BinaryStream& s) { return static_cast<S8>(ReadU8(s)); }
inline S16 ReadS16(BinaryStream& s) { return static_cast<S16>(ReadU16(s)); }
inline S32 ReadS32(BinaryStream& s) { return static_cast<S32>(ReadU32(s)); }
inline S64 ReadS64(BinaryStream& s) { return static_cast<S64>(ReadU64(s)); }
inline F32 ReadF32(BinaryStream& s) { return std::bit_cast<F32>(ReadU32(s)); }
inline F64 ReadF64(BinaryStream& s) { return std::bit_cast<F64>(ReadU64(s)); }

inline void WriteU8(BinaryStream& s, U8 v) { s.Write(1, &v); }
inline void WriteU16(BinaryStream& s, U16 v) {
  unsigned char b[2];
  StoreU16(b, v);
  s.Write(2, b);
}
inline void WriteU32(BinaryStream& s, U32 v) {
  unsigned char b[4];
  StoreU32(b, v);
  s.Write(4, b);
}
inline void WriteU64(BinaryStream& s, U64 v) {
  unsigned char b[8];
  StoreU64(b, v);
  s.Write(8, b);
}
inline void WriteS8(BinaryStream& s, S8 v) { WriteU8(s, static_cast<U8>(v)); }
inline void WriteS16(BinaryStream& s, S16 v) { WriteU16(s, static_cast<U16>(v)); }
inline void WriteS32(BinaryStream& s, S32 v) { WriteU32(s, static_cast<U32>(v)); }
inline void WriteS64(BinaryStream& s, S64 v) { WriteU64(s, static_cast<U64>(v)); }
inline void WriteF32(BinaryStream& s, F32 v) { WriteU32(s, std::bit_cast<U32>(v)); }
inline void WriteF64(BinaryStream& s, F64 v) { WriteU64(s, std::bit_cast<U64>(v)); }

// Reads byteCount bytes into a new vector. The count is checked against the bytes
// left before anything is allocated, so a damaged length field gives XFileRead
// instead of a huge allocation.
std::vector<unsigned char> ReadBytes(BinaryStream& s, U64 byteCount);

// Throws XFileRead(s.Name()) unless at least byteCount bytes are left.
void RequireRemaining(const BinaryStream& s, U64 byteCount);

// Reads a fixed-width field and cuts it at the first NUL.
std::string ReadFixedString(BinaryStream& s, U32 width);
// Writes text into a fixed-width field, padded with NULs; text longer than width is cut.
void WriteFixedString(BinaryStream& s, const std::string& text, U32 width);

// Copies everything from the position of source to its end into target.
void CopyStream(BinaryStream& source, BinaryStream& target);

} // namespace Ostra::Util
