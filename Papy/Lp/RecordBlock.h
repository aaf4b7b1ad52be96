#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <string>

#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"
#include "Util/Types.h"

// Helpers shared by the LP readers and writers: record blocks moved through a small
// stack buffer (one stream call per few hundred records, no allocation per record),
// and the saturating conversions that keep out-of-range values from wrapping.
namespace Ostra::Papy::LpDetail {

inline constexpr std::size_t BlockBytes = 6000;

// Throws XFileRead(stream name), the error of a read past the end, unless count records
// of recordSize bytes lie between the position and the end: checked before anything is
// allocated, so a damaged count never reserves memory for records that are not there.
inline void RequireRecords(const Util::BinaryStream& stream, U32 count, std::size_t recordSize) {
  const S64 remaining = stream.Remaining();
  if (static_cast<U64>(count) > static_cast<U64>(remaining) / recordSize)
    throw Util::XFileRead(stream.Name());
}

// Calls decode(const unsigned char* record) for each of count records in order.
template <std::size_t RecordSize, class Decode>
void ReadRecords(Util::BinaryStream& stream, U32 count, Decode&& decode) {
  constexpr U32 per_block = static_cast<U32>(BlockBytes / RecordSize);
  unsigned char buffer[per_block * RecordSize];
  while (count > 0) {
    const U32 n = std::min(count, per_block);
    stream.Read(static_cast<U32>(n * RecordSize), buffer);
    for (U32 k = 0; k < n; ++k)
      decode(buffer + k * RecordSize);
    count -= n;
  }
}

// Calls encode(unsigned char* record, std::size_t i) for each of count records.
template <std::size_t RecordSize, class Encode>
void WriteRecords(Util::BinaryStream& stream, std::size_t count, Encode&& encode) {
  constexpr std::size_t per_block = BlockBytes / RecordSize;
  unsigned char buffer[per_block * RecordSize];
  std::size_t i = 0;
  while (i < count) {
    const std::size_t n = std::min(count - i, per_block);
    for (std::size_t k = 0; k < n; ++k)
      encode(buffer + k * RecordSize, i + k);
    stream.Write(static_cast<U32>(n * RecordSize), buffer);
    i += n;
  }
}

inline F32 LoadF32(const unsigned char* p) { return std::bit_cast<F32>(Util::LoadU32(p)); }
inline void StoreF32(unsigned char* p, F32 v) { Util::StoreU32(p, std::bit_cast<U32>(v)); }

// Truncation toward zero into the U32 range: NaN and anything below 0 give 0,
// anything at or above 2^32 gives the maximum.
inline U32 SaturateToU32(double value) {
  if (!(value > 0.0))
    return 0;
  if (value >= 4294967296.0)
    return 0xFFFFFFFFu;
  return static_cast<U32>(value);
}

// Truncation toward zero into the S32 range: NaN gives 0, values beyond either end
// give that end.
inline S32 SaturateToS32(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= 2147483648.0)
    return 2147483647;
  if (value <= -2147483649.0)
    return -2147483647 - 1;
  return static_cast<S32>(value);
}

// The low 32 bits of the value truncated toward zero to a 64-bit integer (how record
// counts for new files are formed); NaN gives 0 and the 64-bit range saturates first.
inline U32 LowBitsOfTruncation(double value) {
  if (std::isnan(value))
    return 0;
  if (value >= 9223372036854775808.0)
    return 0xFFFFFFFFu;
  if (value < -9223372036854775808.0)
    return 0;
  return static_cast<U32>(static_cast<S64>(value));
}

// No real lap needs more records than this at any game's spacing (about 3,000 km at
// 3 m); a damaged track length must not turn a new file into a huge allocation.
inline constexpr U32 MaxNewRecordCount = 1u << 20;

// Throws XUsage when a new file would need more than MaxNewRecordCount records.
inline U32 RequireNewRecordCount(U32 count) {
  if (count > MaxNewRecordCount)
    throw Util::XUsage("The track is too long for a new LP file.");
  return count;
}

} // namespace Ostra::Papy::LpDetail
