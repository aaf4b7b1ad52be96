#include "DocView/Core/LpDocumentCore.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "LpFolders.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/BinaryStream.h"
#include "Util/DirectoryListing.h"
#include "Util/Exception.h"

namespace Ostra::DocView {
namespace {

using namespace Ostra::Test::LpFolders;
using Papy::LpFile;

class LpDocumentCoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    Papy::RegisterGameRecognizers();
    Papy::RegisterN4Recognizer();
  }
  void TearDown() override { Papy::FileFactoryRegistry::Instance().Clear(); }

  // One folder of each game, each with race.lp (marker 1.0) and pit.lp (marker 2.0).
  struct Game {
    const char* Name;
    std::string Folder;
  };
  std::vector<Game> Games() {
    return {{"GPL", GplFolder(Temp)}, {"N2", N2Folder(Temp)}, {"N4", N4Folder(Temp)}};
  }

  Ostra::Test::TempDir Temp;
};

TEST_F(LpDocumentCoreTest, OpensThroughTheFolderFactoryAndSharesItsCachedLp) {
  for (const Game& game : Games()) {
    SCOPED_TRACE(game.Name);
    LpDocumentCore doc;
    doc.Open(game.Folder + "/race.lp");
    ASSERT_TRUE(doc.HasLp());
    EXPECT_NEAR(doc.LpFile->GetRecordLatitude(3), 1.03, 1e-3);
    EXPECT_EQ(doc.Factory, Papy::FileFactoryRegistry::Instance().GetFactory(game.Folder, false));
    EXPECT_EQ(doc.LpFile, doc.Factory->GetFacet<Papy::MakeLp>()->Make("race", "lp"));
    EXPECT_FALSE(doc.HasUnsavedEdits());
  }
}

TEST_F(LpDocumentCoreTest, EverySetterWritesTheLpAndReportsAnEditEvenOfAnEqualValue) {
  LpDocumentCore doc;
  doc.Open(GplFolder(Temp) + "/race.lp");
  int told = 0;
  doc.OnModified = [&] { ++told; };
  doc.SetRecordLatitude(3, doc.LpFile->GetRecordLatitude(3));
  EXPECT_EQ(told, 1);
  EXPECT_TRUE(doc.HasUnsavedEdits());
  doc.SetRecordLongitudinalSpeed(3, 40.0);
  doc.SetTireWarmup(3, true);
  doc.SetRecordSpeedModifier(3, 0.5);
  EXPECT_EQ(told, 4);
  EXPECT_NEAR(doc.LpFile->GetRecordLongitudinalSpeed(3), 40.0, 0.01);
  EXPECT_TRUE(doc.LpFile->IsTireWarmup(3));
  // A record index outside the LP is refused, not written past the records.
  const int count = static_cast<int>(doc.LpFile->GetRecordCount());
  for (const int bad : {-1, count, count + 1000})
    EXPECT_THROW(doc.SetRecordLatitude(bad, 1.0), Util::XAssertion) << bad;
  EXPECT_EQ(told, 4);
}

TEST_F(LpDocumentCoreTest, AnUnchangedLpSavesBackByteIdenticalInItsOwnFormat) {
  for (const Game& game : Games()) {
    SCOPED_TRACE(game.Name);
    const std::string path = game.Folder + "/race.lp";
    const Bytes before = Ostra::Test::ReadWholeFile(path);
    LpDocumentCore doc;
    doc.Open(path);
    doc.Save(path);
    EXPECT_EQ(Ostra::Test::ReadWholeFile(path), before);
    doc.SetRecordLatitude(0, 7.5);
    doc.Save(game.Folder + "/copy.lp");
    EXPECT_FALSE(doc.HasUnsavedEdits());
    EXPECT_EQ(Ostra::Test::ReadWholeFile(path), before);
    EXPECT_EQ(Ostra::Test::ReadWholeFile(game.Folder + "/copy.lp").size(), before.size());
  }
}

// An LP whose writer fails part way, as a full disk would make it.
class FailingLp : public Papy::N4LpFile {
public:
  FailingLp() : N4LpFile(CountedPtr<Papy::Track>(new Papy::LpTest::LengthOnlyTrack(300.0)), 0.0) {}
  void Write(const CountedPtr<Util::BinaryStream>& stream) const override {
    N4LpFile::Write(stream);
    throw Util::XFileWrite(stream->Name());
  }
};

TEST_F(LpDocumentCoreTest, AFailedSaveLeavesThePreviousFileAndTheEditsUnsaved) {
  const std::string folder = N4Folder(Temp);
  const std::string path = folder + "/race.lp";
  const Bytes before = Ostra::Test::ReadWholeFile(path);
  LpDocumentCore doc;
  doc.Open(path);
  doc.SetRecordLatitude(0, 9.0);
  const CountedPtr<LpFile> kept = doc.LpFile;
  doc.LpFile = CountedPtr<LpFile>(new FailingLp());
  EXPECT_THROW(doc.Save(path), Util::XFileWrite);
  EXPECT_EQ(Ostra::Test::ReadWholeFile(path), before);
  EXPECT_TRUE(doc.HasUnsavedEdits());

  // A target that cannot be replaced (a folder of that name) fails the same way.
  doc.LpFile = kept;
  Temp.MakeFolder("atlanta/blocked.lp");
  EXPECT_THROW(doc.Save(folder + "/blocked.lp"), Util::Exception);
  EXPECT_TRUE(doc.HasUnsavedEdits());
  // A read-only file in a folder anyone may write is not replaced, and the message says why.
  std::filesystem::permissions(Temp.Path(), std::filesystem::perms::all);
  std::filesystem::permissions(folder, std::filesystem::perms::all);
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  EXPECT_EQ(Ostra::Test::FailureAsNormalUser([&] { doc.Save(path); }),
            "Couldn't write to " + path + "\nPermission denied\n");
  EXPECT_EQ(Ostra::Test::ReadWholeFile(path), before);
  // Nothing is left beside the target.
  EXPECT_EQ(Util::DirectoryListing(folder).GetCount(), 4u);
}

