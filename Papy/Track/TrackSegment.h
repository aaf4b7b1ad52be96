#pragma once

#include "Papy/Track/Point3D.h"
#include "Papy/Track/TrackFrame.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Papy {

class TrackFSection;
class TrackWSection;
class TrackXSection;

// One piece of the closed loop: a straight or an arc. Segment i ends where segment
// i + 1 starts. Distances are plan distances from the segment's start, metres;
// angles are radians, a heading h pointing along (cos h, sin h).
class TrackSegment {
public:
  virtual ~TrackSegment() = default;

  virtual bool IsCurve() const = 0;
  // The centre line (latitude 0) at the start and at the end (the next segment's start).
  virtual double GetCentrelineStartX() const = 0;
  virtual double GetCentrelineStartY() const = 0;
  virtual double GetCentrelineEndX() const = 0;
  virtual double GetCentrelineEndY() const = 0;
  virtual double GetLength3D() const = 0;
  virtual double GetLength2D() const = 0;
  // Only meaningful for a curve. The radius of the centre line is positive; the sweep
  // is positive for a left-hand (counter-clockwise) turn.
  virtual void GetArc(double& centre_x, double& centre_y, double& radius, double& sweep) const = 0;
  virtual double GetStartOrientation() const = 0;
  virtual double GetEndOrientation() const = 0;
  // Indexes must be below the matching count (an implementation may assert).
  virtual U32 GetXSectionCount() const = 0;
  virtual CountedPtr<TrackXSection> GetXSection(U32 index) const = 0;
  virtual U32 GetFSectionCount() const = 0;
  virtual CountedPtr<TrackFSection> GetFSection(U32 index) const = 0;
  virtual U32 GetWSectionCount() const = 0;
  virtual CountedPtr<TrackWSection> GetWSection(U32 index) const = 0;
  virtual TrackFrame GetFrame(double distance, double latitude) const = 0;

  // The X, Y, Z of this segment's own GetFrame.
  Point3D GetPosition(double distance, double latitude) const;
};

} // namespace Ostra::Papy
