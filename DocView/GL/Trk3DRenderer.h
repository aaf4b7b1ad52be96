#pragma once

#include "DocView/Core/TrackItemHint.h"
#include "DocView/GL/GlGuards.h"
#include "DocView/GL/GlViewCore.h"
#include "Papy/Track/Track.h"
#include "Papy/Types/Colour.h"
#include "Util/CountedPtr.h"

namespace Ostra::DocView {

// An extent in metres. Starts inverted (+1e9 .. -1e9) so that the first point included
// sets it.
struct TrackBox {
  double MinX = 1e9;
  double MaxX = -1e9;
  double MinY = 1e9;
  double MaxY = -1e9;
  double MinZ = 1e9;
  double MaxZ = -1e9;

  bool IsEmpty() const { return !(MinX <= MaxX && MinY <= MaxY && MinZ <= MaxZ); }
  void Include(double x, double y, double z);
  // A 200 m square round a plan point, flat at z = 0: what a view frames when there is
  // nothing to measure.
  static TrackBox Around(double x, double y);
};

// Where the camera looks from, straight down.
struct CameraSetting {
  double CentreX = 0.0;
  double CentreY = 0.0;
  // From the eye down to the top and to the bottom of the framed extent.
  double NearDistance = 1.0;
  double FarDistance = 1.0;
  double EyeHeight = 1.0;
};

// Frames bounds. With height 0 the eye rises until the larger of the extent's height and
// its width over the aspect ratio (on a tie, the latter) fills the 90-degree view with a
// little margin; otherwise the eye is at height. The centre is the extent's middle
// unless focus gives it (focus_x, focus_y).
CameraSetting ComputeCameraSetting(const TrackBox& bounds, double aspect_ratio, double height,
                                   bool focus, double focus_x, double focus_y);

// Surfaces and walls by their SurfaceType and WallType numbers; alpha 1. Unknown numbers
// draw blue.
Papy::Colour SurfaceColour(int surface_type);
// 1 for the paved types (asphalt, concrete, paint), drawn over all others; 0 otherwise.
int SurfaceLayer(int surface_type);
// The surface colour scaled by 1 - 0.01 x the grip modifier.
Papy::Colour GripColour(int surface_type, int grip_modifier);
Papy::Colour WallColour(int wall_type);

// Segments and strips longer than this are not walked: no real track comes near it, and
// a damaged file must not keep the view busy for hours.
inline constexpr double MaxWalkedLength = 1.0e6;

// The track 3D view without its window: draws the track's surface strips and walls flat
// at z = 0, seen from straight above, from a display list compiled at the first paint,
// and frames either the whole track or the selected segment.
class Trk3DRenderer : public GlViewCore {
public:
  explicit Trk3DRenderer(OpenGL::GlApi& gl);

  // The track to draw; null draws nothing. Another track object drops the cached
  // display list and extent.
  void SetTrack(const Util::CountedPtr<Papy::Track>& track);
  const Util::CountedPtr<Papy::Track>& GetTrack() const { return Track; }

  // A document update: NoItemHint keeps the selection, WholeTrackHint clears it, any
  // other hint selects its segment (one outside the track selects nothing).
  virtual void OnUpdate(TrackItemHint hint);
  // The eye height while a segment is selected; 0 fits the framed extent instead.
  void SetHeight(double height) { Height = height; }
  double GetHeight() const { return Height; }
  int GetSelectedSegment() const { return SelectedSegment; }

  // Draws the surfaces and walls of the whole track (segment -1) or of one segment,
  // walking each strip in pieces of step metres; with draw false only widens the
  // measured extent by what would be drawn.
  void DrawTrack(const Papy::Track& track, int segment, double step, bool draw);
  void EmitVertex(double x, double y, double z, bool draw);
  void ComputeCamera();
  void ApplyCamera();

  const TrackBox& GetBounds() const { return Bounds; }
  const CameraSetting& GetCameraSetting() const { return Camera; }
  double GetNearPlane() const { return NearPlane; }
  double GetFarPlane() const { return FarPlane; }
  bool IsTrackListValid() const { return TrackListValid; }
  bool HasPendingCompile() const override {
    return !Track.IsNull() && !TrackListValid && !TrackListFailed;
  }

protected:
  void SetProjection() override;
  void SetCamera() override;
  void SetupScene() override;
  void DrawScene() override;
  // The track's list; at close, with the context current.
  void DeleteDisplayList() override;
  // Called by DrawScene after the track, with the context current.
  virtual void BuildDisplayList() {}

  bool IsSegment(int index) const;
  // The segment, or null when index names none of the track's.
  Util::CountedPtr<Papy::TrackSegment> SegmentOrNull(int index) const;

  Util::CountedPtr<Papy::Track> Track;
  bool FocusOnSegment = false;
  CameraSetting Camera;
  bool CameraValid = false;
  double NearPlane = 0.0;
  double FarPlane = 0.0;
  TrackBox Bounds;
  bool BoundsValid = false;
  TrackBox TrackBounds;
  GLuint TrackList = 0;
  bool TrackListValid = false;
  bool TrackListStale = false;
  // The last compile threw; the next update allows another.
  bool TrackListFailed = false;
  int SelectedSegment = -1;
  double Height = 0.0;

private:
  void SetupSceneGuarded();
  void DrawSceneGuarded();
  void DrawSegment(OpenGL::PrimitiveBatch& batch, const Papy::TrackSegment& segment, int pass,
                   double step, bool draw);
};

} // namespace Ostra::DocView
