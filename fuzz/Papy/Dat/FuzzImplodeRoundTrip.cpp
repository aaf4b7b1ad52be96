// Implodes arbitrary bytes and expands them again: the input must come back. The first
// byte chooses the mode and dictionary size, the rest is the data.
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
  Channel(const unsigned char* data, std::size_t size) : Data(data), Size(size) {}
  const unsigned char* Data;
  std::size_t Size;
  std::size_t Position = 0;
  std::vector<unsigned char> Output;
};

unsigned Read(char* buffer, unsigned* size, void* param) {
  auto& c = *static_cast<Channel*>(param);
  const std::size_t count = std::min<std::size_t>(*size, c.Size - c.Position);
  if (count > 0)
    std::memcpy(buffer, c.Data + c.Position, count);
  c.Position += count;
  return static_cast<unsigned>(count);
}

void Write(char* buffer, unsigned* size, void* param) {
  auto& c = *static_cast<Channel*>(param);
  c.Output.insert(c.Output.end(), buffer, buffer + *size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0)
    return 0;
  unsigned mode = data[0] & 1;
  unsigned dict_size = 1024u << ((data[0] >> 1) % 3);
  Channel in(data + 1, size - 1);
  static char implode_work[Dcl::ImplodeWorkSize];
  if (Dcl::implode(Read, Write, implode_work, &in, &mode, &dict_size) != Dcl::CMP_NO_ERROR)
    std::abort();
  const std::vector<unsigned char>& stream = in.Output;
  // Every byte a literal at worst: 2 header bytes, 14 bits per byte, the end code.
  if (stream.size() > 2 + ((size - 1) * 14 + 16 + 7) / 8)
    std::abort();

  Channel out(stream.data(), stream.size());
  char explode_work[Dcl::ExplodeWorkSize];
  const int result = Dcl::explode(Read, Write, explode_work, &out);
  // The empty input's 4-byte stream is below the decoder's minimum.
  if (size == 1 ? result != Dcl::CMP_BAD_DATA : result != Dcl::CMP_NO_ERROR)
    std::abort();
  if (!std::equal(out.Output.begin(), out.Output.end(), data + 1, data + size))
    std::abort();
  return 0;
}
