#include "Papy/Dat/ICR2DatFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Papy/Types/ReaderOptions.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/StreamIO.h"

namespace Ostra::Papy {
namespace {

using Test::ByteBuilder;
using Test::TempDir;

struct Record {
  std::string Name;
  std::string Data;
};

// A valid archive of the given files, data in order after the directory.
ByteBuilder Image(const std::vector<Record>& records) {
  ByteBuilder b;
  b.S16(static_cast<S16>(records.size()));
  U32 offset = 2 + 27 * static_cast<U32>(records.size());
  for (const auto& r : records) {
    b.U8(5).U8(0).U32(static_cast<U32>(r.Data.size())).U32(static_cast<U32>(r.Data.size()));
    b.Fixed(r.Name, 13).U32(offset);
    offset += static_cast<U32>(r.Data.size());
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

class StrictSwitch {
public:
  explicit StrictSwitch(bool strict) : Saved(ReaderOptions::Instance().Strict) {
    ReaderOptions::Instance().Strict = strict;
  }
  ~StrictSwitch() { ReaderOptions::Instance().Strict = Saved; }

private:
  bool Saved;
};

TEST(ICR2DatFileTest, ReadsTheDirectoryAndOpensSubFilesByIndexAndName) {
  TempDir dir;
  const std::string path = dir.WriteFile("gpl.dat", Image({{"track.trk", "TRACK DATA"}, {"Setup.bb1", "S"}}).Data());
  CountedPtr<Util::BinaryStream> kept;
  {
    ICR2DatFile dat(path, false);
    ASSERT_EQ(2u, dat.GetCount());
    EXPECT_EQ(path, dat.GetPathName().GetFullPath());
    EXPECT_EQ("track", dat.GetBaseName(0));
    EXPECT_EQ("trk", dat.GetExtension(0));
    EXPECT_EQ("Setup", dat.GetBaseName(1));
    EXPECT_EQ("", dat.GetFolder(1));
    EXPECT_EQ(10u, dat.GetSize(0));
    EXPECT_EQ(10u, dat.GetStoredSize(0));
    EXPECT_EQ("TRACK DATA", ReadAll(*dat.OpenSubFile(0)));
    EXPECT_EQ("S", ReadAll(*dat.OpenSubFile("SETUP.BB1")));
    EXPECT_TRUE(dat.OpenSubFile("setup.bb2").IsNull());
    EXPECT_THROW(dat.GetSize(2), Util::XAssertion);
    kept = dat.OpenSubFile("TRACK.TRK");
  }
  // The sub-file outlives its archive.
  EXPECT_EQ("TRACK DATA", ReadAll(*kept));
}

TEST(ICR2DatFileTest, RefusesDamagedDirectoriesWithTheFirstFailingCheck) {
  const ByteBuilder valid = Image({{"a.trk", "0123456789"}});
  const struct {
    const char* What;
    std::function<void(ByteBuilder&)> Break;
    bool Strict;
    std::string Message; // empty: XFileRead
  } cases[] = {
      {"count 0", [](ByteBuilder& b) { b.PatchU16(0, 0); }, false, "ICR2 dat file subfile count error"},
      {"count -1", [](ByteBuilder& b) { b.PatchU16(0, 0xFFFF); }, false, "ICR2 dat file subfile count error"},
      {"count past the records", [](ByteBuilder& b) { b.PatchU16(0, 2); }, false, ""},
      {"signature", [](ByteBuilder& b) { b.Data()[2] = 4; }, false, "ICR2 dat file signature not 5"},
      {"method", [](ByteBuilder& b) { b.Data()[3] = 2; }, false, "ICR2 dat file unknown compression method"},
      {"sizes differ", [](ByteBuilder& b) { b.PatchU32(8, 11); }, false, "ICR2 dat file subfile size mismatch"},
      {"all four wrong",
       [](ByteBuilder& b) {
         b.Data()[2] = 4;
         b.Data()[3] = 2;
         b.PatchU32(8, 11);
         std::fill_n(b.Data().begin() + 12, 13, 'x');
       },
       true, "ICR2 dat file signature not 5"},
      {"13-character name, strict", [](ByteBuilder& b) { std::fill_n(b.Data().begin() + 12, 13, 'x'); }, true,
       "ICR2 dat file subfile name not 8.3"},
      {"file shorter than its directory", [](ByteBuilder& b) { b.Data().resize(20); }, false, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    ByteBuilder image = valid;
    c.Break(image);
    const std::string path = dir.WriteFile("bad.dat", image.Data());
    StrictSwitch strict(c.Strict);
    try {
      ICR2DatFile dat(path, false);
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

TEST(ICR2DatFileTest, AcceptsThirteenCharacterNamesUnlessStrict) {
  TempDir dir;
  const std::string path = dir.WriteFile("n.dat", Image({{"abcdefgh.trkx", "1"}, {"abcdefgh.trk", "2"}}).Data());
  {
    StrictSwitch strict(false);
    ICR2DatFile dat(path, false);
    EXPECT_EQ("trkx", dat.GetExtension(0));
    EXPECT_EQ("1", ReadAll(*dat.OpenSubFile("abcdefgh.trkx")));
  }
  // Twelve characters leave room for the NUL and pass the strict check too.
  StrictSwitch strict(true);
  ICR2DatFile dat(dir.WriteFile("12.dat", Image({{"abcdefgh.trk", "2"}}).Data()), false);
  EXPECT_EQ("2", ReadAll(*dat.OpenSubFile("ABCDEFGH.TRK")));
}

TEST(ICR2DatFileTest, BuildsFromTheGameFilesBesideItAndReportsWhy) {
  TempDir dir;
  for (const char* name :
       {"track.trk", "SETUP.BR2", "setup.xx1", "setup.bb4", "setup.bb", "readme.txt", "longername1.trk"})
    dir.WriteFile(name, std::string(name));
  dir.MakeFolder("sub");
  ICR2DatFile dat(dir / "gpl.dat");
  testing::internal::CaptureStdout();
  dat.BuildFromFolder(true);
  const std::string report = testing::internal::GetCapturedStdout();
  EXPECT_EQ("Included files\n\n"
            "SETUP.BR2\n"
            "track.trk\n"
            "\nExcluded files\n\n"
            "gpl.dat\tUnsuitable extension\n"
            "longername1.trk\tName not 8.3\n"
            "readme.txt\tUnsuitable extension\n"
            "setup.bb\tUnknown setup type\n"
            "setup.bb4\tUnknown setup type\n"
            "setup.xx1\tUnknown setup type\n",
            report);
  ASSERT_EQ(2u, dat.GetCount());
  EXPECT_EQ(0u, dat.GetSize(0));
}

TEST(ICR2DatFileTest, WritesDataAfterTheDirectoryWithoutPadding) {
  TempDir dir;
  dir.WriteFile("a.trk", std::string("0123456789"));
  dir.WriteFile("b.trk", std::string());
  dir.WriteFile("c.trk", std::string("abcde"));
  {
    ICR2DatFile dat(dir / "x.dat");
    dat.BuildFromFolder(false);
    dat.Write();
    EXPECT_EQ("abcde", ReadAll(*dat.OpenSubFile("c.trk")));
  }
  const auto bytes = Ostra::Test::ReadWholeFile(dir / "x.dat");
  EXPECT_EQ(98u, bytes.size());
  ICR2DatFile dat(dir / "x.dat", false);
  const U32 offsets[] = {83, 93, 93};
  for (U32 i = 0; i < 3; ++i)
    EXPECT_EQ(offsets[i], Util::LoadU32(bytes.data() + 2 + 27 * i + 23)) << i;
  EXPECT_EQ("0123456789", ReadAll(*dat.OpenSubFile(0)));
  EXPECT_EQ(0, dat.OpenSubFile(1)->Size());
}

TEST(ICR2DatFileTest, RewritingALargerArchiveLeavesNoOldTail) {
  TempDir dir;
  const std::string path = dir.WriteFile("x.dat", Image({{"a.trk", std::string(500, 'z')}}).Data());
  dir.WriteFile("a.trk", std::string("new"));
  {
    ICR2DatFile read_only(path, false);
    EXPECT_THROW(read_only.Write(), Util::XFileWrite);
  }
  EXPECT_THROW(ICR2DatFile{path}, Util::XFileOpen);
  ICR2DatFile dat(path, true);
  dat.BuildFromFolder(false);
  dat.Write();
  EXPECT_EQ(2u + 27 + 3, Ostra::Test::ReadWholeFile(path).size());
  EXPECT_EQ("new", ReadAll(*dat.OpenSubFile(0)));
}

} // namespace
} // namespace Ostra::Papy
