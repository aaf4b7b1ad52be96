#pragma once

namespace Ostra::Papy {

// A point or vector of the track model, metres. X and Y span the ground plane, Z is
// the altitude.
struct Point3D {
  Point3D() = default;
  Point3D(double x, double y, double z) : X(x), Y(y), Z(z) {}

  // Exact, field by field.
  bool operator==(const Point3D& other) const = default;

  static double Distance(const Point3D& a, const Point3D& b);

  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

} // namespace Ostra::Papy
