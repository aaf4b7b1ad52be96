#include "Papy/N4/N4XSection.h"

#include <array>
#include <bit>

#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {

namespace {

constexpr U32 LowestVersion = 2;
constexpr U32 PackedVersion = 3;
constexpr U32 WideBlockSize = 49;
constexpr U32 PackedBlockSize = 33;
constexpr unsigned EntryCount = 2;

enum EntryType : U8 { EntryEmpty = 0, EntryWords = 1, EntryValues = 2 };

F32 LoadF32(const unsigned char* p) { return std::bit_cast<F32>(Util::LoadU32(p)); }
F64 LoadF64(const unsigned char* p) { return std::bit_cast<F64>(Util::LoadU64(p)); }

} // namespace

N4XSection::N4XSection(N4TdoFile& owner, N4Archiver& reader, U32 id, S64 position)
    : N4Object(owner, id, position) {
  Util::BinaryStream& stream = reader.GetStream();
  reader.ExpectU32(1, "N4 ptf XSection reserved0 not 1");
  reader.ExpectU32(0, "N4 ptf XSection reserved1 not 0");
  Version = reader.ReadVersion(LowestVersion, PackedVersion, "N4 ptf XSection unsupported version");

  std::array<unsigned char, WideBlockSize> block{};
  U8 reserved2 = 0;
  if (Version == PackedVersion) {
    stream.Read(PackedBlockSize, block.data());
    StartLatitude = LoadF32(&block[0]);
    StartAltitude = LoadF64(&block[4]);
    StartSlope = LoadF32(&block[12]);
    EndLatitude = LoadF32(&block[16]);
    EndAltitude = LoadF64(&block[20]);
    EndSlope = LoadF32(&block[28]);
    reserved2 = block[32];
  } else {
    stream.Read(WideBlockSize, block.data());
    StartLatitude = LoadF64(&block[0]);
    StartAltitude = LoadF64(&block[8]);
    StartSlope = LoadF64(&block[16]);
    EndLatitude = LoadF64(&block[24]);
    EndAltitude = LoadF64(&block[32]);
    EndSlope = LoadF64(&block[40]);
    reserved2 = block[48];
  }
  if (reserved2 != 0)
    reader.Fail("N4 ptf XSection reserved2 not 0");
  if (Version != PackedVersion)
    return;

  for (unsigned entry = 0; entry < EntryCount; ++entry) {
    const U8 type = Util::ReadU8(stream);
    Integers.push_back(type);
    switch (type) {
    case EntryEmpty:
      break;
    case EntryWords:
      for (int word = 0; word < 2; ++word)
        if (Util::ReadU32(stream) != 0)
          reader.Fail("N4 ptf XSection reserved3 not 0");
      break;
    case EntryValues:
      Doubles.push_back(Util::ReadF32(stream));
      Doubles.push_back(Util::ReadF32(stream));
      Integers.push_back(Util::ReadU8(stream));
      Integers.push_back(Util::ReadU8(stream));
      break;
    default:
      reader.Fail("N4 ptf XSection unknown unknown type");
    }
  }
}

S32 N4XSection::GetInteger(unsigned index) const {
  UTIL_ASSERT(index < Integers.size());
  return Integers[index];
}

double N4XSection::GetDouble(unsigned index) const {
  UTIL_ASSERT(index < Doubles.size());
  return Doubles[index];
}

bool N4XSection::GetBool(unsigned index) const {
  UTIL_ASSERT(index < Flags.size());
  return Flags[index] != 0;
}

void N4XSection::SetLatitudes(double start, double end) {
  StartLatitude = start;
  EndLatitude = end;
}

void N4XSection::SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                              double end_slope) {
  StartAltitude = start_altitude;
  EndAltitude = end_altitude;
  StartSlope = start_slope;
  EndSlope = end_slope;
}

void N4XSection::Write(Util::BinaryStream& stream, int) {
  if (!WriteHeader(N4ArchiverXSection::Instance()))
    return;
  Util::WriteU32(stream, 1);
  Util::WriteU32(stream, 0);
  Util::WriteU32(stream, Version);
  if (Version != PackedVersion) {
    for (const double value :
         {StartLatitude, StartAltitude, StartSlope, EndLatitude, EndAltitude, EndSlope})
      Util::WriteF64(stream, value);
    Util::WriteU8(stream, 0);
    return;
  }
  Util::WriteF32(stream, static_cast<F32>(StartLatitude));
  Util::WriteF64(stream, StartAltitude);
  Util::WriteF32(stream, static_cast<F32>(StartSlope));
  Util::WriteF32(stream, static_cast<F32>(EndLatitude));
  Util::WriteF64(stream, EndAltitude);
  Util::WriteF32(stream, static_cast<F32>(EndSlope));
  Util::WriteU8(stream, 0);

  std::size_t integer = 0;
  std::size_t value = 0;
  for (unsigned entry = 0; entry < EntryCount; ++entry) {
    UTIL_ASSERT(integer < Integers.size());
    const S32 type = Integers[integer++];
    Util::WriteU8(stream, static_cast<U8>(type));
    if (type == EntryWords) {
      Util::WriteU32(stream, 0);
      Util::WriteU32(stream, 0);
    } else if (type == EntryValues) {
      UTIL_ASSERT(value + 2 <= Doubles.size() && integer + 2 <= Integers.size());
      Util::WriteF32(stream, static_cast<F32>(Doubles[value++]));
      Util::WriteF32(stream, static_cast<F32>(Doubles[value++]));
      Util::WriteU8(stream, static_cast<U8>(Integers[integer++]));
      Util::WriteU8(stream, static_cast<U8>(Integers[integer++]));
    }
  }
}

const N4ArchiverXSection& N4ArchiverXSection::Instance() {
  static const N4ArchiverXSection* const instance = new N4ArchiverXSection;
  return *instance;
}

} // namespace Ostra::Papy
