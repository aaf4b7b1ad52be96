#include "Velmar/Core/LineGeneration.h"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/Track/Track.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/ICR2TrkBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Velmar {
namespace {

using ::testing::HasSubstr;

enum class Game { Gpl, N2 };

std::vector<unsigned char> TrackBytes(Game game) {
  return game == Game::Gpl ? Ostra::Test::GplTrkBuilder::Circuit().Bytes() : Ostra::Test::ICR2TrkBuilder::Circuit().Bytes();
}

class LineGenerationTest : public ::testing::Test {
protected:
  // The game facets find a folder's factory through the process-wide registry.
  LineGenerationTest() { Papy::RegisterGameRecognizers(Registry); }

  // A game folder holding the built circuit as name/name.trk.
  CountedPtr<Papy::FileFactory> Folder(const std::string& name, Game game) {
    Dir.WriteFile(name + "/" + name + ".trk", TrackBytes(game));
    return Registry.GetFactory(Dir / name, false);
  }

  // The folder's LP of the name, weaving across the track, written to disk; with flags
  // where the format has them.
  CountedPtr<Papy::LpFile> RaceLp(Papy::FileFactory& factory, const std::string& folder,
                                  const std::string& name) {
    const CountedPtr<Papy::LpFile> lp = factory.GetFacet<Papy::CreateLp>()->Create(name, 0.0);
    // Periodic over the lap, so that the records past its end continue the line.
    const double lap = factory.GetFacet<Papy::MakeTrack>()->Make("", "", false)->GetLength2D();
    for (U32 i = 0; i < lp->GetRecordCount(); ++i) {
      lp->SetRecordLatitude(i, 1.5 * std::sin(6.0 * std::numbers::pi * lp->GetRecordLongitude(i) / lap));
      if (lp->HasFlags())
        lp->SetRecordFlags(i, i % 7 == 0 ? 0x40u : 0u);
    }
    SaveLpFile(*lp, Dir / (folder + "/" + name + ".lp"));
    return lp;
  }

