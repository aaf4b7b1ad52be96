#include "Papy/Files/GameRecognizers.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "GameFolderImages.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Ostra::Test::Bytes;
using Ostra::Test::DatImage;
using Ostra::Test::Text;
using Ostra::Test::Words;
using Files = std::vector<std::pair<std::string, Bytes>>;

struct FolderCase {
  const char* What;
  Files Contents;
  bool Gpl;
  bool N2;
};

Bytes Rpl(std::size_t size, Util::U32 first = 40, Util::U32 second = 60) {
  Bytes bytes = Words({first, second, 0, 0});
  bytes.resize(size, 0);
  return bytes;
}

TEST(GameRecognizersTest, FoldersAreRecognisedByTheirFirstDecisiveFile) {
  const Bytes gpl_lyt = Words({6, 809});
  const FolderCase cases[] = {
      // GPL wins such a folder only by being asked first.
      {"an archive whose first 3do is GPL's, beside an N2 trk",
       {{"monza/monza.dat", DatImage({{"a.txt", Text("x")}, {"car.3do", Ostra::Test::Gpl3do()}})},
        {"monza/b.trk", Ostra::Test::Icr2TrkHeader()}},
       true,
       true},
      {"an archive whose first 3do is N2's",
       {{"monza/monza.dat",
         DatImage({{"car.3do", Ostra::Test::N23do()}, {"b.3do", Ostra::Test::Gpl3do()}})}},
       false,
       true},
      {"a GPL layout before a foreign 3do",
       {{"monza/monza.dat", DatImage({{"a.lyt", gpl_lyt}, {"b.3do", Ostra::Test::N23do()}})}},
       true,
       true},
      {"a layout of another version decides no for GPL",
       {{"monza/monza.dat",
         DatImage({{"a.lyt", Words({6, 810})}, {"b.3do", Ostra::Test::Gpl3do()}})}},
       false,
       false},
      {"a layout of another kind",
       {{"monza/monza.dat", DatImage({{"a.lyt", Words({7, 809})}})}},
       false,
       false},
      {"a layout too short for its version is skipped",
       {{"monza/monza.dat", DatImage({{"a.lyt", Words({6})}, {"b.3do", Ostra::Test::Gpl3do()}})}},
       true,
       false},
      {"upper-case names",
       {{"monza/MONZA.DAT", DatImage({{"CAR.3DO", Ostra::Test::Gpl3do()}})}},
       true,
       false},
      {"an archive named after another folder is not the folder's",
       {{"monza/spa.dat", DatImage({{"car.3do", Ostra::Test::Gpl3do()}})}},
       false,
       false},
      // Named against the alphabet, so that only the pattern order can put them first.
      {"loose 3do files are searched before trk files",
       {{"monza/z.3do", Ostra::Test::N23do()}, {"monza/a.trk", Ostra::Test::GplTrkHeader()}},
       false,
       true},
      {"loose trk files are searched before replays",
       {{"monza/z.trk", Ostra::Test::Icr2TrkHeader()}, {"monza/a.rpy", Words({0x52504C59, 2})}},
       false,
       true},
      {"a GPL trk", {{"monza/monza.trk", Ostra::Test::GplTrkHeader()}}, true, false},
      {"an ICR2 trk", {{"monza/MONZA.TRK", Ostra::Test::Icr2TrkHeader()}}, false, true},
      {"a GPL replay", {{"monza/x.rpy", Words({0x52504C59, 2})}}, true, false},
      {"a newer replay", {{"monza/x.rpy", Words({0x52504C59, 3})}}, false, false},
      {"an N2 replay whose sizes add up", {{"monza/x.rpl", Rpl(116)}}, false, true},
      {"an N2 replay one byte too long", {{"monza/x.rpl", Rpl(117)}}, false, false},
      {"an N2 replay whose sizes wrap like 32-bit words",
       {{"monza/x.rpl", Rpl(116, 0xFFFFFFFF, 101)}},
       false,
       true},
      {"an N2 replay shorter than its header", {{"monza/x.rpl", Words({0, 0, 0})}}, false, false},
      {"a trk shorter than its id is skipped",
       {{"monza/a.trk", Bytes{0x4B, 0x41, 0x52}}, {"monza/b.trk", Ostra::Test::GplTrkHeader()}},
       true,
       false},
      {"a trk with its id but no version is skipped",
       {{"monza/a.trk", Text("KART")}, {"monza/b.trk", Ostra::Test::GplTrkHeader()}},
       true,
       false},
      {"a short trk with a wrong id decides at once",
       {{"monza/a.trk", Text("XXXXXX")}, {"monza/b.trk", Ostra::Test::GplTrkHeader()}},
       false,
       false},
      {"other files say nothing",
       {{"monza/readme.txt", Ostra::Test::GplTrkHeader()},
        {"monza/race.lp", Ostra::Test::GplTrkHeader()}},
       false,
       false},
      {"a folder named like a game file is not a file",
       {{"monza/x.trk/inner.txt", Text("x")}, {"monza/y.trk", Ostra::Test::GplTrkHeader()}},
       true,
       false},
      {"a broken archive falls through to the loose files",
       {{"monza/monza.dat", Words({0x00050002})}, {"monza/a.3do", Ostra::Test::Gpl3do()}},
       true,
       false},
  };
  GPLFileFactoryRecognizer gpl(true);
  N2FileFactoryRecognizer n2(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Ostra::Test::TempDir temp;
    temp.MakeFolder("monza");
    for (const auto& [name, bytes] : c.Contents)
      temp.WriteFile(name, bytes);
    const PapyDirectory dir(temp / "monza");
    EXPECT_EQ(gpl.IsGameDirectory(dir), c.Gpl);
    EXPECT_EQ(n2.IsGameDirectory(dir), c.N2);
  }
}

