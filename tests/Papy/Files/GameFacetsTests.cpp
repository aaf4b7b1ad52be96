#include "Papy/Files/GameFacets.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "GameFolderImages.h"
#include "Papy/Dat/ICR2DatFile.h"
#include "Papy/Files/FactoryBuilders.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Files/FolderFacets.h"
#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/ICR2LpFile.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/ICR2TrkFile.h"
#include "Papy/Track/Track.h"
#include "Papy/Track/TrkTrack.h"
#include "TestSupport/GplTrkBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Util/MemoryStream.h"

namespace Ostra::Papy {
namespace {

using Ostra::Test::Bytes;
using StreamPtr = CountedPtr<Util::BinaryStream>;

StreamPtr Memory(const Bytes& bytes) { return StreamPtr(new Util::MemoryStream("memory", bytes)); }

template <class Writable> Bytes Written(const Writable& file) {
  const CountedPtr<Util::MemoryStream> out(new Util::MemoryStream("out"));
  file.Write(out);
  return out->Bytes();
}

// The files of one track in both games' formats, made with the library's own writers.
struct TrackFiles {
  TrackFiles() {
    GplTrk = Ostra::Test::GplTrkBuilder::Oval().Bytes();
    const CountedPtr<TrkFile> gpl(new GPLTrkFile(Memory(GplTrk)));
    const CountedPtr<TrkFile> icr2(new ICR2TrkFile(gpl));
    Icr2Trk = Written(*icr2);
    GPLLpFile gpl_lp(gpl, 0.0);
    gpl_lp.SetRecordLatitude(0, GplMarker);
    GplLp = Written(gpl_lp);
    ICR2LpFile icr2_lp(icr2, 0.0);
    icr2_lp.SetRecordLatitude(1, Icr2Marker);
    Icr2Lp = Written(icr2_lp);
  }

  static constexpr double GplMarker = 1.5;
  static constexpr double Icr2Marker = -2.25;
  Bytes GplTrk;
  Bytes Icr2Trk;
  Bytes GplLp;
  Bytes Icr2Lp;
};

const TrackFiles& Files() {
  static const TrackFiles files;
  return files;
}

class GameFacetsTest : public ::testing::Test {
protected:
  void SetUp() override { RegisterGameRecognizers(); }

  // A folder monza in a fresh temporary folder.
  std::string Folder(const std::vector<std::pair<std::string, Bytes>>& files) {
    Temp.MakeFolder("monza");
    for (const auto& [name, bytes] : files)
      Temp.WriteFile("monza/" + name, bytes);
    return Temp / "monza";
  }

  CountedPtr<FileFactory> Factory(const std::string& path) {
    return FileFactoryRegistry::Instance().GetFactory(PapyDirectory(path), false);
  }

