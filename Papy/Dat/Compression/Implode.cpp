#include "Papy/Dat/Compression/Implode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Papy/Dat/Compression/CodeTables.h"

namespace Ostra::Papy::Dcl {
namespace {

using std::uint16_t;
using std::uint32_t;
using std::uint64_t;

constexpr unsigned BlockSize = 4096;
// No repetition is longer, so a block is matched only up to this many bytes before the
// end of the loaded data until the input has ended.
constexpr unsigned MaxMatch = 516;
constexpr unsigned HistorySize = 4096;
// Window: history, the unmatched tail of the previous block, the new block.
constexpr unsigned BlockStart = HistorySize + MaxMatch;
constexpr unsigned WindowSize = BlockStart + BlockSize;
// Match lengths are measured in 8-byte steps that may read this far past the data.
constexpr unsigned CompareSlack = 8;
constexpr unsigned OutPiece = 2048;
// Length-2 repetitions further back cost more than two literals.
constexpr unsigned MaxPairDistance = 256;
// Look-ahead: a match one byte longer at the next position is not worth a literal when
// the current match is this close.
constexpr unsigned LookAheadNearDistance = 129;
constexpr unsigned LookAheadMinLength = 8;

// The matching rules are stated over the earlier positions of each pair of bytes; the
// positions of each three bytes give the same answer with far fewer candidates (see
// FindMatch), so those are what is indexed.
constexpr unsigned HashBits = 11;
constexpr unsigned HashCount = 1u << HashBits;
// The positions of each hash are kept in ascending runs; the last of a run is marked.
constexpr uint16_t LastInRun = 0x8000;
constexpr uint16_t PositionMask = 0x7FFF;
constexpr uint16_t NoRun = 0xFFFF;
static_assert(WindowSize <= PositionMask);

struct Code {
  uint32_t Value;
  uint32_t Bits;
};

// Flag 1, the length code and its extra bits, for every length from 2 to 519.
constexpr std::array<Code, Tables::EndLength + 1> MakeRepetitionCodes() {
  std::array<Code, Tables::EndLength + 1> codes{};
  for (unsigned i = 0; i < Tables::LengthCount; ++i) {
    const unsigned extra_bits = Tables::LengthExtraBits[i];
    const auto code = Tables::LengthCodes[i];
    for (unsigned e = 0; e < (1u << extra_bits); ++e) {
      const unsigned length = Tables::LengthBase[i] + e + Tables::MinLength;
      codes[length] = {1u | (static_cast<uint32_t>(code.Value) << 1) | (e << (1 + code.Bits)),
                       1u + code.Bits + extra_bits};
    }
  }
  return codes;
}

constexpr auto RepetitionCodes = MakeRepetitionCodes();

struct ImplodeState {
  ReadCallback Read;
  WriteCallback Write;
  void* Param;
  bool Ascii;
  unsigned DictSize;
  unsigned DictBits;
  uint64_t Acc;
  unsigned AccBits;
  unsigned OutCount;
  unsigned char Out[OutPiece + 8];
  // Window index of the first byte of input.
  unsigned FirstValid;
  // Per hash: the first index in Sorted of its run not yet known to lie out of reach.
  uint16_t Start[HashCount];
  // Window positions grouped by the hash of their three bytes, ascending in each group.
  uint16_t Sorted[WindowSize];
  unsigned char Window[WindowSize + CompareSlack];
};
// Room for the state at whatever alignment the caller's buffer has.
static_assert(sizeof(ImplodeState) + alignof(ImplodeState) - 1 <= ImplodeWorkSize);

struct Match {
  unsigned Length = 0;
  unsigned Distance = 0;
};

uint64_t Load64(const unsigned char* p) {
  uint64_t value;
  std::memcpy(&value, p, sizeof value);
  if constexpr (std::endian::native == std::endian::big)
    value = __builtin_bswap64(value);
  return value;
}

// Reads 4 bytes; the window's slack covers the last position.
unsigned TripleHash(const unsigned char* p) {
  uint32_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big)
    word = __builtin_bswap32(word);
  return ((word & 0xFFFFFF) * 2654435761u) >> (32 - HashBits);
}

// Moves every whole byte of the bit accumulator to the output, handing the output over
// whenever it holds a full piece.
void Drain(ImplodeState& s) {
  while (s.AccBits >= 8) {
    s.Out[s.OutCount++] = static_cast<unsigned char>(s.Acc);
    s.Acc >>= 8;
    s.AccBits -= 8;
    if (s.OutCount == OutPiece) {
      unsigned size = OutPiece;
      s.Write(reinterpret_cast<char*>(s.Out), &size, s.Param);
      s.OutCount = 0;
    }
  }
}

// Codes are at most 16 bits and the accumulator is drained from 32, so it never holds
// more than 47.
void Put(ImplodeState& s, uint32_t value, unsigned bits) {
  s.Acc |= static_cast<uint64_t>(value) << s.AccBits;
  s.AccBits += bits;
  if (s.AccBits >= 32)
    Drain(s);
}

void PutLiteral(ImplodeState& s, unsigned char byte) {
  if (s.Ascii) {
    const auto code = Tables::AsciiCodes[byte];
    Put(s, static_cast<uint32_t>(code.Value) << 1, code.Bits + 1u);
  } else {
    Put(s, static_cast<uint32_t>(byte) << 1, 9);
  }
}

void PutRepetition(ImplodeState& s, const Match& match) {
  const auto length = RepetitionCodes[match.Length];
  Put(s, length.Value, length.Bits);
  const unsigned low_bits = match.Length == 2 ? 2 : s.DictBits;
  const unsigned back = match.Distance - 1;
  const auto high = Tables::DistanceCodes[back >> low_bits];
  Put(s, high.Value, high.Bits);
  Put(s, back & ((1u << low_bits) - 1), low_bits);
}

void PutEnd(ImplodeState& s) {
  const auto end = RepetitionCodes[Tables::EndLength];
  Put(s, end.Value, end.Bits);
  // The unused high bits of the last byte are 0.
  s.AccBits = (s.AccBits + 7) / 8 * 8;
  Drain(s);
  if (s.OutCount > 0) {
    unsigned size = s.OutCount;
    s.Write(reinterpret_cast<char*>(s.Out), &size, s.Param);
    s.OutCount = 0;
  }
}

// Counting sort of the positions [from, to) by the hash of their three bytes.
void BuildIndex(ImplodeState& s, unsigned from, unsigned to) {
  std::fill(std::begin(s.Start), std::end(s.Start), uint16_t{0});
  for (unsigned i = from; i < to; ++i)
    ++s.Start[TripleHash(s.Window + i)];
  unsigned sum = 0;
  for (auto& start : s.Start) {
    const unsigned count = start;
    start = static_cast<uint16_t>(sum);
    sum += count;
  }
  for (unsigned i = from; i < to; ++i)
    s.Sorted[s.Start[TripleHash(s.Window + i)]++] = static_cast<uint16_t>(i);
  // Each Start now holds the end of its run: mark the run's last entry and go back to
  // its beginning.
  unsigned run_begin = 0;
  for (auto& start : s.Start) {
    const unsigned run_end = start;
    if (run_end == run_begin) {
      start = NoRun;
    } else {
      s.Sorted[run_end - 1] |= LastInRun;
      start = static_cast<uint16_t>(run_begin);
    }
    run_begin = run_end;
  }
}

// Bytes equal from offset 8 on, at most limit in all; the first 8 are known equal.
unsigned LongMatchLength(const unsigned char* a, const unsigned char* b, unsigned limit) {
  unsigned length = 8;
  while (length < limit) {
    const uint64_t diff = Load64(a + length) ^ Load64(b + length);
    if (diff != 0)
      return std::min(limit, length + static_cast<unsigned>(std::countr_zero(diff)) / 8);
    length += 8;
  }
  return limit;
}

// The nearest position q in [lowest, p - 2] whose two bytes equal those at p, or p when
// there is none.
unsigned NearestPair(const unsigned char* window, unsigned p, unsigned lowest) {
  if (p < lowest + 2)
    return p;
  const unsigned char b0 = window[p];
  const unsigned char b1 = window[p + 1];
  int q = static_cast<int>(p) - 2;
  const int low = static_cast<int>(lowest);
#if defined(__SSE2__)
  const __m128i first = _mm_set1_epi8(static_cast<char>(b0));
  const __m128i second = _mm_set1_epi8(static_cast<char>(b1));
  for (; q - 15 >= low; q -= 16) {
    const unsigned char* block = window + q - 15;
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 1));
    const unsigned hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, second))));
    if (hits != 0)
      return static_cast<unsigned>(q - 15) + 31 - static_cast<unsigned>(std::countl_zero(hits));
  }
