#pragma once

#include "Papy/N4/ThreeDObject.h"

namespace Ostra::Papy {

// A cross section: a line along one track segment at a latitude, with an altitude
// and a slope at each end of the segment. Between the ends the altitude follows the
// cubic Hermite profile of the two altitudes and slopes, in the segment's fraction t
// (0 at its start, 1 at its end).
class ThreeDObjectXSection : public virtual ThreeDObject {
public:
  virtual double GetStartLatitude() const = 0;
  virtual double GetEndLatitude() const = 0;
  virtual void SetLatitudes(double start, double end) = 0;
  virtual double GetStartAltitude() const = 0;
  virtual double GetEndAltitude() const = 0;
  virtual double GetStartSlope() const = 0;
  virtual double GetEndSlope() const = 0;
  virtual void SetAltitudes(double start_altitude, double end_altitude, double start_slope,
                            double end_slope) = 0;

  void Accept(ThreeDObjectVisitor& visitor) override;

  // Coefficients of altitude(t) = start altitude + b t + c t^2 + d t^3.
  double GetLinearCoefficient() const;
  double GetSquareCoefficient() const;
  double GetCubeCoefficient() const;

  double GetLatitudeAt(double t) const;
  double GetAltitudeAt(double t) const;
  // d altitude / d t.
  double GetSlopeAt(double t) const;
};

} // namespace Ostra::Papy
