#include "DocView/GL/Trk3DOverlayRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "DocView/Core/CommandIds.h"
#include "DocView/GLSupport/GlRecorder.h"
#include "DocView/GLSupport/SyntheticTrack.h"
#include "Papy/Types/SurfaceType.h"

namespace Ostra::DocView {
namespace {

using Test::GlCall;
using Test::GlPrimitive;
using Test::GlRecorder;
using Test::MemoryLp;
using Test::RecordingBinder;
using Test::StraightTrack;
using Test::StripShape;

constexpr StripShape Asphalt{-5.0, -5.0, 5.0, 5.0, Papy::SurfaceAsphalt};

std::array<double, 4> Rgba(double r, double g, double b, double a) {
  return {static_cast<float>(r), static_cast<float>(g), static_cast<float>(b),
          static_cast<float>(a)};
}

struct Fixture {
  GlRecorder Gl;
  RecordingBinder Context{&Gl};
  Trk3DOverlayRenderer Renderer{Gl};
  Util::CountedPtr<Test::SyntheticTrack> Track;

  explicit Fixture(double length = 100.0, int segments = 10) {
    Track = StraightTrack(segments, length / segments, {Asphalt});
    Renderer.SetTrack(Track);
    Renderer.AttachContext(&Context);
    Renderer.Resize(200, 200);
  }