#endif
  for (; q >= low; --q)
    if (window[q] == b0 && window[q + 1] == b1)
      return static_cast<unsigned>(q);
  return p;
}

// The repetition the format's rules choose at window position p: of the earlier
// positions at distances 2 to dictionary size - 1, the one with the longest match,
// measured up to 516 bytes and never past loaded; of equally long ones the nearest;
// except that candidates are taken from the oldest and the first to reach 516 ends the
// search. A match of 3 or more bytes shares the hash of its first three, so the
// three-byte runs hold every candidate that can win unless the longest match is 2; then
// the winner is the nearest equal pair, which is only worth reporting up to distance 256
// (a length-2 match further back is coded as a literal, and as a look-ahead it decides
// nothing either way).
Match FindMatch(ImplodeState& s, unsigned p, unsigned loaded) {
  const unsigned limit = std::min(MaxMatch, loaded - p);
  if (limit < 2)
    return {};
  const unsigned char* current = s.Window + p;
  if (limit >= 3) {
    const unsigned hash = TripleHash(current);
    unsigned index = s.Start[hash];
    // Runs are ascending and p never decreases within a block, so a position out of
    // reach now stays out of reach.
    const unsigned lowest = p >= s.DictSize - 1 ? p - (s.DictSize - 1) : 0;
    while (index != NoRun) {
      const unsigned entry = s.Sorted[index];
      if ((entry & PositionMask) >= lowest)
        break;
      index = (entry & LastInRun) ? NoRun : index + 1;
    }
    s.Start[hash] = static_cast<uint16_t>(index);

    if (index != NoRun) {
      const uint64_t head = Load64(current);
      // Caps a short match at limit when limit < 8.
      const uint64_t cap = limit < 8 ? uint64_t{1} << (8 * limit) : 0;
      unsigned best_length = 3;
      unsigned best_position = p;
      auto consider = [&](unsigned q) {
        const unsigned char* candidate = s.Window + q;
        const uint64_t diff = (Load64(candidate) ^ head) | cap;
        if (diff != 0) {
          const unsigned length = static_cast<unsigned>(std::countr_zero(diff)) / 8;
          const bool better = length >= best_length;
          best_length = better ? length : best_length;
          best_position = better ? q : best_position;
          return true;
        }
        // The 8 bytes ending at the best length's last byte must match to tie it.
        if (best_length > 8 && Load64(candidate + best_length - 8) != Load64(current + best_length - 8))
          return true;
        const unsigned length = LongMatchLength(candidate, current, limit);
        if (length >= best_length) {
          best_length = length;
          best_position = q;
        }
        return length < MaxMatch;
      };
      // Candidates end before p - 1; a run's last entry carries the flag bit and so
      // also ends the loop, to be taken on its own.
      const unsigned end = p - 1;
      unsigned entry = s.Sorted[index];
      while (entry < end) {
        if (!consider(entry))
          break;
        entry = s.Sorted[++index];
      }
      if ((entry & LastInRun) && (entry & PositionMask) < end)
        consider(entry & PositionMask);
      if (best_position != p)
        return {best_length, p - best_position};
    }
  }
  const unsigned near = p > MaxPairDistance ? p - MaxPairDistance : 0;
  const unsigned q = NearestPair(s.Window, p, std::max(near, s.FirstValid));
  if (q == p)
    return {};
  return {2, p - q};
}

