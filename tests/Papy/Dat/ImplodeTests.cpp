#include "Papy/Dat/Compression/Implode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Papy/Dat/Compression/CodeTables.h"
#include "Papy/Dat/Compression/PkCompression.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

namespace Tables = Dcl::Tables;
using Bytes = std::vector<unsigned char>;

Bytes FromText(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct Channel {
  const Bytes* Input = nullptr;
  std::size_t InPos = 0;
  // With ReadPiece, the first read hands out 5 bytes and each later one at most
  // ReadPiece; without, every read hands out as much as asked.
  unsigned ReadPiece = 0;
  unsigned Reads = 0;
  Bytes Output;
  std::vector<unsigned> Pieces;
};

unsigned ReadChannel(char* buffer, unsigned* size, void* param) {
  auto& c = *static_cast<Channel*>(param);
  ++c.Reads;
  std::size_t count = std::min<std::size_t>(*size, c.Input->size() - c.InPos);
  if (c.ReadPiece != 0)
    count = std::min<std::size_t>(count, c.Reads == 1 ? 5 : c.ReadPiece);
  if (count > 0)
    std::memcpy(buffer, c.Input->data() + c.InPos, count);
  c.InPos += count;
  return static_cast<unsigned>(count);
}

void WriteChannel(char* buffer, unsigned* size, void* param) {
  auto& c = *static_cast<Channel*>(param);
  c.Output.insert(c.Output.end(), buffer, buffer + *size);
  c.Pieces.push_back(*size);
}

struct Expanded {
  int Result;
  Bytes Output;
  std::vector<unsigned> Pieces;
};

Expanded Explode(const Bytes& stream, unsigned read_piece = 0) {
  Channel channel;
  channel.Input = &stream;
  channel.ReadPiece = read_piece;
  char work[Dcl::ExplodeWorkSize];
  const int result = Dcl::explode(ReadChannel, WriteChannel, work, &channel);
  return {result, channel.Output, channel.Pieces};
}

Bytes Implode(const Bytes& input, unsigned mode = Dcl::CMP_BINARY, unsigned dict = 4096,
              std::vector<unsigned>* pieces = nullptr) {
  Channel channel;
  channel.Input = &input;
  static char work[Dcl::ImplodeWorkSize];
  EXPECT_EQ(Dcl::CMP_NO_ERROR, Dcl::implode(ReadChannel, WriteChannel, work, &channel, &mode, &dict));
  if (pieces)
    *pieces = channel.Pieces;
  return channel.Output;
}

// A bit-by-bit reader of binary-mode streams, independent of the decoder, that lists
// the tokens so that tests can check the encoder's choices.
struct Token {
  bool Literal;
  unsigned Length; // the byte for a literal
  unsigned Distance;
  bool operator==(const Token&) const = default;
};

Token Lit(unsigned char byte) { return {true, byte, 0}; }
Token Rep(unsigned length, unsigned distance) { return {false, length, distance}; }

std::ostream& operator<<(std::ostream& out, const Token& t) {
  return t.Literal ? out << "lit " << t.Length : out << "rep " << t.Length << "@" << t.Distance;
}

class TokenReader {
public:
  explicit TokenReader(const Bytes& stream) : Stream(stream), Bit(16) {}

  std::vector<Token> ReadAll() {
    std::vector<Token> tokens;
    const unsigned dict_bits = Stream.at(1);
    for (;;) {
      if (Take(1) == 0) {
        tokens.push_back(Lit(static_cast<unsigned char>(Take(8))));
        continue;
      }
      const unsigned index = Decode(Tables::LengthCodes.data(), Tables::LengthCount);
      const unsigned length =
          Tables::LengthBase[index] + Take(Tables::LengthExtraBits[index]) + Tables::MinLength;
      if (length == Tables::EndLength)
        return tokens;
      const unsigned high = Decode(Tables::DistanceCodes.data(), Tables::DistanceCount);
      const unsigned low_bits = length == 2 ? 2 : dict_bits;
      tokens.push_back(Rep(length, ((high << low_bits) | Take(low_bits)) + 1));
    }
  }

private:
  unsigned Take(unsigned count) {
    unsigned value = 0;
    for (unsigned i = 0; i < count; ++i, ++Bit)
      value |= ((Stream.at(Bit / 8) >> (Bit % 8)) & 1u) << i;
    return value;
  }

  unsigned Decode(const Tables::Code* codes, unsigned count) {
    unsigned value = 0;
    for (unsigned bits = 1; bits <= 8; ++bits) {
      value |= Take(1) << (bits - 1);
      for (unsigned i = 0; i < count; ++i)
        if (codes[i].Bits == bits && codes[i].Value == value)
          return i;
    }
    ADD_FAILURE() << "no code at bit " << Bit;
    throw std::runtime_error("bad code");
  }

  const Bytes& Stream;
  std::size_t Bit;
};

// Builds a stream token by token straight from the code tables, for the lengths,
// distances and literal codes that the encoder never writes, and keeps the bytes the
// tokens stand for.
class TokenWriter {
public:
  TokenWriter(unsigned mode, unsigned dict_bits)
      : Stream{static_cast<unsigned char>(mode), static_cast<unsigned char>(dict_bits)}, Ascii(mode == Dcl::CMP_ASCII),
        DictBits(dict_bits) {}

  TokenWriter& Literal(unsigned char byte) {
    Put(0, 1);
    if (Ascii)
      Put(Tables::AsciiCodes[byte].Value, Tables::AsciiCodes[byte].Bits);
    else
      Put(byte, 8);
    Expected.push_back(byte);
    return *this;
  }

  TokenWriter& Literals(unsigned count) {
    for (unsigned i = 0; i < count; ++i)
      Literal(static_cast<unsigned char>(i * 7 + i / 256));
    return *this;
  }

  TokenWriter& Repetition(unsigned length, unsigned distance) {
    PutLength(length);
    const unsigned low_bits = length == 2 ? 2 : DictBits;
    const auto high = Tables::DistanceCodes[(distance - 1) >> low_bits];
    Put(high.Value, high.Bits);
    Put((distance - 1) & ((1u << low_bits) - 1), low_bits);
    for (unsigned i = 0; i < length; ++i)
      Expected.push_back(Expected[Expected.size() - distance]);
    return *this;
  }

  Bytes Finish() {
    PutLength(Tables::EndLength);
    if (Bit % 8 != 0)
      Bit += 8 - Bit % 8;
    return Stream;
  }

  Bytes Expected;

private:
  void Put(unsigned value, unsigned count) {
    for (unsigned i = 0; i < count; ++i, ++Bit) {
      if (Bit % 8 == 0)
        Stream.push_back(0);
      Stream.back() |= static_cast<unsigned char>(((value >> i) & 1u) << (Bit % 8));
    }
  }

  void PutLength(unsigned length) {
    unsigned index = Tables::LengthCount - 1;
    while (Tables::LengthBase[index] + Tables::MinLength > length)
      --index;
    Put(1, 1);
    Put(Tables::LengthCodes[index].Value, Tables::LengthCodes[index].Bits);
    Put(length - Tables::LengthBase[index] - Tables::MinLength, Tables::LengthExtraBits[index]);
  }

  Bytes Stream;
  std::size_t Bit = 16;
  bool Ascii;
  unsigned DictBits;
};

// Mixed content: text-like runs, repeats near and far, and noise.
Bytes Sample(std::size_t size, unsigned seed = 1) {
  Bytes bytes(size);
  unsigned state = seed;
  for (std::size_t i = 0; i < size; ++i) {
    state = state * 1103515245u + 12345u;
    const unsigned r = state >> 16;
    if (i > 600 && r % 7 == 0)
      bytes[i] = bytes[i - 1 - r % 600];
    else if (r % 5 == 0)
      bytes[i] = static_cast<unsigned char>(r);
    else
      bytes[i] = static_cast<unsigned char>("the quick brown fox "[r % 20]);
  }
  return bytes;
}

TEST(ExplodeTest, DecodesKnownStreamsWithTheirResultCodes) {
  const struct {
    const char* What;
    Bytes Stream;
    int Result;
    std::string Output;
  } cases[] = {
      {"empty stream, rejected as shorter than 5 bytes", {0x00, 0x06, 0x01, 0xFF}, 3, ""},
      {"A", {0x00, 0x06, 0x82, 0x02, 0xFE, 0x01}, 0, "A"},
      {"a, then length 10 at distance 1", {0x00, 0x06, 0xC2, 0x12, 0x03, 0x01, 0xFF}, 0, "aaaaaaaaaaa"},
      {"aaaa", {0x00, 0x06, 0xC2, 0x84, 0xED, 0x05, 0xFC, 0x03}, 0, "aaaa"},
      {"abcabcabc", {0x00, 0x06, 0xC2, 0x88, 0x19, 0xAB, 0x0B, 0x01, 0xFF}, 0, "abcabcabc"},
      {"ASCII blank, 1024", {0x01, 0x04, 0x3E, 0xE0, 0x1F}, 0, " "},
      {"ASCII AB", {0x01, 0x06, 0x62, 0xD4, 0x80, 0x7F}, 0, "AB"},
      {"a published example, dictionary 1024", {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}, 0,
       "AIAIAIAIAIAIA"},
      {"A with its last byte cut off", {0x00, 0x06, 0x82, 0x02, 0xFE}, 4, "A"},
      {"A and a trailing zero", {0x00, 0x06, 0x82, 0x02, 0xFE, 0x01, 0x00}, 0, "A"},
      {"dictionary bits 3", {0x00, 0x03, 0x82, 0x02, 0xFE, 0x01}, 1, ""},
      {"dictionary bits 7", {0x00, 0x07, 0x82, 0x02, 0xFE, 0x01}, 1, ""},
      {"mode 2", {0x02, 0x06, 0x82, 0x02, 0xFE, 0x01}, 2, ""},
      {"dictionary checked before mode", {0x02, 0x07, 0x82, 0x02, 0xFE, 0x01}, 1, ""},
      {"a, then length 3 at distance 64, before the first byte",
       {0x00, 0x06, 0xC2, 0xDE, 0x7F, 0xC0, 0x3F}, 0, std::string("a\0\0\0", 4)},
  };
  for (const auto& c : cases) {
    for (unsigned piece : {0u, 1u}) {
      const Expanded e = Explode(c.Stream, piece);
      EXPECT_EQ(c.Result, e.Result) << c.What << ", read piece " << piece;
      EXPECT_EQ(c.Output, std::string(e.Output.begin(), e.Output.end())) << c.What;
    }
  }
}

TEST(ExplodeTest, ReadsEveryCodeTheFormatAllows) {
  auto all_bytes = [](TokenWriter& w, bool descending) -> TokenWriter& {
    for (unsigned i = 0; i < 256; ++i)
      w.Literal(static_cast<unsigned char>(descending ? 255 - i : i));
    return w;
  };
  const struct {
    const char* What;
    std::function<TokenWriter()> Tokens;
  } cases[] = {
      {"the longest lengths and the edges of the length codes",
       [] {
         return TokenWriter(0, 6).Literal('x').Repetition(518, 1).Repetition(517, 1).Repetition(264, 1).Repetition(
             263, 2);
       }},
      {"every length, near and far",
       [] {
         TokenWriter w(0, 6);
         w.Literals(600);
         for (unsigned length = 2; length <= 518; ++length)
           w.Repetition(length, length == 2 ? 1 + length * 97 % 256 : 1 + length * 389 % 600);
         return w;
       }},
      {"the farthest distances, 4096",
       [] { return TokenWriter(0, 6).Literals(4096).Repetition(10, 4096).Repetition(3, 4095).Repetition(2, 256); }},
      {"the farthest distances, 2048", [] { return TokenWriter(0, 5).Literals(2048).Repetition(7, 2048); }},
      {"the farthest distances, 1024",
       [] { return TokenWriter(0, 4).Literals(1024).Repetition(5, 1024).Repetition(20, 1023).Repetition(2, 256); }},
      {"every ASCII literal code, 4096",
       [&] {
         TokenWriter w(1, 6);
         return all_bytes(w, false).Repetition(300, 256).Repetition(2, 255);
       }},
      {"every ASCII literal code, 1024",
       [&] {
         TokenWriter w(1, 4);
         return all_bytes(w, true).Repetition(518, 200);
       }},
  };
  for (const auto& c : cases) {
    TokenWriter writer = c.Tokens();
    const Bytes stream = writer.Finish();
    for (unsigned piece : {0u, 1u}) {
      const Expanded e = Explode(stream, piece);
      EXPECT_EQ(0, e.Result) << c.What << ", read piece " << piece;
      EXPECT_EQ(writer.Expected, e.Output) << c.What << ", read piece " << piece;
    }
  }
}

TEST(ImplodeTest, GivesTheExactStreamsForSmallInputs) {
  const struct {
    std::string Input;
    unsigned Dict;
    Bytes Stream;
  } cases[] = {
      {"", 4096, {0x00, 0x06, 0x01, 0xFF}},
      {"aaaa", 4096, {0x00, 0x06, 0xC2, 0x84, 0xED, 0x05, 0xFC, 0x03}},
      {"abcabcabc", 4096, {0x00, 0x06, 0xC2, 0x88, 0x19, 0xAB, 0x0B, 0x01, 0xFF}},
      {"AIAIAIAIAIAIA", 1024, {0x00, 0x04, 0x82, 0x24, 0x25, 0x8F, 0x80, 0x7F}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Stream, Implode(FromText(c.Input), Dcl::CMP_BINARY, c.Dict)) << '"' << c.Input << '"';
}

TEST(ImplodeTest, RefusesBadParametersBeforeAnyCallback) {
  const struct {
    unsigned Mode;
    unsigned Dict;
    int Result;
  } cases[] = {{0, 8192, 1}, {0, 512, 1}, {2, 4096, 2}, {2, 8192, 1}};
  for (const auto& c : cases) {
    Bytes input = FromText("abc");
    Channel channel;
    channel.Input = &input;
    unsigned mode = c.Mode;
    unsigned dict = c.Dict;
    static char work[Dcl::ImplodeWorkSize];
    EXPECT_EQ(c.Result, Dcl::implode(ReadChannel, WriteChannel, work, &channel, &mode, &dict));
    EXPECT_EQ(0u, channel.Reads);
    EXPECT_TRUE(channel.Pieces.empty());
  }
}

TEST(ImplodeTest, ChoosesRepetitionsByTheMatchingRules) {
  // Pattern bytes below 0x30; filler bytes ascending from 0x30 never repeat.
  auto filler = [](unsigned count, unsigned first = 0x30) {
    Bytes bytes;
    for (unsigned i = 0; i < count; ++i)
      bytes.push_back(static_cast<unsigned char>(first + i));
    return bytes;
  };
  auto cat = [](std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& p : parts)
      all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  const Bytes abc{1, 2, 3}, bcde{2, 3, 4, 5}, abcde{1, 2, 3, 4, 5}, bcdef{2, 3, 4, 5, 6};
  const Bytes run(2000, 'a');
  const struct {
    const char* What;
    Bytes Input;
    std::size_t Position; // where the first token to compare starts
    std::vector<Token> Tokens;
  } cases[] = {
      {"a run repeats from distance 2, and the oldest candidate reaching 516 wins", run, 0,
       {Lit('a'), Lit('a'), Rep(516, 2), Rep(516, 518), Rep(516, 1034), Rep(450, 2)}},
      {"a longer match next is not worth a literal when the current one is near",
       cat({abc, filler(100), bcde, filler(10, 0xA0), abcde}), 117, {Rep(3, 117), Rep(2, 15)}},
      {"a match one longer next wins when the current one is far",
       cat({abc, filler(140), bcde, filler(10, 0xC0), abcde}), 157, {Lit(1), Rep(4, 15)}},
      {"a match two longer next always wins",
       cat({abc, filler(10), bcdef, filler(10, 0x40), abcde, Bytes{6}}), 28, {Lit(1), Rep(5, 16)}},
      {"a two-byte match further than 256 is a literal", cat({Bytes{1, 2}, filler(200), filler(60), Bytes{1, 2}}),
       262, {Lit(1), Lit(2)}},
      {"among equally long matches the nearest wins", cat({abc, filler(5), abc, filler(5, 0x40), abc}), 16,
       {Rep(3, 8)}},
  };
  for (const auto& c : cases) {
    std::vector<Token> got;
    std::size_t position = 0;
    for (const Token& t : TokenReader(Implode(c.Input)).ReadAll()) {
      if (position >= c.Position && got.size() < c.Tokens.size())
        got.push_back(t);
      position += t.Literal ? 1 : t.Length;
    }
    EXPECT_EQ(c.Tokens, got) << c.What;
  }
}

TEST(ImplodeTest, RoundTripsEverySizeAroundTheBlockEdges) {
  Bytes all = Sample(20003);
  // A long run across the first block edges: repetitions capped at 516 that cross them.
  std::fill(all.begin() + 3000, all.begin() + 4700, 'z');
  auto check = [&](std::size_t size, unsigned mode, unsigned dict) {
    const Bytes input(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(size));
    const Bytes stream = Implode(input, mode, dict);
    const Expanded e = Explode(stream, size % 3 == 0 ? 1 : 0);
    // Empty input gives the 4-byte stream that the decoder refuses.
    ASSERT_EQ(size == 0 ? 3 : 0, e.Result) << size << " bytes, mode " << mode << ", dict " << dict;
    ASSERT_EQ(input, e.Output) << size << " bytes, mode " << mode << ", dict " << dict;
    if (mode != Dcl::CMP_BINARY)
      return;
    for (const Token& t : TokenReader(stream).ReadAll()) {
      ASSERT_TRUE(t.Literal || (t.Length <= 516 && t.Distance >= 2 && t.Distance < dict)) << t;
      ASSERT_TRUE(t.Literal || t.Length > 2 || t.Distance <= 256u) << t;
    }
  };
  for (std::size_t size = 0; size <= 700; ++size)
    check(size, Dcl::CMP_BINARY, 4096);
  for (std::size_t edge : {1024u, 2048u, 3580u, 4096u, 4612u, 7676u, 8192u, 8708u, 12288u, 20000u})
    for (std::size_t size = edge - 3; size <= edge + 3; ++size)
      for (unsigned mode : {Dcl::CMP_BINARY, Dcl::CMP_ASCII})
        for (unsigned dict : {1024u, 2048u, 4096u})
          check(size, mode, dict);
}

TEST(ImplodeTest, HandsOutputOverInPiecesOf2048) {
  std::vector<unsigned> pieces;
  const Bytes stream = Implode(Sample(30000, 7), Dcl::CMP_BINARY, 4096, &pieces);
  ASSERT_GE(pieces.size(), 2u);
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i)
    EXPECT_EQ(2048u, pieces[i]);
  EXPECT_LE(pieces.back(), 2048u);
  EXPECT_GT(pieces.back(), 0u);
}

TEST(ExplodeTest, HandsOutputOverInPiecesOf4096AndCopiesAcrossThem) {
  Bytes input = Sample(13000, 3);
  // A repetition that reaches back across the first piece boundary.
  for (std::size_t i = 4090; i < 4200; ++i)
    input[i] = input[i - 1000];
  const Expanded e = Explode(Implode(input));
  ASSERT_EQ(0, e.Result);
  EXPECT_EQ(input, e.Output);
  EXPECT_EQ((std::vector<unsigned>{4096, 4096, 4096, 13000 - 3 * 4096}), e.Pieces);

  const Expanded exact = Explode(Implode(Sample(8192, 3)));
  EXPECT_EQ((std::vector<unsigned>{4096, 4096, 0}), exact.Pieces);
}

TEST(ExplodeTest, StopsWithAbortWhenTheStreamIsCutAnywhere) {
  const Bytes input = Sample(3000, 5);
  for (unsigned mode : {Dcl::CMP_BINARY, Dcl::CMP_ASCII}) {
    const Bytes stream = Implode(input, mode);
    for (std::size_t cut = 5; cut < stream.size() - 1; cut += 3) {
      const Expanded e = Explode(Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut)));
      ASSERT_EQ(4, e.Result) << "mode " << mode << ", cut at " << cut;
      ASSERT_LE(e.Output.size(), input.size());
      ASSERT_TRUE(std::equal(e.Output.begin(), e.Output.end(), input.begin())) << "mode " << mode << ", cut at " << cut;
    }
  }
}

