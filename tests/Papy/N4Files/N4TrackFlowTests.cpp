#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Papy/Files/Facets.h"
#include "Papy/Files/FileFactoryRegistry.h"
#include "Papy/Lp/LpFile.h"
#include "Papy/N4Files/N4Recognizer.h"
#include "Papy/Track/Track.h"
#include "Papy/Types/SurfaceType.h"
#include "../N4/StrictScope.h"
#include "TestSupport/N4PtfBuilder.h"
#include "TestSupport/TempDir.h"
#include "Util/Exception.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace Ostra::Papy {
namespace {

using Ostra::Test::N4PtfBuilder;

constexpr double Pi = std::numbers::pi;
// Codes outside the N4 surface table: 13 on the right verge's line, 0 on the outermost
// left line, which no strip takes but frames beyond the track do.
constexpr U32 UnknownRight = 13;
constexpr U32 UnknownLeft = 0;

// A hairpin oval: straights of 200 m joined by left half circles of radius 50.
std::vector<unsigned char> HairpinOval(const std::array<U32, 4>& surface_codes) {
  const std::vector<N4PtfBuilder::SegmentEnds> ends = {
      {0, 0, 0, 200, 0, 0, false},
      {200, 0, 0, 200, 100, Pi, true},
      {200, 100, Pi, 0, 100, Pi, false},
      {0, 100, Pi, 0, 0, 0, true},
  };
  return N4PtfBuilder::PlainTrack(ends, surface_codes).Data();
}

class N4TrackFlowTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterGameRecognizers();
    RegisterN4Recognizer();
  }

  CountedPtr<FileFactory> Folder(const std::vector<unsigned char>& ptf) {
    Temp.MakeFolder("hairpin");
    Temp.WriteFile("hairpin/hairpin.ptf", ptf);
    return FileFactoryRegistry::Instance().GetFactory(PapyDirectory(Temp / "hairpin"), false);
  }

  Ostra::Test::TempDir Temp;
};

// Every strip's surface and its name, as the track list shows them.
std::vector<std::string> ListSurfaces(const Track& track) {
  std::vector<std::string> names;
  for (U32 s = 0; s < track.GetSegmentCount(); ++s) {
    const CountedPtr<TrackSegment> segment = track.GetSegment(s);
    for (U32 k = 0; k < segment->GetFSectionCount(); ++k)
      names.push_back(GetSurfaceTypeName(segment->GetFSection(k)->GetSurfaceType()));
  }
  return names;
}

TEST_F(N4TrackFlowTest, UnknownSurfaceCodesReadAsUnknownUnlessCheckingStrictly) {
  const CountedPtr<FileFactory> factory = Folder(HairpinOval({UnknownRight, 1, 4, UnknownLeft}));
  const CountedPtr<Track> track = factory->GetFacet<MakeTrack>()->Make("", "", false);
  ASSERT_TRUE(track);
  ASSERT_NEAR(track->GetLength2D(), 400 + 100 * Pi, 1e-9);
  // A new line along the unknown verge strip.
  const CountedPtr<LpFile> lp = factory->GetFacet<CreateLp>()->Create("race", 3.0);
  for (U32 i = 0; i < lp->GetRecordCount(); ++i)
    lp->SetRecordLatitude(i, -9.0);

  {
    const StrictScope lenient(false);
    const std::vector<std::string> names = ListSurfaces(*track);
    ASSERT_EQ(names.size(), 12u);
    for (std::size_t k = 0; k < names.size(); ++k)
      EXPECT_EQ(names[k], k % 3 == 0 ? GetSurfaceTypeName(SurfaceUnknown)
                                     : GetSurfaceTypeName(k % 3 == 1 ? SurfaceAsphalt : SurfaceGrass));

    for (const double distance : {0.0, 100.0, 200 + 25 * Pi, 400 + 75 * Pi}) {
      EXPECT_EQ(track->GetFrame(distance, -9.0).SurfaceType, SurfaceUnknown) << distance;
      EXPECT_EQ(track->GetFrame(distance, 0.0).SurfaceType, SurfaceAsphalt) << distance;
      EXPECT_EQ(track->GetFrame(distance, 13.0).SurfaceType, SurfaceUnknown) << distance;
    }

    CountedPtr<Physics::Curve> x, y, fitted_x, fitted_y;
    Velmar::MakePathCurves(lp, track, x, y);
    Velmar::FitLapCurve(x, y, track, lp->GetRecordSpacing(), Velmar::DefaultCurveTolerance,
                        fitted_x, fitted_y);
    ASSERT_TRUE(fitted_x && fitted_y);
    // The fitted line keeps to the record it started from: 9 m right of the centre
    // line, which on the first straight is y = -9.
    EXPECT_NEAR(fitted_y->Evaluate(100.0), -9.0, Velmar::DefaultCurveTolerance);
    EXPECT_NEAR(fitted_x->Evaluate(100.0), 100.0, Velmar::DefaultCurveTolerance);
  }

  {
    const StrictScope strict(true);
    EXPECT_THROW(ListSurfaces(*track), Util::XAssertion);
    EXPECT_THROW(track->GetFrame(100.0, -9.0), Util::XAssertion);
    EXPECT_THROW(track->GetFrame(100.0, 13.0), Util::XAssertion);
    // Known ground still answers.
    EXPECT_EQ(track->GetFrame(100.0, 0.0).SurfaceType, SurfaceAsphalt);
    CountedPtr<Physics::Curve> x, y;
    EXPECT_THROW(Velmar::MakePathCurves(lp, track, x, y), Util::XAssertion);
  }
}

} // namespace
} // namespace Ostra::Papy