// Codes the positions [p, range_end) and returns the position after the last token,
// which a repetition may have carried past range_end.
unsigned MatchRange(ImplodeState& s, unsigned p, unsigned range_end, unsigned loaded) {
  while (p < range_end) {
    Match match = FindMatch(s, p, loaded);
    for (;;) {
      if (match.Length == 0 || (match.Length == 2 && match.Distance > MaxPairDistance)) {
        PutLiteral(s, s.Window[p]);
        ++p;
        break;
      }
      if (match.Length >= LookAheadMinLength || p + 1 >= range_end) {
        PutRepetition(s, match);
        p += match.Length;
        break;
      }
      const Match next = FindMatch(s, p + 1, loaded);
      if (next.Length <= match.Length ||
          (next.Length == match.Length + 1 && match.Distance <= LookAheadNearDistance)) {
        PutRepetition(s, match);
        p += match.Length;
        break;
      }
      PutLiteral(s, s.Window[p]);
      ++p;
      match = next;
    }
  }
  return p;
}

// Fills the new block; false in the second member when the input has ended.
struct BlockRead {
  unsigned Count;
  bool Ended;
};

BlockRead ReadBlock(ImplodeState& s) {
  unsigned count = 0;
  while (count < BlockSize) {
    unsigned want = BlockSize - count;
    const unsigned got = s.Read(reinterpret_cast<char*>(s.Window + BlockStart + count), &want, s.Param);
    if (got == 0)
      return {count, true};
    count += std::min(got, BlockSize - count);
  }
  return {count, false};
}

} // namespace

