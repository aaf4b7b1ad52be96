// A whole N4 folder opened the way the editor opens it: the process-wide registry with
// every game's recogniser, the folder's track from its .ptf (loose, or compressed in
// the folder's archive by the archive's own writer) and its real LP files.
#include <gtest/gtest.h>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "Papy/Dat/N4DatFile.h"
#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/N4Files/N4Facets.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Track/Track.h"
#include "Papy/Types/FourCC.h"
#include "TestSupport/ByteBuilder.h"
#include "TestSupport/N4PtfBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"

namespace Ostra::Papy {
namespace {

using Bytes = std::vector<unsigned char>;
using Ostra::Test::N4PtfBuilder;
using Ostra::Test::ReadWholeFile;
using Ostra::Test::SharedData;

constexpr double Straight = N4PtfBuilder::SmallTrackStraight;
constexpr double Radius = N4PtfBuilder::SmallTrackRadius;
const double Lap = 4 * Straight + 2 * std::numbers::pi * Radius;

const char* const RealFiles[] = {"maxrace.lp", "minrace.lp", "pit0.lp",
                                 "race.lp",    "raceline.lp", "track.ini"};
const char* const RealLps[] = {"race", "raceline", "maxrace", "minrace", "pit0"};

Bytes Real(const std::string& name) { return ReadWholeFile(SharedData("n4/atlanta/" + name)); }

Bytes SmallTrack() { return N4PtfBuilder::SmallTrack().Data(); }

// The archive a folder holding only this .ptf gets from the archive's own writer.
Bytes WrittenArchive(const Bytes& ptf) {
  Ostra::Test::TempDir staging;
  staging.WriteFile("atlanta/atlanta.ptf", ptf);
  const std::string path = staging / "atlanta/atlanta.dat";
  {
    N4DatFile dat(path);
    dat.BuildFromFolder(false);
    dat.Write();
  }
  return ReadWholeFile(path);
}

bool IsN4(const CountedPtr<FileFactory>& factory) {
  return factory && dynamic_cast<N4MakeLp*>(factory->GetFacet<MakeLp>().Get()) != nullptr;
}

// "atlanta" in temp with the real atlanta files, plus the .ptf loose and/or in
// atlanta.dat; returns the folder.
std::string MakeAtlanta(const Ostra::Test::TempDir& temp, const Bytes* loose, const Bytes* archived) {
  for (const char* name : RealFiles)
    temp.WriteFile(std::string("atlanta/") + name, Real(name));
  if (loose)
    temp.WriteFile("atlanta/atlanta.ptf", *loose);
  if (archived)
    temp.WriteFile("atlanta/atlanta.dat", WrittenArchive(*archived));
  return temp / "atlanta";
}

class N4FolderTest : public ::testing::Test {
protected:
  void SetUp() override {
    VELMAR_REQUIRE_SHARED_DATA();
    RegisterGameRecognizers();
    RegisterN4Recognizer();
  }
};

TEST_F(N4FolderTest, AnN4FolderOpensWithItsTrackAndLps) {
  const Bytes track_bytes = SmallTrack();
  // A track of one 10 m straight: tells the archive's copy from the loose one.
  N4PtfBuilder other;
  other.Write(N4PtfBuilder::Track{.Segments = {Ostra::Test::Make(N4PtfBuilder::TrackSegment{.EndX = 10})}});
  const Bytes other_bytes = other.Data();
  const struct {
    const char* What;
    const Bytes* Loose;
    const Bytes* Archived;
    bool OpenTheArchive;
  } cases[] = {
      {"a loose .ptf", &track_bytes, nullptr, false},
      {"the .ptf in the folder's archive", nullptr, &track_bytes, false},
      {"the folder opened through its archive", nullptr, &track_bytes, true},
      {"a loose .ptf beside another in the archive", &track_bytes, &other_bytes, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const Ostra::Test::TempDir temp;
    const std::string folder = MakeAtlanta(temp, c.Loose, c.Archived);
    FileFactoryRegistry& registry = FileFactoryRegistry::Instance();
    const CountedPtr<FileFactory> factory =
        c.OpenTheArchive ? registry.GetFactory(folder + "/atlanta.dat", false)
                         : registry.GetFactory(PapyDirectory(folder), false);
    ASSERT_TRUE(IsN4(factory));
    // The folder and its archive share one factory, and so one set of caches.
    EXPECT_EQ(registry.GetFactory(PapyDirectory(folder), false), factory);
    EXPECT_EQ(static_cast<bool>(factory->GetFacet<GetDat>()->Get()), c.Archived != nullptr);

    const CountedPtr<Track> track = factory->GetFacet<MakeTrack>()->Make("", "", false);
    ASSERT_TRUE(track);
    ASSERT_EQ(track->GetSegmentCount(), static_cast<U32>(N4PtfBuilder::SmallTrackSegments));
    EXPECT_NEAR(track->GetLength2D(), Lap, 1e-9);
    // The end of the first left-hand quarter circle, and a place left of the centre
    // line a lap on.
    const Point3D end_of_arc = track->GetPosition(Straight + Radius * std::numbers::pi / 2, 0.0);
    EXPECT_NEAR(end_of_arc.X, Straight + Radius, 1e-9);
    EXPECT_NEAR(end_of_arc.Y, Radius, 1e-9);
    const Point3D left = track->GetPosition(Lap + 10.0, 3.0);
    EXPECT_NEAR(left.X, 10.0, 1e-9);
    EXPECT_NEAR(left.Y, 3.0, 1e-9);

    for (const char* name : RealLps) {
      SCOPED_TRACE(name);
      const CountedPtr<LpFile> lp = factory->GetFacet<MakeLp>()->Make(name, "");
      ASSERT_TRUE(lp);
      const N4LpFile direct(CountedPtr<Util::BinaryStream>(
          Util::BinaryFile::OpenRead(SharedData(std::string("n4/atlanta/") + name + ".lp"))));
      ASSERT_EQ(lp->GetRecordCount(), direct.GetRecordCount());
      ASSERT_GT(lp->GetRecordCount(), 0u);
      EXPECT_EQ(lp->GetRecordSpacing(), direct.GetRecordSpacing());
      for (const U32 i : {0u, lp->GetRecordCount() / 2, lp->GetRecordCount() - 1}) {
        EXPECT_EQ(lp->GetRecordLatitude(i), direct.GetRecordLatitude(i)) << i;
        EXPECT_EQ(lp->GetRecordLongitudinalSpeed(i), direct.GetRecordLongitudinalSpeed(i)) << i;
        EXPECT_EQ(lp->GetRecordFlags(i), direct.GetRecordFlags(i)) << i;
      }
    }

    const CountedPtr<LpFile> made = factory->GetFacet<CreateLp>()->Create("MaxPanic", 0.0);
    EXPECT_EQ(made->GetRecordCount(), static_cast<U32>(Lap / 3.0) + 1);
    EXPECT_EQ(factory->GetFacet<MakeLp>()->Make("maxpanic", ""), made);
  }
}

// A .ptf whose top object is no track: the track's error names the file exactly as the
// archive reader's own errors name it.
TEST_F(N4FolderTest, AnArchiveWithoutATrackIsNamedAsItsReaderNamedIt) {
  N4PtfBuilder texture;
  texture.Write(N4PtfBuilder::Texture{});
  const Bytes bytes = texture.Data();
  for (const bool archived : {false, true}) {
    SCOPED_TRACE(archived ? "in the archive" : "loose");
    const Ostra::Test::TempDir temp;
    const std::string folder = MakeAtlanta(temp, archived ? nullptr : &bytes, archived ? &bytes : nullptr);
    const std::string file_name = archived ? "atlanta.ptf" : folder + "/atlanta.ptf";
    const CountedPtr<FileFactory> factory =
        FileFactoryRegistry::Instance().GetFactory(PapyDirectory(folder), false);
    ASSERT_TRUE(IsN4(factory));
    try {
      factory->GetFacet<MakeTrack>()->Make("", "", false);
      ADD_FAILURE() << "no exception";
    } catch (const Util::XFileFormat& e) {
      EXPECT_EQ(e.What(), "A possible error was found in file " + file_name +
                              "\nN4 ptf file has no track\n");
    }
  }
}

// GPL and N2 are asked before N4, even in a registry where the N4 recogniser was
// registered alone.
TEST(N4RecognizerOrderTest, N4IsAskedAfterTheOtherGames) {
  FileFactoryRegistry registry;
  RegisterN4Recognizer(registry);
  Ostra::Test::TempDir temp;
  const Bytes gpl_trk = Ostra::Test::ByteBuilder().U32(MakeFourCC('T', 'R', 'A', 'K')).U32(3000).Data();
  temp.WriteFile("both/track.trk", gpl_trk);
  temp.WriteFile("both/track.ptf", SmallTrack());
  temp.WriteFile("n4/track.ptf", SmallTrack());
  temp.WriteFile("none/notes.txt", Bytes{1});

  const CountedPtr<FileFactory> both = registry.GetFactory(PapyDirectory(temp / "both"), false);
  EXPECT_FALSE(IsN4(both));
  EXPECT_TRUE(both->HasFacet<MakeTrk>());
  EXPECT_TRUE(IsN4(registry.GetFactory(PapyDirectory(temp / "n4"), false)));
  // A folder nobody claims goes to the default, GPL, not to N4.
  const CountedPtr<FileFactory> none = registry.GetFactory(PapyDirectory(temp / "none"), false);
  EXPECT_FALSE(IsN4(none));
  EXPECT_TRUE(none->HasFacet<MakeTrk>());
}

} // namespace
} // namespace Ostra::Papy