  Ostra::Test::TempDir Temp;
};

std::string XFileOpenName(const std::function<void()>& action) {
  try {
    action();
  } catch (const Util::XFileOpen& e) {
    EXPECT_EQ(e.SystemMessage, "File not found");
    return e.FileName;
  }
  return "(no XFileOpen)";
}

void ExpectSameTrack(const Track& track, const CountedPtr<TrkFile>& trk) {
  const TrkTrack direct(trk);
  ASSERT_EQ(track.GetSegmentCount(), direct.GetSegmentCount());
  EXPECT_EQ(track.GetLength2D(), direct.GetLength2D());
  for (const double at : {0.0, 100.0, 450.5, 900.0}) {
    const TrackFrame a = track.GetFrame(at, 2.0);
    const TrackFrame b = direct.GetFrame(at, 2.0);
    EXPECT_EQ(a.X, b.X);
    EXPECT_EQ(a.Y, b.Y);
    EXPECT_EQ(a.Z, b.Z);
  }
}

TEST_F(GameFacetsTest, AMixedCaseGplFolderGivesItsTrackAndLp) {
  const auto& f = Files();
  for (const bool loose : {true, false}) {
    SCOPED_TRACE(loose ? "loose TRK" : "TRK only in the archive");
    Ostra::Test::TempDir temp;
    temp.MakeFolder("Monza");
    if (loose)
      temp.WriteFile("Monza/MONZA.TRK", f.GplTrk);
    temp.WriteFile("Monza/RACE.LP", f.GplLp);
    temp.WriteFile("Monza/MONZA.DAT", Ostra::Test::DatImage({{"car.3do", Ostra::Test::Gpl3do()},
                                                             {"MONZA.TRK", f.GplTrk}}));

    const auto factory = Factory(temp / "Monza/monza.trk");
    ASSERT_TRUE(factory);
    EXPECT_TRUE(factory->HasFacet<CreateTrk>());
    EXPECT_EQ(factory->GetFacet<GetDirectory>()->Directory.GetName(), "Monza");

    const auto track = factory->GetFacet<MakeTrack>()->Make("monza", "trk", false);
    ExpectSameTrack(*track, CountedPtr<TrkFile>(new GPLTrkFile(Memory(f.GplTrk))));
    const auto lp = factory->GetFacet<MakeLp>()->Make("race", "lp");
    EXPECT_EQ(
        lp->GetRecordCount(),
        GPLLpFile(CountedPtr<TrkFile>(new GPLTrkFile(Memory(f.GplTrk))), 0.0).GetRecordCount());
    EXPECT_DOUBLE_EQ(lp->GetRecordLatitude(0), TrackFiles::GplMarker);

    // The spellings of the file the user picked reach the same folder and track.
    EXPECT_EQ(Factory(temp / "Monza/MONZA.TRK"), factory);
    EXPECT_EQ(FileFactoryRegistry::Instance().GetFactory(temp / "Monza/MONZA.DAT", false), factory);
    EXPECT_EQ(factory->GetFacet<MakeTrack>()->Make("MONZA", "TRK", false), track);
    EXPECT_EQ(factory->GetFacet<MakeLp>()->Make("RACE", "LP"), lp);
  }
}

TEST_F(GameFacetsTest, AnN2FolderGivesItsTrackAndLpInIcr2Formats) {
  const auto& f = Files();
  for (const bool loose : {true, false}) {
    SCOPED_TRACE(loose ? "loose TRK" : "TRK only in the archive");
    Ostra::Test::TempDir temp;
    temp.WriteFile("Indy/RACE.LP", f.Icr2Lp);
    if (loose)
      temp.WriteFile("Indy/INDY.TRK", f.Icr2Trk);
    else
      temp.WriteFile("Indy/INDY.DAT", Ostra::Test::DatImage({{"car.3do", Ostra::Test::N23do()},
                                                             {"INDY.TRK", f.Icr2Trk}}));
    const auto factory = Factory(temp / "Indy/indy.trk");
    ASSERT_TRUE(factory);
    EXPECT_FALSE(factory->HasFacet<CreateTrk>());
    const auto track = factory->GetFacet<MakeTrack>()->Make("indy", "trk", false);
    EXPECT_EQ(track->GetSegmentCount(), 4u);
    ExpectSameTrack(*track, CountedPtr<TrkFile>(new ICR2TrkFile(Memory(f.Icr2Trk))));
    const auto lp = factory->GetFacet<MakeLp>()->Make("race", "lp");
    EXPECT_NEAR(lp->GetRecordLatitude(1), TrackFiles::Icr2Marker, 1e-4);
    EXPECT_EQ(factory->GetFacet<MakeLp>()->GetTypeCount(), 10u);

    EXPECT_THROW(factory->GetFacet<MakeLp>()->Make("pit", ""), Util::XUsage);
    EXPECT_EQ(XFileOpenName([&] { factory->GetFacet<MakeTrk>()->Make("Spa", "", false); }),
              temp / "Indy/Spa.trk");
  }
}

TEST_F(GameFacetsTest, LpFilesAreCachedByTheirLowerCasedName) {
  const auto& f = Files();
  const std::string monza =
      Folder({{"monza.trk", f.GplTrk}, {"monza.lp", f.GplLp}, {"race.lp", f.GplLp}});
  const auto make = Factory(monza)->GetFacet<MakeLp>();
  const auto own = make->Make("", "");
  EXPECT_EQ(make->Make("monza", "lp"), own);
  EXPECT_EQ(make->Make("RACE", "LP"), make->Make("race", "lp"));
  EXPECT_FALSE(make->Make("race", "lp") == own);

  const CountedPtr<LpFile> added = make->Make("race", "lp");
  make->Add(added, "Ghost", "");
  EXPECT_EQ(make->Make("ghost", "lp"), added);

  make->Purge();
  EXPECT_FALSE(make->Make("race", "lp") == added);
  EXPECT_THROW(make->Make("ghost", ""), Util::XUsage);
}

TEST_F(GameFacetsTest, AMissingLpNamesItsLowerCasedPath) {
  const std::string monza = Folder({{"monza.trk", Files().GplTrk}});
  try {
    Factory(monza)->GetFacet<MakeLp>()->Make("Pass1", "LP");
    FAIL() << "no error";
  } catch (const Util::XUsage& e) {
    EXPECT_EQ(e.What(), monza + "/pass1.lp: file not found");
  }
}

TEST_F(GameFacetsTest, AGplLpWithoutItsTrackRaisesTheTrackError) {
  const std::string monza = Folder({{"race.lp", Files().GplLp}});
  EXPECT_EQ(XFileOpenName([&] { Factory(monza)->GetFacet<MakeLp>()->Make("race", "lp"); }),
            monza + "/monza.trk");
}

TEST_F(GameFacetsTest, AnLpOrItsTrackThatCannotBeReadGivesTheSystemsReason) {
  const std::string monza = Folder({{"monza.trk", Files().GplTrk}, {"race.lp", Files().GplLp}});
  std::filesystem::permissions(Temp.Path(), std::filesystem::perms::all);
  // The LP reads its track after itself; each file in turn is the first that fails.
  for (const std::string file : {"monza.trk", "race.lp"}) {
    std::filesystem::permissions(monza + "/" + file, std::filesystem::perms::none);
    EXPECT_EQ(Ostra::Test::FailureAsNormalUser([&] { Factory(monza)->GetFacet<MakeLp>()->Make("race", "lp"); }),
              "Couldn't open " + monza + "/" + file + "\nPermission denied\n");
  }
}

TEST_F(GameFacetsTest, AMalformedFileIsNotCached) {
  const auto& f = Files();
  Bytes broken = f.GplLp;
  broken[0] ^= 0xFF;
  const std::string monza = Folder({{"monza.trk", f.GplTrk}, {"race.lp", broken}});
  const auto make = Factory(monza)->GetFacet<MakeLp>();
  EXPECT_THROW(make->Make("race", "lp"), Util::XFileFormat);
  Temp.WriteFile("monza/race.lp", f.GplLp);
  EXPECT_NO_THROW(make->Make("race", "lp"));
}

TEST_F(GameFacetsTest, TrkNamesSplitAtTheirLastDot) {
  const std::string monza = Folder({{"monza.trk", Files().GplTrk}});
  const auto make = Factory(monza)->GetFacet<MakeTrk>();
  const auto trk = make->Make("monza", "", false);
  EXPECT_EQ(make->Make("monza.trk", "", false), trk);
  EXPECT_EQ(make->Make("", "", false), trk);
  EXPECT_EQ(make->Make("MONZA", "TRK", false), trk);
  // An extension given beats the name's own, which is dropped even so: a dotted track
  // name cannot be asked for.
  EXPECT_EQ(make->Make("monza.x", "trk", false), trk);
  EXPECT_EQ(XFileOpenName([&] { make->Make("Monza.v2", "", false); }), monza + "/Monza.v2");
  EXPECT_EQ(XFileOpenName([&] { make->Make("Nowhere", "", false); }), monza + "/Nowhere.trk");
  EXPECT_EQ(XFileOpenName([&] { make->Make("monza", "trk", true); }), monza + "/monza.trk");
}

TEST_F(GameFacetsTest, ALooseTrkAndItsArchiveCopyAreCachedApart) {
  const auto& f = Files();
  const std::string monza = Folder(
      {{"monza.trk", f.GplTrk}, {"monza.dat", Ostra::Test::DatImage({{"monza.trk", f.GplTrk}})}});
  const auto factory = Factory(monza);
  const auto make = factory->GetFacet<MakeTrk>();
  const auto loose = make->Make("monza", "trk", false);
  const auto archived = make->Make("monza", "trk", true);
  EXPECT_FALSE(archived == loose);
  EXPECT_EQ(make->Make("monza", "trk", false), loose);
  EXPECT_EQ(make->Make("monza", "trk", true), archived);
}

TEST_F(GameFacetsTest, ATrkOnlyInTheArchiveIsCachedAsTheArchiveCopy) {
  const auto& f = Files();
  const std::string monza =
      Folder({{"monza.dat", Ostra::Test::DatImage({{"MONZA.TRK", f.GplTrk}})}});
  const auto make = Factory(monza)->GetFacet<MakeTrk>();
  const auto trk = make->Make("monza", "trk", false);
  EXPECT_EQ(make->Make("monza", "trk", true), trk);
  const auto* facet = dynamic_cast<const GPLMakeTrk*>(make.Get());
  ASSERT_NE(facet, nullptr);
  ASSERT_EQ(facet->Cache.size(), 1u);
  EXPECT_EQ(facet->Cache.begin()->first, std::make_pair(std::string("monza.trk"), true));
}

TEST_F(GameFacetsTest, TracksAreCachedWhateverTheirSource) {
  const std::string monza = Folder({{"monza.trk", Files().GplTrk}});
  const auto make = Factory(monza)->GetFacet<MakeTrack>();
  const auto track = make->Make("monza", "trk", false);
  EXPECT_EQ(make->Make("monza", "trk", false), track);
  EXPECT_EQ(make->Make("monza", "trk", true), track);
  EXPECT_EQ(make->Make("", "", true), track);
  EXPECT_EQ(XFileOpenName([&] { make->Make("spa", "", false); }), monza + "/spa.trk");
}

TEST_F(GameFacetsTest, ARegistryPurgeEmptiesTheCachesOfAHeldFactory) {
  const auto& f = Files();
  const std::string monza = Folder({{"monza.trk", f.GplTrk}, {"race.lp", f.GplLp}});
  FileFactoryRegistry registry;
  RegisterGameRecognizers(registry);
  const auto held = registry.GetFactory(monza, false);
  const auto lp = held->GetFacet<MakeLp>()->Make("race", "lp");
  const auto track = held->GetFacet<MakeTrack>()->Make("", "", false);

  registry.Purge();

  EXPECT_EQ(registry.GetFactory(monza, false), held);
  EXPECT_TRUE(dynamic_cast<GPLMakeLp&>(*held->GetFacet<MakeLp>()).Cache.empty());
  EXPECT_TRUE(dynamic_cast<GPLMakeTrk&>(*held->GetFacet<MakeTrk>()).Cache.empty());
  EXPECT_TRUE(dynamic_cast<TrkMakeTrack&>(*held->GetFacet<MakeTrack>()).Cache.empty());
  EXPECT_EQ(lp.UseCount(), 1);
  EXPECT_FALSE(held->GetFacet<MakeLp>()->Make("race", "lp") == lp);
  EXPECT_GT(track->GetSegmentCount(), 0u);
}

TEST_F(GameFacetsTest, AFolderReplacedByAFileFailsCleanly) {
  // The registry has no factory for a plain file that is no archive.
  const std::string monza = Folder({});
  const auto factory = BuildGPLFileFactory(PapyDirectory(monza), {});
  std::filesystem::remove(monza);
  Temp.WriteFile("monza", Ostra::Test::Text("not a folder"));
  EXPECT_THROW(factory->GetFacet<MakeTrack>()->Make("", "", false), Util::XAssertion);
  EXPECT_THROW(factory->GetFacet<CreateDat>()->Create(), Util::XAssertion);
}

TEST_F(GameFacetsTest, CreatedLpsJoinTheCacheWithoutBeingWritten) {
  const auto& f = Files();
  for (const bool gpl : {true, false}) {
    Ostra::Test::TempDir temp;
    temp.WriteFile("monza/monza.trk", gpl ? f.GplTrk : f.Icr2Trk);
    const auto factory = Factory(temp / "monza");
    const auto lp = factory->GetFacet<CreateLp>()->Create("NewLine", 0.0);
    EXPECT_EQ(factory->GetFacet<MakeLp>()->Make("newline", ""), lp);
    EXPECT_GT(lp->GetRecordCount(), 0u);
    EXPECT_EQ(lp->GetRecordLatitude(0), 0.0);
    EXPECT_FALSE(Util::FileExists(temp / "monza/newline.lp"));
  }
}

TEST_F(GameFacetsTest, StandardLpNamesPerGame) {
  const std::string monza = Folder({});
  const GPLMakeLp gpl{PapyDirectory(monza)};
  const ICR2MakeLp icr2{PapyDirectory(monza)};
  const std::vector<std::string> gpl_names = {"race",  "maxrace", "minrace",
                                              "pass1", "pass2",   "pit"};
  const std::vector<std::string> icr2_names = {"race",     "maxrace",  "minrace", "pass1", "pass2",
                                               "maxpanic", "minpanic", "pit",     "pace",  "spot1"};
  ASSERT_EQ(gpl.GetTypeCount(), gpl_names.size());
  ASSERT_EQ(icr2.GetTypeCount(), icr2_names.size());
  for (unsigned i = 0; i < gpl_names.size(); ++i)
    EXPECT_EQ(gpl.GetTypeName(i), gpl_names[i]);
  for (unsigned i = 0; i < icr2_names.size(); ++i)
    EXPECT_EQ(icr2.GetTypeName(i), icr2_names[i]);
  for (const unsigned bad : {6u, 0xFFFFFFFFu}) {
    try {
      (void)gpl.GetTypeName(bad);
      ADD_FAILURE() << bad;
    } catch (const Util::XAssertion& e) {
      EXPECT_STREQ(e.Expression, "i < GetTypeCount()");
    }
  }
  EXPECT_THROW((void)icr2.GetTypeName(10), Util::XAssertion);
}

TEST_F(GameFacetsTest, GplConvertsAnyTrkAndCachesNothing) {
  const auto& f = Files();
  const std::string monza = Folder({{"monza.trk", f.GplTrk}});
  const auto factory = Factory(monza);
  const CountedPtr<TrkFile> icr2(new ICR2TrkFile(Memory(f.Icr2Trk)));
  const auto converted = factory->GetFacet<CreateTrk>()->Create(icr2);
  EXPECT_NE(dynamic_cast<GPLTrkFile*>(converted.Get()), nullptr);
  EXPECT_EQ(converted->GetSectionCount(), icr2->GetSectionCount());
}

} // namespace
} // namespace Ostra::Papy
