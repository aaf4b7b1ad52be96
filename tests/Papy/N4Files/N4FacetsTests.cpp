#include "Papy/N4Files/N4Facets.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "Papy/Dat/DatFile.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "TestSupport/OvalTrack.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/BinaryStream.h"
#include "Util/Exception.h"
#include "Util/PathName.h"
#include "Util/StringUtil.h"

namespace Ostra::Papy {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes Real(const std::string& relative) {
  return Ostra::Test::ReadWholeFile(Ostra::Test::SharedData(relative));
}

// Stands in for the folder's track: the LP maker needs only its plan length.
class FakeMakeTrack : public MakeTrack {
public:
  CountedPtr<Track> Make(const std::string& name, const std::string& ext, bool fromDat) override {
    Requests.push_back(name + "|" + ext + "|" + (fromDat ? "dat" : "loose"));
    return Oval;
  }
  void Purge() override {}

  CountedPtr<Track> Oval{new Ostra::Test::OvalTrack(100.0, 250.0)};
  std::vector<std::string> Requests;
};

// An N4 folder "atlanta" holding copies of the real atlanta LP files, with a track file
// to be recognised by; its factory comes from the process-wide registry, as the
// application gets it.
class N4FacetsTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGameRecognizers();
    RegisterN4Recognizer();
    Temp.WriteFile("atlanta/atlanta.ptf", Bytes{});
    for (const char* name : {"race.lp", "maxrace.lp"})
      Temp.WriteFile(std::string("atlanta/") + name, Real(std::string("n4/atlanta/") + name));
    Factory = FileFactoryRegistry::Instance().GetFactory(PapyDirectory(Temp / "atlanta"), false);
    Lps = Factory->GetFacet<MakeLp>();
  }

  Ostra::Test::TempDir Temp;
  CountedPtr<FileFactory> Factory;
  CountedPtr<MakeLp> Lps;
};

TEST_F(N4FacetsTest, OneLpObjectServesEverySpellingOfItsName) {
  const CountedPtr<LpFile> race = Lps->Make("RACE", "LP");
  ASSERT_TRUE(race);
  for (const auto& [name, ext] : {std::pair{"race", "lp"}, {"race", ""}, {"Race", "Lp"}}) {
    SCOPED_TRACE(std::string(name) + "." + ext);
    EXPECT_EQ(Lps->Make(name, ext), race);
  }
  EXPECT_NE(Lps->Make("maxrace", ""), race);

  const N4LpFile direct(CountedPtr<Util::BinaryStream>(
      Util::BinaryFile::OpenRead(Ostra::Test::SharedData("n4/atlanta/race.lp"))));
  ASSERT_EQ(race->GetRecordCount(), direct.GetRecordCount());
  for (const U32 i : {0u, race->GetRecordCount() / 2, race->GetRecordCount() - 1}) {
    EXPECT_EQ(race->GetRecordLatitude(i), direct.GetRecordLatitude(i));
    EXPECT_EQ(race->GetRecordFlags(i), direct.GetRecordFlags(i));
  }
}

