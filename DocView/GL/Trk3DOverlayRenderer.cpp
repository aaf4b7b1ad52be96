#include "DocView/GL/Trk3DOverlayRenderer.h"

#include <cmath>
#include <optional>

#include "DocView/Core/CommandIds.h"
#include "DocView/GL/GlError.h"
#include "DocView/GL/GlGuards.h"
#include "Util/PathName.h"
#include "Util/StringUtil.h"

namespace Ostra::DocView {

using OpenGL::CheckGLError;
using OpenGL::ListCompileScope;
using OpenGL::PrimitiveBatch;
using OpenGL::PrimitiveScope;
using Papy::Colour;

bool OverlayToggles::*ToggleForCommand(int command_id) {
  switch (command_id) {
  case ID_VIEW_LONGITUDINAL_SPEED:
    return &OverlayToggles::ShowLongitudinalSpeed;
  case ID_VIEW_LATERAL_SPEED:
    return &OverlayToggles::ShowLateralSpeed;
  case ID_VIEW_YAW_SPEED:
    return &OverlayToggles::ShowYawSpeed;
  case ID_VIEW_SPEED_MODIFIERS:
    return &OverlayToggles::ShowSpeedModifiers;
  case ID_VIEW_PASS_CHECKPOINT_ZONES:
    return &OverlayToggles::ShowPassCheckpointZones;
  case ID_VIEW_OUTBRAKE_DECISION_POINTS:
    return &OverlayToggles::ShowOutbrakeDecisionPoints;
  case ID_VIEW_START_PASS1_POINTS:
    return &OverlayToggles::ShowStartPass1Points;
  case ID_VIEW_START_PASS2_POINTS:
    return &OverlayToggles::ShowStartPass2Points;
  case ID_VIEW_START_ABRUPT_PASS1_POINTS:
    return &OverlayToggles::ShowStartAbruptPass1Points;
  case ID_VIEW_START_ABRUPT_PASS2_POINTS:
    return &OverlayToggles::ShowStartAbruptPass2Points;
  case ID_VIEW_ABANDON_PASS_POINTS:
    return &OverlayToggles::ShowAbandonPassPoints;
  case ID_VIEW_NO_PASS_ZONES:
    return &OverlayToggles::ShowNoPassZones;
  case ID_VIEW_LONG_STRAIGHTS:
    return &OverlayToggles::ShowLongStraights;
  case ID_VIEW_CORNERING_POINTS:
    return &OverlayToggles::ShowCorneringPoints;
  case ID_VIEW_LEVEL_SPEED_COEFF_POINTS:
    return &OverlayToggles::ShowLevelSpeedCoeffPoints;
  case ID_VIEW_TIRE_WARMUP_POINTS:
    return &OverlayToggles::ShowTireWarmupPoints;
  case ID_VIEW_CONTROL_POINTS:
    return &OverlayToggles::ShowControlPoints;
  case ID_VIEW_CENTRELINE:
    return &OverlayToggles::ShowCentreline;
  case ID_VIEW_SCALE:
    return &OverlayToggles::ShowScale;
  default:
    return nullptr;
  }
}

double HeightForCommand(int command_id) {
  switch (command_id) {
  case ID_VIEW_HEIGHT_800:
    return 800.0;
  case ID_VIEW_HEIGHT_400:
    return 400.0;
  case ID_VIEW_HEIGHT_200:
    return 200.0;
  case ID_VIEW_HEIGHT_100:
    return 100.0;
  case ID_VIEW_HEIGHT_50:
    return 50.0;
  default:
    return 0.0;
  }
}

std::string LpStem(const std::string& path) {
  if (path.empty())
    return {};
  return Util::ToLower(Util::PathName(path).GetBaseName());
}

Colour LpColourForStem(const std::string& stem) {
  if (stem == "race")
    return {1.0f, 0.0f, 0.0f, 1.0f};
  if (stem == "minrace" || stem == "maxrace")
    return {1.0f, 1.0f, 0.0f, 1.0f};
  if (stem == "minpanic" || stem == "maxpanic")
    return {0.0f, 0.0f, 1.0f, 1.0f};
  if (stem == "pass1" || stem == "pass2")
    return {1.0f, 0.75f, 0.0f, 1.0f};
  if (stem == "pace")
    return {1.0f, 1.0f, 1.0f, 1.0f};
  if (stem == "pit" || stem == "pit0" || stem == "pit1")
    return {0.0f, 1.0f, 0.0f, 1.0f};
  if (stem == "minpit0" || stem == "minpit1" || stem == "maxpit0" || stem == "maxpit1" ||
      stem == "spot1")
    return {0.0f, 1.0f, 1.0f, 1.0f};
  return {1.0f, 0.0f, 1.0f, 1.0f};
}

void MarkerStack::Add(double right_latitude, double left_latitude, const Colour& colour) {
  if (Count < static_cast<int>(Items.size()))
    Items[static_cast<std::size_t>(Count++)] = {right_latitude, left_latitude, colour};
}

MarkerStack MarkersOfRecord(const Papy::LpFile& lp, U32 i, const OverlayToggles& t,
                            const ZoneStates& zones) {
  const Colour white(1.0f, 1.0f, 1.0f, 0.5f);
  const Colour black(0.0f, 0.0f, 0.0f, 0.5f);
  MarkerStack stack;
  if (t.ShowPassCheckpointZones && zones.SpeedCheckpoints)
    stack.Add(-4.0, 4.0, white);
  if (t.ShowOutbrakeDecisionPoints && lp.IsOutbrakeDecisionPoint(i))
    stack.Add(-4.0, 4.0, white);
  if (t.ShowStartPass1Points && lp.IsStartPass1Zone(i))
    stack.Add(0.0, 4.0, white);
  if (t.ShowStartPass2Points && lp.IsStartPass2Zone(i))
    stack.Add(-4.0, 0.0, white);
  if (t.ShowStartAbruptPass1Points && lp.IsStartAbruptPass1Zone(i))
    stack.Add(0.0, 4.0, white);
  // The same half as abrupt pass 1: that is where these markers have always been.
  if (t.ShowStartAbruptPass2Points && lp.IsStartAbruptPass2Zone(i))
    stack.Add(0.0, 4.0, white);
  if (t.ShowAbandonPassPoints && lp.IsAbandonPass(i))
    stack.Add(-4.0, 4.0, black);
  if (t.ShowNoPassZones && zones.NoPassZone)
    stack.Add(-4.0, 4.0, black);
  if (t.ShowLongStraights && zones.LongStraight)
    stack.Add(-4.0, 4.0, white);
  if (t.ShowCorneringPoints && lp.IsInitiateCornering(i))
    stack.Add(-4.0, 4.0, black);
  if (t.ShowLevelSpeedCoeffPoints && lp.IsSetSpeedCoeffTo1(i))
    stack.Add(-4.0, 4.0, white);
  if (t.ShowTireWarmupPoints && lp.IsTireWarmup(i))
    stack.Add(-4.0, 4.0, white);
  if (t.ShowSpeedModifiers) {
    // Any modifier of 0.1 or more is opaque.
    const double m = lp.GetRecordSpeedModifier(i);
    if (m > 0.0)
      stack.Add(-4.0, 4.0, Colour(1.0f, 0.5f, 0.5f, static_cast<F32>(m * 10.0)));
  }
  if (t.ShowLongitudinalSpeed) {
    const double v = lp.GetRecordLongitudinalSpeed(i);
    stack.Add(-4.0, 4.0, Colour(1.0f, 0.0f, 0.0f, static_cast<F32>(v / 120.0)));
  }
  if (t.ShowLateralSpeed) {
    const double v = lp.GetRecordLateralSpeed(i);
    if (v > 0.0)
      stack.Add(0.0, 4.0, Colour(0.0f, 1.0f, 0.0f, static_cast<F32>(v / 10.0)));
    else
      stack.Add(-4.0, 0.0, Colour(0.0f, 0.0f, 1.0f, static_cast<F32>(v / -10.0)));
  }
  if (t.ShowYawSpeed) {
    const double v = lp.GetRecordYawSpeed(i);
    if (v > 0.0)
      stack.Add(0.0, 4.0, Colour(0.0f, 1.0f, 0.0f, static_cast<F32>(v)));
    else
      stack.Add(-4.0, 0.0, Colour(0.0f, 0.0f, 1.0f, static_cast<F32>(-v)));
  }
  return stack;
}

namespace {

// GL clamps a colour's components to 0..1 before blending; a NaN gives 0 here.
double Unit(F32 value) { return value > 0.0f ? (value < 1.0f ? value : 1.0) : 0.0; }

// The colour c blended with source alpha over what a premultiplied stack below shows.
void Over(Colour& below, const Colour& c) {
  const double a = Unit(c.Alpha);
  below.Red = static_cast<F32>(Unit(c.Red) * a + below.Red * (1.0 - a));
  below.Green = static_cast<F32>(Unit(c.Green) * a + below.Green * (1.0 - a));
  below.Blue = static_cast<F32>(Unit(c.Blue) * a + below.Blue * (1.0 - a));
  below.Alpha = static_cast<F32>(a + below.Alpha * (1.0 - a));
}

} // namespace

MarkerHalves CompositeMarkers(const MarkerStack& stack) {
  MarkerHalves halves;
  for (int k = 0; k < stack.Count; ++k) {
    const RecordMarker& marker = stack.Items[static_cast<std::size_t>(k)];
    if (marker.RightLatitude < 0.0) {
      Over(halves.Right, marker.Colour);
      halves.HasRight = true;
    }
    if (marker.LeftLatitude > 0.0) {
      Over(halves.Left, marker.Colour);
      halves.HasLeft = true;
    }
  }
  return halves;
}

Trk3DOverlayRenderer::Trk3DOverlayRenderer(OpenGL::GlApi& gl) : Trk3DRenderer(gl) {}

void Trk3DOverlayRenderer::OnUpdate(TrackItemHint hint) {
  RebuildOverlays = true;
  OverlayCompileFailed = false;
  if (hint != NoItemHint)
    SetHeight(hint != WholeTrackHint ? HeightSetting : 0.0);
  Trk3DRenderer::OnUpdate(hint);
  // A hint naming no segment of this track selects nothing; it must not leave the eye
  // at the selection's height over the whole track.
  if (hint != NoItemHint && SelectedSegment == -1)
    SetHeight(0.0);
}

void Trk3DOverlayRenderer::Rebuild() {
  SetHeight(SelectedSegment != -1 ? HeightSetting : 0.0);
  RebuildOverlays = true;
  OverlayCompileFailed = false;
  ForgetReportedFailures();
}

bool Trk3DOverlayRenderer::ExecuteCommand(int command_id) {
  if (bool OverlayToggles::*toggle = ToggleForCommand(command_id)) {
    Toggles.*toggle = !(Toggles.*toggle);
  } else if (const double height = HeightForCommand(command_id); height != 0.0) {
    HeightSetting = height;
  } else if (command_id != ID_VIEW_REFRESH) {
    return false;
  }
  Rebuild();
  return true;
}

std::optional<bool> Trk3DOverlayRenderer::IsCommandChecked(int command_id) const {
  if (bool OverlayToggles::*toggle = ToggleForCommand(command_id))
    return Toggles.*toggle;
  if (const double height = HeightForCommand(command_id); height != 0.0)
    return height == HeightSetting;
  return std::nullopt;
}

void Trk3DOverlayRenderer::DeleteDisplayList() {
  DeleteOverlayList();
  Trk3DRenderer::DeleteDisplayList();
}

void Trk3DOverlayRenderer::DeleteOverlayList() {
  OverlayCompileFailed = false;
  if (!OverlayListValid)
    return;
  OverlayListValid = false;
  Gl.DeleteLists(OverlayList, 1);
  CheckGLError(Gl);
}

void Trk3DOverlayRenderer::BuildDisplayList() {
  // A compile that failed waits for the next update or command: compiling it again at
  // every paint would fail again, at the cost of the whole compile each time.
  if (OverlayCompileFailed)
    return;
  if (RebuildOverlays)
    DeleteOverlayList();
  if (!OverlayListValid)
    CompileOverlays();
  Gl.CallList(OverlayList);
  CheckGLError(Gl);
}

void Trk3DOverlayRenderer::CompileOverlays() {
  OverlayCompileFailed = true;
  const GLuint list = OpenGL::GenerateList(Gl);
  // An exception from here on ends and deletes the partial list.
  ListCompileScope compile(Gl, list);
  CheckGLError(Gl);
  Gl.Enable(GL_BLEND);
  CheckGLError(Gl);
  // Premultiplied: the markers come composited (CompositeMarkers); every other colour here
  // is opaque, which this blends exactly as source-alpha blending would.
  Gl.BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  CheckGLError(Gl);
  if (SelectedSegment != -1)
    DrawSegmentOutline(SelectedSegment, {1.0f, 0.0f, 0.0f, 1.0f});
  if (Toggles.ShowCentreline)
    DrawCentreline({1.0f, 1.0f, 1.0f, 1.0f});
  if (Toggles.ShowScale)
    DrawScale({1.0f, 1.0f, 1.0f, 1.0f});
  for (const LinkedLp& linked : LinkedLps) {
    if (!linked.Lp.IsNull())
      DrawLp(*linked.Lp, LpColourForStem(LpStem(linked.Path)));
  }
  Gl.Flush();
  CheckGLError(Gl);
  Gl.Disable(GL_BLEND);
  CheckGLError(Gl);
  compile.Commit();
  OverlayList = list;
  OverlayListValid = true;
  CheckGLError(Gl);
  RebuildOverlays = false;
  OverlayCompileFailed = false;
}

void Trk3DOverlayRenderer::TrackVertex(double distance, double latitude) {
  const Papy::Point3D p = Track->GetPosition(distance, latitude);
  EmitVertex(p.X, p.Y, 0.0, true);
}

void Trk3DOverlayRenderer::DrawLp(const Papy::LpFile& lp, const Colour& colour) {
  const U32 count = lp.GetRecordCount();
  ZoneStates zones;
  std::vector<BandPiece> right_band;
  std::vector<BandPiece> left_band;
  // The first pass only carries the zone states round the lap, so that a zone still open
  // at the lap's end is open at record 0.
  for (int pass = 0; pass < 2; ++pass) {
    for (U32 i = 0; i < count; ++i) {
      if (lp.HasSpeedCheckpoints()) {
        if (lp.IsStartSpeedCheckpoint(i))
          zones.SpeedCheckpoints = true;
        if (lp.IsEndSpeedCheckpoint(i))
          zones.SpeedCheckpoints = false;
      }
      if (lp.HasLongStraight()) {
        if (lp.IsStartLongStraight(i))
          zones.LongStraight = true;
        if (lp.IsEndLongStraight(i))
          zones.LongStraight = false;
      }
      if (lp.HasNoPassZone()) {
        if (lp.IsStartNoPassZone(i))
          zones.NoPassZone = true;
        if (lp.IsEndNoPassZone(i))
          zones.NoPassZone = false;
      }
      if (pass == 0)
        continue;
      const MarkerHalves halves = CompositeMarkers(MarkersOfRecord(lp, i, Toggles, zones));
      if (!halves.HasRight && !halves.HasLeft)
        continue;
      const double start = lp.GetRecordLongitude(i);
      double end = start + lp.GetRecordSpacing();
      // The last record's markers close onto the start of the lap.
      if (Track->GetLength2D() < end)
        end = 0.0;
      if (halves.HasRight)
        right_band.push_back({start, end, halves.Right});
      if (halves.HasLeft)
        left_band.push_back({start, end, halves.Left});
    }
  }
  if (!right_band.empty() || !left_band.empty()) {
    // The halves never overlap, so drawing one after the other keeps the picture.
    Gl.ShadeModel(GL_FLAT);
    DrawBand(right_band, -4.0, 0.0);
    DrawBand(left_band, 0.0, 4.0);
    Gl.ShadeModel(GL_SMOOTH);
    CheckGLError(Gl);
  }
  {
    PrimitiveScope line(Gl, GL_LINE_STRIP);
    Gl.Color3d(colour.Red, colour.Green, colour.Blue);
    for (U32 i = 0; i < count; ++i)
      TrackVertex(lp.GetRecordLongitude(i), lp.GetRecordLatitude(i));
    if (count > 0)
      TrackVertex(lp.GetRecordLongitude(0), lp.GetRecordLatitude(0));
    line.End();
  }
  if (Toggles.ShowControlPoints) {
    Gl.PointSize(6.0f);
    PrimitiveScope points(Gl, GL_POINTS);
    Gl.Color3d(colour.Red, colour.Green, colour.Blue);
    for (U32 i = 0; i < count; ++i) {
      if (lp.IsControlPoint(i))
        TrackVertex(lp.GetRecordLongitude(i), lp.GetRecordLatitude(i));
    }
    points.End();
  }
  CheckGLError(Gl);
}

void Trk3DOverlayRenderer::DrawBand(const std::vector<BandPiece>& pieces, double right,
                                    double left) {
  // One quad strip while the records follow on; each quad takes the colour of its last
  // vertex (flat shading), set just before it.
  std::optional<PrimitiveScope> strip;
  double joint = 0.0;
  int vertices = 0;
  for (const BandPiece& piece : pieces) {
    const bool follows = std::abs(piece.Start - joint) <= BandJoinTolerance;
    if (!strip || !follows || vertices + 2 > PrimitiveBatch::MaxVertices) {
      const double start = strip && follows ? joint : piece.Start;
      if (strip) {
        strip->End();
        strip.reset();
        CheckGLError(Gl);
      }
      strip.emplace(Gl, GL_QUAD_STRIP);
      Gl.Color4d(piece.Colour.Red, piece.Colour.Green, piece.Colour.Blue, piece.Colour.Alpha);
      TrackVertex(start, right);
      TrackVertex(start, left);
      vertices = 2;
    }
    TrackVertex(piece.End, right);
    Gl.Color4d(piece.Colour.Red, piece.Colour.Green, piece.Colour.Blue, piece.Colour.Alpha);
    TrackVertex(piece.End, left);
    vertices += 2;
    joint = piece.End;
  }
  if (strip) {
    strip->End();
    CheckGLError(Gl);
  }
}

void Trk3DOverlayRenderer::DrawSegmentOutline(int index, const Colour& colour) {
  const Util::CountedPtr<Papy::TrackSegment> segment = SegmentOrNull(index);
  if (segment.IsNull())
    return;
  // A segment without strips has no edges to outline.
  const U32 strips = segment->GetFSectionCount();
  if (strips == 0)
    return;
  const double length = segment->GetLength2D();
  if (!(length > 0.0 && length <= MaxWalkedLength))
    return;
  const Util::CountedPtr<Papy::TrackFSection> first = segment->GetFSection(0);
  const Util::CountedPtr<Papy::TrackFSection> last = segment->GetFSection(strips - 1);
  const double right_start = first->GetRightStartLatitude();
  const double right_end = first->GetRightEndLatitude();
  const double left_start = last->GetLeftStartLatitude();
  const double left_end = last->GetLeftEndLatitude();
  auto vertex = [&](double d, double latitude) {
    const Papy::Point3D p = segment->GetPosition(d, latitude);
    EmitVertex(p.X, p.Y, 0.0, true);
  };

  // The colour goes inside the bracket, as in every other primitive here: Mesa's display
  // list compiler reports a bogus error when a list's first primitive carries no colour
  // and a later one does.
  PrimitiveScope line(Gl, GL_LINE_STRIP);
  Gl.Color3d(colour.Red, colour.Green, colour.Blue);
  vertex(0.0, right_start);
  double d = 0.0;
  do {
    const double end = d + 3.0 > length ? length : d + 3.0;
    vertex(end, right_start + (right_end - right_start) * end / length);
    d += 3.0;
  } while (d < length);
  vertex(length, left_end);
  d = length;
  do {
    const double start = d - 3.0 < 0.0 ? 0.0 : d - 3.0;
    vertex(start, left_start + (left_end - left_start) * start / length);
    d -= 3.0;
  } while (d > 0.0);
  vertex(0.0, right_start);
  line.End();
  CheckGLError(Gl);
}

void Trk3DOverlayRenderer::DrawCentreline(const Colour& colour) {
  const double length = Track->GetLength2D();
  PrimitiveScope line(Gl, GL_LINE_STRIP);
  Gl.Color3d(colour.Red, colour.Green, colour.Blue);
  if (length > 0.0 && length <= MaxWalkedLength) {
    for (double d = 0.0; length > d; d += 1.0)
      TrackVertex(d, 0.0);
    TrackVertex(0.0, 0.0);
  }
  line.End();
  CheckGLError(Gl);
}

void Trk3DOverlayRenderer::DrawScale(const Colour& colour) {
  const double length = Track->GetLength2D();
  if (!(length > 0.0 && length <= MaxWalkedLength))
    return;
  PrimitiveBatch ticks(Gl);
  long long k = 0;
  do {
    const double half = k % 1000 == 0 ? 3.0
                        : k % 500 == 0 ? 2.0
                        : k % 100 == 0 ? 1.5
                        : k % 50 == 0  ? 1.0
                                       : 0.5;
    ticks.Shape(GL_LINES, 2);
    Gl.Color3d(colour.Red, colour.Green, colour.Blue);
    TrackVertex(static_cast<double>(k), -half);
    TrackVertex(static_cast<double>(k), half);
    k += 10;
  } while (static_cast<double>(k) < length);
  ticks.End();
}

} // namespace Ostra::DocView