  // The calls that compiled the overlay list at the last paint.
  std::vector<GlCall> OverlayCompile() const {
    std::vector<GlCall> calls;
    int lists = 0;
    for (const GlCall& call : Gl.Calls) {
      if (call.Name == "NewList")
        ++lists;
      if (lists > 0 && call.Name != "NewList" && call.Name != "GetError")
        calls.push_back(call);
    }
    return calls;
  }
};

TEST(Trk3DOverlayRenderer, LpColoursComeFromTheLowerCasedFileStem) {
  const struct {
    const char* Path;
    std::array<float, 3> Rgb;
  } cases[] = {
      {"/games/gpl/tracks/monza/Race.lp", {1, 0, 0}},
      {"/games/gpl/tracks/monza/race2.lp", {1, 0, 1}},
      {"/games/gpl/tracks/monza/minrace_old.lp", {1, 0, 1}},
      {"/t/MAXRACE.LCV", {1, 1, 0}},
      {"/t/minpanic.lp", {0, 0, 1}},
      {"/t/pass2.l66", {1, 0.75f, 0}},
      {"/t/pace.lp", {1, 1, 1}},
      {"/t/pit0.lp", {0, 1, 0}},
      {"/t/spot1.lp", {0, 1, 1}},
      {"/t/maxpit1.lp", {0, 1, 1}},
      {"", {1, 0, 1}},
  };
  for (const auto& c : cases) {
    const Papy::Colour colour = LpColourForStem(LpStem(c.Path));
    EXPECT_EQ((std::array{colour.Red, colour.Green, colour.Blue}), c.Rgb) << c.Path;
    EXPECT_EQ(colour.Alpha, 1.0f);
  }
}

TEST(Trk3DOverlayRenderer, AnOverlayWithNothingToShowOnlySwitchesBlending) {
  Fixture f;
  ASSERT_TRUE(f.Renderer.Paint());
  std::vector<std::string> names;
  for (const GlCall& call : f.OverlayCompile())
    names.push_back(call.Name);
  // The track's list first, then the overlay's.
  const auto overlay_start = std::find(names.begin() + 1, names.end(), "Enable");
  EXPECT_EQ(std::vector<std::string>(overlay_start, names.end()),
            (std::vector<std::string>{"Enable", "BlendFunc", "Flush", "Disable", "EndList",
                                      "CallList", "PopMatrix", "Finish", "swap ctx",
                                      "release ctx"}));
}

TEST(Trk3DOverlayRenderer, TheOverlayIsReplayedUntilAnUpdateOrCommandAsksForARebuild) {
  Fixture f;
  f.Renderer.Paint();
  ASSERT_TRUE(f.Renderer.IsOverlayListValid());
  f.Gl.Reset();
  f.Renderer.Paint();
  EXPECT_EQ(f.Gl.Count("CallList"), 2);
  EXPECT_EQ(f.Gl.Count("NewList"), 0);

  for (int command : {int(ID_VIEW_SCALE), int(ID_VIEW_REFRESH), int(ID_VIEW_HEIGHT_400)}) {
    f.Gl.Reset();
    EXPECT_TRUE(f.Renderer.ExecuteCommand(command));
    f.Renderer.Paint();
    EXPECT_EQ(f.Gl.Count("DeleteLists"), 1) << command;
    EXPECT_EQ(f.Gl.Count("NewList"), 1) << command;
  }
  f.Gl.Reset();
  f.Renderer.OnUpdate(NoItemHint);
  f.Renderer.Paint();
  EXPECT_EQ(f.Gl.Count("NewList"), 1);
  EXPECT_FALSE(f.Renderer.ExecuteCommand(5000)); // the toolkit's Open
}

TEST(Trk3DOverlayRenderer, ViewCommandsSwitchTheirToggleAndHeightsCheckOneItem) {
  Fixture f;
  const std::pair<int, bool OverlayToggles::*> toggles[] = {
      {ID_VIEW_LONGITUDINAL_SPEED, &OverlayToggles::ShowLongitudinalSpeed},
      {ID_VIEW_LATERAL_SPEED, &OverlayToggles::ShowLateralSpeed},
      {ID_VIEW_YAW_SPEED, &OverlayToggles::ShowYawSpeed},
      {ID_VIEW_SPEED_MODIFIERS, &OverlayToggles::ShowSpeedModifiers},
      {ID_VIEW_PASS_CHECKPOINT_ZONES, &OverlayToggles::ShowPassCheckpointZones},
      {ID_VIEW_OUTBRAKE_DECISION_POINTS, &OverlayToggles::ShowOutbrakeDecisionPoints},
      {ID_VIEW_START_PASS1_POINTS, &OverlayToggles::ShowStartPass1Points},
      {ID_VIEW_START_PASS2_POINTS, &OverlayToggles::ShowStartPass2Points},
      {ID_VIEW_START_ABRUPT_PASS1_POINTS, &OverlayToggles::ShowStartAbruptPass1Points},
      {ID_VIEW_START_ABRUPT_PASS2_POINTS, &OverlayToggles::ShowStartAbruptPass2Points},
      {ID_VIEW_ABANDON_PASS_POINTS, &OverlayToggles::ShowAbandonPassPoints},
      {ID_VIEW_NO_PASS_ZONES, &OverlayToggles::ShowNoPassZones},
      {ID_VIEW_LONG_STRAIGHTS, &OverlayToggles::ShowLongStraights},
      {ID_VIEW_CORNERING_POINTS, &OverlayToggles::ShowCorneringPoints},
      {ID_VIEW_LEVEL_SPEED_COEFF_POINTS, &OverlayToggles::ShowLevelSpeedCoeffPoints},
      {ID_VIEW_TIRE_WARMUP_POINTS, &OverlayToggles::ShowTireWarmupPoints},
      {ID_VIEW_CONTROL_POINTS, &OverlayToggles::ShowControlPoints},
      {ID_VIEW_CENTRELINE, &OverlayToggles::ShowCentreline},
      {ID_VIEW_SCALE, &OverlayToggles::ShowScale},
  };
  for (const auto& [id, member] : toggles) {
    EXPECT_EQ(f.Renderer.IsCommandChecked(id), false) << id;
    f.Renderer.ExecuteCommand(id);
    EXPECT_TRUE(f.Renderer.Toggles.*member) << id;
    EXPECT_EQ(f.Renderer.IsCommandChecked(id), true) << id;
  }
  f.Renderer.ExecuteCommand(ID_VIEW_CENTRELINE);
  EXPECT_FALSE(f.Renderer.Toggles.ShowCentreline);

  // A height chosen without a selection changes only the check mark.
  EXPECT_EQ(f.Renderer.IsCommandChecked(ID_VIEW_HEIGHT_100), true);
  f.Renderer.ExecuteCommand(ID_VIEW_HEIGHT_800);
  EXPECT_EQ(f.Renderer.GetHeight(), 0.0);
  EXPECT_EQ(f.Renderer.IsCommandChecked(ID_VIEW_HEIGHT_800), true);
  EXPECT_EQ(f.Renderer.IsCommandChecked(ID_VIEW_HEIGHT_100), false);
  EXPECT_FALSE(f.Renderer.IsCommandChecked(ID_VIEW_REFRESH).has_value());

  // With a segment selected the eye goes to the chosen height; the whole track fits again.
  f.Renderer.ExecuteCommand(ID_VIEW_HEIGHT_50);
  f.Renderer.OnUpdate(3 << 16);
  EXPECT_EQ(f.Renderer.GetHeight(), 50.0);
  f.Renderer.Paint();
  EXPECT_EQ(f.Renderer.GetCameraSetting().EyeHeight, 50.0);
  f.Renderer.OnUpdate(WholeTrackHint);
  EXPECT_EQ(f.Renderer.GetHeight(), 0.0);
  f.Renderer.OnUpdate(99 << 16);
  EXPECT_EQ(f.Renderer.GetHeight(), 0.0);
}

// Ten records, spacing 10, on a straight (100 m unless given): record i spans x (i+1)*10
// to (i+2)*10.
struct LpFixture : Fixture {
  explicit LpFixture(double length = 100.0) : Fixture(length, 10) {}
  Util::CountedPtr<MemoryLp> Lp{new MemoryLp(10, 10.0)};
  // The markers' quads on the right half of the band (-4 .. 0).
  std::vector<GlPrimitive> Quads() {
    Gl.Reset();
    Renderer.DrawLp(*Lp, {1.0f, 0.0f, 0.0f, 1.0f});
    std::vector<GlPrimitive> quads;
    for (const GlPrimitive& p : Gl.Primitives()) {
      if (p.Mode == GL_QUAD_STRIP && p.Vertices[0][1] == -4.0)
        quads.push_back(p);
    }
    return quads;
  }
  // The record each quad starts at.
  std::vector<int> QuadRecords() {
    std::vector<int> records;
    for (const GlPrimitive& q : Quads())
      records.push_back(static_cast<int>(q.Vertices[0][0] / 10.0) - 1);
    return records;
  }
};

TEST(Trk3DOverlayRenderer, AZoneOpenAtTheLapsEndIsMarkedFromRecordZero) {
  LpFixture f(200.0);
  f.Renderer.Toggles.ShowNoPassZones = true;
  f.Lp->Records[8].Flags = MemoryLp::StartNoPassZone;
  f.Lp->Records[3].Flags = MemoryLp::EndNoPassZone;
  EXPECT_EQ(f.QuadRecords(), (std::vector<int>{0, 1, 2, 8, 9}));

  // Start and end on one record: nothing marked, and the zone stays closed.
  f.Lp->Records[8].Flags = 0;
  f.Lp->Records[3].Flags = 0;
  f.Lp->Records[4].Flags = MemoryLp::StartNoPassZone | MemoryLp::EndNoPassZone;
  EXPECT_TRUE(f.QuadRecords().empty());

  // Without the capability the zone flags are not followed.
  f.Lp->Records[4].Flags = MemoryLp::StartNoPassZone;
  f.Lp->HasZones = false;
  EXPECT_TRUE(f.QuadRecords().empty());
}

TEST(Trk3DOverlayRenderer, MarkersComeInTableOrderWithTheirHalvesAndColours) {
  LpFixture f;
  f.Renderer.Toggles = {true, true, true, true, true, true, true, true, true, true,
                        true, true, true, true, true, true, false, false, false};
  MemoryLp::Record& r = f.Lp->Records[2];
  r.Flags = MemoryLp::StartSpeedCheckpoint | MemoryLp::OutbrakeDecisionPoint |
            MemoryLp::StartPass1Zone | MemoryLp::StartPass2Zone | MemoryLp::StartAbruptPass1Zone |
            MemoryLp::StartAbruptPass2Zone | MemoryLp::AbandonPass | MemoryLp::StartNoPassZone |
            MemoryLp::StartLongStraight | MemoryLp::InitiateCornering |
            MemoryLp::SetSpeedCoeffTo1 | MemoryLp::TireWarmup;
  r.SpeedModifier = 0.05;
  r.LongitudinalSpeed = 60.0;
  r.LateralSpeed = 0.0;
  r.YawSpeed = 0.25;
  for (std::size_t i = 0; i < f.Lp->Records.size(); ++i) {
    if (i != 2) {
      f.Lp->Records[i].SpeedModifier = 0.0;
      f.Lp->Records[i].YawSpeed = -0.5;
      f.Lp->Records[i].LateralSpeed = 5.0;
      if (i > 2)
        f.Lp->Records[i].Flags = MemoryLp::EndSpeedCheckpoint | MemoryLp::EndNoPassZone |
                                 MemoryLp::EndLongStraight;
    }
  }
  const MarkerStack at2 = MarkersOfRecord(*f.Lp, 2, f.Renderer.Toggles, {true, true, true});
  const struct {
    double A;
    double B;
    std::array<double, 4> Colour;
  } expected[] = {
      {-4, 4, Rgba(1, 1, 1, 0.5)},       // pass checkpoint zone
      {-4, 4, Rgba(1, 1, 1, 0.5)},       // outbrake
      {0, 4, Rgba(1, 1, 1, 0.5)},        // pass 1
      {-4, 0, Rgba(1, 1, 1, 0.5)},       // pass 2
      {0, 4, Rgba(1, 1, 1, 0.5)},        // abrupt pass 1
      {0, 4, Rgba(1, 1, 1, 0.5)},        // abrupt pass 2: the same half
      {-4, 4, Rgba(0, 0, 0, 0.5)},       // abandon pass
      {-4, 4, Rgba(0, 0, 0, 0.5)},       // no-pass zone
      {-4, 4, Rgba(1, 1, 1, 0.5)},       // long straight
      {-4, 4, Rgba(0, 0, 0, 0.5)},       // cornering
      {-4, 4, Rgba(1, 1, 1, 0.5)},       // level speed coefficient
      {-4, 4, Rgba(1, 1, 1, 0.5)},       // tyre warm-up
      {-4, 4, Rgba(1, 0.5, 0.5, 0.5)},   // speed modifier x 10
      {-4, 4, Rgba(1, 0, 0, 0.5)},       // longitudinal speed / 120
      {-4, 0, Rgba(0, 0, 0, 0)},         // lateral speed 0: transparent, on the right
      {0, 4, Rgba(0, 1, 0, 0.25)},       // yaw speed
  };
  ASSERT_EQ(at2.Count, static_cast<int>(std::size(expected)));
  for (int i = 0; i < at2.Count; ++i) {
    const RecordMarker& m = at2.Items[static_cast<std::size_t>(i)];
    EXPECT_EQ(m.RightLatitude, expected[i].A) << i;
    EXPECT_EQ(m.LeftLatitude, expected[i].B) << i;
    EXPECT_EQ((Rgba(m.Colour.Red, m.Colour.Green, m.Colour.Blue, m.Colour.Alpha)),
              expected[i].Colour)
        << i;
  }
  // Elsewhere: no modifier band at 0, lateral speed on the left, negative yaw on the right.
  const MarkerStack at5 = MarkersOfRecord(*f.Lp, 5, f.Renderer.Toggles, {});
  ASSERT_EQ(at5.Count, 3);
  EXPECT_EQ(at5.Items[1].LeftLatitude, 4.0);
  EXPECT_EQ(at5.Items[2].Colour.Blue, 1.0f);
  EXPECT_EQ(at5.Items[2].RightLatitude, -4.0);
}

// Each half's one premultiplied colour, blended over any colour beneath, gives what the
// markers blended one by one would (alphas clamped to 0..1, as GL clamps them).
TEST(Trk3DOverlayRenderer, CompositedHalvesBlendAsTheMarkersOneByOne) {
  const RecordMarker markers[] = {{-4, 4, {1, 0.5f, 0.5f, 10.0f}}, {-4, 4, {1, 0, 0, 0.25f}},
                                  {-4, 0, {0, 0, 1, 0.0f}},         {0, 4, {0, 1, 0, -3.0f}},
                                  {0, 4, {0.5f, 1, 0, 0.5f}}};
  MarkerStack stack;
  for (const RecordMarker& m : markers)
    stack.Add(m.RightLatitude, m.LeftLatitude, m.Colour);
  const MarkerHalves halves = CompositeMarkers(stack);
  EXPECT_TRUE(halves.HasRight && halves.HasLeft);
  for (const double beneath : {0.0, 0.37, 1.0}) {
    for (const bool right : {true, false}) {
      double one_by_one = beneath;
      for (const RecordMarker& m : markers) {
        const double a = std::clamp(static_cast<double>(m.Colour.Alpha), 0.0, 1.0);
        if (right ? m.RightLatitude < 0.0 : m.LeftLatitude > 0.0)
          one_by_one = m.Colour.Red * a + one_by_one * (1.0 - a);
      }
      const Papy::Colour& c = right ? halves.Right : halves.Left;
      EXPECT_NEAR(c.Red + beneath * (1.0 - c.Alpha), one_by_one, 1e-6) << right << beneath;
    }
  }
}

TEST(Trk3DOverlayRenderer, TheDefaultSpeedModifierGivesAnOpaqueBandAndTheLastQuadClosesTheLap) {
  LpFixture f;
  f.Renderer.Toggles.ShowSpeedModifiers = true;
  const auto quads = f.Quads();
  ASSERT_EQ(quads.size(), 10u);
  for (const GlPrimitive& q : quads)
    EXPECT_EQ(q.Colour, Rgba(1, 0.5, 0.5, 1));
  // Record 9 lies at 100 m, the lap's end: its far edge is the lap's start.
  EXPECT_EQ(quads[9].Vertices[0][0], 100.0 - 100.0); // the position wraps to the start
  EXPECT_EQ(quads[9].Vertices[2][0], 0.0);
}

TEST(Trk3DOverlayRenderer, TheLineRunsThroughEveryRecordBackToTheFirstWithControlPointsOnRequest) {
  LpFixture f;
  f.Lp->Records[4].Latitude = 2.5;
  f.Lp->Records[7].Flags = MemoryLp::ControlPoint;
  f.Renderer.Toggles.ShowControlPoints = true;
  f.Quads();
  const auto primitives = f.Gl.Primitives();
  ASSERT_EQ(primitives.size(), 2u);
  EXPECT_EQ(primitives[0].Mode, GL_LINE_STRIP);
  ASSERT_EQ(primitives[0].Vertices.size(), 11u);
  EXPECT_EQ(primitives[0].Vertices.back(), primitives[0].Vertices.front());
  EXPECT_EQ(primitives[0].Vertices[4][1], 2.5);
  EXPECT_EQ(primitives[0].Colour, Rgba(1, 0, 0, 1));
  EXPECT_EQ(primitives[1].Mode, GL_POINTS);
  ASSERT_EQ(primitives[1].Vertices.size(), 1u);
  EXPECT_EQ(primitives[1].Vertices[0][0], 80.0);
  EXPECT_EQ(f.Gl.Find("PointSize")->Args[0], 6.0);
}

TEST(Trk3DOverlayRenderer, TheScaleTicksEveryTenMetresWithLongerTicksAtRoundDistances) {
  Fixture f(1234.0, 1);
  f.Renderer.DrawScale({1, 1, 1, 1});
  const auto ticks = f.Gl.Primitives();
  ASSERT_EQ(ticks.size(), 124u); // 0, 10, ..., 1230
  std::map<int, double> half;
  for (const GlPrimitive& t : ticks) {
    EXPECT_EQ(t.Mode, GL_LINES);
    half[static_cast<int>(t.Vertices[0][0])] = t.Vertices[1][1];
    EXPECT_EQ(t.Vertices[0][1], -t.Vertices[1][1]);
  }
  EXPECT_EQ(half.rbegin()->first, 1230);
  for (auto [k, h] : {std::pair{0, 3.0}, {1000, 3.0}, {500, 2.0}, {100, 1.5}, {1200, 1.5},
                      {50, 1.0}, {150, 1.0}, {10, 0.5}, {1230, 0.5}})
    EXPECT_EQ(half[k], h) << k;
}

TEST(Trk3DOverlayRenderer, TheOutlineFollowsTheOuterStripEdgesAndNeedsAStrip) {
  Fixture f(100.0, 10);
  f.Track->Segments[2]->Strips = {{-6.0, -6.0, -1.0, -1.0, 3}, {-1.0, -1.0, 4.0, 7.0, 0}};
  f.Renderer.DrawSegmentOutline(2, {1, 0, 0, 1});
  const auto outline = f.Gl.Primitives();
  ASSERT_EQ(outline.size(), 1u);
  std::vector<std::array<double, 2>> points;
  for (const auto& v : outline[0].Vertices)
    points.push_back({v[0] - 20.0, v[1]});
  const std::vector<std::array<double, 2>> expected{
      {0, -6}, {3, -6}, {6, -6},   {9, -6}, {10, -6},  {10, 7},
      {7, 6.1}, {4, 5.2}, {1, 4.3}, {0, 4},   {0, -6}};
  ASSERT_EQ(points.size(), expected.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_DOUBLE_EQ(points[i][0], expected[i][0]) << i;
    EXPECT_NEAR(points[i][1], expected[i][1], 1e-12) << i;
  }

  f.Gl.Reset();
  f.Track->Segments[3]->Strips.clear();
  f.Renderer.DrawSegmentOutline(3, {1, 0, 0, 1});
  f.Renderer.DrawSegmentOutline(10, {1, 0, 0, 1});
  f.Renderer.DrawSegmentOutline(-1, {1, 0, 0, 1});
  EXPECT_TRUE(f.Gl.Calls.empty());
}

TEST(Trk3DOverlayRenderer, LinkedLpsAndTheSelectionOutlineGoIntoTheOverlayList) {
  Fixture f;
  Util::CountedPtr<MemoryLp> race(new MemoryLp(10, 10.0));
  Util::CountedPtr<MemoryLp> other(new MemoryLp(5, 20.0));
  f.Renderer.SetLinkedLps({{"/t/race.lp", race}, {"/t/Pit.lp", other}});
  f.Renderer.OnUpdate(2 << 16);
  f.Renderer.Paint();
  std::vector<std::pair<GLenum, std::array<double, 4>>> drawn;
  bool overlay = false;
  GlRecorder replay;
  replay.Calls = f.OverlayCompile();
  for (const GlPrimitive& p : replay.Primitives()) {
    overlay = overlay || p.Mode == GL_LINE_STRIP;
    if (overlay)
      drawn.push_back({p.Mode, p.Colour});
  }
  EXPECT_EQ(drawn, (std::vector<std::pair<GLenum, std::array<double, 4>>>{
                       {GL_LINE_STRIP, Rgba(1, 0, 0, 1)},    // the selected segment
                       {GL_LINE_STRIP, Rgba(1, 0, 0, 1)},    // race.lp
                       {GL_LINE_STRIP, Rgba(0, 1, 0, 1)}})); // Pit.lp
}

// Mesa's list compiler raises a bogus GL error when a list's first primitive has no
// colour of its own and a later one has; every primitive therefore sets its colour.
TEST(Trk3DOverlayRenderer, EveryPrimitiveSetsItsColourInsideItsBracket) {
  Fixture f;
  Util::CountedPtr<MemoryLp> lp(new MemoryLp(10, 10.0));
  lp->Records[3].Flags = MemoryLp::ControlPoint | MemoryLp::OutbrakeDecisionPoint;
  f.Renderer.SetLinkedLps({{"/t/race.lp", lp}});
  for (int id = 0; id < 0x7FFF; ++id) {
    if (ToggleForCommand(id) != nullptr)
      f.Renderer.ExecuteCommand(id);
  }
  f.Renderer.OnUpdate(4 << 16);
  f.Renderer.Paint();
  ASSERT_TRUE(f.Renderer.IsOverlayListValid());
  int primitives = 0;
  for (std::size_t i = 0; i + 1 < f.Gl.Calls.size(); ++i) {
    if (f.Gl.Calls[i].Name != "Begin")
      continue;
    ++primitives;
    const std::string& next = f.Gl.Calls[i + 1].Name;
    EXPECT_TRUE(next == "Color3d" || next == "Color4d") << "call " << i << ": " << next;
  }
  EXPECT_GE(primitives, 4); // outline, markers, line, points
}

TEST(Trk3DOverlayRenderer, AnOverlayWhoseCompileThrewWaitsForTheNextUpdateOrCommand) {
  Fixture f;
  f.Renderer.Paint();
  f.Renderer.ExecuteCommand(ID_VIEW_CENTRELINE);
  for (auto& segment : f.Track->Segments)
    segment->FramesBeforeFailure = 3;
  f.Gl.Reset();
  f.Renderer.Paint();
  EXPECT_EQ(f.Renderer.TakeMessages(),
            (std::vector<std::string>{"The synthetic track failed on purpose."}));
  EXPECT_FALSE(f.Renderer.IsOverlayListValid());
  EXPECT_FALSE(f.Gl.InList);
  EXPECT_FALSE(f.Gl.InPrimitive);

  for (auto& segment : f.Track->Segments)
    segment->FramesBeforeFailure = -1;
  f.Gl.Reset();
  f.Renderer.Paint();
  EXPECT_EQ(f.Gl.Count("NewList"), 0);
  EXPECT_EQ(f.Gl.Count("CallList"), 1); // the track alone

  f.Renderer.ExecuteCommand(ID_VIEW_REFRESH);
  f.Gl.Reset();
  f.Renderer.Paint();
  EXPECT_TRUE(f.Renderer.TakeMessages().empty());
  EXPECT_TRUE(f.Renderer.IsOverlayListValid());
  EXPECT_EQ(f.Gl.Count("NewList"), 1);
}

} // namespace
} // namespace Ostra::DocView
