#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocView/Core/TrackOpening.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRecognizer.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "TestSupport/OvalTrack.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"

namespace Ostra::DocView {
namespace {

using Test::TempDir;

TEST(TrackOpening, ADatArchiveOpensAsTheTrkOfItsName) {
  EXPECT_EQ(TrackPathToOpen("/g/monza/monza.dat"), "/g/monza/monza.trk");
  EXPECT_EQ(TrackPathToOpen("/g/monza/MONZA.DAT"), "/g/monza/MONZA.trk");
  EXPECT_EQ(TrackPathToOpen("/g/monza/monza.trk"), "/g/monza/monza.trk");
  EXPECT_EQ(TrackPathToOpen("/g/n4/atlanta.ptf"), "/g/n4/atlanta.ptf");
  TempDir dir;
  dir.MakeFolder("backup.dat");
  EXPECT_EQ(TrackPathToOpen(dir / "backup.dat"), dir / "backup.dat");
  const std::string relative = TrackPathToOpen("monza.dat");
  EXPECT_EQ(relative.front(), '/');
  EXPECT_NE(relative.find("monza.trk"), std::string::npos);
}

TEST(TrackOpening, RaceLpIsLookedForInTheTracksOwnFolder) {
  TempDir dir;
  dir.WriteFile("race.lp", "parent's");
  dir.WriteFile("monza/MONZA.TRK", "");
  dir.WriteFile("monza/RACE.LP", "monza's");
  dir.MakeFolder("imola");
  // A folder path looks inside that folder, never in its parent.
  EXPECT_EQ(FindRaceLp(dir / "monza"), dir / "monza/RACE.LP");
  EXPECT_EQ(FindRaceLp(dir / "monza/"), dir / "monza/RACE.LP");
  EXPECT_EQ(FindRaceLp(dir / "monza/monza.trk"), dir / "monza/RACE.LP");
  EXPECT_EQ(FindRaceLp(dir / "imola"), "");
  EXPECT_EQ(FindRaceLp(dir / "imola/imola.trk"), "");
}

TEST(TrackOpening, AFolderAsksForItsOwnTrackEvenWithADotInItsName) {
  TempDir dir;
  dir.MakeFolder("spa.1967");
  const TrackRequest folder = MakeTrackRequest(dir / "spa.1967");
  EXPECT_EQ(folder.Folder, dir / "spa.1967/");
  EXPECT_EQ(folder.Name, "");
  EXPECT_EQ(folder.Extension, "");
  const TrackRequest file = MakeTrackRequest(dir / "spa.1967/spa.trk");
  EXPECT_EQ(file.Folder, dir / "spa.1967/");
  EXPECT_EQ(file.Name, "spa");
  EXPECT_EQ(file.Extension, "trk");
}

// A game whose folders are anything and whose track facet records its requests.
class RecordingMakeTrack : public Papy::MakeTrack {
public:
  Util::CountedPtr<Papy::Track> Make(const std::string& name, const std::string& ext, bool fromDat) override {
    Requests.push_back(name + "|" + ext + (fromDat ? "|dat" : ""));
    if (name == "broken")
      throw Util::XUsage("broken.trk: file not found");
    return Util::CountedPtr<Papy::Track>(new Test::OvalTrack(50.0, 100.0));
  }
  void Purge() override {}
  std::vector<std::string> Requests;
};

class AnyFolderRecognizer : public Papy::FileFactoryRecognizer {
public:
  AnyFolderRecognizer() : FileFactoryRecognizer(true) {}
  Util::CountedPtr<Papy::FileFactory> CreateFactory(const Papy::PapyDirectory&, bool) override {
    ++Built;
    Util::CountedPtr<Papy::FileFactory> factory(new Papy::FileFactory);
    factory->AddFacet<Papy::MakeTrack>(Facet = new RecordingMakeTrack);
    return factory;
  }
  Util::CountedPtr<Papy::FileFactory> CreateFactory(const std::string&, bool) override { return {}; }
  bool IsPossibleDat(const std::string&) override { return false; }
  bool IsGameDat(const std::string&) override { return false; }
  bool IsGameDirectory(const Papy::PapyDirectory&) override { return true; }
  int Built = 0;
  RecordingMakeTrack* Facet = nullptr;
};

TEST(TrackOpening, TheTrackComesFromTheFactoryOfItsFolder) {
  TempDir dir;
  dir.WriteFile("monza/monza.dat", "not read");
  AnyFolderRecognizer game;
  Papy::FileFactoryRegistry registry;
  registry.Register(&game);

  const OpenedTrack from_trk = OpenTrackThroughRegistry(dir / "monza/monza.trk", registry);
  const OpenedTrack from_dat = OpenTrackThroughRegistry(TrackPathToOpen(dir / "monza/monza.dat"), registry);
  const OpenedTrack from_folder = OpenTrackThroughRegistry(dir / "monza", registry);
  ASSERT_TRUE(from_trk.Track);
  // The .trk and the .dat of one folder share one factory, and so one registry entry.
  EXPECT_EQ(from_trk.Factory.Get(), from_dat.Factory.Get());
  EXPECT_EQ(from_trk.Factory.Get(), from_folder.Factory.Get());
  EXPECT_EQ(game.Built, 1);
  EXPECT_EQ(game.Facet->Requests, (std::vector<std::string>{"monza|trk", "monza|trk", "|"}));
}

TEST(TrackOpening, AFailingTrackKeepsItsFactoryAndPassesTheReadersError) {
  TempDir dir;
  dir.MakeFolder("monza");
  AnyFolderRecognizer game;
  Papy::FileFactoryRegistry registry;
  registry.Register(&game);
  Util::CountedPtr<Papy::FileFactory> factory;
  try {
    OpenTrackThroughRegistry(dir / "monza/broken.trk", registry, &factory);
    FAIL() << "no exception";
  } catch (const Util::XUsage& e) {
    EXPECT_EQ(e.What(), "broken.trk: file not found");
  }
  EXPECT_TRUE(factory);
}

struct StepLog {
  std::vector<std::string> Calls;
  bool TrackReads = true;

