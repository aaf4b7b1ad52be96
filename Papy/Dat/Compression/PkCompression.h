#pragma once

#include "Util/Types.h"

namespace Ostra::Papy {

// Runs the implode coders between memory buffers.
class PkCompression {
public:
  // Expands one implode stream into out and returns the number of bytes written. Bytes
  // beyond out_size are dropped: the caller compares the result with the size it
  // expects. Fails an assertion (XAssertion) when the stream is damaged or cut short,
  // or when input is left over once the stream has ended.
  static U32 Decompress(const void* in, U32 in_size, void* out, U32 out_size);

  // Implodes the input in binary mode with a 4096-byte dictionary and returns the
  // number of bytes written. Throws XUsage when the stream does not fit in out_size
  // bytes; 2 + (9 n + 16 + 7) / 8 bytes always suffice for n bytes of input.
  static U32 Compress(const void* in, U32 in_size, void* out, U32 out_size);
};

} // namespace Ostra::Papy
