#include "Papy/N4Files/N4PtfFacets.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <tuple>
#include <string>
#include <utility>
#include <vector>

#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4Files/N4Facets.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Track/Track.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/N4PtfBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Bytes = std::vector<unsigned char>;
using Ostra::Test::N4PtfBuilder;

const Bytes& SmallTrack() {
  static const Bytes bytes = N4PtfBuilder::SmallTrack().Data();
  return bytes;
}

// An N4 archive image holding the sub-files stored, in the order given.
Bytes N4DatImage(const std::vector<std::pair<std::string, Bytes>>& subFiles) {
  constexpr Util::U32 header_size = 10;
  constexpr Util::U32 record_fixed_size = 16;
  Util::U32 directory_bytes = 0;
  for (const auto& [name, bytes] : subFiles)
    directory_bytes += record_fixed_size + static_cast<Util::U32>(name.size());
  Ostra::Test::ByteBuilder b;
  b.S16(static_cast<Util::S16>(-static_cast<int>(subFiles.size()))).U32(directory_bytes).U32(0);
  Util::U32 offset = header_size + directory_bytes;
  for (const auto& [name, bytes] : subFiles) {
    const auto size = static_cast<Util::U32>(bytes.size());
    b.U8(5).U8(0).U32(size).U32(size).U32(offset).U8(static_cast<Util::U8>(name.size()));
    b.Fixed(name, name.size() + 1);
    offset += size;
  }
  for (const auto& [name, bytes] : subFiles)
    b.Raw(bytes);
  return b.Data();
}

std::string XFileOpenName(const std::function<void()>& action) {
  try {
    action();
  } catch (const Util::XFileOpen& e) {
    EXPECT_EQ(e.SystemMessage, "File not found");
    return e.FileName;
  }
  return "(no XFileOpen)";
}

class N4PtfFacetsTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGameRecognizers();
    RegisterN4Recognizer();
  }

  // A folder "oval" of the given files and its factory from the process-wide registry.
  CountedPtr<FileFactory> Folder(const std::vector<std::pair<std::string, Bytes>>& files) {
    Temp.MakeFolder("oval");
    for (const auto& [name, bytes] : files)
      Temp.WriteFile("oval/" + name, bytes);
    return FileFactoryRegistry::Instance().GetFactory(PapyDirectory(Temp / "oval"), false);
  }

  Ostra::Test::TempDir Temp;
};

TEST_F(N4PtfFacetsTest, LooseAndArchivedCopiesOfOnePtfAreTwoCachedObjects) {
  const CountedPtr<FileFactory> factory =
      Folder({{"oval.ptf", SmallTrack()}, {"oval.dat", N4DatImage({{"OVAL.PTF", SmallTrack()}})}});
  const CountedPtr<MakePtf> ptfs = factory->GetFacet<MakePtf>();
  const CountedPtr<N4TdoFile> loose = ptfs->Make("oval", "", false);
  const CountedPtr<N4TdoFile> archived = ptfs->Make("oval", "", true);
  ASSERT_TRUE(loose);
  ASSERT_TRUE(archived);
  EXPECT_NE(loose, archived);
  EXPECT_EQ(loose->GetSubObjectCount(), archived->GetSubObjectCount());
  EXPECT_EQ(loose->GetFactory(), factory.Get());

  EXPECT_EQ(ptfs->Make("oval", "", false), loose);
  EXPECT_EQ(ptfs->Make("oval", "", true), archived);
}

TEST_F(N4PtfFacetsTest, WithoutALooseFileTheArchiveCopyServesBothRequests) {
  const CountedPtr<FileFactory> factory = Folder({{"oval.dat", N4DatImage({{"oval.ptf", SmallTrack()}})}});
  const CountedPtr<MakePtf> ptfs = factory->GetFacet<MakePtf>();
  const CountedPtr<N4TdoFile> first = ptfs->Make("", "", false);
  ASSERT_TRUE(first);
  EXPECT_EQ(ptfs->Make("", "", true), first);
  // A loose file appearing later is not read: the archive copy answers from the cache.
  Temp.WriteFile("oval/oval.ptf", Bytes{1, 2, 3});
  EXPECT_EQ(ptfs->Make("", "", false), first);
}

