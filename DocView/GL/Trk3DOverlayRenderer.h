#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "DocView/GL/Trk3DRenderer.h"
#include "Papy/Lp/LpFile.h"

namespace Ostra::DocView {

// One LP or lap-curve document linked to the track: its file path (which chooses the
// colour) and its records.
struct LinkedLp {
  std::string Path;
  Util::CountedPtr<Papy::LpFile> Lp;
};

// The View menu's switches, all off in a new view.
struct OverlayToggles {
  bool ShowPassCheckpointZones = false;
  bool ShowOutbrakeDecisionPoints = false;
  bool ShowStartPass1Points = false;
  bool ShowStartPass2Points = false;
  bool ShowStartAbruptPass1Points = false;
  bool ShowStartAbruptPass2Points = false;
  bool ShowAbandonPassPoints = false;
  bool ShowNoPassZones = false;
  bool ShowLongStraights = false;
  bool ShowCorneringPoints = false;
  bool ShowLevelSpeedCoeffPoints = false;
  bool ShowTireWarmupPoints = false;
  bool ShowSpeedModifiers = false;
  bool ShowLongitudinalSpeed = false;
  bool ShowLateralSpeed = false;
  bool ShowYawSpeed = false;
  bool ShowControlPoints = false;
  bool ShowCentreline = false;
  bool ShowScale = false;
};

// The switch a View command id inverts; null for any other id.
bool OverlayToggles::*ToggleForCommand(int command_id);
// The eye height a Height command chooses; 0 for any other id.
double HeightForCommand(int command_id);

// Which zones of an LP are open at a record, carried round the lap.
struct ZoneStates {
  bool SpeedCheckpoints = false;
  bool LongStraight = false;
  bool NoPassZone = false;
};

// A translucent band across a record, between two latitudes: -4..4, 0..4 or -4..0.
struct RecordMarker {
  double RightLatitude = 0.0;
  double LeftLatitude = 0.0;
  Papy::Colour Colour;
};

// The markers of one record, in drawing order; never more than the switches allow.
struct MarkerStack {
  std::array<RecordMarker, 18> Items;
  int Count = 0;
  void Add(double right_latitude, double left_latitude, const Papy::Colour& colour);
};

// The markers that the switches show at record i, with zones as they stand there.
MarkerStack MarkersOfRecord(const Papy::LpFile& lp, U32 i, const OverlayToggles& toggles,
                            const ZoneStates& zones);

// What a record's markers, blended one over another with source alpha, make of each half
// of the band (right: -4..0, left: 0..4): one premultiplied colour per half that, blended
// with (one, one minus source alpha), gives the same picture with one quad per half.
struct MarkerHalves {
  bool HasRight = false;
  bool HasLeft = false;
  Papy::Colour Right{0.0f, 0.0f, 0.0f, 0.0f};
  Papy::Colour Left{0.0f, 0.0f, 0.0f, 0.0f};
};
MarkerHalves CompositeMarkers(const MarkerStack& stack);

// The lower-cased base name of a path ("Race.lp" gives "race"); empty for an empty path.
std::string LpStem(const std::string& path);
// The line colour of an LP by its stem; alpha 1.
Papy::Colour LpColourForStem(const std::string& stem);

// The track 3D view with its overlays, without a window: every linked LP as a closed
// line in its file's colour, with optional translucent markers for flags, zones, speed
// modifiers and speeds, and its control points; the selected segment's outline, the
// centre line and a distance scale. The overlays live in a second display list,
// rebuilt at the first paint after an update or a View command and replayed otherwise.
class Trk3DOverlayRenderer : public Trk3DRenderer {
public:
  explicit Trk3DOverlayRenderer(OpenGL::GlApi& gl);

  // The documents to draw, newest first; taken at each paint.
  void SetLinkedLps(std::vector<LinkedLp> lps) { LinkedLps = std::move(lps); }

  // Every update rebuilds the overlays; selecting an item looks at its segment from
  // HeightSetting, the whole track or nothing fits the view again.
  void OnUpdate(TrackItemHint hint) override;
  // The eye height for the selection, and the overlays again at the next paint.
  void Rebuild();

  // A View command: a switch, a Height or Refresh. False for any other id.
  bool ExecuteCommand(int command_id);
  // The check mark of a switch or Height item; nothing for other ids.
  std::optional<bool> IsCommandChecked(int command_id) const;

  bool IsOverlayListValid() const { return OverlayListValid; }
  bool HasPendingCompile() const override {
    return Trk3DRenderer::HasPendingCompile() ||
           (!Track.IsNull() && RebuildOverlays && !OverlayCompileFailed);
  }

  // The parts of the overlay list, drawn on the view's track. Closed lines are strips
  // that end on their first vertex, never GL_LINE_LOOP: Mesa's list compiler splits a
  // long loop across its vertex stores and, when more follows it in the list, draws the
  // last piece as a loop of its own, with a stray line from the first vertex across the
  // track to where that piece begins.
  void DrawLp(const Papy::LpFile& lp, const Papy::Colour& colour);
  void DrawSegmentOutline(int index, const Papy::Colour& colour);
  void DrawCentreline(const Papy::Colour& colour);
  void DrawScale(const Papy::Colour& colour);

  OverlayToggles Toggles;
  double HeightSetting = 100.0;

protected:
  // At close: both lists.
  void DeleteDisplayList() override;
  void BuildDisplayList() override;

private:
  void DeleteOverlayList();
  void CompileOverlays();
  // A record's composited markers on one half of the band.
  struct BandPiece {
    double Start;
    double End;
    Papy::Colour Colour;
  };
  // Records closer than this are drawn as following on: no pixel shows a micron.
  static constexpr double BandJoinTolerance = 1e-6;
  void DrawBand(const std::vector<BandPiece>& pieces, double right, double left);
  void TrackVertex(double distance, double latitude);

  std::vector<LinkedLp> LinkedLps;
  bool RebuildOverlays = false;
  bool OverlayListValid = false;
  // The last compile threw; the next update or command allows another.
  bool OverlayCompileFailed = false;
  GLuint OverlayList = 0;
};

} // namespace Ostra::DocView
