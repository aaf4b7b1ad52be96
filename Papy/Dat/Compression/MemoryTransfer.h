#pragma once

#include "Util/Types.h"

namespace Ostra::Papy::Dcl {

// The callbacks' parameter when the coders run between memory buffers.
struct MemoryTransfer {
  const unsigned char* InPtr;
  U32 InBytesRemaining;
  unsigned char* OutPtr;
  U32 OutBytesRemaining;
  // Output bytes that did not fit.
  U64 Dropped = 0;
};

// Copies the smaller of *size and the input left, and advances past it.
unsigned ReadMemory(char* buffer, unsigned* size, void* param);
// Copies what fits of *size bytes and counts the rest as dropped.
void WriteMemory(char* buffer, unsigned* size, void* param);

} // namespace Ostra::Papy::Dcl