TEST(GameRecognizersTest, ArchivesPassTheLooseTestByTheirFirstRecord) {
  struct Case {
    const char* What;
    Bytes Contents;
    bool Possible;
  };
  const Case cases[] = {
      {"one stored record", DatImage({{"a.trk", Text("x")}}), true},
      {"only the count and the first record's start", Words({0x00050001}), true},
      {"a zero count", Words({0x00050000}), false},
      {"a negative count", Words({0x0005FFFF}), false},
      {"a compressed first record", Words({0x01050001}), false},
      {"another signature", Words({0x00040001}), false},
      {"three bytes", Bytes{1, 0, 5}, false},
      {"nothing", Bytes{}, false},
  };
  GPLFileFactoryRecognizer gpl(true);
  N2FileFactoryRecognizer n2(false);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Ostra::Test::TempDir temp;
    const std::string path = temp.WriteFile("x.dat", c.Contents);
    EXPECT_EQ(gpl.IsPossibleDat(path), c.Possible);
    EXPECT_EQ(n2.IsPossibleDat(path), c.Possible);
    EXPECT_FALSE(gpl.IsGameDat(path));
    EXPECT_FALSE(n2.IsGameDat(path));
  }
  Ostra::Test::TempDir temp;
  EXPECT_FALSE(gpl.IsPossibleDat(temp / "missing.dat"));
  EXPECT_FALSE(gpl.IsPossibleDat(temp.MakeFolder("folder.dat")));
}

TEST(GameRecognizersTest, UnreadableSubFilesAreSkipped) {
  // The first 3do's bytes lie past the end of the archive.
  Bytes image = DatImage({{"a.3do", Ostra::Test::N23do()}, {"b.3do", Ostra::Test::Gpl3do()}});
  image[2 + 23] = 0xFF;
  image[2 + 24] = 0xFF;
  Ostra::Test::TempDir temp;
  const std::string path = temp.WriteFile("x.dat", image);
  EXPECT_TRUE(GPLFileFactoryRecognizer(true).IsGameDat(path));
  EXPECT_FALSE(N2FileFactoryRecognizer(false).IsGameDat(path));
}

TEST(GameRecognizersTest, AMalformedArchiveIsNoGamesArchive) {
  Ostra::Test::TempDir temp;
  // Two records announced, one present.
  Bytes image = DatImage({{"a.3do", Ostra::Test::Gpl3do()}});
  image[0] = 2;
  const std::string path = temp.WriteFile("x.dat", image);
  EXPECT_TRUE(GPLFileFactoryRecognizer(true).IsPossibleDat(path));
  EXPECT_FALSE(GPLFileFactoryRecognizer(true).IsGameDat(path));
}

TEST(GameRecognizersTest, TheRegistryChoosesTheGameOfFoldersAndArchives) {
  struct Case {
    const char* What;
    std::string Path;
    bool Factory;
    bool Gpl;
  };
  Ostra::Test::TempDir temp;
  temp.WriteFile("n2/n2.dat", DatImage({{"car.3do", Ostra::Test::N23do()}}));
  temp.WriteFile("n2/other.dat", DatImage({{"car.3do", Ostra::Test::N23do()}}));
  temp.WriteFile("loose/loose.dat", DatImage({{"a.txt", Text("x")}}));
  temp.WriteFile("gpl/gpl.trk", Ostra::Test::GplTrkHeader());
  temp.WriteFile("text/readme.txt", Text("hello"));
  temp.MakeFolder("empty");
  const Case cases[] = {
      {"an N2 folder", temp / "n2", true, false},
      {"an N2 archive not named after its folder", temp / "n2/other.dat", true, false},
      {"an archive no game claims goes to the default's loose test", temp / "loose/loose.dat", true,
       true},
      {"a GPL folder", temp / "gpl", true, true},
      {"an empty folder", temp / "empty", true, true},
      {"a folder about to be made", temp / "empty/new", true, true},
      {"a file that is no archive", temp / "text/readme.txt", false, false},
  };
  FileFactoryRegistry registry;
  RegisterGameRecognizers(registry);
  RegisterGameRecognizers(registry);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const auto factory = registry.GetFactory(c.Path, false);
    ASSERT_EQ(factory.IsNull(), !c.Factory);
    if (factory) {
      EXPECT_EQ(factory->HasFacet<CreateTrk>(), c.Gpl);
    }
  }
  EXPECT_EQ(registry.GetFactory(temp / "n2/N2.DAT", false),
            registry.GetFactory(temp / "n2/", false));
}

} // namespace
} // namespace Ostra::Papy
