#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/PapyDirectory.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Lp/IniFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Track/Track.h"
#include "TestSupport/TempDir.h"
#include "Velmar/Core/SampleFolders.h"
#include "Velmar/Generators/RaceCorridor.h"

namespace Ostra::Velmar {
namespace {

class SampleFoldersTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    Papy::RegisterGameRecognizers();
    Papy::RegisterN4Recognizer();
    Root = new Ostra::Test::TempDir;
    Folders = WriteSampleFolders(Root->Path());
  }
  static void TearDownTestSuite() {
    Papy::FileFactoryRegistry::Instance().Clear();
    delete Root;
  }

  static Util::CountedPtr<Papy::FileFactory> Factory(const std::string& folder) {
    return Papy::FileFactoryRegistry::Instance().GetFactory(Papy::PapyDirectory(folder), false);
  }

  static Ostra::Test::TempDir* Root;
  static SampleFolders Folders;
};

Ostra::Test::TempDir* SampleFoldersTest::Root = nullptr;
SampleFolders SampleFoldersTest::Folders;

TEST_F(SampleFoldersTest, EachFolderOpensAsItsGameWithItsTrackAndRaceLine) {
  struct Case {
    std::string Folder;
    const char* Name;
    unsigned Segments;
    bool (*IsGamesLp)(const Papy::LpFile*);
  };
  const Case cases[] = {
      {Folders.Gpl, "gpl", 4, [](const Papy::LpFile* lp) { return dynamic_cast<const Papy::GPLLpFile*>(lp) != nullptr; }},
      {Folders.N2, "n2", 4, [](const Papy::LpFile* lp) { return dynamic_cast<const Papy::ICR2LpFile*>(lp) != nullptr; }},
      {Folders.N4, "n4", 8, [](const Papy::LpFile* lp) { return dynamic_cast<const Papy::N4LpFile*>(lp) != nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto factory = Factory(c.Folder);
    ASSERT_TRUE(factory);
    const auto track = factory->GetFacet<Papy::MakeTrack>()->Make("", "", false);
    ASSERT_TRUE(track);
    EXPECT_EQ(track->GetSegmentCount(), c.Segments);
    EXPECT_GT(track->GetLength2D(), 500.0);

    const auto race = factory->GetFacet<Papy::MakeLp>()->Make("race", "lp");
    ASSERT_TRUE(race);
    EXPECT_TRUE(c.IsGamesLp(race.Get()));
    ASSERT_GT(race->GetRecordCount(), 100u);
    // The line weaves three metres either side of the centre line, twice a lap.
    double widest = 0.0;
    for (Util::U32 i = 0; i < race->GetRecordCount(); ++i)
      widest = std::max(widest, std::abs(race->GetRecordLatitude(i)));
    EXPECT_NEAR(widest, 3.0, 0.1);
    EXPECT_GT(race->GetRecordLongitudinalSpeed(race->GetRecordCount() / 2), 30.0);
  }
  EXPECT_TRUE(Factory(Folders.N4)->GetFacet<Papy::MakeLp>()->Make("raceline", "lp"));
}

TEST_F(SampleFoldersTest, TheCorridorKeepsOutOfThePitLane) {
  struct Case {
    std::string Folder;
    SamplePitLane Lane;
  };
  for (const Case& c : {Case{Folders.Gpl, GetGplSamplePitLane()}, Case{Folders.N2, GetGplSamplePitLane()},
                        Case{Folders.N4, GetN4SamplePitLane()}}) {
    SCOPED_TRACE(c.Folder);
    const auto track = Factory(c.Folder)->GetFacet<Papy::MakeTrack>()->Make("", "", false);
    const Papy::IniFile ini(c.Folder + "track.ini", true);
    const std::vector<PitLane> lanes = ReadPitLanes(ini);
    ASSERT_EQ(lanes.size(), 1u);
    EXPECT_DOUBLE_EQ(lanes[0].RightLatitude, c.Lane.RightLatitude);
    EXPECT_TRUE(lanes[0].OnRight);

    const std::vector<CorridorSegment> corridor = BuildRaceCorridor(*track, ini);
    ASSERT_EQ(corridor.size(), track->GetSegmentCount());
    for (const CorridorSegment& band : corridor) {
      EXPECT_GT(band.RightStartLatitude, c.Lane.LeftLatitude);
      EXPECT_GT(band.LeftStartLatitude - band.RightStartLatitude, 10.0);
    }
  }
}

TEST_F(SampleFoldersTest, WritingAgainReplacesTheFilesWithTheSameContent) {
  const std::vector<unsigned char> before = Ostra::Test::ReadWholeFile(Folders.GplTrack);
  const SampleFolders again = WriteSampleFolders(Root->Path());
  EXPECT_EQ(again.GplTrack, Folders.GplTrack);
  EXPECT_EQ(Ostra::Test::ReadWholeFile(Folders.GplTrack), before);
  EXPECT_EQ(GetSampleFolders(Root->Path() + "/").N4Track, Folders.N4Track);
}

} // namespace
} // namespace Ostra::Velmar