TEST(ImplodeTest, BothCodersWorkInAWorkAreaOfAnyAlignment) {
  const Bytes input = Sample(5000, 4);
  const Bytes expected = Implode(input);
  for (std::size_t shift = 0; shift < 8; ++shift) {
    alignas(16) static char implode_work[Dcl::ImplodeWorkSize + 8];
    alignas(16) static char explode_work[Dcl::ExplodeWorkSize + 8];
    Channel in;
    in.Input = &input;
    unsigned mode = Dcl::CMP_BINARY;
    unsigned dict = 4096;
    ASSERT_EQ(0, Dcl::implode(ReadChannel, WriteChannel, implode_work + shift, &in, &mode, &dict));
    EXPECT_EQ(expected, in.Output) << shift;
    Channel out;
    out.Input = &in.Output;
    ASSERT_EQ(0, Dcl::explode(ReadChannel, WriteChannel, explode_work + shift, &out));
    EXPECT_EQ(input, out.Output) << shift;
  }
}

TEST(PkCompressionTest, WrapsTheCodersBetweenMemoryBuffers) {
  const Bytes input = Sample(10000, 9);
  Bytes packed(2 * input.size() + 100);
  const auto packed_size = PkCompression::Compress(input.data(), 10000, packed.data(), 20100);
  packed.resize(packed_size);
  EXPECT_EQ(Implode(input), packed);
  Bytes out(input.size());
  EXPECT_EQ(10000u, PkCompression::Decompress(packed.data(), packed_size, out.data(), 10000));
  EXPECT_EQ(input, out);
  // Too small an output buffer: the decoder drops the rest, the encoder refuses.
  EXPECT_EQ(100u, PkCompression::Decompress(packed.data(), packed_size, out.data(), 100));
  EXPECT_THROW(PkCompression::Compress(input.data(), 10000, out.data(), 100), Util::XUsage);
}

TEST(PkCompressionTest, RefusesDamagedStreamsAndUnreadInput) {
  const Bytes packed{0x00, 0x06, 0x82, 0x02, 0xFE, 0x01};
  Bytes out(16);
  const struct {
    const char* What;
    Bytes In;
  } cases[] = {
      {"cut short", Bytes(packed.begin(), packed.end() - 1)},
      {"bad dictionary", {0x00, 0x09, 0x82, 0x02, 0xFE, 0x01}},
      {"empty stream", {0x00, 0x06, 0x01, 0xFF}},
      {"more than a piece of trailing bytes", [&] {
         Bytes b = packed;
         b.resize(2049 + 10);
         return b;
       }()},
  };
  for (const auto& c : cases)
    EXPECT_THROW(PkCompression::Decompress(c.In.data(), static_cast<U32>(c.In.size()), out.data(), 16),
                 Util::XAssertion)
        << c.What;
}

} // namespace
} // namespace Ostra::Papy
