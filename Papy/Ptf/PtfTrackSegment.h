#pragma once

#include <vector>

#include "Papy/Ptf/SegmentGeometry.h"
#include "Papy/Track/TrackSegment.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class ThreeDObjectFSection;
class ThreeDObjectTrackSegment;
class ThreeDObjectXSection;

// An N4 track segment as a track-model segment. Its plan (ends, headings, arc, length)
// is read once at construction and its sections are wrapped then; the heights are read
// from the N4 cross sections on every frame, so edits through the cross-section
// adapters show at once. N4 segments have one length: plan and longitude coincide.
class PtfTrackSegment : public TrackSegment {
public:
  // Throws XAssertion when an arc's ends do not lie on one circle, and std::bad_cast
  // when a section reference names an object of another kind.
  explicit PtfTrackSegment(const CountedPtr<ThreeDObjectTrackSegment>& segment);
  ~PtfTrackSegment() override;

  bool IsCurve() const override;
  double GetCentrelineStartX() const override;
  double GetCentrelineStartY() const override;
  double GetCentrelineEndX() const override;
  double GetCentrelineEndY() const override;
  double GetLength3D() const override;
  double GetLength2D() const override;
  // Of a straight, the circle through its ends is computed on request and throws
  // XAssertion like that of a malformed arc.
  void GetArc(double& centre_x, double& centre_y, double& radius, double& sweep) const override;
  double GetStartOrientation() const override;
  double GetEndOrientation() const override;
  U32 GetXSectionCount() const override;
  CountedPtr<TrackXSection> GetXSection(U32 index) const override;
  // The strips between consecutive N4 surface lines: one fewer than the lines.
  U32 GetFSectionCount() const override;
  CountedPtr<TrackFSection> GetFSection(U32 index) const override;
  U32 GetWSectionCount() const override;
  CountedPtr<TrackWSection> GetWSection(U32 index) const override;
  // At distance / GetLength2D along the segment; distances outside the segment continue
  // its straight or circle. Without cross sections the surface is flat at 0, without
  // surface lines its type is SurfaceUnknown.
  TrackFrame GetFrame(double distance, double latitude) const override;

  const CountedPtr<ThreeDObjectTrackSegment>& GetN4Segment() const { return Segment; }

private:
  CountedPtr<ThreeDObjectTrackSegment> Segment;
  std::vector<CountedPtr<TrackFSection>> FSections;
  std::vector<CountedPtr<TrackWSection>> WSections;
  std::vector<CountedPtr<TrackXSection>> XSections;
  // The N4 lines that frames are computed from.
  std::vector<CountedPtr<ThreeDObjectXSection>> CrossLines;
  std::vector<CountedPtr<ThreeDObjectFSection>> SurfaceLines;
  SegmentPlan Plan;
  SegmentArc Arc;
  double Length = 0.0;
};

} // namespace Ostra::Papy
