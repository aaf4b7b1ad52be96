#include "Papy/Files/FileFactoryRegistry.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRecognizer.h"
#include "Papy/Lp/LpFile.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Log = std::vector<std::string>;

// A purge-recording MakeLp, so that a registry purge can be seen on held factories.
class PurgeProbe : public MakeLp {
public:
  explicit PurgeProbe(int& purges) : Purges(purges) {}
  CountedPtr<LpFile> Make(const std::string&, const std::string&) override { return {}; }
  void Add(const CountedPtr<LpFile>&, const std::string&, const std::string&) override {}
  void Purge() override { ++Purges; }
  unsigned GetTypeCount() const override { return 0; }
  std::string GetTypeName(unsigned) const override { return {}; }
  int& Purges;
};

// Answers as told and logs every question as "<name>.<operation>".
class FakeRecognizer : public FileFactoryRecognizer {
public:
  FakeRecognizer(std::string name, Log& log, bool isDefault)
      : FileFactoryRecognizer(isDefault), Name(std::move(name)), Calls(log) {}

  CountedPtr<FileFactory> CreateFactory(const PapyDirectory& dir, bool writable) override {
    Calls.push_back(Name + ".CreateFolder");
    return Build(dir, writable);
  }
  CountedPtr<FileFactory> CreateFactory(const std::string& datPath, bool writable) override {
    Calls.push_back(Name + ".CreateDat");
    return Build(PapyDirectory(datPath), writable);
  }
  bool IsPossibleDat(const std::string& path) override {
    Calls.push_back(Name + ".IsPossibleDat");
    return PossibleDat(path);
  }
  bool IsGameDat(const std::string& path) override {
    Calls.push_back(Name + ".IsGameDat");
    return GameDat(path);
  }
  bool IsGameDirectory(const PapyDirectory& dir) override {
    Calls.push_back(Name + ".IsGameDirectory");
    return GameDirectory(dir);
  }

  std::function<bool(const std::string&)> PossibleDat = [](const std::string&) { return false; };
  std::function<bool(const std::string&)> GameDat = [](const std::string&) { return false; };
  std::function<bool(const PapyDirectory&)> GameDirectory = [](const PapyDirectory&) {
    return false;
  };
  std::function<void()> BeforeCreate = [] {};
  bool LastWritable = false;
  int Purges = 0;

private:
  CountedPtr<FileFactory> Build(const PapyDirectory& dir, bool writable) {
    BeforeCreate();
    LastWritable = writable;
    CountedPtr<FileFactory> factory(new FileFactory);
    factory->AddFacet<GetDirectory>(new GetDirectory(dir));
    factory->AddFacet<PurgeFactory>(new PurgeFactory(factory.Get()));
    factory->AddFacet<MakeLp>(new PurgeProbe(Purges));
    return factory;
  }

  std::string Name;
  Log& Calls;
};

class FileFactoryRegistryTest : public ::testing::Test {
protected:
  void SetUp() override {
    Monza = Temp.MakeFolder("Monza");
    Dat = Temp.WriteFile("Monza/monza.dat", std::string("archive"));
    Other = Temp.WriteFile("Monza/other.dat", std::string("archive"));
  }

  Log Calls;
  FakeRecognizer Gpl{"gpl", Calls, true};
  FakeRecognizer N2{"n2", Calls, false};
  FileFactoryRegistry Registry;
  Ostra::Test::TempDir Temp;
  std::string Monza;
  std::string Dat;
  std::string Other;
};

TEST_F(FileFactoryRegistryTest, OneFolderGivesOneFactoryHoweverItIsSpelled) {
  Registry.Register(&Gpl);
  Registry.Register(&N2);
  const auto factory = Registry.GetFactory(Monza, false);
  ASSERT_TRUE(factory);
  Calls.clear();
  for (const std::string& spelling :
       {Monza, Monza + "/", Temp.Path() + "/MONZA", Temp.Path() + "//monza//", Dat,
        Temp.Path() + "/MONZA/MONZA.DAT"}) {
    SCOPED_TRACE(spelling);
    EXPECT_EQ(Registry.GetFactory(spelling, false), factory);
  }
  EXPECT_EQ(Registry.GetFactory(PapyDirectory(Monza + "/monza.trk"), false), factory);
  // Served from the cache: no recogniser was asked again.
  EXPECT_TRUE(Calls.empty());
}

