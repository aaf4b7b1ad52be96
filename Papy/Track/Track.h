#pragma once

#include "Papy/Track/Point3D.h"
#include "Papy/Track/TrackFrame.h"
#include "Papy/Track/TrackFSection.h"
#include "Papy/Track/TrackSegment.h"
#include "Papy/Track/TrackWSection.h"
#include "Papy/Track/TrackXSection.h"
#include "Util/CountedPtr.h"
#include "Util/Types.h"

namespace Ostra::Util {
class BinaryStream;
}

namespace Ostra::Papy {

// The one view of a race track that the rest of the system uses, whatever game file it
// came from: a closed loop of segments. Every distance argument is a plan (2D)
// distance along the centre line in metres; the latitude grows to the left.
// GetFrame and everything built on it wraps distances into the lap, so a caller may
// pass a distance slightly outside [0, GetLength2D()).
class Track {
public:
  virtual ~Track() = default;

  // Along the game's own longitude.
  virtual double GetLength3D() const = 0;
  // Along the plan of the centre line.
  virtual double GetLength2D() const = 0;
  virtual double Length2DToLength3D(double distance) const = 0;
  virtual U32 GetSegmentCount() const = 0;
  // index must be below GetSegmentCount (an implementation may assert).
  virtual CountedPtr<TrackSegment> GetSegment(U32 index) const = 0;
  virtual double GetSegmentStart3D(U32 index) const = 0;
  virtual double GetSegmentStart2D(U32 index) const = 0;
  // offset receives the plan distance from the segment's start.
  virtual CountedPtr<TrackSegment> GetSegmentAt(double distance, double& offset) const = 0;
  virtual TrackFrame GetFrame(double distance, double latitude) const = 0;
  // The X, Y, Z of GetFrame.
  virtual Point3D GetPosition(double distance, double latitude) const;
  // The heading of GetFrame on the centre line.
  virtual double GetOrientation(double distance) const;
  // Writes the underlying game file in its own format; stream errors pass through.
  virtual void Write(const CountedPtr<Util::BinaryStream>& stream) const = 0;
};

} // namespace Ostra::Papy
