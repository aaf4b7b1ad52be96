#include "Papy/Dat/N4DatFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Papy/Dat/Compression/PkCompression.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Test::ByteBuilder;
using Test::TempDir;

struct Record {
  std::string Name;
  std::string Data;
  U8 Method = 0;
  U32 Size = 0; // for method 2, the expanded size
};

// A valid archive: header, records, then the data in order.
ByteBuilder Image(const std::vector<Record>& records) {
  ByteBuilder directory;
  U32 directory_bytes = 0;
  for (const auto& r : records)
    directory_bytes += 16 + static_cast<U32>(r.Name.size());
  U32 offset = 10 + directory_bytes;
  ByteBuilder b;
  b.S16(static_cast<S16>(-static_cast<int>(records.size()))).U32(directory_bytes).U32(0);
  for (const auto& r : records) {
    const U32 stored = static_cast<U32>(r.Data.size());
    b.U8(5).U8(r.Method).U32(r.Method == 0 ? stored : r.Size).U32(stored).U32(offset);
    b.U8(static_cast<U8>(r.Name.size())).Fixed(r.Name, r.Name.size() + 1);
    offset += stored;
  }
  for (const auto& r : records)
    b.Fixed(r.Data, r.Data.size());
  return b;
}

std::string ReadAll(Util::BinaryStream& s) {
  std::string text(static_cast<std::size_t>(s.Size()), '\0');
  s.Seek(0);
  s.Read(static_cast<U32>(text.size()), text.data());
  return text;
}

std::string Packed(const std::string& text) {
  std::string out(text.size() * 2 + 16, '\0');
  out.resize(PkCompression::Compress(text.data(), static_cast<U32>(text.size()), out.data(),
                                     static_cast<U32>(out.size())));
  return out;
}

std::map<std::string, std::string> Contents(const DatFile& dat) {
  std::map<std::string, std::string> contents;
  for (U32 i = 0; i < dat.GetCount(); ++i) {
    const std::string folder = dat.GetFolder(i);
    const std::string ext = dat.GetExtension(i);
    const std::string name = (folder.empty() ? "" : folder + "\\") + dat.GetBaseName(i) + (ext.empty() ? "" : "." + ext);
    contents[name] = ReadAll(*dat.OpenSubFile(i));
  }
  return contents;
}

TEST(N4DatFileTest, ReadsStoredAndImplodedSubFilesWithFolders) {
  TempDir dir;
  const std::string text = "a compressed text, a compressed text, a compressed text";
  const std::string path = dir.WriteFile(
      "t.dat", Image({{"art\\pit.mip", "MIPDATA"}, {"track.ptf", Packed(text), 2, static_cast<U32>(text.size())},
                      {"art\\sub\\x.stp", "", 0}})
                   .Data());
  N4DatFile dat(path, false);
  EXPECT_EQ(path, dat.GetPathName().GetFullPath());
  ASSERT_EQ(3u, dat.GetCount());
  const struct {
    U32 Index;
    const char* Folder;
    const char* Base;
    const char* Ext;
  } names[] = {{0, "art", "pit", "mip"}, {1, "", "track", "ptf"}, {2, "art\\sub", "x", "stp"}};
  for (const auto& n : names) {
    EXPECT_EQ(n.Folder, dat.GetFolder(n.Index));
    EXPECT_EQ(n.Base, dat.GetBaseName(n.Index));
    EXPECT_EQ(n.Ext, dat.GetExtension(n.Index));
  }
  EXPECT_EQ(text.size(), dat.GetSize(1));
  EXPECT_LT(dat.GetStoredSize(1), dat.GetSize(1));
  EXPECT_EQ(text, ReadAll(*dat.OpenSubFile("TRACK.PTF")));
  EXPECT_EQ("MIPDATA", ReadAll(*dat.OpenSubFile("ART\\PIT.MIP")));
  EXPECT_TRUE(dat.OpenSubFile("pit.mip").IsNull());
}

