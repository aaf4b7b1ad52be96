#include <gtest/gtest.h>

#include <GL/glu.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <string>

#include "DocView/Core/CommandIds.h"
#include "DocView/GL/GlApi.h"
#include "DocView/GL/GlError.h"
#include "DocView/GL/Trk3DOverlayRenderer.h"
#include "DocView/GLSupport/OffscreenGl.h"
#include "DocView/GLSupport/SyntheticTrack.h"
#include "Papy/Types/SurfaceType.h"

namespace Ostra::DocView {
namespace {

using OpenGL::MakeCurrentScope;
using Test::MemoryLp;
using Test::OffscreenGl;

using Rgb = std::array<int, 3>;

constexpr int Size = 256;
const Rgb White{255, 255, 255};
const Rgb AsphaltGrey{153, 153, 153};
const Rgb GrassGreen{51, 204, 51};
const Rgb GrippedAsphalt{122, 122, 122}; // 0.6 x (1 - 0.01 x 20) = 0.48
const Rgb ArmcoGrey{102, 102, 102};
const Rgb Red{255, 0, 0};
const Rgb Green{0, 255, 0};

// Four 50 m straight segments along +x: grass | asphalt | grass from -15 to 15, the
// third segment's asphalt with grip modifier 20, and an Armco wall at latitude 20, 1 m
// wide (drawn 19 to 21).
Util::CountedPtr<Ostra::Test::SyntheticTrack> SceneTrack() {
  auto track = Ostra::Test::StraightTrack(4, 50.0,
                                   {{-15, -15, -5, -5, Papy::SurfaceGrass},
                                    {-5, -5, 5, 5, Papy::SurfaceAsphalt},
                                    {5, 5, 15, 15, Papy::SurfaceGrass}},
                                   {{20, 20, 1, 1, Papy::WallArmco}});
  track->Segments[2]->Strips[1].Grip = 20;
  return track;
}

// Twenty records, 10 m apart, at one latitude.
Util::CountedPtr<MemoryLp> LineAt(double latitude) {
  Util::CountedPtr<MemoryLp> lp(new MemoryLp(20, 10.0));
  for (MemoryLp::Record& r : lp->Records) {
    r.Latitude = latitude;
    r.SpeedModifier = 0.0;
  }
  return lp;
}

class Trk3DPixels : public ::testing::Test {
protected:
  void SetUp() override {
    if (!Context.Usable())
      GTEST_SKIP() << "No offscreen OpenGL here: " << Context.Problem();
    Renderer.SetTrack(Track);
    Renderer.AttachContext(&Context);
    Renderer.Resize(Size, Size);
  }

  void Paint() {
    ASSERT_TRUE(Renderer.Paint());
    const std::vector<std::string> messages = Renderer.TakeMessages();
    ASSERT_TRUE(messages.empty()) << messages.front();
    MakeCurrentScope scope(Context);
    Pixels = Context.ReadPixels();
    glGetDoublev(GL_MODELVIEW_MATRIX, ModelView.data());
    glGetDoublev(GL_PROJECTION_MATRIX, Projection.data());
    if (const char* folder = std::getenv("VELMAR_GL_PICTURES"))
      SavePicture(std::string(folder) + "/" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ppm");
  }

  // For a person to look at: the buffer as a binary PPM, top row first.
  void SavePicture(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << Size << " " << Size << "\n255\n";
    for (int y = Size - 1; y >= 0; --y) {
      for (int x = 0; x < Size; ++x) {
        const std::size_t i = (static_cast<std::size_t>(y) * Size + x) * 4;
        out.write(reinterpret_cast<const char*>(&Pixels[i]), 3);
      }
    }
  }

  // The pixel that the plan point (x, y) lands on.
  std::array<int, 2> Locate(double x, double y) const {
    const GLint viewport[4] = {0, 0, Size, Size};
    double wx = 0;
    double wy = 0;
    double wz = 0;
    gluProject(x, y, 0.0, ModelView.data(), Projection.data(), viewport, &wx, &wy, &wz);
    return {static_cast<int>(wx), static_cast<int>(wy)};
  }

  Rgb At(int px, int py) const {
    const std::size_t i = (static_cast<std::size_t>(py) * Size + px) * 4;
    return {Pixels[i], Pixels[i + 1], Pixels[i + 2]};
  }

  static bool Near(const Rgb& a, const Rgb& b) {
    for (int c = 0; c < 3; ++c) {
      if (std::abs(a[c] - b[c]) > 2)
        return false;
    }
    return true;
  }

  // The colour at a plan point, within 2 per channel.
  ::testing::AssertionResult ColourAt(double x, double y, const Rgb& expected) const {
    const auto [px, py] = Locate(x, y);
    if (px < 0 || py < 0 || px >= Size || py >= Size)
      return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is off the buffer";
    const Rgb got = At(px, py);
    if (Near(got, expected))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << x << ", " << y << ") at pixel " << px << ","
                                         << py << " is " << got[0] << " " << got[1] << " "
                                         << got[2];
  }

  // A thin line near a plan point: some pixel within one of its projection.
  ::testing::AssertionResult LineNear(double x, double y, const Rgb& expected) const {
    const auto [px, py] = Locate(x, y);
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        if (Near(At(px + dx, py + dy), expected))
          return ::testing::AssertionSuccess();
      }
    }
    return ::testing::AssertionFailure() << "no line near (" << x << ", " << y << ")";
  }

