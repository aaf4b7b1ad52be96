#include "Papy/Ptf/PtfTrackSegment.h"

#include "Papy/N4/ThreeDObjectFSection.h"
#include "Papy/N4/ThreeDObjectTrackSegment.h"
#include "Papy/N4/ThreeDObjectWSection.h"
#include "Papy/N4/ThreeDObjectXSection.h"
#include "Papy/Ptf/PtfTrackFSection.h"
#include "Papy/Ptf/PtfTrackWSection.h"
#include "Papy/Ptf/PtfTrackXSection.h"
#include "Papy/Types/SurfaceType.h"
#include "Util/Exception.h"

namespace Ostra::Papy {

PtfTrackSegment::PtfTrackSegment(const CountedPtr<ThreeDObjectTrackSegment>& segment)
    : Segment(segment) {
  UTIL_ASSERT(!Segment.IsNull());
  const ThreeDObjectTrackSegment& n4 = *Segment;
  Plan.IsCurve = n4.IsCurve();
  Plan.StartX = n4.GetCentrelineStartX();
  Plan.StartY = n4.GetCentrelineStartY();
  Plan.EndX = n4.GetCentrelineEndX();
  Plan.EndY = n4.GetCentrelineEndY();
  Plan.StartOrientation = n4.GetStartOrientation();
  Plan.EndOrientation = n4.GetEndOrientation();
  if (Plan.IsCurve)
    Arc = ComputeSegmentArc(Plan);
  Length = ComputeSegmentLength2D(Plan);

  const U32 lines = static_cast<U32>(n4.GetFSectionCount());
  for (U32 k = 0; k < lines; ++k)
    SurfaceLines.push_back(n4.GetFSection(k));
  for (U32 k = 0; k + 1 < lines; ++k)
    FSections.emplace_back(new PtfTrackFSection(SurfaceLines[k], SurfaceLines[k + 1]));
  const U32 walls = static_cast<U32>(n4.GetWSectionCount());
  for (U32 w = 0; w < walls; ++w)
    WSections.emplace_back(new PtfTrackWSection(n4.GetWSection(w)));
  const U32 crosses = static_cast<U32>(n4.GetXSectionCount());
  for (U32 x = 0; x < crosses; ++x) {
    CrossLines.push_back(n4.GetXSection(x));
    XSections.emplace_back(new PtfTrackXSection(CrossLines.back(), Length));
  }
}

PtfTrackSegment::~PtfTrackSegment() = default;

bool PtfTrackSegment::IsCurve() const { return Plan.IsCurve; }

double PtfTrackSegment::GetCentrelineStartX() const { return Plan.StartX; }

double PtfTrackSegment::GetCentrelineStartY() const { return Plan.StartY; }

double PtfTrackSegment::GetCentrelineEndX() const { return Plan.EndX; }

double PtfTrackSegment::GetCentrelineEndY() const { return Plan.EndY; }

double PtfTrackSegment::GetLength3D() const { return GetLength2D(); }

double PtfTrackSegment::GetLength2D() const { return Length; }

void PtfTrackSegment::GetArc(double& centre_x, double& centre_y, double& radius,
                             double& sweep) const {
  const SegmentArc arc = Plan.IsCurve ? Arc : ComputeSegmentArc(Plan);
  centre_x = arc.CentreX;
  centre_y = arc.CentreY;
  radius = arc.Radius;
  sweep = arc.Sweep;
}

double PtfTrackSegment::GetStartOrientation() const { return Plan.StartOrientation; }

double PtfTrackSegment::GetEndOrientation() const { return Plan.EndOrientation; }

U32 PtfTrackSegment::GetXSectionCount() const { return static_cast<U32>(XSections.size()); }

CountedPtr<TrackXSection> PtfTrackSegment::GetXSection(U32 index) const {
  UTIL_ASSERT(index < XSections.size());
  return XSections[index];
}

U32 PtfTrackSegment::GetFSectionCount() const { return static_cast<U32>(FSections.size()); }

CountedPtr<TrackFSection> PtfTrackSegment::GetFSection(U32 index) const {
  UTIL_ASSERT(index < FSections.size());
  return FSections[index];
}

U32 PtfTrackSegment::GetWSectionCount() const { return static_cast<U32>(WSections.size()); }

CountedPtr<TrackWSection> PtfTrackSegment::GetWSection(U32 index) const {
  UTIL_ASSERT(index < WSections.size());
  return WSections[index];
}

TrackFrame PtfTrackSegment::GetFrame(double distance, double latitude) const {
  // A segment without length has all its frames at its start.
  const double t = Length > 0.0 ? distance / Length : 0.0;
  const PlanPoint point = ComputePlanPoint(Plan, Plan.IsCurve ? &Arc : nullptr, t, latitude);
  const auto cross_line = [this](U32 i) {
    const ThreeDObjectXSection& x = *CrossLines[i];
    return CrossLine{x.GetStartLatitude(), x.GetEndLatitude(), x.GetStartAltitude(),
                     x.GetEndAltitude(),   x.GetStartSlope(),  x.GetEndSlope()};
  };
  const Elevation elevation =
      ComputeElevation(static_cast<U32>(CrossLines.size()), cross_line, t, latitude);

  TrackFrame frame;
  frame.X = point.X;
  frame.Y = point.Y;
  frame.Z = elevation.Z;
  frame.Orientation = point.Orientation;
  frame.Pitch = elevation.Pitch;
  frame.Bank = elevation.Bank;
  frame.SurfaceType = SurfaceUnknown;
  if (!SurfaceLines.empty()) {
    const auto surface_latitude = [this, t](U32 i) {
      const ThreeDObjectFSection& f = *SurfaceLines[i];
      return (1.0 - t) * f.GetStartLatitude() + t * f.GetEndLatitude();
    };
    const U32 line =
        FindSurfaceLine(static_cast<U32>(SurfaceLines.size()), surface_latitude, latitude);
    frame.SurfaceType = static_cast<int>(SurfaceLines[line]->GetSurfaceType());
  }
  return frame;
}

} // namespace Ostra::Papy
