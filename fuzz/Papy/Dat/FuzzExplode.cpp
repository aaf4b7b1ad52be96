// Expands arbitrary bytes as an implode stream, once with the input handed over as
// asked and once in 3-byte pieces: the result code and the output must agree, and the
// output can never exceed what the stream's bits allow.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Papy/Dat/Compression/Implode.h"

namespace {

using namespace Ostra::Papy;

struct Channel {
  Channel(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
  const std::uint8_t* Data;
  std::size_t Size;
  std::size_t Position = 0;
  unsigned Piece = 0;
  unsigned Reads = 0;
  std::vector<unsigned char> Output;
};

unsigned Read(char* buffer, unsigned* size, void* param) {
  auto& c = *static_cast<Channel*>(param);
  std::size_t count = std::min<std::size_t>(*size, c.Size - c.Position);
  // The first read must carry the 5 bytes the decoder insists on.
  if (c.Piece != 0 && c.Reads++ > 0)
    count = std::min<std::size_t>(count, c.Piece);
  if (count > 0)
    std::memcpy(buffer, c.Data + c.Position, count);
  c.Position += count;
  return static_cast<unsigned>(count);
}

void Write(char* buffer, unsigned* size, void* param) {
  auto& c = *static_cast<Channel*>(param);
  c.Output.insert(c.Output.end(), buffer, buffer + *size);
}

int Run(Channel& channel) {
  char work[Dcl::ExplodeWorkSize];
  return Dcl::explode(Read, Write, work, &channel);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Channel whole(data, size);
  Channel pieces(data, size);
  pieces.Piece = 3;
  const int result = Run(whole);
  if (Run(pieces) != result || pieces.Output != whole.Output)
    std::abort();
  // 518 bytes from a token of at least 16 bits.
  if (whole.Output.size() > size * 8 / 16 * 518 + 518)
    std::abort();
  return 0;
}
