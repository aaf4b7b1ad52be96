#include "Papy/N4Files/N4Recognizer.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "Papy/Dat/DatFile.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/N4Files/N4Facets.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Bytes = std::vector<unsigned char>;
using Files = std::vector<std::pair<std::string, Bytes>>;
using Ostra::Test::ByteBuilder;

Bytes Words(std::initializer_list<Util::U32> words) {
  ByteBuilder b;
  for (const Util::U32 w : words)
    b.U32(w);
  return b.Data();
}

constexpr Util::U32 Rply = 0x52504C59; // the bytes "YLPR"

// The 11 bytes the archive test reads: negated count, directory bytes, reserved,
// first record type.
Bytes DatHeader(Util::S16 count, Util::U32 directoryBytes, Util::U32 reserved, Util::U8 type) {
  return ByteBuilder().S16(count).U32(directoryBytes).U32(reserved).U8(type).Data();
}

Bytes RealArchive() {
  return Ostra::Test::ReadWholeFile(Ostra::Test::SharedData("n4/archives/effects.dat"));
}

struct FolderCase {
  const char* What;
  Files Contents;
  bool N4;
};

TEST(N4RecognizerTest, FoldersAreRecognisedByTheirArchiveOrFirstDecisiveFile) {
  VELMAR_REQUIRE_SHARED_DATA();
  const FolderCase cases[] = {
      {"a 3do whose first reference is object 1 of class 2", {{"car.3do", Words({1, 2, 9})}}, true},
      {"a foreign 3do decides no even beside a ptf",
       {{"car.3do", Words({1, 3})}, {"track.ptf", {}}},
       false},
      {"a 3do too short for two words is skipped", {{"car.3do", Bytes(6, 0)}, {"track.ptf", {}}}, true},
      {"a ptf is not read", {{"track.ptf", {}}}, true},
      {"upper-case extensions count", {{"TRACK.PTF", {}}}, true},
      {"a replay of version 2", {{"a.rpy", Words({Rply, 2})}}, false},
      {"a replay of version 3", {{"a.rpy", Words({Rply, 3})}}, true},
      {"a replay of a later version", {{"a.rpy", Words({Rply, 40})}}, true},
      {"a file that is no replay", {{"a.rpy", Words({0x59504C52, 3})}}, false},
      {"a replay without a version is skipped", {{"a.rpy", Words({Rply})}}, false},
      {"ptf files are searched before replays",
       {{"a.rpy", Words({Rply, 1})}, {"z.ptf", {}}},
       true},
      {"3do files are searched before ptf files",
       {{"z.3do", Words({2, 2})}, {"a.ptf", {}}},
       false},
      {"the folder's own archive", {{"atlanta.dat", RealArchive()}}, true},
      {"the folder's own archive in upper case", {{"ATLANTA.DAT", RealArchive()}}, true},
      {"an archive named after another folder", {{"bristol.dat", RealArchive()}}, false},
      {"an archive header that is not N4's, beside a ptf",
       {{"atlanta.dat", DatHeader(1, 16, 0, 5)}, {"t.ptf", {}}},
       true},
      {"only LP files and track.ini",
       {{"race.lp", Bytes(40, 0)}, {"track.ini", Bytes(4, 'x')}},
       false},
      {"an empty folder", {}, false},
  };
  N4FileFactoryRecognizer recognizer(false);
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.What);
    Ostra::Test::TempDir temp;
    temp.MakeFolder("atlanta");
    for (const auto& [name, bytes] : c.Contents)
      temp.WriteFile("atlanta/" + name, bytes);
    EXPECT_EQ(recognizer.IsGameDirectory(PapyDirectory(temp / "atlanta")), c.N4);
  }
}

struct DatCase {
  const char* What;
  Bytes Contents;
  bool N4;
};

TEST(N4RecognizerTest, ArchivesAreToldByTheirHeader) {
  VELMAR_REQUIRE_SHARED_DATA();
  Bytes ten = DatHeader(-1, 16, 0, 5);
  ten.pop_back();
  const DatCase cases[] = {
      {"the real effects archive", RealArchive(), true},
      {"a bare valid header", DatHeader(-1, 16, 0, 5), true},
      {"the most negative count", DatHeader(-32768, 1, 0, 5), true},
      {"fewer than 11 bytes", ten, false},
      {"an empty file", {}, false},
      {"a positive count", DatHeader(1, 16, 0, 5), false},
      {"a zero count", DatHeader(0, 16, 0, 5), false},
      {"no directory bytes", DatHeader(-1, 0, 0, 5), false},
      {"a reserved word that is not 0", DatHeader(-1, 16, 1, 5), false},
      {"a first record of another type", DatHeader(-1, 16, 0, 4), false},
  };
  N4FileFactoryRecognizer recognizer(false);
  for (const DatCase& c : cases) {
    SCOPED_TRACE(c.What);
    Ostra::Test::TempDir temp;
    const std::string path = temp.WriteFile("x.dat", c.Contents);
    EXPECT_EQ(recognizer.IsPossibleDat(path), c.N4);
    EXPECT_EQ(recognizer.IsGameDat(path), c.N4);
  }
  Ostra::Test::TempDir temp;
  EXPECT_FALSE(recognizer.IsGameDat(temp / "missing.dat"));
  EXPECT_FALSE(recognizer.IsGameDat(temp.MakeFolder("folder.dat")));
}

