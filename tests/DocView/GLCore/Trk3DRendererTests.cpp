#include "DocView/GL/Trk3DRenderer.h"

#include <gtest/gtest.h>

#include <cmath>

#include "DocView/GLSupport/GlRecorder.h"
#include "DocView/GLSupport/SyntheticTrack.h"
#include "Papy/Types/SurfaceType.h"

namespace Ostra::DocView {
namespace {

using Test::GlCall;
using Test::GlPrimitive;
using Test::GlRecorder;
using Test::RecordingBinder;
using Test::StraightTrack;
using Test::StripShape;
using Test::WallShape;

constexpr StripShape Asphalt{-5.0, -5.0, 5.0, 5.0, Papy::SurfaceAsphalt};
constexpr StripShape Grass{-15.0, -15.0, -5.0, -5.0, Papy::SurfaceGrass};

std::vector<GlPrimitive> OfMode(const std::vector<GlPrimitive>& all, GLenum mode) {
  std::vector<GlPrimitive> some;
  for (const GlPrimitive& p : all) {
    if (p.Mode == mode)
      some.push_back(p);
  }
  return some;
}

struct Fixture {
  GlRecorder Gl;
  RecordingBinder Context{&Gl};
  Trk3DRenderer Renderer{Gl};

  explicit Fixture(const Util::CountedPtr<Papy::Track>& track, int width = 200, int height = 200) {
    Renderer.SetTrack(track);
    Renderer.AttachContext(&Context);
    Renderer.Resize(width, height);
  }
};

TEST(Trk3DRenderer, HintsKeepClearOrSelectTheSegment) {
  Fixture f(StraightTrack(6, 10.0, {Asphalt}));
  const struct {
    TrackItemHint Hint;
    int Before;
    int After;
  } cases[] = {
      {NoItemHint, 3, 3},
      {WholeTrackHint, 3, -1},
      {(5 << 16) | 0x0203, -1, 4},
      {1 << 16, -1, 0},
      {7 << 16, 2, -1},                                   // beyond the track
      {0x0203, 2, -1},                                    // an item without its segment
      {static_cast<TrackItemHint>(0x80010000u), 2, -1},   // top bit set: never negative
  };
  for (const auto& c : cases) {
    f.Renderer.OnUpdate(c.Before == -1 ? WholeTrackHint : ((c.Before + 1) << 16));
    f.Renderer.OnUpdate(c.Hint);
    EXPECT_EQ(f.Renderer.GetSelectedSegment(), c.After) << std::hex << c.Hint;
  }
}

TEST(Trk3DRenderer, StripsAreWalkedInStepsOverThePlanLengthEndingExactlyAtItsEnd) {
  auto track = StraightTrack(1, 7.3, {{-5.0, -4.0, 5.0, 6.0, Papy::SurfaceAsphalt}});
  track->Segments[0]->Length3D = 20.0; // on a slope the game's own length is longer
  GlRecorder gl;
  Trk3DRenderer renderer(gl);
  renderer.DrawTrack(*track, -1, 3.0, true);
  const auto quads = OfMode(gl.Primitives(), GL_QUADS);
  ASSERT_EQ(quads.size(), 3u);
  const double ends[][2] = {{0.0, 3.0}, {3.0, 6.0}, {6.0, 7.3}};
  for (std::size_t i = 0; i < quads.size(); ++i) {
    const double d0 = ends[i][0];
    const double d1 = ends[i][1];
    const auto right = [](double d) { return -5.0 + 1.0 * d / 7.3; };
    const auto left = [](double d) { return 5.0 + 1.0 * d / 7.3; };
    // right at t0, right at t1, left at t1, left at t0
    const std::vector<std::array<double, 3>> expected{
        {d0, right(d0), 0.0}, {d1, right(d1), 0.0}, {d1, left(d1), 0.0}, {d0, left(d0), 0.0}};
    for (std::size_t v = 0; v < 4; ++v) {
      EXPECT_DOUBLE_EQ(quads[i].Vertices[v][0], expected[v][0]) << i << "," << v;
      EXPECT_DOUBLE_EQ(quads[i].Vertices[v][1], expected[v][1]) << i << "," << v;
    }
  }
  EXPECT_EQ(quads.back().Vertices[1][0], 7.3);
}

TEST(Trk3DRenderer, ASegmentOfNoLengthDrawsNothingRatherThanNaNs) {
  auto track = StraightTrack(2, 10.0, {Asphalt});
  track->Segments[1]->Length2D = 0.0;
  GlRecorder gl;
  Trk3DRenderer renderer(gl);
  renderer.DrawTrack(*track, -1, 3.0, true);
  EXPECT_EQ(OfMode(gl.Primitives(), GL_QUADS).size(), 4u);
  for (const GlCall& call : gl.Calls) {
    for (double arg : call.Args)
      ASSERT_FALSE(std::isnan(arg)) << call.Name;
  }
}

TEST(Trk3DRenderer, PavedStripsAndWallsAreDrawnInTheSecondPassOverEverythingElse) {
  const std::vector<StripShape> strips{Grass,
                                      Asphalt,
                                      {5.0, 5.0, 6.0, 6.0, Papy::SurfacePaint},
                                      {6.0, 6.0, 9.0, 9.0, Papy::SurfaceDirt}};
  auto track = StraightTrack(2, 3.0, strips, {{12.0, 12.0, 0.5, 0.5, Papy::WallTyres}});
  GlRecorder gl;
  Trk3DRenderer renderer(gl);
  renderer.DrawTrack(*track, -1, 3.0, true);
  std::vector<std::array<double, 2>> order; // (segment start x, first vertex latitude)
  for (const GlPrimitive& p : gl.Primitives())
    order.push_back({p.Vertices[0][0], p.Vertices[0][1]});
  const std::vector<std::array<double, 2>> expected{
      {0.0, -15.0}, {0.0, 6.0}, {3.0, -15.0}, {3.0, 6.0},            // pass 0: grass, dirt
      {0.0, -5.0},  {0.0, 5.0}, {0.0, 11.5},  {3.0, -5.0}, {3.0, 5.0}, // pass 1: asphalt,
      {3.0, 11.5}};                                                    // paint, wall
  EXPECT_EQ(order, expected);
}

TEST(Trk3DRenderer, WallsWiderThanThreeAreLeftOutAndWallsWithoutWidthAreLines) {
  const struct {
    double StartWidth;
    double EndWidth;
    GLenum Mode; // 0: not drawn
    std::vector<double> Latitudes;
  } cases[] = {
      {1.0, 1.0, GL_QUADS, {9.0, 9.0, 11.0, 11.0}}, // twice the width: lat +- width
      {0.0, 2.0, GL_QUADS, {10.0, 8.0, 12.0, 10.0}},
      {0.0, 0.0, GL_LINES, {10.0, 10.0}},
      {3.0, 3.0, GL_QUADS, {7.0, 7.0, 13.0, 13.0}},
      {3.5, 1.0, 0, {}},
      {1.0, 4.0, 0, {}},
  };
  for (const auto& c : cases) {
    auto track = StraightTrack(1, 3.0, {}, {{10.0, 10.0, c.StartWidth, c.EndWidth, 0}});
    GlRecorder gl;
    Trk3DRenderer renderer(gl);
    renderer.DrawTrack(*track, -1, 3.0, true);
    const auto primitives = gl.Primitives();
    if (c.Mode == 0) {
      EXPECT_TRUE(primitives.empty()) << c.StartWidth << " " << c.EndWidth;
      EXPECT_EQ(gl.Count("Begin"), 0);
      continue;
    }
    ASSERT_EQ(primitives.size(), 1u);
    EXPECT_EQ(primitives[0].Mode, c.Mode);
    std::vector<double> latitudes;
    for (const auto& v : primitives[0].Vertices)
      latitudes.push_back(v[1]);
    EXPECT_EQ(latitudes, c.Latitudes) << c.StartWidth << " " << c.EndWidth;
    EXPECT_EQ(primitives[0].Colour[0], static_cast<double>(0.4f)); // Armco
  }
}

TEST(Trk3DRenderer, PavedTypesFormTheUpperLayerAndGripScalesTheColour) {
  for (int type = -1; type <= Papy::LastSurfaceType + 1; ++type)
    EXPECT_EQ(SurfaceLayer(type), type == 0 || type == 1 || type == 6 ? 1 : 0) << type;
  const Papy::Colour gripped = GripColour(Papy::SurfaceAsphalt, 20);
  EXPECT_FLOAT_EQ(gripped.Red, 0.6f * 0.8f);
  EXPECT_FLOAT_EQ(gripped.Blue, 0.6f * 0.8f);
  EXPECT_FLOAT_EQ(GripColour(Papy::SurfaceGrass, -10).Green, 0.88f);
}

TEST(Trk3DRenderer, FitsTheSpanOrUsesTheEyeHeight) {
  TrackBox box;
  box.Include(0.0, 0.0, 0.0);
  box.Include(1000.0, 300.0, 0.0);
  const CameraSetting fitted = ComputeCameraSetting(box, 2.0, 0.0, false, 0.0, 0.0);
  EXPECT_DOUBLE_EQ(fitted.NearDistance, 500.0 / 1.8);
  EXPECT_NEAR(fitted.EyeHeight, 277.8, 0.05);
  EXPECT_DOUBLE_EQ(fitted.CentreX, 500.0);
  EXPECT_DOUBLE_EQ(fitted.CentreY, 150.0);

  box.Include(0.0, 600.0, 0.0); // taller than wide: the height decides
  EXPECT_DOUBLE_EQ(ComputeCameraSetting(box, 2.0, 0.0, false, 0, 0).NearDistance, 600.0 / 1.8);

  const CameraSetting high = ComputeCameraSetting(box, 2.0, 100.0, true, 7.0, 8.0);
  EXPECT_EQ(high.EyeHeight, 100.0);
  EXPECT_EQ(high.NearDistance, 100.0);
  EXPECT_EQ(high.FarDistance, 100.0);
  EXPECT_EQ(high.CentreX, 7.0);
}

TEST(Trk3DRenderer, ASelectedSegmentIsSeenFromTheHeightOverTheMiddleOfItsCentreLine) {
  Fixture f(StraightTrack(6, 10.0, {Asphalt}));
  f.Renderer.OnUpdate(5 << 16); // segment 4: x from 40 to 50
  f.Renderer.SetHeight(100.0);
  ASSERT_TRUE(f.Renderer.Paint());
  EXPECT_DOUBLE_EQ(f.Renderer.GetNearPlane(), 95.0);
  EXPECT_DOUBLE_EQ(f.Renderer.GetFarPlane(), 105.0);
  const GlCall* look = nullptr;
  for (const GlCall& call : f.Gl.Calls) {
    if (call.Name == "LookAt")
      look = &call;
  }
  ASSERT_NE(look, nullptr);
  EXPECT_EQ(look->Args, (std::vector<double>{45.0, 0.0, 100.0, 45.0, 0.0, 0.0, 0.0, 1.0, 0.0}));
}

TEST(Trk3DRenderer, WithoutATrackTheViewIsClearedToWhite) {
  Fixture f{Util::CountedPtr<Papy::Track>()};
  EXPECT_TRUE(f.Renderer.Paint());
  EXPECT_EQ(f.Gl.Find("ClearColor")->Args, (std::vector<double>{1, 1, 1, 1}));
  EXPECT_EQ(f.Gl.Count("Clear"), 1);
  EXPECT_EQ(f.Gl.Count("NewList"), 0);
}

TEST(Trk3DRenderer, ATrackWithoutSegmentsFramesADefaultBoxAndDrawsNothing) {
  Fixture f(Util::CountedPtr<Papy::Track>(new Ostra::Test::SyntheticTrack));
  EXPECT_TRUE(f.Renderer.Paint());
  EXPECT_TRUE(f.Renderer.TakeMessages().empty());
  EXPECT_GT(f.Renderer.GetNearPlane(), 0.0);
  EXPECT_DOUBLE_EQ(f.Renderer.GetCameraSetting().NearDistance, 200.0 / 1.8);
  EXPECT_EQ(f.Gl.Count("Vertex3d"), 0);
}

TEST(Trk3DRenderer, TheTrackIsCompiledAtTheFirstPaintAndReplayedAfterwards) {
  Fixture f(StraightTrack(3, 10.0, {Grass, Asphalt}));
  ASSERT_TRUE(f.Renderer.Paint());
  const GlCall* list = f.Gl.Find("NewList");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->Args[1], GL_COMPILE);
  const double list_id = list->Args[0];
  // Only drawing emits vertices; measuring only widens the extent. All the quads share
  // one bracket, and the list is called once compiled.
  EXPECT_EQ(f.Gl.Count("Vertex3d"), 2 * 3 * 4 * 4);
  EXPECT_EQ(f.Gl.Count("Begin"), 1);
  EXPECT_EQ(f.Gl.Find("CallList")->Args[0], list_id);
  EXPECT_TRUE(f.Renderer.IsTrackListValid());

