#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/CharBuffer.h"
#include "Util/CountedPtr.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"

namespace Ostra::Util {
namespace {

using Test::TempDir;

// The same checks run against each backing a reader may get.
struct CharBufferBacking {
  std::vector<char> Memory = std::vector<char>(10);
  std::unique_ptr<BinaryStream> Make() {
    return std::make_unique<CharBuffer>("mem", static_cast<U32>(Memory.size()), Memory.data());
  }
};
struct MemoryStreamBacking {
  std::unique_ptr<BinaryStream> Make() {
    return std::make_unique<MemoryStream>("mem", std::vector<unsigned char>(10));
  }
};
struct FileBacking {
  TempDir Dir;
  std::unique_ptr<BinaryStream> Make() {
    Dir.WriteFile("ten.bin", std::vector<unsigned char>(10));
    return std::unique_ptr<BinaryStream>(BinaryFile::OpenReadWrite(Dir / "ten.bin"));
  }
};

template <class Backing>
class StreamBackingTest : public ::testing::Test {
protected:
  Backing Source;
};
using Backings = ::testing::Types<CharBufferBacking, MemoryStreamBacking, FileBacking>;
TYPED_TEST_SUITE(StreamBackingTest, Backings);

TYPED_TEST(StreamBackingTest, TenBytesReadThenAtEndAndOneMoreThrows) {
  auto s = this->Source.Make();
  char buffer[11];
  EXPECT_FALSE(s->AtEnd());
  s->Read(10, buffer);
  EXPECT_TRUE(s->AtEnd());
  EXPECT_THROW(s->Read(1, buffer), XFileRead);
  EXPECT_NO_THROW(s->Seek(10));
  EXPECT_THROW(s->Seek(-1), XFileSeek);
}

TYPED_TEST(StreamBackingTest, LittleEndianFieldsRoundTrip) {
  auto s = this->Source.Make();
  WriteU16(*s, 0xBEEF);
  WriteS32(*s, -2);
  s->Seek(0);
  unsigned char raw[6];
  s->Read(6, raw);
  EXPECT_EQ(raw[0], 0xEF);
  EXPECT_EQ(raw[1], 0xBE);
  s->Seek(0);
  EXPECT_EQ(ReadU16(*s), 0xBEEF);
  EXPECT_EQ(ReadS32(*s), -2);
  EXPECT_EQ(s->Tell(), 6);
  EXPECT_EQ(s->Remaining(), 4);
}

TYPED_TEST(StreamBackingTest, ReadBytesRefusesACountBeyondTheEndBeforeAllocating) {
  auto s = this->Source.Make();
  s->Seek(4);
  EXPECT_THROW(ReadBytes(*s, 0xFFFFFFFFFFull), XFileRead);
  EXPECT_EQ(s->Tell(), 4);
  EXPECT_EQ(ReadBytes(*s, 6).size(), 6u);
}

TEST(CharBuffer, FailedTransfersLeaveThePositionUnchanged) {
  char memory[10] = {};
  CharBuffer s("mem", 10, memory);
  s.Seek(8);
  char buffer[4];
  EXPECT_THROW(s.Read(3, buffer), XFileRead);
  EXPECT_EQ(s.Tell(), 8);
  EXPECT_THROW(s.Write(3, buffer), XFileWrite);
  EXPECT_EQ(s.Tell(), 8);
  EXPECT_THROW(s.Seek(11), XFileSeek);
  EXPECT_EQ(s.Tell(), 8);
}

TEST(CharBuffer, ReadOnlyFormRefusesEveryWriteAndReadsAfterSetBuffer) {
  CharBuffer s("ro");
  EXPECT_EQ(s.Size(), 0);
  EXPECT_TRUE(s.AtEnd());
  EXPECT_THROW(s.Write(0, ""), XFileWrite);
  char memory[3] = {'a', 'b', 'c'};
  s.SetBuffer(3, memory);
  char c;
  s.Read(1, &c);
  EXPECT_EQ(c, 'a');
  EXPECT_THROW(s.Write(1, "x"), XFileWrite);
  EXPECT_EQ(s.Name(), "ro");
}

TEST(MemoryStream, WritingPastTheEndGrows) {
  MemoryStream s("m");
  WriteU32(s, 1);
  s.Seek(2);
  WriteU32(s, 0xFFFFFFFF);
  EXPECT_EQ(s.Size(), 6);
  EXPECT_THROW(s.Seek(7), XFileSeek);
}

TEST(BinaryFile, OpenReadOfAMissingFileNamesTheAbsolutePathAndTheSystemText) {
  TempDir dir;
  try {
    delete BinaryFile::OpenRead(dir / "missing.lp");
    FAIL() << "no throw";
  } catch (const XFileOpen& e) {
    EXPECT_EQ(e.FileName, dir / "missing.lp");
    EXPECT_EQ(e.SystemMessage, SystemErrorText(ENOENT));
  }
}

TEST(BinaryFile, RelativePathsAreMadeAbsoluteAndEmptyOnesRefused) {
  TempDir dir;
  dir.WriteFile("rel.bin", "abc");
  char old_cwd[4096];
  ASSERT_NE(::getcwd(old_cwd, sizeof old_cwd), nullptr);
  ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
  std::unique_ptr<BinaryFile> f(BinaryFile::OpenRead("./sub/../rel.bin"));
  EXPECT_EQ(f->Name(), dir / "rel.bin");
  ASSERT_EQ(::chdir(old_cwd), 0);
  try {
    delete BinaryFile::OpenRead("");
    FAIL() << "no throw";
  } catch (const XFileOpen& e) {
    EXPECT_EQ(e.What(), "Couldn't open \n\n");
  }
}

TEST(BinaryFile, CreateNewRefusesAnExistingFileOrCaseVariant) {
  TempDir dir;
  dir.WriteFile("RACE.LP", "x");
  EXPECT_THROW(delete BinaryFile::CreateNew(dir / "RACE.LP"), XFileOpen);
  EXPECT_THROW(delete BinaryFile::CreateNew(dir / "race.lp"), XFileOpen);
  EXPECT_NO_THROW(delete BinaryFile::CreateNew(dir / "other.lp"));
}

TEST(BinaryFile, NonRegularFilesAreRefused) {
  TempDir dir;
  const std::string folder = dir.MakeFolder("folder");
  try {
    delete BinaryFile::OpenRead(folder);
    FAIL() << "no throw";
  } catch (const XFileOpen& e) {
    EXPECT_EQ(e.SystemMessage, SystemErrorText(EISDIR));
  }
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
  // Must fail at once instead of blocking for a writer.
  EXPECT_THROW(delete BinaryFile::OpenRead(dir / "fifo"), XFileOpen);
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(dir / "fifo"));
}

TEST(BinaryFile, EmptyFileIsAtEndAndTruncateCutsAtThePosition) {
  TempDir dir;
  dir.WriteFile("empty", "");
  std::unique_ptr<BinaryFile> empty(BinaryFile::OpenRead(dir / "empty"));
  EXPECT_TRUE(empty->AtEnd());

  std::unique_ptr<BinaryFile> f(BinaryFile::CreateAlways(dir / "t"));
  f->Write(8, "12345678");
  f->Seek(100); // past the end is allowed for disk files
  EXPECT_EQ(f->Tell(), 100);
  f->Seek(3);
  f->Truncate();
  EXPECT_EQ(f->Size(), 3);
  char buffer[4];
  f->Seek(0);
  EXPECT_THROW(f->Read(4, buffer), XFileRead);
}

TEST(BinaryFile, WritingToAReadOnlyFileThrows) {
  TempDir dir;
  dir.WriteFile("r", "abc");
  std::unique_ptr<BinaryFile> f(BinaryFile::OpenRead(dir / "r"));
  EXPECT_THROW(f->Write(1, "x"), XFileWrite);
}

TEST(BinaryFile, MixedCaseNamesResolveWithExactMatchFirst) {
  TempDir dir;
  dir.WriteFile("GAME/TRACK.INI", "upper");
  dir.WriteFile("GAME/track.INI", "mixed");
  dir.WriteFile("GAME/Track.ini", "title");
  dir.WriteFile("GAME/MONZA.TRK", "monza");

  const auto read_all = [](const std::string& path) {
    std::unique_ptr<BinaryFile> f(BinaryFile::OpenRead(path));
    std::string text(static_cast<std::size_t>(f->Size()), '\0');
    f->Read(static_cast<U32>(text.size()), text.data());
    return text;
  };
  EXPECT_EQ(read_all(dir / "game/monza.trk"), "monza");
  EXPECT_EQ(read_all(dir / "GAME/track.INI"), "mixed");  // exact wins
  EXPECT_EQ(read_all(dir / "game/track.ini"), "upper"); // byte-wise smallest variant
  EXPECT_TRUE(FileExists(dir / "game/Monza.Trk"));

  // Saving under another spelling overwrites the existing file instead of adding a twin.
  {
    std::unique_ptr<BinaryFile> f(BinaryFile::CreateAlways(dir / "game/monza.trk"));
    f->Write(3, "new");
    EXPECT_EQ(f->Name(), dir / "game/monza.trk"); // the name as given
  }
  EXPECT_EQ(read_all(dir / "GAME/MONZA.TRK"), "new");
  struct stat st {};
  EXPECT_NE(::stat((dir / "GAME/monza.trk").c_str(), &st), 0) << "a twin was created";
}

} // namespace
} // namespace Ostra::Util