TEST_F(LpDocumentCoreTest, DiscardedEditsLeaveTheCacheSoTheNextOpenReadsTheFile) {
  for (const Game& game : Games()) {
    SCOPED_TRACE(game.Name);
    const std::string path = game.Folder + "/race.lp";
    CountedPtr<LpFile> edited;
    {
      LpDocumentCore doc;
      doc.Open(path);
      doc.SetRecordLatitude(3, 50.0);
      edited = doc.LpFile;
      doc.DiscardEdits();
    }
    LpDocumentCore reopened;
    reopened.Open(path);
    EXPECT_NE(reopened.LpFile, edited);
    EXPECT_NEAR(reopened.LpFile->GetRecordLatitude(3), 1.03, 1e-3);

    // Without edits, and after a save, the cached object stays.
    reopened.DiscardEdits();
    LpDocumentCore again;
    again.Open(path);
    EXPECT_EQ(again.LpFile, reopened.LpFile);
    again.SetRecordLatitude(3, 60.0);
    again.Save(path);
    again.DiscardEdits();
    LpDocumentCore saved;
    saved.Open(path);
    EXPECT_EQ(saved.LpFile, again.LpFile);
    EXPECT_NEAR(saved.LpFile->GetRecordLatitude(3), 60.0, 1e-3);
  }
}

TEST_F(LpDocumentCoreTest, EvictionDropsOnlyTheNamedLpOfEachGame) {
  for (const Game& game : Games()) {
    SCOPED_TRACE(game.Name);
    const auto makeLp =
        Papy::FileFactoryRegistry::Instance().GetFactory(game.Folder, false)->GetFacet<Papy::MakeLp>();
    const CountedPtr<LpFile> race = makeLp->Make("race", "lp");
    const CountedPtr<LpFile> pit = makeLp->Make("pit", "lp");
    EXPECT_TRUE(makeLp->Evict("RACE", "Lp"));
    EXPECT_FALSE(makeLp->Evict("race", "lp"));
    EXPECT_FALSE(makeLp->Evict("qual", "lp"));
    EXPECT_NE(makeLp->Make("race", ""), race);
    EXPECT_EQ(makeLp->Make("pit", ""), pit);
  }
}

TEST_F(LpDocumentCoreTest, SavingUnderAnotherNameMovesTheCachedLpToIt) {
  const std::string folder = GplFolder(Temp);
  LpDocumentCore doc;
  doc.Open(folder + "/race.lp");
  doc.SetRecordLatitude(3, 50.0);
  doc.Save(folder + "/Race2.lp");
  const auto makeLp = doc.Factory->GetFacet<Papy::MakeLp>();
  EXPECT_EQ(makeLp->Make("race2", "lp"), doc.LpFile);
  EXPECT_NEAR(makeLp->Make("race", "lp")->GetRecordLatitude(3), 1.03, 1e-3);

  // Into another folder: the LP leaves this folder's cache and keeps its factory.
  Ostra::Test::TempDir other;
  doc.Save(other / "race.lp");
  EXPECT_NE(makeLp->Make("race2", "lp"), doc.LpFile);
  EXPECT_EQ(doc.Factory->GetFacet<Papy::MakeLp>(), makeLp);
  EXPECT_EQ(Ostra::Test::ReadWholeFile(other / "race.lp"), Ostra::Test::ReadWholeFile(folder + "/Race2.lp"));
}

TEST_F(LpDocumentCoreTest, EachLapCurveOpenReadsTheFileAgainOutsideTheCache) {
  const std::string folder = GplFolder(Temp, true);
  LpDocumentCore first;
  first.OpenLapCurve(folder + "/race.lcv");
  LpDocumentCore second;
  second.OpenLapCurve(folder + "/race.lcv");
  ASSERT_TRUE(first.HasLp());
  EXPECT_TRUE(first.LpFile->HasControlPoints());
  EXPECT_NE(first.LpFile, second.LpFile);
  EXPECT_EQ(first.Factory, second.Factory);
  // The lap curve is not the folder's race.lp.
  EXPECT_FALSE(first.Factory->GetFacet<Papy::MakeLp>()->Make("race", "lp")->HasControlPoints());

  const Bytes before = Ostra::Test::ReadWholeFile(folder + "/race.lcv");
  first.Save(folder + "/race.lcv");
  EXPECT_EQ(Ostra::Test::ReadWholeFile(folder + "/race.lcv"), before);
  first.SetRecordLatitude(0, 0.5);
  first.DiscardEdits();
  EXPECT_THROW(first.OpenLapCurve(folder + "/missing.lcv"), Util::XFileOpen);
  // So is a mistyped path whose folder and its parent are missing.
  EXPECT_THROW(first.Open(Temp / "no/such/race.lp"), Util::XFileOpen);
}

} // namespace
} // namespace Ostra::DocView
