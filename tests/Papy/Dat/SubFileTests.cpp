#include "Papy/Dat/CompressedSubFile.h"
#include "Papy/Dat/UncompressedSubFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Papy/Dat/Compression/PkCompression.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

using Bytes = std::vector<unsigned char>;
using Stream = CountedPtr<Util::BinaryStream>;

Stream Memory(const std::string& text) {
  return Stream(new Util::MemoryStream("archive.dat", Bytes(text.begin(), text.end())));
}

std::string ReadText(Util::BinaryStream& s, U32 count) {
  std::string text(count, '\0');
  s.Read(count, text.data());
  return text;
}

template <class X>
std::string ThrownName(const std::function<void()>& action) {
  try {
    action();
  } catch (const X& x) {
    return x.FileName;
  }
  return "(nothing thrown)";
}

TEST(UncompressedSubFileTest, KeepsToItsWindowAndNamesItselfInErrors) {
  const Stream parent = Memory("0123456789ABCDEFGHIJ");
  UncompressedSubFile sub(parent, "a.trk", 5, 6);
  EXPECT_EQ(6, sub.Size());
  EXPECT_EQ("a.trk", sub.Name());
  EXPECT_EQ("5678", ReadText(sub, 4));

  // Crossing the end: nothing read, position kept, although the archive goes on.
  EXPECT_EQ("a.trk", ThrownName<Util::XFileRead>([&] { ReadText(sub, 3); }));
  EXPECT_EQ(4, sub.Tell());

  const struct {
    S64 Position;
    bool Accepted;
  } seeks[] = {{0, true}, {6, true}, {7, false}, {-1, false}};
  for (const auto& s : seeks) {
    if (s.Accepted) {
      sub.Seek(s.Position);
      EXPECT_EQ(s.Position, sub.Tell());
      EXPECT_EQ(s.Position == 6, sub.AtEnd());
    } else {
      EXPECT_EQ("a.trk", ThrownName<Util::XFileSeek>([&] { sub.Seek(s.Position); })) << s.Position;
    }
  }

  // A read of nothing at the end still places the archive stream.
  sub.Seek(6);
  parent->Seek(0);
  sub.Read(0, nullptr);
  EXPECT_EQ(11, parent->Tell());
}

TEST(UncompressedSubFileTest, InterleavedSubFilesEachReadTheirOwnBytes) {
  const Stream parent = Memory("0123456789ABCDEFGHIJ");
  UncompressedSubFile a(parent, "a", 2, 6);
  UncompressedSubFile b(parent, "b", 10, 6);
  std::string got;
  for (int i = 0; i < 3; ++i) {
    got += ReadText(a, 2);
    got += ReadText(b, 2);
  }
  EXPECT_EQ("23AB45CD67EF", got);
}

TEST(UncompressedSubFileTest, WritesInPlaceInsideItsWindowOnly) {
  const Stream parent = Memory("0123456789");
  UncompressedSubFile sub(parent, "w", 3, 4);
  sub.Seek(1);
  sub.Write(3, "xyz");
  EXPECT_EQ("w", ThrownName<Util::XFileWrite>([&] { sub.Write(1, "!"); }));
  parent->Seek(0);
  EXPECT_EQ("0123xyz789", ReadText(*parent, 10));
}

TEST(UncompressedSubFileTest, RenamesFailuresOfTheArchiveStream) {
  // A window reaching past the end of the archive.
  const Stream parent = Memory("0123456789");
  UncompressedSubFile sub(parent, "late.trk", 8, 5);
  EXPECT_EQ("late.trk", ThrownName<Util::XFileRead>([&] { ReadText(sub, 3); }));
  EXPECT_EQ("late.trk", ThrownName<Util::XFileSeek>([&] { sub.Seek(4); }));
  EXPECT_EQ(0, sub.Tell());
}

// [7 bytes][stream][3 bytes]
struct PackedArchive {
  std::string Text;
  Stream Parent;
  U32 StoredSize;
};

PackedArchive Pack(const std::string& text) {
  Bytes packed(text.size() * 2 + 16);
  const U32 stored = PkCompression::Compress(text.data(), static_cast<U32>(text.size()), packed.data(),
                                             static_cast<U32>(packed.size()));
  std::string image = "HEADER!" + std::string(packed.begin(), packed.begin() + stored) + "END";
  return {text, Memory(image), stored};
}

TEST(CompressedSubFileTest, ExpandsIntoAReadOnlyMemoryStream) {
  const PackedArchive a = Pack("the sub-file text, the sub-file text, the sub-file text.");
  CompressedSubFile sub(a.Parent, "fx\\sunfx.txt", 7, a.StoredSize, static_cast<U32>(a.Text.size()));
  EXPECT_EQ(static_cast<S64>(a.Text.size()), sub.Size());
  EXPECT_EQ("fx\\sunfx.txt", sub.Name());
  EXPECT_EQ(a.Text, ReadText(sub, static_cast<U32>(a.Text.size())));
  EXPECT_TRUE(sub.AtEnd());
  EXPECT_EQ("fx\\sunfx.txt", ThrownName<Util::XFileRead>([&] { ReadText(sub, 1); }));
  sub.Seek(4);
  EXPECT_EQ(4, sub.Tell());
  EXPECT_EQ("sub", ReadText(sub, 3));
  EXPECT_EQ("fx\\sunfx.txt", ThrownName<Util::XFileWrite>([&] { sub.Write(1, "x"); }));

  // A recorded size below the expanded one keeps the first bytes.
  CompressedSubFile shorter(a.Parent, "s", 7, a.StoredSize, 8);
  EXPECT_EQ(a.Text.substr(0, 8), ReadText(shorter, 8));
  EXPECT_TRUE(shorter.AtEnd());
}

TEST(CompressedSubFileTest, AnEmptySubFileReadsNothing) {
  // The 4-byte stream of an empty input, which the decoder alone refuses.
  const Stream parent = Memory(std::string("\x00\x06\x01\xFF", 4));
  CompressedSubFile sub(parent, "empty.txt", 0, 4, 0);
  EXPECT_EQ(0, sub.Size());
  EXPECT_TRUE(sub.AtEnd());
}

TEST(CompressedSubFileTest, RefusesDamagedOrImpossibleEntries) {
  const PackedArchive a = Pack(std::string(300, 'q') + "some more text to keep it honest");
  const U32 size = static_cast<U32>(a.Text.size());
  const struct {
    const char* What;
    S64 Offset;
    U32 Stored;
    U32 Size;
    bool Format; // XFileFormat naming the sub-file, else XFileRead naming the archive
  } cases[] = {
      {"stream cut short", 7, a.StoredSize - 1, size, true},
      {"fewer bytes than recorded", 7, a.StoredSize, size + 1, true},
      {"not a stream", 0, a.StoredSize, size, true},
      {"more than the stored bytes can hold", 7, a.StoredSize, 189 * a.StoredSize + 1, true},
      {"stored bytes past the archive's end", 7, a.StoredSize + 4, size, false},
      {"offset past the archive's end", 1000, 10, size, false},
      {"huge stored size", 7, 0xFFFFFFF0u, size, false},
  };
  for (const auto& c : cases) {
    auto open = [&] { CompressedSubFile(a.Parent, "sub.txt", c.Offset, c.Stored, c.Size); };
    if (c.Format)
      EXPECT_EQ("sub.txt", ThrownName<Util::XFileFormat>(open)) << c.What;
    else
      EXPECT_EQ("archive.dat", ThrownName<Util::XFileRead>(open)) << c.What;
  }
}

} // namespace
} // namespace Ostra::Papy