TEST(N4RecognizerTest, AFolderFactoryHoldsTheFolderArchiveWhenThereIsOne) {
  VELMAR_REQUIRE_SHARED_DATA();
  N4FileFactoryRecognizer recognizer(false);
  Ostra::Test::TempDir temp;
  temp.WriteFile("atlanta/ATLANTA.DAT", RealArchive());
  temp.WriteFile("bristol/t.ptf", Bytes{});

  const CountedPtr<FileFactory> with = recognizer.CreateFactory(PapyDirectory(temp / "atlanta"), false);
  const CountedPtr<DatFile> dat = with->GetFacet<GetDat>()->Get();
  ASSERT_TRUE(dat);
  EXPECT_TRUE(dat->OpenSubFile("FIRE01.MIP"));
  EXPECT_EQ(with->GetFacet<GetDirectory>()->Get().Name, "atlanta");

  const CountedPtr<FileFactory> without = recognizer.CreateFactory(PapyDirectory(temp / "bristol"), false);
  EXPECT_FALSE(without->GetFacet<GetDat>()->Get());

  const CountedPtr<FileFactory> from_dat = recognizer.CreateFactory(temp / "atlanta/ATLANTA.DAT", false);
  EXPECT_EQ(from_dat->GetFacet<GetDirectory>()->Get().Path, temp / "atlanta/");
  EXPECT_TRUE(from_dat->GetFacet<GetDat>()->Get());
}

TEST(N4RecognizerTest, AnArchiveThatPassesTheHeaderTestButCannotBeReadFailsTheBuild) {
  N4FileFactoryRecognizer recognizer(false);
  Ostra::Test::TempDir temp;
  // One record claimed, none present: the directory runs past the end of the file.
  const std::string path = temp.WriteFile("atlanta/atlanta.dat", DatHeader(-1, 40, 0, 5));
  ASSERT_TRUE(recognizer.IsGameDirectory(PapyDirectory(temp / "atlanta")));
  EXPECT_THROW(recognizer.CreateFactory(PapyDirectory(temp / "atlanta"), false), Util::RuntimeError);
  EXPECT_THROW(recognizer.CreateFactory(path, false), Util::RuntimeError);
}

// The process-wide registry, as the application sets it up.
class N4RegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGameRecognizers();
    RegisterN4Recognizer();
  }
  static bool IsN4(const CountedPtr<FileFactory>& factory) {
    return dynamic_cast<N4MakeLp*>(factory->GetFacet<MakeLp>().Get()) != nullptr;
  }
  Ostra::Test::TempDir Temp;
};

TEST_F(N4RegistryTest, N4FoldersAndArchivesGetN4Factories) {
  VELMAR_REQUIRE_SHARED_DATA();
  const Files n4_folders[] = {
      {{"car.3do", Words({1, 2})}},
      {{"track.ptf", {}}},
      {{"a.rpy", Words({Rply, 3})}},
      {{"f4.dat", RealArchive()}},
  };
  int i = 0;
  for (const Files& files : n4_folders) {
    const std::string folder = "f" + std::to_string(++i);
    SCOPED_TRACE(folder);
    Temp.MakeFolder(folder);
    for (const auto& [name, bytes] : files)
      Temp.WriteFile(folder + "/" + name, bytes);
    EXPECT_TRUE(IsN4(FileFactoryRegistry::Instance().GetFactory(PapyDirectory(Temp / folder), false)));
  }
  const std::string loose_dat = Temp.WriteFile("fx/effects.dat", RealArchive());
  const CountedPtr<FileFactory> factory = FileFactoryRegistry::Instance().GetFactory(loose_dat, false);
  ASSERT_TRUE(factory);
  EXPECT_TRUE(IsN4(factory));
  EXPECT_TRUE(factory->GetFacet<GetDat>()->Get());
}

TEST_F(N4RegistryTest, AnOlderReplayStillGoesToTheGamesAskedFirst) {
  Temp.WriteFile("old/a.rpy", Words({Rply, 2}));
  EXPECT_FALSE(IsN4(FileFactoryRegistry::Instance().GetFactory(PapyDirectory(Temp / "old"), false)));
}

} // namespace
} // namespace Ostra::Papy