TEST(N4DatFileTest, RefusesDamagedDirectoriesWithTheFirstFailingCheck) {
  const ByteBuilder valid = Image({{"a.mip", "0123456789"}});
  // Record fields: type at 10, method at 11, size at 12, stored size at 16.
  const struct {
    const char* What;
    std::function<void(ByteBuilder&)> Break;
    std::string Message; // empty: XFileRead
  } cases[] = {
      {"reserved", [](ByteBuilder& b) { b.PatchU32(6, 1); }, "N4 dat file reserved not zero"},
      {"type 4 with method 1", [](ByteBuilder& b) { b.Data()[10] = 4, b.Data()[11] = 1; }, "N4 dat file subfile type error"},
      {"method 1", [](ByteBuilder& b) { b.Data()[11] = 1; }, "N4 dat file unknown compression method"},
      {"stored with two sizes", [](ByteBuilder& b) { b.PatchU32(12, 9); }, "N4 dat file compressed size error"},
      {"count mismatch", [](ByteBuilder& b) { b.PatchU16(0, static_cast<U16>(-2)); }, "N4 dat file subfile count mismatch"},
      {"count positive", [](ByteBuilder& b) { b.PatchU16(0, 1); }, "N4 dat file subfile count mismatch"},
      {"record cut by the directory's end", [](ByteBuilder& b) { b.PatchU32(2, 18); }, ""},
      {"directory past the file's end", [](ByteBuilder& b) { b.PatchU32(2, 0xFFFFFF00u); }, ""},
      {"file shorter than its header", [](ByteBuilder& b) { b.Data().resize(8); }, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    ByteBuilder image = valid;
    c.Break(image);
    const std::string path = dir.WriteFile("bad.dat", image.Data());
    try {
      N4DatFile dat(path, false);
      ADD_FAILURE() << c.What << ": nothing thrown";
    } catch (const Util::XFileFormat& x) {
      EXPECT_EQ(path, x.FileName) << c.What;
      EXPECT_EQ(c.Message, x.Message) << c.What;
    } catch (const Util::XFileRead& x) {
      EXPECT_EQ("", c.Message) << c.What;
      EXPECT_EQ(path, x.FileName) << c.What;
    }
  }
}

TEST(N4DatFileTest, ReadsEdgeDirectories) {
  const struct {
    const char* What;
    ByteBuilder Image;
    U32 Count;
    const char* Base;
    S64 Size;
  } cases[] = {
      {"empty archive", ByteBuilder().S16(0).U32(0).U32(0), 0, "", 0},
      {"imploded record with any two sizes", Image({{"a.txt", "xx", 2, 1000000}}), 1, "a", -1},
      {"name cut at an inner NUL", Image({{std::string("ab\0cd", 5), "x"}}), 1, "ab", 1},
      {"empty imploded sub-file", Image({{"e.txt", std::string("\x00\x06\x01\xFF", 4), 2, 0}}), 1, "e", 0},
  };
  for (const auto& c : cases) {
    TempDir dir;
    N4DatFile dat(dir.WriteFile("e.dat", c.Image.Data()), false);
    ASSERT_EQ(c.Count, dat.GetCount()) << c.What;
    if (c.Count == 0)
      continue;
    EXPECT_EQ(c.Base, dat.GetBaseName(0)) << c.What;
    EXPECT_TRUE(c.Size < 0 || c.Size == dat.OpenSubFile(0)->Size()) << c.What;
  }
}

TEST(N4DatFileTest, ExpandsEveryEntryOfARealArchive) {
  VELMAR_REQUIRE_SHARED_DATA();
  N4DatFile dat(Ostra::Test::SharedData("n4/archives/effects.dat"), false);
  ASSERT_EQ(42u, dat.GetCount());
  unsigned compressed = 0;
  for (U32 i = 0; i < dat.GetCount(); ++i) {
    const auto sub = dat.OpenSubFile(i);
    ASSERT_EQ(dat.GetSize(i), sub->Size()) << dat.GetBaseName(i);
    EXPECT_EQ(dat.GetSize(i), ReadAll(*sub).size());
    compressed += dat.GetStoredSize(i) != dat.GetSize(i);
  }
  EXPECT_EQ(1u, compressed);
  const std::string fx = ReadAll(*dat.OpenSubFile("SUNFX.TXT"));
  EXPECT_EQ(612u, fx.size());
  EXPECT_TRUE(std::all_of(fx.begin(), fx.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n' || (c >= ' ' && c < 127); }));

  // The game's own tools made this stream; the matching rules give back the very same
  // bytes, so our streams are what those tools expect to read.
  const std::string packed = Packed(fx);
  const auto raw = Ostra::Test::ReadWholeFile(Ostra::Test::SharedData("n4/archives/effects.dat"));
  EXPECT_EQ(186u, packed.size());
  EXPECT_NE(std::string::npos, std::string(raw.begin(), raw.end()).find(packed));
}

TEST(N4DatFileTest, ARealArchiveSurvivesExtractionAndRewriting) {
  VELMAR_REQUIRE_SHARED_DATA();
  TempDir dir;
  std::map<std::string, std::string> original;
  {
    N4DatFile real(Ostra::Test::SharedData("n4/archives/effects.dat"), false);
    original = Contents(real);
  }
  for (const auto& [name, data] : original)
    dir.WriteFile(name, data);
  {
    N4DatFile rebuilt(dir / "effects.dat");
    rebuilt.BuildFromFolder(false);
    rebuilt.Write();
    EXPECT_EQ(original, Contents(rebuilt));
  }
  N4DatFile reread(dir / "effects.dat", false);
  EXPECT_EQ(original, Contents(reread));
  for (U32 i = 0; i < reread.GetCount(); ++i)
    EXPECT_EQ(reread.GetExtension(i) == "txt", reread.GetStoredSize(i) != reread.GetSize(i)) << reread.GetBaseName(i);
}

TEST(N4DatFileTest, BuildsFromGameFilesAndGameFoldersOnly) {
  TempDir dir;
  for (const char* name : {"a.3do", "b.BFF", "Track.ini", "c.dat", "Art/d.mip", "Art/stamps/e.stp", "other/f.3do",
                           "Art/other/g.3do", "trklogo.stp", "h.xyz"})
    dir.WriteFile(name, std::string("data of ") + name);
  N4DatFile dat(dir / "n4.dat");
  testing::internal::CaptureStdout();
  dat.BuildFromFolder(true);
  EXPECT_EQ("N4 Dat file created\n", testing::internal::GetCapturedStdout());
  std::vector<std::pair<std::string, bool>> got;
  for (U32 i = 0; i < dat.GetCount(); ++i) {
    const std::string folder = dat.GetFolder(i);
    got.emplace_back((folder.empty() ? "" : folder + "\\") + dat.GetBaseName(i) + "." + dat.GetExtension(i),
                     false);
  }
  std::sort(got.begin(), got.end());
  const std::vector<std::pair<std::string, bool>> expected{
      {"Art\\d.mip", false}, {"Art\\stamps\\e.stp", false}, {"a.3do", false}, {"b.BFF", false}};
  EXPECT_EQ(expected, got);

  dat.Write();
  N4DatFile reread(dir / "n4.dat", false);
  ASSERT_EQ(4u, reread.GetCount());
  for (U32 i = 0; i < reread.GetCount(); ++i) {
    // Only a.3do is imploded.
    EXPECT_EQ(reread.GetBaseName(i) == "a", reread.GetStoredSize(i) != reread.GetSize(i)) << reread.GetBaseName(i);
    const auto sub = reread.OpenSubFile(i);
    EXPECT_EQ(0u, ReadAll(*sub).find("data of "));
  }
  EXPECT_EQ("data of Art/stamps/e.stp", ReadAll(*reread.OpenSubFile("art\\STAMPS\\e.stp")));
}

TEST(N4DatFileTest, WritesEmptyFilesStoredAndRefusesWhatTheFormatCannotHold) {
  TempDir dir;
  dir.WriteFile("empty.txt", std::string());
  {
    N4DatFile dat(dir / "n4.dat");
    dat.BuildFromFolder(false);
    dat.Write();
    N4DatFile reread(dir / "n4.dat", false);
    ASSERT_EQ(1u, reread.GetCount());
    EXPECT_EQ(0u, reread.GetStoredSize(0));
    EXPECT_EQ(0, reread.OpenSubFile(0)->Size());
  }
  // 4 + 252 characters: one more than the name length byte can count.
  dir.WriteFile("art/" + std::string(248, 'n') + ".txt", std::string("x"));
  const auto before = Ostra::Test::ReadWholeFile(dir / "n4.dat");
  N4DatFile dat(dir / "n4.dat", true);
  dat.BuildFromFolder(false);
  ASSERT_EQ(2u, dat.GetCount());
  EXPECT_THROW(dat.Write(), Util::XUsage);
  EXPECT_EQ(before, Ostra::Test::ReadWholeFile(dir / "n4.dat"));
}

TEST(N4DatFileTest, RewritingALargerArchiveLeavesNoOldTail) {
  TempDir dir;
  const std::string path = dir.WriteFile("n4.dat", Image({{"a.mip", std::string(500, 'z')}}).Data());
  dir.WriteFile("a.mip", std::string("new"));
  {
    N4DatFile read_only(path, false);
    EXPECT_THROW(read_only.Write(), Util::XFileWrite);
  }
  EXPECT_THROW(N4DatFile{path}, Util::XFileOpen);
  N4DatFile dat(path, true);
  dat.BuildFromFolder(false);
  dat.Write();
  EXPECT_EQ(10u + 16 + 5 + 3, Ostra::Test::ReadWholeFile(path).size());
  EXPECT_EQ("new", ReadAll(*dat.OpenSubFile(0)));
}

} // namespace
} // namespace Ostra::Papy
