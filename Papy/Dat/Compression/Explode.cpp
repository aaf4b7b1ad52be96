#include "Papy/Dat/Compression/Implode.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "Papy/Dat/Compression/CodeTables.h"

namespace Ostra::Papy::Dcl {
namespace {

using std::uint64_t;

constexpr unsigned InChunk = 2048;
constexpr unsigned History = 4096;
// Output is flushed in pieces of 4096 once the window reaches this position.
constexpr unsigned WindowEnd = 2 * History;
// Repetitions are copied in 8-byte steps and may run this far past their end.
constexpr unsigned CopySlack = 8;
// The fast decoder refills the bit buffer with one unaligned 8-byte load.
constexpr unsigned LoadSize = 8;
// The longest token: flag, length code and extra bits, distance code and low bits.
constexpr unsigned MaxTokenBits = 1 + 7 + 8 + 8 + 6;

struct LengthEntry {
  std::uint8_t Bits;
  std::uint8_t ExtraBits;
  std::uint16_t Base; // base + 2: the shortest length of the entry
};

struct SymbolEntry {
  std::uint8_t Bits;
  std::uint8_t Symbol;
};

// Each decoding table maps the next bits of the stream (bit 0 first) to an entry: a
// code of n bits fills every slot whose low n bits equal it.
constexpr unsigned LengthLookupBits = 7;
constexpr unsigned DistanceLookupBits = 8;

constexpr std::array<LengthEntry, 1u << LengthLookupBits> MakeLengthTable() {
  std::array<LengthEntry, 1u << LengthLookupBits> table{};
  for (unsigned i = 0; i < Tables::LengthCount; ++i) {
    const auto code = Tables::LengthCodes[i];
    for (unsigned slot = code.Value; slot < table.size(); slot += 1u << code.Bits)
      table[slot] = {code.Bits, Tables::LengthExtraBits[i],
                     static_cast<std::uint16_t>(Tables::LengthBase[i] + Tables::MinLength)};
  }
  return table;
}

constexpr std::array<SymbolEntry, 1u << DistanceLookupBits> MakeDistanceTable() {
  std::array<SymbolEntry, 1u << DistanceLookupBits> table{};
  for (unsigned i = 0; i < Tables::DistanceCount; ++i) {
    const auto code = Tables::DistanceCodes[i];
    for (unsigned slot = code.Value; slot < table.size(); slot += 1u << code.Bits)
      table[slot] = {code.Bits, static_cast<std::uint8_t>(i)};
  }
  return table;
}

constexpr std::array<SymbolEntry, 1u << Tables::AsciiMaxBits> MakeAsciiTable() {
  std::array<SymbolEntry, 1u << Tables::AsciiMaxBits> table{};
  for (unsigned i = 0; i < Tables::AsciiCodes.size(); ++i) {
    const auto code = Tables::AsciiCodes[i];
    for (unsigned slot = code.Value; slot < table.size(); slot += 1u << code.Bits)
      table[slot] = {code.Bits, static_cast<std::uint8_t>(i)};
  }
  return table;
}

constexpr auto LengthTable = MakeLengthTable();
constexpr auto DistanceTable = MakeDistanceTable();
constexpr auto AsciiTable = MakeAsciiTable();

struct ExplodeState {
  ReadCallback Read;
  WriteCallback Write;
  void* Param;
  // Stream bits not yet consumed, bit 0 next; above BitCount only true stream bits or
  // zeros.
  uint64_t Bits;
  unsigned BitCount;
  unsigned InPos;
  unsigned InEnd;
  bool Ended;
  bool Ascii;
  unsigned DictBits;
  unsigned OutPos;
  unsigned char In[InChunk + LoadSize];
  // History, then the bytes being produced, then room for one repetition's overrun.
  unsigned char Out[WindowEnd + Tables::MaxRepetition + CopySlack];
};
// Room for the state at whatever alignment the caller's buffer has.
static_assert(sizeof(ExplodeState) + alignof(ExplodeState) - 1 <= ExplodeWorkSize);

enum class Step { More, End, Abort };

uint64_t Load64(const unsigned char* p) {
  uint64_t value;
  std::memcpy(&value, p, sizeof value);
  if constexpr (std::endian::native == std::endian::big)
    value = __builtin_bswap64(value);
  return value;
}

void Pull(ExplodeState& s) {
  unsigned want = InChunk;
  unsigned got = s.Read(reinterpret_cast<char*>(s.In), &want, s.Param);
  if (got > InChunk)
    got = InChunk;
  s.InPos = 0;
  s.InEnd = got;
  if (got == 0)
    s.Ended = true;
}

// Moves whole bytes of the current piece into the bit buffer.
void Fill(ExplodeState& s) {
  while (s.BitCount <= 48 && s.InPos < s.InEnd) {
    s.Bits |= static_cast<uint64_t>(s.In[s.InPos++]) << s.BitCount;
    s.BitCount += 8;
  }
}

// The next piece is pulled exactly when fewer than 8 unread bits are left after a
// consumption, so the reader asks for input at the same moments as a decoder that
// keeps 8 bits buffered at all times; a wrapper's count of unread input depends on it.
void Drop(ExplodeState& s, unsigned count) {
  s.Bits >>= count;
  s.BitCount -= count;
  if (!s.Ended && s.BitCount + 8 * (s.InEnd - s.InPos) < 8)
    Pull(s);
}

bool Ensure(ExplodeState& s, unsigned count) {
  for (;;) {
    Fill(s);
    if (s.BitCount >= count)
      return true;
    if (s.Ended)
      return false;
    Pull(s);
  }
}

// Decodes one variable-length code; false when the input ends inside it.
template <class Entry, std::size_t N>
bool DecodeSlow(ExplodeState& s, const std::array<Entry, N>& table, Entry& entry) {
  for (;;) {
    Fill(s);
    entry = table[s.Bits & (N - 1)];
    if (entry.Bits <= s.BitCount)
      break;
    if (s.Ended)
      return false;
    Pull(s);
  }
  Drop(s, entry.Bits);
  return true;
}

void CopyRepetition(unsigned char* out, unsigned length, unsigned distance) {
  const unsigned char* from = out - distance;
  if (distance >= 8) {
    // Each 8-byte step reads only bytes before the ones it writes.
    for (unsigned i = 0; i < length; i += 8)
      std::memcpy(out + i, from + i, 8);
  } else if (distance == 1) {
    std::memset(out, from[0], length);
  } else {
    for (unsigned i = 0; i < length; ++i)
      out[i] = from[i];
  }
}

unsigned LowBits(const ExplodeState& s, unsigned length) { return length == 2 ? 2 : s.DictBits; }

// Decodes tokens while the current piece holds at least 8 more bytes and the window
// has room, so that no bit needs checking: one refill covers a whole token.
Step RunFast(ExplodeState& s) {
  uint64_t bits = s.Bits;
  unsigned count = s.BitCount;
  const unsigned char* in = s.In + s.InPos;
  const unsigned char* const in_last = s.In + s.InEnd - LoadSize;
  unsigned char* out = s.Out + s.OutPos;
  unsigned char* const out_end = s.Out + WindowEnd;
  const unsigned dict_bits = s.DictBits;
  Step step = Step::More;

  while (in <= in_last && out < out_end) {
    bits |= Load64(in) << count;
    in += (63 - count) >> 3;
    count |= 56;
    static_assert(56 - MaxTokenBits >= 9);
    if ((bits & 1) == 0) {
      if (!s.Ascii) {
        *out++ = static_cast<unsigned char>(bits >> 1);
        bits >>= 9;
        count -= 9;
        // A second literal fits without a refill; most literals come in runs.
        if ((bits & 1) == 0 && out < out_end) {
          *out++ = static_cast<unsigned char>(bits >> 1);
          bits >>= 9;
          count -= 9;
        }
      } else {
        const auto entry = AsciiTable[(bits >> 1) & (AsciiTable.size() - 1)];
        *out++ = entry.Symbol;
        bits >>= 1 + entry.Bits;
        count -= 1 + entry.Bits;
      }
      continue;
    }
    const auto code = LengthTable[(bits >> 1) & (LengthTable.size() - 1)];
    bits >>= 1 + code.Bits;
    const unsigned length = code.Base + static_cast<unsigned>(bits & ((1u << code.ExtraBits) - 1));
    bits >>= code.ExtraBits;
    count -= 1 + code.Bits + code.ExtraBits;
    if (length == Tables::EndLength) {
      step = Step::End;
      break;
    }
    const auto high = DistanceTable[bits & (DistanceTable.size() - 1)];
    bits >>= high.Bits;
    const unsigned low_bits = length == 2 ? 2 : dict_bits;
    const unsigned distance =
        ((static_cast<unsigned>(high.Symbol) << low_bits) | static_cast<unsigned>(bits & ((1u << low_bits) - 1))) + 1;
    bits >>= low_bits;
    count -= high.Bits + low_bits;
    CopyRepetition(out, length, distance);
    out += length;
  }

  s.Bits = bits;
  s.BitCount = count;
  s.InPos = static_cast<unsigned>(in - s.In);
  s.OutPos = static_cast<unsigned>(out - s.Out);
  return step;
}

// One token with every bit checked, for the ends of input pieces.
Step RunSlow(ExplodeState& s) {
  if (!Ensure(s, 1))
    return Step::Abort;
  const bool repetition = (s.Bits & 1) != 0;
  Drop(s, 1);
  if (!repetition) {
    unsigned char byte;
    if (s.Ascii) {
      SymbolEntry entry;
      if (!DecodeSlow(s, AsciiTable, entry))
        return Step::Abort;
      byte = entry.Symbol;
    } else {
      if (!Ensure(s, 8))
        return Step::Abort;
      byte = static_cast<unsigned char>(s.Bits);
      Drop(s, 8);
    }
    s.Out[s.OutPos++] = byte;
    return Step::More;
  }

  LengthEntry code;
  if (!DecodeSlow(s, LengthTable, code) || !Ensure(s, code.ExtraBits))
    return Step::Abort;
  const unsigned length = code.Base + static_cast<unsigned>(s.Bits & ((1u << code.ExtraBits) - 1));
  Drop(s, code.ExtraBits);
  if (length == Tables::EndLength)
    return Step::End;

  SymbolEntry high;
  const unsigned low_bits = LowBits(s, length);
  if (!DecodeSlow(s, DistanceTable, high) || !Ensure(s, low_bits))
    return Step::Abort;
  const unsigned distance =
      ((static_cast<unsigned>(high.Symbol) << low_bits) | static_cast<unsigned>(s.Bits & ((1u << low_bits) - 1))) + 1;
  Drop(s, low_bits);
  CopyRepetition(s.Out + s.OutPos, length, distance);
  s.OutPos += length;
  return Step::More;
}

void WriteOut(ExplodeState& s, unsigned from, unsigned count) {
  unsigned size = count;
  s.Write(reinterpret_cast<char*>(s.Out + from), &size, s.Param);
}

} // namespace

int explode(ReadCallback read, WriteCallback write, char* work, void* param) {
  void* place = work;
  std::size_t space = ExplodeWorkSize;
  auto& s = *new (std::align(alignof(ExplodeState), sizeof(ExplodeState), place, space)) ExplodeState;
  s.Read = read;
  s.Write = write;
  s.Param = param;

  unsigned want = InChunk;
  unsigned got = read(reinterpret_cast<char*>(s.In), &want, param);
  if (got > InChunk)
    got = InChunk;
  if (got < 5)
    return CMP_BAD_DATA;
  const unsigned mode = s.In[0];
  const unsigned dict_bits = s.In[1];
  if (dict_bits < 4 || dict_bits > 6)
    return CMP_INVALID_DICTSIZE;
  if (mode != CMP_BINARY && mode != CMP_ASCII)
    return CMP_INVALID_MODE;
  s.Ascii = mode == CMP_ASCII;
  s.DictBits = dict_bits;
  s.Bits = s.In[2];
  s.BitCount = 8;
  s.InPos = 3;
  s.InEnd = got;
  s.Ended = false;
  // A distance may reach back before the first byte; it then copies zeros.
  std::memset(s.Out, 0, History);
  s.OutPos = History;

  Step step = Step::More;
  while (step == Step::More) {
    step = s.InEnd - s.InPos >= LoadSize ? RunFast(s) : RunSlow(s);
    if (s.OutPos >= WindowEnd) {
      WriteOut(s, History, History);
      std::memmove(s.Out, s.Out + History, s.OutPos - History);
      s.OutPos -= History;
    }
  }
  WriteOut(s, History, s.OutPos - History);
  return step == Step::End ? CMP_NO_ERROR : CMP_ABORT;
}

} // namespace Ostra::Papy::Dcl
