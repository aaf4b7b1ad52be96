#include "DocView/GL/Trk3DRenderer.h"

#include <cmath>
#include <cstdint>

#include "DocView/GL/GlError.h"
#include "DocView/GL/GlGuards.h"
#include "Papy/Types/SurfaceType.h"

namespace Ostra::DocView {

using OpenGL::CheckGLError;
using OpenGL::ListCompileScope;
using OpenGL::PrimitiveBatch;
using Papy::Colour;

void TrackBox::Include(double x, double y, double z) {
  if (x < MinX)
    MinX = x;
  if (x > MaxX)
    MaxX = x;
  if (y < MinY)
    MinY = y;
  if (y > MaxY)
    MaxY = y;
  if (z < MinZ)
    MinZ = z;
  if (z > MaxZ)
    MaxZ = z;
}

TrackBox TrackBox::Around(double x, double y) {
  TrackBox box;
  box.MinX = x - 100.0;
  box.MaxX = x + 100.0;
  box.MinY = y - 100.0;
  box.MaxY = y + 100.0;
  box.MinZ = 0.0;
  box.MaxZ = 0.0;
  return box;
}

CameraSetting ComputeCameraSetting(const TrackBox& bounds, double aspect_ratio, double height,
                                   bool focus, double focus_x, double focus_y) {
  CameraSetting camera;
  if (focus) {
    camera.CentreX = focus_x;
    camera.CentreY = focus_y;
  } else {
    camera.CentreX = (bounds.MinX + bounds.MaxX) / 2.0;
    camera.CentreY = (bounds.MinY + bounds.MaxY) / 2.0;
  }
  if (height == 0.0) {
    const double tall = bounds.MaxY - bounds.MinY;
    const double wide = aspect_ratio > 0.0 ? (bounds.MaxX - bounds.MinX) / aspect_ratio
                                           : bounds.MaxX - bounds.MinX;
    double span = tall > wide ? tall : wide;
    // A point-sized extent would put the near plane on the eye.
    if (!(span > 0.0))
      span = 200.0;
    camera.NearDistance = span / 1.8;
    camera.EyeHeight = bounds.MaxZ + camera.NearDistance;
  } else {
    camera.EyeHeight = height;
    camera.NearDistance = height - bounds.MaxZ;
  }
  camera.FarDistance = camera.NearDistance + bounds.MaxZ - bounds.MinZ;
  return camera;
}

Colour SurfaceColour(int surface_type) {
  switch (surface_type) {
  case Papy::SurfaceAsphalt:
    return {0.6f, 0.6f, 0.6f, 1.0f};
  case Papy::SurfaceConcrete:
    return {0.8f, 0.8f, 0.8f, 1.0f};
  case Papy::SurfaceDirt:
    return {0.7f, 0.6f, 0.4f, 1.0f};
  case Papy::SurfaceGrass:
    return {0.2f, 0.8f, 0.2f, 1.0f};
  case Papy::SurfaceGravel:
    return {0.8f, 0.7f, 0.5f, 1.0f};
  case Papy::SurfacePaint:
    return {1.0f, 1.0f, 0.0f, 1.0f};
  case Papy::SurfaceRumbleStrip:
    return {1.0f, 0.0f, 0.0f, 1.0f};
  case Papy::SurfaceSand:
    return {1.0f, 0.9f, 0.7f, 1.0f};
  case Papy::SurfaceTrainTrack:
    return {0.6f, 0.5f, 0.4f, 1.0f};
  default: // invisible, unknown, unreachable, water and numbers outside the list
    return {0.0f, 0.0f, 1.0f, 1.0f};
  }
}

int SurfaceLayer(int surface_type) {
  return surface_type == Papy::SurfaceAsphalt || surface_type == Papy::SurfaceConcrete ||
                 surface_type == Papy::SurfacePaint
             ? 1
             : 0;
}

Colour GripColour(int surface_type, int grip_modifier) {
  const Colour colour = SurfaceColour(surface_type);
  const double factor = 1.0 - 0.01 * grip_modifier;
  return {static_cast<F32>(colour.Red * factor), static_cast<F32>(colour.Green * factor),
          static_cast<F32>(colour.Blue * factor), 1.0f};
}

Colour WallColour(int wall_type) {
  switch (wall_type) {
  case Papy::WallArmco:
  case Papy::WallArmcoLeft:
  case Papy::WallArmcoRight:
    return {0.4f, 0.4f, 0.4f, 1.0f};
  case Papy::WallConcrete:
  case Papy::WallConcreteWithFence:
    return {0.6f, 0.6f, 0.6f, 1.0f};
  case Papy::WallForest:
    return {0.2f, 0.8f, 0.3f, 1.0f};
  case Papy::WallHayBales:
    return {0.9f, 0.9f, 0.5f, 1.0f};
  case Papy::WallShrubs:
    return {0.2f, 0.6f, 0.2f, 1.0f};
  case Papy::WallTyres:
    return {0.3f, 0.3f, 0.3f, 1.0f};
  case Papy::WallWireFence:
  case Papy::WallWireFenceLeft:
  case Papy::WallWireFenceRight:
    return {0.0f, 0.0f, 0.0f, 1.0f};
  case Papy::WallWood:
    return {0.6f, 0.6f, 0.3f, 1.0f};
  default: // invisible, unknown and numbers outside the list
    return {0.0f, 0.0f, 0.6f, 1.0f};
  }
}

namespace {

// Calls piece(d0, d1) for consecutive pieces of step metres from 0, the last one
// shortened to end exactly at length. d advances by repeated addition, as the pieces
// of a strip and of its neighbours must meet.
template <class Piece>
void WalkPieces(double length, double step, Piece&& piece) {
  double d = 0.0;
  do {
    const double d1 = d + step > length ? length : d + step;
    piece(d, d1);
    d += step;
  } while (d < length);
}

bool Walkable(double length) { return length > 0.0 && length <= MaxWalkedLength; }

} // namespace

Trk3DRenderer::Trk3DRenderer(OpenGL::GlApi& gl) : GlViewCore(gl) {}

void Trk3DRenderer::SetTrack(const Util::CountedPtr<Papy::Track>& track) {
  if (track == Track)
    return;
  Track = track;
  BoundsValid = false;
  SelectedSegment = -1;
  TrackListFailed = false;
  if (TrackListValid)
    TrackListStale = true;
}

void Trk3DRenderer::OnUpdate(TrackItemHint hint) {
  ForgetReportedFailures();
  TrackListFailed = false;
  if (hint == NoItemHint)
    return;
  if (hint == WholeTrackHint) {
    SelectedSegment = -1;
    return;
  }
  // The segment field read as unsigned, so that a hint with its top bit set cannot
  // come out negative; field 0 names no segment.
  const std::uint32_t field = static_cast<std::uint32_t>(hint) >> 16;
  SelectedSegment = field == 0 ? -1 : static_cast<int>(field - 1);
  if (!Track.IsNull() && !IsSegment(SelectedSegment))
    SelectedSegment = -1;
}

bool Trk3DRenderer::IsSegment(int index) const {
  return !Track.IsNull() && index >= 0 && static_cast<U32>(index) < Track->GetSegmentCount();
}

Util::CountedPtr<Papy::TrackSegment> Trk3DRenderer::SegmentOrNull(int index) const {
  if (!IsSegment(index))
    return {};
  return Track->GetSegment(static_cast<U32>(index));
}

void Trk3DRenderer::EmitVertex(double x, double y, double z, bool draw) {
  if (draw)
    Gl.Vertex3d(x, y, z);
  else
    Bounds.Include(x, y, z);
}

void Trk3DRenderer::DrawTrack(const Papy::Track& track, int segment, double step, bool draw) {
  Gl.Disable(GL_DEPTH_TEST);
  CheckGLError(Gl);
  const U32 count = track.GetSegmentCount();
  if (segment >= 0 && static_cast<U32>(segment) >= count)
    return;
  const U32 first = segment < 0 ? 0 : static_cast<U32>(segment);
  const U32 end = segment < 0 ? count : first + 1;
  // Measuring makes no GL calls: only drawing needs brackets.
  PrimitiveBatch batch(Gl);
  for (int pass = 0; pass < 2; ++pass) {
    for (U32 s = first; s < end; ++s)
      DrawSegment(batch, *track.GetSegment(s), pass, step, draw);
  }
  batch.End();
}

void Trk3DRenderer::DrawSegment(PrimitiveBatch& batch, const Papy::TrackSegment& segment,
                                int pass, double step, bool draw) {
  // Positions take plan distances, so the walk runs over the plan length; with
  // elevation the game's own length would overshoot or stop short of the segment's end.
  const double length = segment.GetLength2D();
  if (!Walkable(length))
    return;
  auto vertex = [&](double d, double latitude) {
    const Papy::Point3D p = segment.GetPosition(d, latitude);
    EmitVertex(p.X, p.Y, 0.0, draw);
  };
  const U32 strips = segment.GetFSectionCount();
  for (U32 k = 0; k < strips; ++k) {
    const Util::CountedPtr<Papy::TrackFSection> strip = segment.GetFSection(k);
    const int type = strip->GetSurfaceType();
    if (SurfaceLayer(type) != pass)
      continue;
    const double right_start = strip->GetRightStartLatitude();
    const double right_end = strip->GetRightEndLatitude();
    double left_start = strip->GetLeftStartLatitude();
    double left_end = strip->GetLeftEndLatitude();
    const Colour colour = GripColour(type, strip->GetGripModifier());
    // Neighbours of one colour that meet edge to edge draw as one strip: the same picture,
    // since a section's positions run straight across it, with fewer quads to draw.
    while (draw && k + 1 < strips && left_start >= right_start && left_end >= right_end) {
      const Util::CountedPtr<Papy::TrackFSection> next = segment.GetFSection(k + 1);
      const int next_type = next->GetSurfaceType();
      if (SurfaceLayer(next_type) != pass ||
          !Papy::ColourEquals(GripColour(next_type, next->GetGripModifier()), colour) ||
          next->GetRightStartLatitude() != left_start ||
          next->GetRightEndLatitude() != left_end ||
          next->GetLeftStartLatitude() < left_start || next->GetLeftEndLatitude() < left_end)
        break;
      left_start = next->GetLeftStartLatitude();
      left_end = next->GetLeftEndLatitude();
      ++k;
    }
    WalkPieces(length, step, [&](double d0, double d1) {
      const double t0 = d0 / length;
      const double t1 = d1 / length;
      if (draw) {
        batch.Shape(GL_QUADS, 4);
        Gl.Color3d(colour.Red, colour.Green, colour.Blue);
      }
      vertex(d0, right_start + (right_end - right_start) * t0);
      vertex(d1, right_start + (right_end - right_start) * t1);
      vertex(d1, left_start + (left_end - left_start) * t1);
      vertex(d0, left_start + (left_end - left_start) * t0);
    });
  }
  if (pass != 1)
    return;
  const U32 walls = segment.GetWSectionCount();
  for (U32 w = 0; w < walls; ++w) {
    const Util::CountedPtr<Papy::TrackWSection> wall = segment.GetWSection(w);
    const double start_width = wall->GetStartWidth();
    const double end_width = wall->GetEndWidth();
    // The width goes on both sides of the wall's latitude, so a wall shows twice as wide
    // as it is; that is how this view has always drawn them.
    const double lower_start = wall->GetStartLatitude() - start_width;
    const double upper_start = wall->GetStartLatitude() + start_width;
    const double lower_end = wall->GetEndLatitude() - end_width;
    const double upper_end = wall->GetEndLatitude() + end_width;
    const Colour colour = WallColour(wall->GetWallType());
    const bool drawn = start_width <= 3.0 && end_width <= 3.0;
    const bool solid = start_width > 0.0 || end_width > 0.0;
    if (!drawn)
      continue;
    WalkPieces(length, step, [&](double d0, double d1) {
      const double t0 = d0 / length;
      const double t1 = d1 / length;
      if (draw) {
        batch.Shape(solid ? GL_QUADS : GL_LINES, solid ? 4 : 2);
        Gl.Color3d(colour.Red, colour.Green, colour.Blue);
      }
      vertex(d0, lower_start + (lower_end - lower_start) * t0);
      vertex(d1, lower_start + (lower_end - lower_start) * t1);
      if (solid) {
        vertex(d1, upper_start + (upper_end - upper_start) * t1);
        vertex(d0, upper_start + (upper_end - upper_start) * t0);
      }
    });
  }
}

void Trk3DRenderer::ComputeCamera() {
  Camera = ComputeCameraSetting(Bounds, GetAspectRatio(), Height, FocusOnSegment, Camera.CentreX,
                                Camera.CentreY);
  CameraValid = true;
}

void Trk3DRenderer::ApplyCamera() {
  Gl.MatrixMode(GL_PROJECTION);
  CheckGLError(Gl);
  Gl.LoadIdentity();
  CheckGLError(Gl);
  SetProjection();
  Gl.MatrixMode(GL_MODELVIEW);
  CheckGLError(Gl);
  Gl.LoadIdentity();
  CheckGLError(Gl);
  SetCamera();
}

void Trk3DRenderer::SetProjection() {
  // Before the first framing there is nothing sensible to project; the scene's set-up
  // applies the camera once it has one.
  if (!CameraValid)
    return;
  NearPlane = Camera.NearDistance * 0.95;
  FarPlane = Camera.FarDistance * 1.05;
  Gl.Perspective(90.0, GetAspectRatio(), NearPlane, FarPlane);
  CheckGLError(Gl);
}

void Trk3DRenderer::SetCamera() {
  if (!CameraValid)
    return;
  Gl.LookAt(Camera.CentreX, Camera.CentreY, Camera.EyeHeight, Camera.CentreX, Camera.CentreY,
            Camera.EyeHeight - Camera.FarDistance, 0.0, 1.0, 0.0);
  CheckGLError(Gl);
}

void Trk3DRenderer::SetupScene() {
  Guarded([this] { SetupSceneGuarded(); });
}

void Trk3DRenderer::SetupSceneGuarded() {
  if (Track.IsNull())
    return;
  const Papy::Track& track = *Track;
  const Util::CountedPtr<Papy::TrackSegment> selected = SegmentOrNull(SelectedSegment);
  if (selected.IsNull())
    SelectedSegment = -1;
  FocusOnSegment = SelectedSegment != -1 && Height != 0.0;
  if (!BoundsValid || SelectedSegment != -1) {
    Bounds = TrackBox();
    DrawTrack(track, SelectedSegment, 100.0, false);
    if (Bounds.IsEmpty()) {
      // Nothing to measure (no segments, or a segment without strips and walls).
      double x = 0.0;
      double y = 0.0;
      if (!selected.IsNull()) {
        const Papy::TrackFrame middle = selected->GetFrame(selected->GetLength2D() * 0.5, 0.0);
        x = middle.X;
        y = middle.Y;
      }
      Bounds = TrackBox::Around(x, y);
    }
  } else {
    Bounds = TrackBounds;
  }
  if (!BoundsValid && SelectedSegment == -1) {
    TrackBounds = Bounds;
    BoundsValid = true;
  }
  if (FocusOnSegment) {
    const Papy::TrackFrame middle = selected->GetFrame(selected->GetLength2D() * 0.5, 0.0);
    Camera.CentreX = middle.X;
    Camera.CentreY = middle.Y;
  }
  ComputeCamera();
  ApplyCamera();
}

void Trk3DRenderer::DrawScene() {
  Guarded([this] { DrawSceneGuarded(); });
}

void Trk3DRenderer::DrawSceneGuarded() {
  // Without a track (a new document) the view is blank, not whatever the buffer held.
  Gl.ClearColor(1.0f, 1.0f, 1.0f, 1.0f);
  CheckGLError(Gl);
  Gl.Clear(GL_COLOR_BUFFER_BIT);
  CheckGLError(Gl);
  if (Track.IsNull())
    return;
  if (TrackListStale) {
    TrackListStale = false;
    Trk3DRenderer::DeleteDisplayList();
  }
  if (!TrackListValid && !TrackListFailed) {
    // A compile that failed once fails again until something changes: it waits for the
    // next update instead of costing every paint its time and its error.
    TrackListFailed = true;
    const GLuint list = OpenGL::GenerateList(Gl);
    {
      ListCompileScope compile(Gl, list);
      CheckGLError(Gl);
      DrawTrack(*Track, -1, 3.0, true);
      Gl.Flush();
      CheckGLError(Gl);
      compile.Commit();
    }
    TrackList = list;
    TrackListValid = true;
    CheckGLError(Gl);
    TrackListFailed = false;
  }
  if (TrackListValid) {
    Gl.CallList(TrackList);
    CheckGLError(Gl);
  }
  BuildDisplayList();
  CheckGLError(Gl);
}

void Trk3DRenderer::DeleteDisplayList() {
  TrackListFailed = false;
  if (!TrackListValid)
    return;
  TrackListValid = false;
  Gl.DeleteLists(TrackList, 1);
  CheckGLError(Gl);
}

} // namespace Ostra::DocView
