#pragma once

namespace Ostra::Velmar {

// What the speed passes know about one record of the line: the geometry and grip of
// the corner it lies in and how much of the tyre's friction the speed there uses.
// SI units throughout (metres, radians, friction coefficients).
struct GripRecord {
  double Radius = 0.0;           // plan radius of the line; StraightRadius on a straight
  double Bank = 0.0;             // bank angle as the car feels it: negated for a left turn
  double DownforceFactor = 0.0;  // air density x lift area / (2 m g cos Bank)
  double Grip = 0.0;             // friction available on the record's surface
  double LongitudinalGrip = 0.0; // friction spent braking, negated; 0 when not braking
  double LateralGrip = 0.0;      // friction spent cornering at the record's speed

  bool operator==(const GripRecord&) const = default;
};

// The radius a straight record is given, so that the corner formulas stay finite and
// ask for no lateral friction.
inline constexpr double StraightRadius = 1e+256;

// The built-in car, one set of constants for every line.
namespace Car {
inline constexpr double Mass = 844.0;          // kg, in the weight terms
inline constexpr double EffectiveMass = 577.0; // kg, divides the net tractive force
inline constexpr double Gravity = 9.80665;     // m/s^2
inline constexpr double AirDensity = 1.29;     // kg/m^3
inline constexpr double DragArea = 0.44;       // drag coefficient x frontal area, m^2
inline constexpr double LiftArea = 0.0;        // lift coefficient x area, m^2
inline constexpr double RollingResistance = 0.04;
inline constexpr double RollingResistance2 = 0.0; // per (m/s)^2
inline constexpr double Power = 300000.0;         // W
inline constexpr double PowerFactor = 1.0;
inline constexpr double BrakeFactor = 0.75; // share of the weight's friction the brakes use
} // namespace Car

// The friction factor of a SurfaceType number relative to asphalt; 1.0 for the kinds
// a car never drives on and for numbers outside the numbering.
double GetSurfaceGripFactor(int surfaceType);

// v^2 / (R g) at the friction limit of a banked corner: the car holds the line up to
// v = sqrt(R g ratio). tanBank is the tangent of the bank as the car feels it;
// downforce is R g DownforceFactor. Returns +infinity when the banking alone holds the
// car at any speed (the textbook ratio's denominator is zero or negative), and 0 when
// no speed holds it (an outward bank steeper than the friction, or a value that is not
// a number).
double GetCorneringRatio(double tanBank, double friction, double downforce);

// The power-limited car accelerating from speed v up a slope of the given pitch.
// The grip, bank, radius, downforce and distance are kept for symmetry with the
// braking model; they do not enter the acceleration.
class AccelerationModel {
public:
  AccelerationModel(double grip, double pitch, double v, double bank, double radius,
                    double downforceFactor, double distance);

  // m/s^2; +infinity from a standstill, negative above the speed the power can hold.
  double GetAcceleration() const;

  double Grip;
  double Pitch;
  double Speed;
  double Bank;
  double Radius;
  double DownforceFactor;
  double Distance;
};

// Braking into a record whose successor is driven at speed v, sharing the friction Grip
// between braking (x) and cornering (sqrt(Grip^2 - x^2)). A callable for the root
// finder: operator()(x) > 0 while braking with x still leaves enough grip to corner.
class BrakingModel {
public:
  BrakingModel(double grip, double pitch, double v, double bank, double radius,
               double downforceFactor, double distance);

  // m/s^2 of deceleration when braking with the friction x; never negative nor NaN.
  double GetDeceleration(double x) const;
  // The highest speed at this record from which braking with x reaches v over Distance.
  double GetBrakingSpeed(double x) const;
  // The cornering limit with the friction left after braking with x; +infinity when
  // the banking holds the car at any speed.
  double GetCorneringSpeed(double x) const;
  // GetCorneringSpeed(x) - GetBrakingSpeed(x).
  double operator()(double x) const;

  double Grip;
  double Pitch;
  double Speed;
  double Bank;
  double Radius;
  double DownforceFactor;
  double Distance;
};

} // namespace Ostra::Velmar
