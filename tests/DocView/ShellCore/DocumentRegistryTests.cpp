#include <gtest/gtest.h>

#include "DocView/Core/DocumentRegistry.h"
#include "Papy/Files/FileFactory.h"
#include "Util/Exception.h"

namespace Ostra::DocView {
namespace {

struct FakeTrack : ITrackDocLink {
  explicit FakeTrack(const Papy::FileFactory* key) : Key(key) {}
  const Papy::FileFactory* GetRegistryKey() const override { return Key; }
  void RefreshViews() override { ++Refreshes; }
  const Papy::FileFactory* Key;
  int Refreshes = 0;
};

struct FakeLp : ILpDocLink {
  explicit FakeLp(const Papy::FileFactory* key) : Key(key) {}
  const Papy::FileFactory* GetRegistryKey() const override { return Key; }
  const Papy::FileFactory* Key;
};

class DocumentRegistryTest : public ::testing::Test {
protected:
  Papy::FileFactory FolderA, FolderB;
  DocumentRegistry Registry;
};

TEST_F(DocumentRegistryTest, AnLpOpenedBeforeItsTrackIsListedOnceTheTrackRegisters) {
  FakeLp race(&FolderA);
  FakeTrack track(&FolderA);
  Registry.RegisterLpDocument(&race);
  Registry.RegisterTrackDocument(&track);
  // Registering a track tells nobody; its views get their first fill anyway.
  EXPECT_EQ(track.Refreshes, 0);
  ASSERT_EQ(Registry.GetLpDocumentCount(&track), 1);
  EXPECT_EQ(Registry.GetLpDocument(&track, 0), &race);
}

TEST_F(DocumentRegistryTest, LpsAreListedNewestFirstAndEachChangeRefreshesTheTrack) {
  FakeTrack track(&FolderA);
  FakeLp first(&FolderA), second(&FolderA), elsewhere(&FolderB);
  Registry.RegisterTrackDocument(&track);
  Registry.RegisterLpDocument(&first);
  Registry.RegisterLpDocument(&second);
  Registry.RegisterLpDocument(&elsewhere);
  EXPECT_EQ(track.Refreshes, 2);
  ASSERT_EQ(Registry.GetLpDocumentCount(&track), 2);
  EXPECT_EQ(Registry.GetLpDocument(&track, 0), &second);
  EXPECT_EQ(Registry.GetLpDocument(&track, 1), &first);

  Registry.UnregisterLpDocument(&second);
  EXPECT_EQ(track.Refreshes, 3);
  EXPECT_EQ(Registry.GetLpDocumentCount(&track), 1);
  // Unregistering what was never listed still refreshes, and changes nothing else.
  FakeLp stranger(&FolderA);
  Registry.UnregisterLpDocument(&stranger);
  EXPECT_EQ(track.Refreshes, 4);
  EXPECT_EQ(Registry.GetLpDocumentCount(&track), 1);
}

TEST_F(DocumentRegistryTest, AnEmptiedListIsReusedAndADoubleRegistrationGoesAtOnce) {
  FakeTrack track(&FolderA);
  FakeLp lp(&FolderA);
  Registry.RegisterTrackDocument(&track);
  Registry.RegisterLpDocument(&lp);
  Registry.UnregisterLpDocument(&lp);
  EXPECT_EQ(Registry.GetLpDocumentCount(&track), 0);
  Registry.RegisterLpDocument(&lp);
  Registry.RegisterLpDocument(&lp);
  EXPECT_EQ(Registry.GetLpDocumentCount(&track), 2);
  Registry.UnregisterLpDocument(&lp);
  EXPECT_EQ(Registry.GetLpDocumentCount(&track), 0);
}

TEST_F(DocumentRegistryTest, TwoTracksOfOneFolderBothHearOfLpsAndTheSurvivorKeepsHearing) {
  FakeTrack trk(&FolderA), dat(&FolderA);
  FakeLp lp(&FolderA), later(&FolderA);
  Registry.RegisterTrackDocument(&trk);
  Registry.RegisterTrackDocument(&dat);
  Registry.RegisterLpDocument(&lp);
  EXPECT_EQ(trk.Refreshes, 1);
  EXPECT_EQ(dat.Refreshes, 1);
  EXPECT_EQ(Registry.GetTrackDocument(&FolderA), &dat);

  // Closing either track leaves the other linked and notified.
  Registry.UnregisterTrackDocument(&dat);
  Registry.RegisterLpDocument(&later);
  EXPECT_EQ(trk.Refreshes, 2);
  EXPECT_EQ(dat.Refreshes, 1);
  EXPECT_EQ(Registry.GetTrackDocument(&FolderA), &trk);
  EXPECT_EQ(Registry.GetLpDocumentCount(&trk), 2);
}

TEST_F(DocumentRegistryTest, DocumentsWithoutAFolderAreNeverLinked) {
  // Documents made by New have no factory; one New track must not see, draw or close
  // another New document's LP.
  FakeTrack untitled_track(nullptr);
  FakeLp untitled_lp(nullptr);
  Registry.RegisterTrackDocument(&untitled_track);
  Registry.RegisterLpDocument(&untitled_lp);
  EXPECT_EQ(Registry.GetLpDocumentCount(&untitled_track), 0);
  EXPECT_EQ(untitled_track.Refreshes, 0);
  EXPECT_THROW(Registry.GetLpDocument(&untitled_track, 0), Util::XAssertion);
}

TEST_F(DocumentRegistryTest, AnIndexOutsideTheListIsAnAssertion) {
  FakeTrack track(&FolderA), unregistered(&FolderB);
  FakeLp lp(&FolderA);
  Registry.RegisterTrackDocument(&track);
  Registry.RegisterLpDocument(&lp);
  EXPECT_THROW(Registry.GetLpDocument(&track, 1), Util::XAssertion);
  EXPECT_THROW(Registry.GetLpDocument(&track, -1), Util::XAssertion);
  EXPECT_THROW(Registry.GetLpDocument(&unregistered, 0), Util::XAssertion);
  EXPECT_EQ(Registry.GetLpDocumentCount(&unregistered), 0);
}

TEST_F(DocumentRegistryTest, ARefreshThatUnregistersAnotherDocumentIsSafe) {
  // A track's refresh may close documents; the walk must not trip over it.
  struct ClosingTrack : FakeTrack {
    using FakeTrack::FakeTrack;
    void RefreshViews() override {
      FakeTrack::RefreshViews();
      if (Other != nullptr && Registry != nullptr) {
        Registry->UnregisterTrackDocument(Other);
        Other = nullptr;
      }
    }
    DocumentRegistry* Registry = nullptr;
    ITrackDocLink* Other = nullptr;
  };
  ClosingTrack first(&FolderA);
  FakeTrack second(&FolderA);
  first.Registry = &Registry;
  first.Other = &second;
  FakeLp lp(&FolderA);
  Registry.RegisterTrackDocument(&second);
  Registry.RegisterTrackDocument(&first);
  Registry.RegisterLpDocument(&lp);
  EXPECT_EQ(first.Refreshes, 1);
  EXPECT_EQ(Registry.GetTrackDocument(&FolderA), &first);
}

} // namespace
} // namespace Ostra::DocView
