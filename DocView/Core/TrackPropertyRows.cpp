#include "DocView/Core/TrackPropertyRows.h"

#include <charconv>
#include <cmath>

#include "DocView/Core/LpCells.h"
#include "Papy/Track/Track.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/StringUtil.h"

namespace Ostra::DocView {

// The property list shows numbers as the LP grid's cells do.
std::string FormatDouble(double value) { return FormatCellDouble(value); }

std::string FormatAngle(double radians) {
  return FormatDouble(Util::RadiansToDegrees(radians)) + DegreeSign;
}

std::string FormatInteger(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

namespace {

void TrackRows(const Papy::Track& track, const PropertyRowSink& sink) {
  sink("Length (3d)", FormatDouble(track.GetLength3D()));
  sink("Length (2d)", FormatDouble(track.GetLength2D()));
  sink("Segments", FormatInteger(track.GetSegmentCount()));
}

void SegmentRows(const Papy::Track& track, U32 index, const Papy::TrackSegment& segment,
                 const PropertyRowSink& sink) {
  const bool curve = segment.IsCurve();
  sink("Type", curve ? "Corner" : "Straight");
  sink("Length (3d)", FormatDouble(segment.GetLength3D()));
  sink("Length (2d)", FormatDouble(segment.GetLength2D()));
  sink("Start (3d)", FormatDouble(track.GetSegmentStart3D(index)));
  sink("Start (2d)", FormatDouble(track.GetSegmentStart2D(index)));
  sink("Start Orientation", FormatAngle(segment.GetStartOrientation()));
  sink("End Orientation", FormatAngle(segment.GetEndOrientation()));
  sink("Centreline Start X", FormatDouble(segment.GetCentrelineStartX()));
  sink("Centreline Start Y", FormatDouble(segment.GetCentrelineStartY()));
  sink("Centreline End X", FormatDouble(segment.GetCentrelineEndX()));
  sink("Centreline End Y", FormatDouble(segment.GetCentrelineEndY()));
  if (!curve)
    return;
  double centre_x = 0.0;
  double centre_y = 0.0;
  double radius = 0.0;
  double sweep = 0.0;
  segment.GetArc(centre_x, centre_y, radius, sweep);
  sink("Radius", FormatDouble(radius));
  sink("Curvature", FormatAngle(sweep));
  sink("CentreX", FormatDouble(centre_x));
  sink("CentreY", FormatDouble(centre_y));
}

void TraceRows(const Papy::TrackXSection& trace, const PropertyRowSink& sink) {
  sink("Start Latitude", FormatDouble(trace.GetStartLatitude()));
  sink("End Latitude", FormatDouble(trace.GetEndLatitude()));
  sink("Start Altitude", FormatDouble(trace.GetStartAltitude()));
  sink("End Altitude", FormatDouble(trace.GetEndAltitude()));
  sink("Linear Coefficient", FormatDouble(trace.GetLinearCoefficient()));
  sink("Square Coefficient", FormatDouble(trace.GetSquareCoefficient()));
  sink("Cube Coefficient", FormatDouble(trace.GetCubeCoefficient()));
}

void SurfaceRows(const Papy::TrackFSection& surface, const PropertyRowSink& sink) {
  sink("Right Start", FormatDouble(surface.GetRightStartLatitude()));
  sink("Left Start", FormatDouble(surface.GetLeftStartLatitude()));
  sink("Right End", FormatDouble(surface.GetRightEndLatitude()));
  sink("Left End", FormatDouble(surface.GetLeftEndLatitude()));
  sink("Type", Papy::GetSurfaceTypeName(surface.GetSurfaceType()));
  sink("Grip Modifier", FormatInteger(surface.GetGripModifier()));
}

void WallRows(const Papy::TrackWSection& wall, const PropertyRowSink& sink) {
  sink("Start Latitude", FormatDouble(wall.GetStartLatitude()));
  sink("End Latitude", FormatDouble(wall.GetEndLatitude()));
  sink("Start Width", FormatDouble(wall.GetStartWidth()));
  sink("End Width", FormatDouble(wall.GetEndWidth()));
  sink("Start Height", FormatDouble(wall.GetStartHeight()));
  sink("End Height", FormatDouble(wall.GetEndHeight()));
  sink("Type", Papy::GetWallTypeName(wall.GetWallType()));
}

// The item's rows when the segment has it; a pointer the model hands back null counts
// as missing.
template <class Item, class Rows>
void ItemRows(const CountedPtr<Item>& item, Rows rows, const PropertyRowSink& sink) {
  if (item)
    rows(*item, sink);
}

} // namespace

void EmitPropertyRows(const Papy::Track& track, TrackItemHint hint, const PropertyRowSink& sink) {
  if (hint == WholeTrackHint) {
    TrackRows(track, sink);
    return;
  }
  const DecodedTrackItemHint decoded = DecodeTrackItemHint(hint);
  if (decoded.Kind > static_cast<int>(TrackItemKind::Wall))
    return;
  // Hints come from the tree of this track, but a stale or forged one must not reach the
  // model's index checks (or an implementation without them).
  if (decoded.Segment < 0 || static_cast<U32>(decoded.Segment) >= track.GetSegmentCount())
    return;
  const auto s = static_cast<U32>(decoded.Segment);
  const CountedPtr<Papy::TrackSegment> segment = track.GetSegment(s);
  if (!segment)
    return;
  const auto kind = static_cast<TrackItemKind>(decoded.Kind);
  if (kind == TrackItemKind::Segment) {
    SegmentRows(track, s, *segment, sink);
    return;
  }
  if (decoded.Item < 0)
    return;
  const auto i = static_cast<U32>(decoded.Item);
  switch (kind) {
  case TrackItemKind::Segment:
    break;
  case TrackItemKind::Trace:
    if (i < segment->GetXSectionCount())
      ItemRows(segment->GetXSection(i), TraceRows, sink);
    break;
  case TrackItemKind::Surface:
    if (i < segment->GetFSectionCount())
      ItemRows(segment->GetFSection(i), SurfaceRows, sink);
    break;
  case TrackItemKind::Wall:
    if (i < segment->GetWSectionCount())
      ItemRows(segment->GetWSection(i), WallRows, sink);
    break;
  }
}

std::vector<PropertyRow> BuildPropertyRows(const Papy::Track& track, TrackItemHint hint) {
  std::vector<PropertyRow> rows;
  EmitPropertyRows(track, hint, [&rows](const std::string& field, const std::string& value) {
    rows.emplace_back(field, value);
  });
  return rows;
}

void UpdatePropertyList(const Papy::Track* track, TrackItemHint hint, PropertyList& list) {
  if (hint == NoItemHint || track == nullptr)
    return;
  list.DeleteAllRows();
  EmitPropertyRows(*track, hint, [&list](const std::string& field, const std::string& value) {
    list.AppendRow(field, value);
  });
}

} // namespace Ostra::DocView
