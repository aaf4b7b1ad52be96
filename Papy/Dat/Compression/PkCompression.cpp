#include "Papy/Dat/Compression/PkCompression.h"

#include <algorithm>
#include <cstring>

#include "Papy/Dat/Compression/Implode.h"
#include "Papy/Dat/Compression/MemoryTransfer.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

namespace Dcl {

unsigned ReadMemory(char* buffer, unsigned* size, void* param) {
  auto& dp = *static_cast<MemoryTransfer*>(param);
  const U32 count = std::min<U32>(*size, dp.InBytesRemaining);
  if (count > 0)
    std::memcpy(buffer, dp.InPtr, count);
  dp.InPtr += count;
  dp.InBytesRemaining -= count;
  return count;
}

void WriteMemory(char* buffer, unsigned* size, void* param) {
  auto& dp = *static_cast<MemoryTransfer*>(param);
  const U32 count = std::min<U32>(*size, dp.OutBytesRemaining);
  if (count > 0)
    std::memcpy(dp.OutPtr, buffer, count);
  dp.OutPtr += count;
  dp.OutBytesRemaining -= count;
  dp.Dropped += *size - count;
}

} // namespace Dcl

U32 PkCompression::Decompress(const void* in, U32 in_size, void* out, U32 out_size) {
  Dcl::MemoryTransfer dp{static_cast<const unsigned char*>(in), in_size,
                         static_cast<unsigned char*>(out), out_size};
  char work[Dcl::ExplodeWorkSize];
  const int result = Dcl::explode(Dcl::ReadMemory, Dcl::WriteMemory, work, &dp);
  UTIL_ASSERT_TEXT(result == Dcl::CMP_NO_ERROR && dp.InBytesRemaining == 0,
                   "result == CMP_NO_ERROR && dp.InBytesRemaining == 0");
  return out_size - dp.OutBytesRemaining;
}

U32 PkCompression::Compress(const void* in, U32 in_size, void* out, U32 out_size) {
  Dcl::MemoryTransfer dp{static_cast<const unsigned char*>(in), in_size,
                         static_cast<unsigned char*>(out), out_size};
  char work[Dcl::ImplodeWorkSize];
  unsigned mode = Dcl::CMP_BINARY;
  unsigned dict_size = 4096;
  const int result = Dcl::implode(Dcl::ReadMemory, Dcl::WriteMemory, work, &dp, &mode, &dict_size);
  UTIL_ASSERT_TEXT(result == Dcl::CMP_NO_ERROR && dp.InBytesRemaining == 0,
                   "result == CMP_NO_ERROR && dp.InBytesRemaining == 0");
  // A stream with bytes missing would be stored as if whole.
  if (dp.Dropped > 0)
    throw Util::XUsage("The compressed data does not fit in its output buffer.");
  return out_size - dp.OutBytesRemaining;
}

} // namespace Ostra::Papy