  f.Gl.Reset();
  ASSERT_TRUE(f.Renderer.Paint());
  EXPECT_EQ(f.Gl.Count("NewList"), 0);
  EXPECT_EQ(f.Gl.Count("Vertex3d"), 0);
  ASSERT_NE(f.Gl.Find("CallList"), nullptr);
  EXPECT_EQ(f.Gl.Find("CallList")->Args[0], list_id);

  // Another track object: the old list goes, a new one is compiled.
  f.Gl.Reset();
  f.Renderer.SetTrack(StraightTrack(1, 10.0, {Asphalt}));
  f.Renderer.Paint();
  EXPECT_EQ(f.Gl.Count("DeleteLists"), 1);
  EXPECT_EQ(f.Gl.Count("NewList"), 1);
}

TEST(Trk3DRenderer, AnExceptionMidCompileClosesTheListWhichWaitsForTheNextUpdate) {
  auto track = StraightTrack(1, 10.0, {Asphalt});
  Fixture f(track);
  // Measuring takes four positions; the sixth drawn one is inside the second quad.
  track->Segments[0]->FramesBeforeFailure = 4 + 6;
  f.Renderer.Paint();
  EXPECT_EQ(f.Renderer.TakeMessages(),
            (std::vector<std::string>{"The synthetic track failed on purpose."}));
  EXPECT_FALSE(f.Gl.InPrimitive);
  EXPECT_FALSE(f.Gl.InList);
  EXPECT_FALSE(f.Renderer.IsTrackListValid());
  EXPECT_EQ(f.Gl.Count("DeleteLists"), 1);
  EXPECT_TRUE(f.Gl.QueuedErrors.empty());

  // Paints before an update neither compile nor report again.
  track->Segments[0]->FramesBeforeFailure = -1;
  f.Gl.Reset();
  f.Renderer.Paint();
  EXPECT_TRUE(f.Renderer.TakeMessages().empty());
  EXPECT_EQ(f.Gl.Count("NewList"), 0);
  EXPECT_FALSE(f.Renderer.HasPendingCompile());

  f.Renderer.OnUpdate(NoItemHint);
  f.Gl.Reset();
  f.Renderer.Paint();
  EXPECT_TRUE(f.Renderer.TakeMessages().empty());
  EXPECT_TRUE(f.Renderer.IsTrackListValid());
  EXPECT_EQ(f.Gl.Count("NewList"), 1);
  EXPECT_EQ(f.Gl.Count("EndList"), 1);
  EXPECT_EQ(OfMode(f.Gl.Primitives(), GL_QUADS).size(), 4u); // the extent stays cached
}

TEST(Trk3DRenderer, AGlErrorEndsOneHookAndThePaintGoesOn) {
  Fixture f(StraightTrack(1, 10.0, {Asphalt}));
  f.Gl.QueuedErrors = {GL_INVALID_VALUE};
  EXPECT_TRUE(f.Renderer.Paint());
  EXPECT_EQ(f.Renderer.TakeMessages(),
            (std::vector<std::string>{"An OpenGLError occurred: invalid value"}));
  EXPECT_TRUE(f.Renderer.IsTrackListValid());
}

} // namespace
} // namespace Ostra::DocView