  OffscreenGl Context{Size, Size};
  Util::CountedPtr<Ostra::Test::SyntheticTrack> Track = SceneTrack();
  Trk3DOverlayRenderer Renderer{OpenGL::RealGl()};
  std::vector<unsigned char> Pixels;
  std::array<double, 16> ModelView{};
  std::array<double, 16> Projection{};
};

TEST_F(Trk3DPixels, TheTrackShowsInItsSurfaceColoursOnWhite) {
  Paint();
  const auto [cx, cy] = Locate(-50.0, -100.0);
  EXPECT_TRUE(Near(At(std::max(cx, 0), std::max(cy, 0)), White));
  EXPECT_TRUE(ColourAt(25.0, 0.0, AsphaltGrey));
  EXPECT_TRUE(ColourAt(175.0, -2.0, AsphaltGrey));
  EXPECT_TRUE(ColourAt(25.0, -10.0, GrassGreen));
  EXPECT_TRUE(ColourAt(75.0, 10.0, GrassGreen));
  EXPECT_TRUE(ColourAt(125.0, 0.0, GrippedAsphalt));
  EXPECT_TRUE(ColourAt(25.0, 20.0, ArmcoGrey));
  EXPECT_TRUE(ColourAt(25.0, 17.5, White)); // between the grass and the wall
}

TEST_F(Trk3DPixels, LpLinesShowInTheirFileColours) {
  Renderer.SetLinkedLps({{"/t/Race.lp", LineAt(2.0)}, {"/t/pit.lp", LineAt(-2.0)}});
  Paint();
  EXPECT_TRUE(LineNear(35.0, 2.0, Red));
  EXPECT_TRUE(LineNear(135.0, 2.0, Red));
  EXPECT_TRUE(LineNear(35.0, -2.0, Green));
  EXPECT_TRUE(ColourAt(35.0, 0.0, AsphaltGrey));
}

TEST_F(Trk3DPixels, MarkersBlendOverTheTrackAndModifierBandsAreOpaque) {
  Util::CountedPtr<MemoryLp> lp = LineAt(2.0);
  lp->Records[4].Flags = MemoryLp::OutbrakeDecisionPoint; // 50 .. 60 m
  lp->Records[11].SpeedModifier = 0.5;                    // 120 .. 130 m
  Renderer.SetLinkedLps({{"/t/race.lp", lp}});
  Renderer.ExecuteCommand(ID_VIEW_OUTBRAKE_DECISION_POINTS);
  Renderer.ExecuteCommand(ID_VIEW_SPEED_MODIFIERS);
  Paint();
  EXPECT_TRUE(ColourAt(55.0, -3.0, Rgb{204, 204, 204})); // half white over asphalt
  EXPECT_TRUE(ColourAt(45.0, -3.0, AsphaltGrey));
  EXPECT_TRUE(ColourAt(125.0, -3.0, Rgb{255, 128, 128}));
  EXPECT_TRUE(ColourAt(135.0, -3.0, GrippedAsphalt));
}

TEST_F(Trk3DPixels, ASelectionHintOutlinesTheSegmentInRed) {
  // The outline, scale and centre line before a line compile into one list cleanly.
  Renderer.SetLinkedLps({{"/t/Race.lp", LineAt(2.0)}});
  Renderer.ExecuteCommand(ID_VIEW_SCALE);
  Paint();
  EXPECT_FALSE(LineNear(75.0, -15.0, Red));
  Renderer.OnUpdate(2 << 16); // segment 1: 50 .. 100 m, seen from 100 m
  Paint();
  EXPECT_EQ(Renderer.GetCameraSetting().EyeHeight, 100.0);
  EXPECT_TRUE(LineNear(75.0, -15.0, Red));
  EXPECT_TRUE(LineNear(75.0, 15.0, Red));
  EXPECT_TRUE(LineNear(60.0, 0.0, White)); // a tick of the scale over the asphalt
  EXPECT_TRUE(LineNear(50.0, 0.0, Red));
  EXPECT_TRUE(ColourAt(75.0, 0.0, AsphaltGrey));
  EXPECT_FALSE(LineNear(125.0, -15.0, Red));
}

TEST_F(Trk3DPixels, ALongLapAndALongLpDrawToTheirEndsWithEveryOverlayOnAndNothingAcrossIt) {
  // A 60 km decagon of three strips in 3 m pieces (some 240,000 vertices) and an LP of
  // 33,000 records: more vertices than Mesa's list compiler stores in one block, which
  // once lost the picture to "invalid operation". The closed centre line, 60,000 vertices
  // with more after it in the list, once drew a stray line across the infield.
  auto track = Ostra::Test::PolygonTrack(10, 6000.0,
                                         {{-9000, -9000, -3000, -3000, Papy::SurfaceGrass},
                                          {-3000, -3000, 3000, 3000, Papy::SurfaceAsphalt},
                                          {3000, 3000, 9000, 9000, Papy::SurfaceGrass}});
  track->Segments.back()->Strips[1].Type = Papy::SurfaceGrass;
  Renderer.SetTrack(track);
  const Util::CountedPtr<Papy::LpFile> lp(new MemoryLp(33000, 60000.0 / 33000));
  Renderer.SetLinkedLps({{"/t/race.lp", lp}});
  for (int id = 0; id < 0x7FFF; ++id) {
    if (ToggleForCommand(id) != nullptr)
      Renderer.ExecuteCommand(id);
  }
  Paint();
  EXPECT_TRUE(ColourAt(3000.0, 1500.0, AsphaltGrey));
  for (const double latitude : {1500.0, -6000.0}) {
    const Papy::Point3D end = track->GetPosition(58500.0, latitude);
    EXPECT_TRUE(ColourAt(end.X, end.Y, GrassGreen)) << latitude;
  }
  // The inner grass from 1 km to 5.5 km round the lap's centre shows in every pixel.
  const double apothem = 3000.0 / std::tan(std::numbers::pi / 10);
  const auto [cx, cy] = Locate(3000.0, apothem);
  const double pixels_per_metre = (Locate(6000.0, apothem)[0] - cx) / 3000.0;
  int stray = 0;
  for (int py = 0; py < Size; ++py) {
    for (int px = 0; px < Size; ++px) {
      const double metres = std::hypot(px - cx, py - cy) / pixels_per_metre;
      if (metres > 1000.0 && metres < 5500.0 && !Near(At(px, py), GrassGreen))
        ++stray;
    }
  }
  EXPECT_EQ(stray, 0);
}

TEST_F(Trk3DPixels, ReplayingTheDisplayListsGivesTheSameImage) {
  Renderer.SetLinkedLps({{"/t/race.lp", LineAt(2.0)}});
  Renderer.ExecuteCommand(ID_VIEW_CENTRELINE);
  Paint();
  ASSERT_TRUE(Renderer.IsTrackListValid());
  const std::vector<unsigned char> compiled = Pixels;
  Paint();
  EXPECT_TRUE(Pixels == compiled);
}

TEST_F(Trk3DPixels, AnInducedErrorThrowsWithGlusText) {
  MakeCurrentScope scope(Context);
  OpenGL::DiscardGLErrors(OpenGL::RealGl());
  glEndList();
  try {
    OpenGL::CheckGLError();
    FAIL() << "no throw";
  } catch (const OpenGL::XOpenGL& e) {
    EXPECT_EQ(e.What(), "An OpenGLError occurred: invalid operation");
  }
  EXPECT_NO_THROW(OpenGL::CheckGLError());
}

TEST_F(Trk3DPixels, ThePaintAfterAFailedCompileIsRightAgain) {
  Renderer.SetLinkedLps({{"/t/race.lp", LineAt(2.0)}});
  Paint();
  const std::vector<unsigned char> clean = Pixels;

  OffscreenGl other(Size, Size);
  Trk3DOverlayRenderer renderer(OpenGL::RealGl());
  auto track = SceneTrack();
  renderer.SetTrack(track);
  renderer.SetLinkedLps({{"/t/race.lp", LineAt(2.0)}});
  renderer.AttachContext(&other);
  renderer.Resize(Size, Size);
  // Fails in the middle of a strip of the track's list, then in the overlay's.
  track->Segments[1]->FramesBeforeFailure = 4 * 3 + 30;
  renderer.Paint();
  EXPECT_EQ(renderer.TakeMessages().size(), 1u);
  EXPECT_FALSE(renderer.IsTrackListValid());
  track->Segments[1]->FramesBeforeFailure = -1;
  renderer.OnUpdate(NoItemHint);
  ASSERT_TRUE(renderer.Paint());
  EXPECT_TRUE(renderer.TakeMessages().empty());
  MakeCurrentScope scope(other);
  EXPECT_TRUE(other.ReadPixels() == clean);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
} // namespace Ostra::DocView