TEST_F(N4FacetsTest, AMissingLpIsAUsageErrorNamingItsPath) {
  const struct {
    const char* Name;
    const char* Ext;
    const char* File;
  } cases[] = {{"limp", "", "limp.lp"}, {"", "", "atlanta.lp"}, {"Race", "L66", "race.l66"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    try {
      Lps->Make(c.Name, c.Ext);
      ADD_FAILURE() << "no exception";
    } catch (const Util::XUsage& e) {
      EXPECT_EQ(e.What(), Temp / "atlanta/" + c.File + ": file not found");
    }
  }
}

TEST_F(N4FacetsTest, AnLpThatFailsToReadIsNotCached) {
  const std::string path = Temp / "atlanta/pit0.lp";
  Temp.WriteFile("atlanta/pit0.lp", Bytes{1, 2, 3});
  EXPECT_THROW(Lps->Make("pit0", ""), Util::RuntimeError);
  Temp.WriteFile("atlanta/pit0.lp", Real("n4/atlanta/pit0.lp"));
  EXPECT_TRUE(Lps->Make("pit0", ""));
}

TEST_F(N4FacetsTest, AddedLpsReplaceCachedOnesUntilTheCacheIsPurged) {
  const CountedPtr<LpFile> read = Lps->Make("race", "");
  const CountedPtr<LpFile> made(new N4LpFile(CountedPtr<Track>(new Ostra::Test::OvalTrack(50.0, 0.0)), 0.0));
  Lps->Add(made, "RACE", "lp");
  EXPECT_EQ(Lps->Make("race", ""), made);

  Lps->Purge();
  const CountedPtr<LpFile> reread = Lps->Make("race", "");
  EXPECT_NE(reread, made);
  EXPECT_NE(reread, read);

  Factory->GetFacet<PurgeFactory>()->Purge();
  EXPECT_NE(Lps->Make("race", ""), reread);
}

TEST_F(N4FacetsTest, TheStandardLpNamesAreN4s) {
  const char* expected[] = {"raceline", "race",    "maxrace", "minrace", "maxpanic",
                            "minpanic", "pit0",    "maxpit0", "minpit0", "pit1",
                            "maxpit1",  "minpit1", "limp"};
  ASSERT_EQ(Lps->GetTypeCount(), std::size(expected));
  for (unsigned i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(Lps->GetTypeName(i), expected[i]);
  EXPECT_THROW(Lps->GetTypeName(13), Util::XAssertion);
}

TEST_F(N4FacetsTest, ANewLpIsMadeForTheFolderTrackAndCachedUnderItsLowerCasedName) {
  const CountedPtr<FakeMakeTrack> tracks(new FakeMakeTrack);
  N4CreateLp create(Lps, tracks);
  const double plan_length = tracks->Oval->GetLength2D();
  const struct {
    const char* Name;
    double Spacing;
    double Expected;
  } cases[] = {{"MinRace", 0.0, 3.0}, {"maxpit1", 5.5, 5.5}, {"RACE", 3.0, 3.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const CountedPtr<LpFile> lp = create.Create(c.Name, c.Spacing);
    EXPECT_EQ(lp->GetRecordSpacing(), c.Expected);
    EXPECT_EQ(lp->GetRecordCount(), static_cast<U32>(plan_length / c.Expected) + 1);
    // Served from the cache: neither minrace.lp nor maxpit1.lp is on disk, and race.lp
    // on disk is passed over.
    EXPECT_EQ(Lps->Make(Util::ToLower(c.Name), ""), lp);
    EXPECT_EQ(Lps->Make(c.Name, "lp"), lp);
  }
  EXPECT_EQ(tracks->Requests, std::vector<std::string>(3, "||loose"));
}

TEST_F(N4FacetsTest, ANewArchiveReplacesTheFolderArchiveOnlyWhenItCouldBeCreated) {
  const CountedPtr<GetDat> folder_dat = Factory->GetFacet<GetDat>();
  ASSERT_FALSE(folder_dat->Get());
  const CountedPtr<DatFile> made = Factory->GetFacet<CreateDat>()->Create();
  ASSERT_TRUE(made);
  EXPECT_TRUE(Util::FileExists(Temp / "atlanta/atlanta.dat"));
  EXPECT_EQ(made->GetPathName().GetFullPath(), Temp / "atlanta/atlanta.dat");
  EXPECT_EQ(folder_dat->Get(), made);

  EXPECT_THROW(Factory->GetFacet<CreateDat>()->Create(), Util::XFileOpen);
  EXPECT_EQ(folder_dat->Get(), made);
}

TEST_F(N4FacetsTest, TheFactoryHoldsTheN4FacetSet) {
  EXPECT_EQ(Factory->GetFacet<GetDirectory>()->Get().Path, Temp / "atlanta/");
  EXPECT_TRUE(Factory->HasFacet<GetDat>());
  EXPECT_TRUE(Factory->HasFacet<PurgeFactory>());
  EXPECT_EQ(Factory->GetFacet<PurgeFactory>()->Factory, Factory.Get());
  EXPECT_NE(dynamic_cast<N4CreateDat*>(Factory->GetFacet<CreateDat>().Get()), nullptr);
  EXPECT_NE(dynamic_cast<N4MakeLp*>(Lps.Get()), nullptr);
  // N4 has no TRK files.
  EXPECT_FALSE(Factory->HasFacet<MakeTrk>());
  EXPECT_FALSE(Factory->HasFacet<CreateTrk>());
}

} // namespace
} // namespace Ostra::Papy