TEST_F(FileFactoryRegistryTest, FoldersAreAskedInOrderAndTheFirstClaimBuilds) {
  Registry.Register(&Gpl);
  Registry.Register(&N2);
  N2.GameDirectory = [](const PapyDirectory&) { return true; };
  const auto factory = Registry.GetFactory(Monza + "/", false);
  ASSERT_TRUE(factory);
  EXPECT_EQ(Calls, (Log{"gpl.IsGameDirectory", "n2.IsGameDirectory", "n2.CreateFolder"}));
  EXPECT_EQ(factory->GetFacet<GetDirectory>()->Directory.GetPath(), Monza + "/");
}

TEST_F(FileFactoryRegistryTest, AFolderNobodyClaimsGoesToTheDefault) {
  Registry.Register(&N2);
  Registry.Register(&Gpl);
  EXPECT_TRUE(Registry.GetFactory(Temp.MakeFolder("empty"), false));
  EXPECT_EQ(Calls, (Log{"n2.IsGameDirectory", "gpl.IsGameDirectory", "gpl.CreateFolder"}));
}

TEST_F(FileFactoryRegistryTest, TheOnlyRecognizerTakesEverythingEvenWhenNotDefault) {
  Registry.Register(&N2);
  EXPECT_TRUE(Registry.GetFactory(Monza, false));
  EXPECT_EQ(Calls, (Log{"n2.IsGameDirectory", "n2.CreateFolder"}));
  Calls.clear();
  N2.PossibleDat = [](const std::string&) { return true; };
  EXPECT_TRUE(Registry.GetFactory(Other, false));
  EXPECT_EQ(Calls, (Log{"n2.IsGameDat", "n2.IsPossibleDat", "n2.CreateDat"}));
}

TEST_F(FileFactoryRegistryTest, WithoutADefaultAnUnclaimedFolderAsserts) {
  FakeRecognizer n4("n4", Calls, false);
  Registry.Register(&N2);
  Registry.Register(&n4);
  try {
    Registry.GetFactory(Monza, false);
    FAIL() << "no assertion";
  } catch (const Util::XAssertion& e) {
    EXPECT_STREQ(e.Expression, "false");
  }
}

TEST_F(FileFactoryRegistryTest, AnArchiveThatCannotBeOpenedFallsBackToTheDefault) {
  for (const bool in_test : {true, false}) {
    SCOPED_TRACE(in_test);
    Calls.clear();
    FileFactoryRegistry registry;
    registry.Register(&N2);
    registry.Register(&Gpl);
    N2.GameDirectory = [&](const PapyDirectory&) {
      if (in_test)
        throw Util::XFileOpen("monza.dat", "Permission denied");
      return true;
    };
    N2.BeforeCreate = [&] {
      if (!in_test)
        throw Util::XFileOpen("monza.dat", "Permission denied");
    };
    EXPECT_TRUE(registry.GetFactory(Monza, false));
    EXPECT_EQ(Calls.back(), "gpl.CreateFolder");
    // The pass ends at the failure: GPL's own test is never asked.
    EXPECT_EQ(std::count(Calls.begin(), Calls.end(), "gpl.IsGameDirectory"), 0);
  }
}

TEST_F(FileFactoryRegistryTest, OtherFailuresPropagateAndNothingIsCached) {
  Registry.Register(&Gpl);
  Gpl.BeforeCreate = [] { throw Util::XFileFormat("monza.dat", "ICR2 dat file signature not 5"); };
  EXPECT_THROW(Registry.GetFactory(Monza, false), Util::XFileFormat);
  Gpl.BeforeCreate = [] {};
  Calls.clear();
  EXPECT_TRUE(Registry.GetFactory(Monza, false));
  EXPECT_EQ(Calls, (Log{"gpl.IsGameDirectory", "gpl.CreateFolder"}));
}

