#pragma once

namespace Ostra::Papy {

// A line along a segment at one latitude, with its altitude cubic
// a + b t + c t^2 + d t^3, t running from 0 at the segment's start to 1 at its end.
// Slopes are altitude changes per whole segment (d/dt), not gradients. Metres.
class TrackXSection {
public:
  virtual ~TrackXSection() = default;

  virtual double GetStartLatitude() const = 0;
  virtual double GetEndLatitude() const = 0;
  // An implementation may keep the old latitude when its format cannot hold the new one.
  virtual void SetLatitude(double start_latitude, double end_latitude) = 0;
  // a
  virtual double GetStartAltitude() const = 0;
  // a + b + c + d
  virtual double GetEndAltitude() const = 0;
  // b
  virtual double GetStartSlope() const = 0;
  // b + 2c + 3d
  virtual double GetEndSlope() const = 0;
  // Hermite form: a = p0, b = m0, c = 3(p1 - p0) - 2 m0 - m1, d = m0 + m1 - 2(p1 - p0).
  virtual void SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                            double end_slope) = 0;
  virtual double GetLinearCoefficient() const = 0;
  virtual double GetSquareCoefficient() const = 0;
  virtual double GetCubeCoefficient() const = 0;
  // The altitude at a plan distance from the segment's start.
  virtual double GetAltitudeAt(double distance) const = 0;
};

} // namespace Ostra::Papy
