#pragma once

#include <bit>
#include <cstdint>

namespace Ostra::Util {

using U8 = std::uint8_t;
using U16 = std::uint16_t;
using U32 = std::uint32_t;
using U64 = std::uint64_t;
using S8 = std::int8_t;
using S16 = std::int16_t;
using S32 = std::int32_t;
using S64 = std::int64_t;
using F32 = float;
using F64 = double;

static_assert(sizeof(F32) == 4 && sizeof(F64) == 8);
// The game files are little-endian; the stream helpers decode explicitly, but some
// code hashes or compares raw records and relies on the host matching.
static_assert(std::endian::native == std::endian::little, "Velmar needs a little-endian host");

} // namespace Ostra::Util

namespace Ostra {
using Util::F32;
using Util::F64;
using Util::S16;
using Util::S32;
using Util::S64;
using Util::S8;
using Util::U16;
using Util::U32;
using Util::U64;
using Util::U8;
} // namespace Ostra