int implode(ReadCallback read, WriteCallback write, char* work, void* param, unsigned* mode,
            unsigned* dict_size) {
  unsigned dict_bits;
  switch (*dict_size) {
  case 1024:
    dict_bits = 4;
    break;
  case 2048:
    dict_bits = 5;
    break;
  case 4096:
    dict_bits = 6;
    break;
  default:
    return CMP_INVALID_DICTSIZE;
  }
  if (*mode != CMP_BINARY && *mode != CMP_ASCII)
    return CMP_INVALID_MODE;

  void* place = work;
  std::size_t space = ImplodeWorkSize;
  auto& s = *new (std::align(alignof(ImplodeState), sizeof(ImplodeState), place, space)) ImplodeState;
  s.Read = read;
  s.Write = write;
  s.Param = param;
  s.Ascii = *mode == CMP_ASCII;
  s.DictSize = *dict_size;
  s.DictBits = dict_bits;
  s.Acc = 0;
  s.AccBits = 0;
  s.Out[0] = static_cast<unsigned char>(*mode);
  s.Out[1] = static_cast<unsigned char>(dict_bits);
  s.OutCount = 2;
  std::memset(s.Window, 0, sizeof s.Window);

  unsigned p = BlockStart;
  s.FirstValid = BlockStart;
  for (bool first = true;; first = false) {
    if (!first) {
      std::memmove(s.Window, s.Window + BlockSize, WindowSize - BlockSize);
      p -= BlockSize;
      s.FirstValid = s.FirstValid > BlockSize ? s.FirstValid - BlockSize : 0;
    }
    const BlockRead block = ReadBlock(s);
    const unsigned loaded = BlockStart + block.Count;
    if (loaded > s.FirstValid + 2)
      BuildIndex(s, s.FirstValid, loaded - 2);
    p = MatchRange(s, p, block.Ended ? loaded : loaded - MaxMatch, loaded);
    if (block.Ended)
      break;
  }
  PutEnd(s);
  return CMP_NO_ERROR;
}

} // namespace Ostra::Papy::Dcl