TEST_F(FileFactoryRegistryTest, ArchivesGoThroughTheStrictThenTheDefaultThenAnyLooseTest) {
  struct Case {
    bool N2Strict;
    bool GplStrict;
    bool N2Loose;
    bool GplLoose;
    Log Expected;
  };
  const Case cases[] = {
      {true, true, true, true, {"n2.IsGameDat", "n2.CreateDat"}},
      {false, true, true, true, {"n2.IsGameDat", "gpl.IsGameDat", "gpl.CreateDat"}},
      // The default's loose test comes before anyone else's.
      {false,
       false,
       true,
       true,
       {"n2.IsGameDat", "gpl.IsGameDat", "gpl.IsPossibleDat", "gpl.CreateDat"}},
      {false,
       false,
       true,
       false,
       {"n2.IsGameDat", "gpl.IsGameDat", "gpl.IsPossibleDat", "n2.IsPossibleDat", "n2.CreateDat"}},
      {false,
       false,
       false,
       false,
       {"n2.IsGameDat", "gpl.IsGameDat", "gpl.IsPossibleDat", "n2.IsPossibleDat",
        "gpl.IsPossibleDat"}},
  };
  for (const auto& c : cases) {
    Calls.clear();
    FileFactoryRegistry registry;
    registry.Register(&N2);
    registry.Register(&Gpl);
    N2.GameDat = [&](const std::string&) { return c.N2Strict; };
    Gpl.GameDat = [&](const std::string&) { return c.GplStrict; };
    N2.PossibleDat = [&](const std::string&) { return c.N2Loose; };
    Gpl.PossibleDat = [&](const std::string&) { return c.GplLoose; };
    const auto factory = registry.GetFactory(Other, false);
    EXPECT_EQ(Calls, c.Expected);
    EXPECT_EQ(factory.IsNull(), c.Expected.back().find("Create") == std::string::npos);
  }
}

TEST_F(FileFactoryRegistryTest, AnUnrecognisedFileGivesNullAndIsAskedAgainNextTime) {
  Registry.Register(&Gpl);
  Registry.Register(&N2);
  EXPECT_FALSE(Registry.GetFactory(Dat, false));
  const std::size_t asked = Calls.size();
  EXPECT_FALSE(Registry.GetFactory(Dat, false));
  EXPECT_EQ(Calls.size(), 2 * asked);
  // A folder is still a folder afterwards.
  EXPECT_TRUE(Registry.GetFactory(Monza, false));
}

TEST_F(FileFactoryRegistryTest, TheRootIsAFolder) {
  Registry.Register(&Gpl);
  const auto factory = Registry.GetFactory("/", false);
  ASSERT_TRUE(factory);
  EXPECT_TRUE(factory->GetFacet<GetDirectory>()->Directory.IsRoot());
  EXPECT_EQ(Calls, (Log{"gpl.IsGameDirectory", "gpl.CreateFolder"}));
  EXPECT_EQ(Registry.GetFactory("\\", false), factory);
}

TEST_F(FileFactoryRegistryTest, AWritableRequestReplacesAReadOnlyFactory) {
  Registry.Register(&Gpl);
  const auto read_only = Registry.GetFactory(Monza, false);
  const auto writable = Registry.GetFactory(Monza, true);
  EXPECT_FALSE(writable == read_only);
  EXPECT_TRUE(Gpl.LastWritable);
  EXPECT_EQ(Registry.GetFactory(Monza, false), writable);
  EXPECT_EQ(Registry.GetFactory(Monza, true), writable);
}

TEST_F(FileFactoryRegistryTest, PurgeDropsUnheldFactoriesAndEmptiesTheCachesOfHeldOnes) {
  Registry.Register(&Gpl);
  const std::string spa = Temp.MakeFolder("spa");
  CountedPtr<FileFactory> held = Registry.GetFactory(Monza, false);
  Registry.GetFactory(spa, false);
  Calls.clear();

  Registry.Purge();

  EXPECT_EQ(Gpl.Purges, 1);
  EXPECT_EQ(held.UseCount(), 2);
  EXPECT_EQ(Registry.GetFactory(Monza, false), held);
  EXPECT_EQ(Calls, Log{});
  const auto rebuilt = Registry.GetFactory(spa, false);
  EXPECT_EQ(Calls, (Log{"gpl.IsGameDirectory", "gpl.CreateFolder"}));
  EXPECT_TRUE(rebuilt);

  // Clearing lets go of held factories too: the next request builds afresh.
  Registry.Clear();
  EXPECT_EQ(held.UseCount(), 1);
  EXPECT_FALSE(Registry.GetFactory(Monza, false) == held);
}

TEST_F(FileFactoryRegistryTest, ARecognizerIsRegisteredOnce) {
  Registry.Register(&Gpl);
  Registry.Register(&Gpl);
  Registry.GetFactory(Monza, false);
  EXPECT_EQ(Calls, (Log{"gpl.IsGameDirectory", "gpl.CreateFolder"}));
}

} // namespace
} // namespace Ostra::Papy