TEST_F(N4PtfFacetsTest, ANameWithItsOwnExtensionGivesTheSameKey) {
  const CountedPtr<MakePtf> ptfs = Folder({{"Track.PTF", SmallTrack()}})->GetFacet<MakePtf>();
  const CountedPtr<N4TdoFile> file = ptfs->Make("track.ptf", "", false);
  const struct {
    const char* Name;
    const char* Ext;
  } same[] = {{"track", "ptf"}, {"TRACK", "PTF"}, {"track.x", "ptf"}, {"Track.Ptf", ""}};
  for (const auto& c : same) {
    SCOPED_TRACE(std::string(c.Name) + " / " + c.Ext);
    EXPECT_EQ(ptfs->Make(c.Name, c.Ext, false), file);
  }
}

TEST_F(N4PtfFacetsTest, AMissingPtfIsNamedAsSpelled) {
  const CountedPtr<FileFactory> with_dat =
      Folder({{"oval.ptf", SmallTrack()}, {"oval.dat", N4DatImage({{"other.ptf", SmallTrack()}})}});
  const CountedPtr<MakePtf> ptfs = with_dat->GetFacet<MakePtf>();
  const std::string folder = Temp / "oval/";
  const struct {
    const char* Name;
    const char* Ext;
    bool FromDat;
    std::string Path;
  } cases[] = {
      {"Missing", "", false, folder + "Missing.ptf"},
      {"Missing.PTF", "", true, folder + "Missing.PTF"},
      {"x.foo", "Ptf", false, folder + "x.Ptf"},
      // Only in the folder, not in its archive.
      {"oval", "", true, folder + "oval.ptf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Path);
    EXPECT_EQ(XFileOpenName([&] { ptfs->Make(c.Name, c.Ext, c.FromDat); }), c.Path);
  }
  EXPECT_TRUE(ptfs->Make("other", "", false));
}

TEST_F(N4PtfFacetsTest, APtfThatFailsToReadIsNotCached) {
  Bytes damaged = SmallTrack();
  damaged.push_back(0);
  const CountedPtr<MakePtf> ptfs = Folder({{"oval.ptf", damaged}})->GetFacet<MakePtf>();
  try {
    ptfs->Make("", "", false);
    ADD_FAILURE() << "no exception";
  } catch (const Util::XFileFormat& e) {
    EXPECT_NE(e.What().find("N4 archive size mismatch"), std::string::npos) << e.What();
  }
  Temp.WriteFile("oval/oval.ptf", SmallTrack());
  EXPECT_TRUE(ptfs->Make("", "", false));
}

TEST_F(N4PtfFacetsTest, AnObjectArchiveOfAnotherKindFailsWithTheArchiveError) {
  VELMAR_REQUIRE_SHARED_DATA();
  const CountedPtr<FileFactory> factory =
      Folder({{"oval.ptf", Ostra::Test::ReadWholeFile(Ostra::Test::SharedData("n4/archives/warwagon.3do"))}});
  for (const bool track : {false, true}) {
    SCOPED_TRACE(track ? "track" : "archive");
    try {
      if (track)
        factory->GetFacet<MakeTrack>()->Make("", "", false);
      else
        factory->GetFacet<MakePtf>()->Make("", "", false);
      ADD_FAILURE() << "no exception";
    } catch (const Util::XFileFormat& e) {
      EXPECT_NE(e.What().find("N4 archive unknown descriptor LodSwitchDescriptor"), std::string::npos)
          << e.What();
    }
  }
}

TEST_F(N4PtfFacetsTest, PurgingKeepsOnlyTheArchivesHeldElsewhere) {
  const CountedPtr<FileFactory> factory =
      Folder({{"oval.ptf", SmallTrack()}, {"b.ptf", SmallTrack()}, {"c.ptf", SmallTrack()}});
  const CountedPtr<MakePtf> ptfs = factory->GetFacet<MakePtf>();
  const CountedPtr<N4TdoFile> held = ptfs->Make("oval", "", false);
  ptfs->Make("b", "", false);
  const CountedPtr<Track> track = factory->GetFacet<MakeTrack>()->Make("c", "", false);

  ptfs->Purge();
  N4MakePtf* const n4 = dynamic_cast<N4MakePtf*>(ptfs.Get());
  ASSERT_NE(n4, nullptr);
  EXPECT_EQ(n4->Cache.size(), 2u);
  EXPECT_EQ(ptfs->Make("oval", "", false), held);
  EXPECT_EQ(n4->Cache.count({"b.ptf", false}), 0u);
  EXPECT_EQ(n4->Cache.count({"c.ptf", false}), 1u);
}

TEST_F(N4PtfFacetsTest, TheFolderTrackIsBuiltOnceOverItsPtf) {
  const CountedPtr<FileFactory> factory = Folder({{"oval.dat", N4DatImage({{"oval.ptf", SmallTrack()}})}});
  const CountedPtr<MakeTrack> tracks = factory->GetFacet<MakeTrack>();
  const CountedPtr<Track> track = tracks->Make("", "", false);
  ASSERT_TRUE(track);
  EXPECT_EQ(track->GetSegmentCount(), static_cast<U32>(N4PtfBuilder::SmallTrackSegments));
  const double expected_length =
      4.0 * N4PtfBuilder::SmallTrackStraight + 2.0 * std::numbers::pi * N4PtfBuilder::SmallTrackRadius;
  EXPECT_NEAR(track->GetLength2D(), expected_length, 1e-9);

  for (const auto& [name, ext, from_dat] :
       {std::tuple{"", "", true}, {"OVAL", "PTF", false}, {"oval", "", true}}) {
    SCOPED_TRACE(std::string(name) + "." + ext);
    EXPECT_EQ(tracks->Make(name, ext, from_dat), track);
  }
  // The track keeps its archive: purging the archive cache cannot drop it.
  const CountedPtr<MakePtf> ptfs = factory->GetFacet<MakePtf>();
  ptfs->Purge();
  N4MakePtf* const n4 = dynamic_cast<N4MakePtf*>(ptfs.Get());
  ASSERT_NE(n4, nullptr);
  EXPECT_EQ(n4->Cache.count({"oval.ptf", true}), 1u);

  tracks->Purge();
  EXPECT_NE(tracks->Make("", "", false), track);

  EXPECT_EQ(XFileOpenName([&] { tracks->Make("Other", "", false); }), Temp / "oval/Other.ptf");
}

TEST_F(N4PtfFacetsTest, ANewLpCoversTheFolderTrackAndIsCachedUnderItsLowerCasedName) {
  const CountedPtr<FileFactory> factory = Folder({{"oval.ptf", SmallTrack()}, {"race.lp", Bytes{1}}});
  const double length = factory->GetFacet<MakeTrack>()->Make("", "", false)->GetLength2D();
  const struct {
    const char* Name;
    const char* Lower;
    double Spacing;
    double Expected;
  } cases[] = {{"MinRace", "minrace", 0.0, 3.0}, {"maxpit1", "maxpit1", 5.5, 5.5}, {"RACE", "race", 3.0, 3.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const CountedPtr<LpFile> lp = factory->GetFacet<CreateLp>()->Create(c.Name, c.Spacing);
    EXPECT_EQ(lp->GetRecordSpacing(), c.Expected);
    EXPECT_EQ(lp->GetRecordCount(), static_cast<U32>(length / c.Expected) + 1);
    // Served from the cache: the damaged race.lp on disk is never read.
    EXPECT_EQ(factory->GetFacet<MakeLp>()->Make(c.Lower, ""), lp);
    EXPECT_EQ(factory->GetFacet<MakeLp>()->Make(c.Name, "lp"), lp);
  }
}

TEST_F(N4PtfFacetsTest, TheFactoryHoldsTheN4FacetSet) {
  const CountedPtr<FileFactory> factory = Folder({{"oval.ptf", SmallTrack()}});
  EXPECT_EQ(factory->GetFacet<GetDirectory>()->Get().Path, Temp / "oval/");
  EXPECT_EQ(factory->GetFacet<PurgeFactory>()->Factory, factory.Get());
  EXPECT_NE(dynamic_cast<N4CreateDat*>(factory->GetFacet<CreateDat>().Get()), nullptr);
  EXPECT_NE(dynamic_cast<N4MakePtf*>(factory->GetFacet<MakePtf>().Get()), nullptr);
  EXPECT_NE(dynamic_cast<N4MakeTrack*>(factory->GetFacet<MakeTrack>().Get()), nullptr);
  const auto* create = dynamic_cast<N4CreateLp*>(factory->GetFacet<CreateLp>().Get());
  ASSERT_NE(create, nullptr);
  EXPECT_NE(dynamic_cast<N4MakeLp*>(create->MakeLpFacet.Get()), nullptr);
  EXPECT_EQ(create->MakeLpFacet, factory->GetFacet<MakeLp>());
  EXPECT_EQ(create->MakeTrackFacet, factory->GetFacet<MakeTrack>());
  // N4 has no TRK files.
  EXPECT_FALSE(factory->HasFacet<MakeTrk>());
  EXPECT_FALSE(factory->HasFacet<CreateTrk>());
}

} // namespace
} // namespace Ostra::Papy
