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

namespace Ostra::Papy {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes Real(const std::string& relative) {
  return Ostra::Test::ReadWholeFile(Ostra::Test::SharedData(relative));
}

// An N4 folder "atlanta" holding copies of the real atlanta LP files, with a track file
// to be recognised by; its factory comes from the process-wide registry, as the
// application gets it.
class N4FacetsTest : public ::testing::Test {
protected:
  void SetUp() override {
    VELMAR_REQUIRE_SHARED_DATA();
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

} // namespace
} // namespace Ostra::Papy
