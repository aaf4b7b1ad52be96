#pragma once

#include "Util/BinaryStream.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

// a in the top byte, d in the bottom: a header word read little-endian compares equal
// to MakeFourCC('T','R','A','K') when the file's first bytes are "KART".
constexpr U32 MakeFourCC(unsigned char a, unsigned char b, unsigned char c, unsigned char d) {
  return (static_cast<U32>(a) << 24) | (static_cast<U32>(b) << 16) | (static_cast<U32>(c) << 8) |
         static_cast<U32>(d);
}

// Three little-endian U32 values, 12 bytes in a stream.
class U32Triple {
public:
  U32Triple(U32 first, U32 second, U32 third) : First(first), Second(second), Third(third) {}
  // Reads 12 bytes at the stream's position; throws XFileRead.
  explicit U32Triple(const Util::CountedPtr<Util::BinaryStream>& stream);

  // Writes 12 bytes at the stream's position; throws XFileWrite.
  void Write(const Util::CountedPtr<Util::BinaryStream>& stream) const;

  U32 GetFirst() const { return First; }
  U32 GetSecond() const { return Second; }
  U32 GetThird() const { return Third; }

private:
  U32 First;
  U32 Second;
  U32 Third;
};

// The U32 at the stream's position, leaving the position where it was.
U32 PeekU32(Util::BinaryStream& stream);
U32 PeekU32(const Util::CountedPtr<Util::BinaryStream>& stream);

} // namespace Ostra::Papy
