#include "Papy/Track/Track.h"

#include <cmath>

namespace Ostra::Papy {

double Point3D::Distance(const Point3D& a, const Point3D& b) {
  const double dx = a.X - b.X;
  const double dy = a.Y - b.Y;
  const double dz = a.Z - b.Z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

Point3D TrackSegment::GetPosition(double distance, double latitude) const {
  const TrackFrame frame = GetFrame(distance, latitude);
  return Point3D(frame.X, frame.Y, frame.Z);
}

Point3D Track::GetPosition(double distance, double latitude) const {
  const TrackFrame frame = GetFrame(distance, latitude);
  return Point3D(frame.X, frame.Y, frame.Z);
}

double Track::GetOrientation(double distance) const { return GetFrame(distance, 0.0).Orientation; }

} // namespace Ostra::Papy