  TrackOpenSteps Steps() {
    TrackOpenSteps steps;
    steps.ReadTrack = [this](const std::string& path) {
      Calls.push_back("read " + path);
      return TrackReads;
    };
    steps.OpenLp = [this](const std::string& path) { Calls.push_back("lp " + path); };
    steps.RegisterTrack = [this] { Calls.push_back("register"); };
    steps.AddToRecentFiles = [this](const std::string& path) { Calls.push_back("recent " + path); };
    return steps;
  }
};

TEST(TrackOpening, RaceLpOpensBeforeTheTrackRegistersAndTheChosenPathIsRemembered) {
  TempDir dir;
  dir.WriteFile("monza/monza.dat", "archive");
  dir.WriteFile("monza/race.lp", "line");
  StepLog log;
  EXPECT_TRUE(RunTrackOpenSequence(dir / "monza/monza.dat", log.Steps()));
  EXPECT_EQ(log.Calls, (std::vector<std::string>{"read " + (dir / "monza/monza.trk"), "lp " + (dir / "monza/race.lp"),
                                                 "register", "recent " + (dir / "monza/monza.dat")}));
}

TEST(TrackOpening, AFolderWithoutRaceLpOpensOnlyTheTrackAndAFailureLeavesNoTrace) {
  TempDir dir;
  dir.WriteFile("imola/imola.trk", "");
  StepLog log;
  EXPECT_TRUE(RunTrackOpenSequence(dir / "imola/imola.trk", log.Steps()));
  EXPECT_EQ(log.Calls.size(), 3u);
  EXPECT_EQ(log.Calls[1], "register");

  StepLog failing;
  failing.TrackReads = false;
  dir.WriteFile("imola/race.lp", "");
  EXPECT_FALSE(RunTrackOpenSequence(dir / "imola/imola.trk", failing.Steps()));
  EXPECT_EQ(failing.Calls.size(), 1u);
}

} // namespace
} // namespace Ostra::DocView