  Ostra::Test::TempDir Dir;
  Papy::FileFactoryRegistry& Registry = Papy::FileFactoryRegistry::Instance();
};

// What the folder's LP cache holds under a name, or null when it would read the file.
const Papy::LpFile* Cached(const Papy::FileFactory& factory, const std::string& name) {
  try {
    return factory.GetFacet<Papy::MakeLp>()->Make(name.substr(0, name.find('.')), "").Get();
  } catch (const Util::XUsage&) {
    return nullptr;
  }
}

TEST_F(LineGenerationTest, ACurveAndThenAnLpComeFromEveryGamesLine) {
  for (const Game game : {Game::Gpl, Game::N2}) {
    const std::string name = game == Game::Gpl ? "gpl" : "n2";
    SCOPED_TRACE(name);
    const CountedPtr<Papy::FileFactory> factory = Folder(name, game);
    const CountedPtr<Papy::LpFile> race = RaceLp(*factory, name, "race");
    const CountedPtr<Papy::LpFileCurve> curve = MakeCurveOfLp(*factory, race, 0.5);
    ASSERT_EQ(curve->GetRecordCount(), race->GetRecordCount());
    SaveLpFile(*curve, Dir / (name + "/race.lcv"));

    const CountedPtr<Papy::LpFile> lp = MakeLpOfCurve(*factory, *curve, "race", 1.0);
    ASSERT_EQ(lp->GetRecordCount(), race->GetRecordCount());
    EXPECT_EQ(lp->HasYawSpeed(), game == Game::Gpl);
    for (U32 i = 0; i < lp->GetRecordCount(); ++i) {
      ASSERT_NEAR(lp->GetRecordLatitude(i), curve->GetRecordLatitude(i), 1e-3) << i;
      ASSERT_NEAR(lp->GetRecordLatitude(i), race->GetRecordLatitude(i), 0.6) << i;
      const double speed = lp->GetRecordSpeed(i);
      ASSERT_TRUE(std::isfinite(speed) && speed > 5.0 && speed <= 144.0) << i << " " << speed;
      if (lp->HasFlags()) {
        ASSERT_EQ(lp->GetRecordFlags(i), race->GetRecordFlags(i)) << i;
      }
    }
    // Nothing entered the cache: the folder's race.lp is still the one read.
    EXPECT_EQ(Cached(*factory, "race.lp"), race.Get());
    EXPECT_EQ(Cached(*factory, "velmar_generated.lp"), nullptr);

    // Written beside it, the file's name serves the written object.
    const std::string path = Dir / (name + "/Fast.lp");
    SaveLpFile(*lp, path);
    RecordWrittenLp(Registry, *factory, lp, path);
    EXPECT_EQ(Cached(*factory, "fast.lp"), lp.Get());
    EXPECT_EQ(Cached(*factory, "race.lp"), race.Get());
  }
}

TEST_F(LineGenerationTest, AnLpWrittenIntoAnotherFolderIsReadFromItsFile) {
  const CountedPtr<Papy::FileFactory> here = Folder("here", Game::Gpl);
  const CountedPtr<Papy::FileFactory> there = Folder("there", Game::Gpl);
  const CountedPtr<Papy::LpFile> race = RaceLp(*here, "here", "race");
  const CountedPtr<Papy::LpFile> old = RaceLp(*there, "there", "race");
  ASSERT_EQ(Cached(*there, "race.lp"), old.Get());
  const CountedPtr<Papy::LpFile> lp = MakeLpOfCurve(*here, *MakeCurveOfLp(*here, race, 0.5), "race", 0.25);
  const std::string path = Dir / "there/race.lp";
  SaveLpFile(*lp, path);
  RecordWrittenLp(Registry, *here, lp, path);
  const Papy::LpFile* reread = Cached(*there, "race.lp");
  ASSERT_NE(reread, nullptr);
  EXPECT_NE(reread, old.Get());
  EXPECT_NE(reread, lp.Get());
  EXPECT_NEAR(reread->GetRecordLongitudinalSpeed(10), lp->GetRecordLongitudinalSpeed(10), 1e-3);
  EXPECT_EQ(Cached(*here, "race.lp"), race.Get());
}

TEST_F(LineGenerationTest, ACurveThatDoesNotFitTheFoldersLpIsRefusedBeforeAnythingIsCached) {
  const CountedPtr<Papy::FileFactory> gpl = Folder("gpl", Game::Gpl);
  const CountedPtr<Papy::FileFactory> n2 = Folder("n2", Game::N2);
  const CountedPtr<Papy::LpFileCurve> curve = MakeCurveOfLp(*gpl, RaceLp(*gpl, "gpl", "race"), 0.5);
  try {
    MakeLpOfCurve(*n2, *curve, "race", 1.0);
    ADD_FAILURE() << "made";
  } catch (const Util::XUsage& e) {
    EXPECT_THAT(e.What(), HasSubstr("3.3292288 m apart"));
  }
  EXPECT_THROW(MakeLpOfCurve(*gpl, *curve, "race", 0.0), Util::XUsage);
  EXPECT_THROW(MakeLpOfCurve(*gpl, *curve, "race", std::nan("")), Util::XUsage);
  // Generate Curve refuses an (N4) LP without records.
  const std::vector<unsigned char> no_records = {0x03, 0x00, 0x01, 0x00, 0, 0, 0, 0};
  const CountedPtr<Util::BinaryStream> n4_lp(new Util::MemoryStream("race.lp", no_records));
  EXPECT_THROW(MakeCurveOfLp(*gpl, CountedPtr<Papy::LpFile>(new Papy::N4LpFile(n4_lp)), 0.5), Util::XUsage);
  for (const auto* factory : {gpl.Get(), n2.Get()})
    EXPECT_EQ(Cached(*factory, "velmar_generated.lp"), nullptr);
}

TEST_F(LineGenerationTest, MinMaxRaceLinesNeedThePitLaneOfTrackIniWhateverItsCase) {
  const CountedPtr<Papy::FileFactory> factory = Folder("gpl", Game::Gpl);
  const CountedPtr<Papy::Track> track = factory->GetFacet<Papy::MakeTrack>()->Make("", "", false);
  try {
    MakeMinMaxRaceCurves(*factory, track, {});
    ADD_FAILURE() << "made without track.ini";
  } catch (const Util::XFileFormat& e) {
    EXPECT_THAT(e.What(), HasSubstr("track.ini\nPit lane bounds not present"));
  }
  Dir.WriteFile("gpl/TRACK.INI", "[ pit_lane_0 ]\nlane_bounds_dlong = 10 20\nlane_bounds_dlat = 100 110\n");
  const MinMaxRaceCurves curves = MakeMinMaxRaceCurves(*factory, track, {});
  ASSERT_TRUE(curves.Min && curves.Max);
  const U32 count = curves.Min->GetRecordCount();
  EXPECT_EQ(curves.Max->GetRecordCount(), count);
  EXPECT_GT(count, 100u);
  for (U32 i = 0; i < count; ++i) {
    ASSERT_TRUE(std::isfinite(curves.Min->GetRecordLatitude(i))) << i;
    ASSERT_LT(curves.Min->GetRecordLatitude(i), curves.Max->GetRecordLatitude(i) - 20.0) << i;
  }
}

} // namespace
} // namespace Ostra::Velmar
