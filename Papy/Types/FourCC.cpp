#include "Papy/Types/FourCC.h"

#include "Util/StreamIO.h"

namespace Ostra::Papy {

U32Triple::U32Triple(const Util::CountedPtr<Util::BinaryStream>& stream)
    : First(Util::ReadU32(*stream)), Second(Util::ReadU32(*stream)),
      Third(Util::ReadU32(*stream)) {}

void U32Triple::Write(const Util::CountedPtr<Util::BinaryStream>& stream) const {
  Util::WriteU32(*stream, First);
  Util::WriteU32(*stream, Second);
  Util::WriteU32(*stream, Third);
}

U32 PeekU32(Util::BinaryStream& stream) {
  const S64 position = stream.Tell();
  const U32 value = Util::ReadU32(stream);
  stream.Seek(position);
  return value;
}

U32 PeekU32(const Util::CountedPtr<Util::BinaryStream>& stream) { return PeekU32(*stream); }

} // namespace Ostra::Papy
