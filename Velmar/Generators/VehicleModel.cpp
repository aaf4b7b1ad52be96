#include "Velmar/Generators/VehicleModel.h"

#include <cmath>
#include <limits>

#include "Papy/Types/SurfaceType.h"

namespace Ostra::Velmar {

double GetSurfaceGripFactor(int surfaceType) {
  switch (surfaceType) {
  case Papy::SurfaceConcrete:
    return 0.96;
  case Papy::SurfaceDirt:
    return 0.65;
  case Papy::SurfaceGrass:
    return 0.58;
  case Papy::SurfaceGravel:
  case Papy::SurfaceSand:
    return 0.8;
  case Papy::SurfaceRumbleStrip:
    return 0.9;
  case Papy::SurfaceWater:
    return 0.1;
  default:
    return 1.0;
  }
}

double GetCorneringRatio(double tanBank, double friction, double downforce) {
  const double numerator = tanBank + friction;
  if (!(numerator > 0.0))
    return 0.0;
  const double denominator = 1.0 - friction * (tanBank - downforce);
  if (!(denominator > 0.0))
    return std::numeric_limits<double>::infinity();
  return numerator / denominator;
}

AccelerationModel::AccelerationModel(double grip, double pitch, double v, double bank,
                                     double radius, double downforceFactor, double distance)
    : Grip(grip), Pitch(pitch), Speed(v), Bank(bank), Radius(radius),
      DownforceFactor(downforceFactor), Distance(distance) {}

double AccelerationModel::GetAcceleration() const {
  using namespace Car;
  const double v = Speed;
  const double weight = Mass * Gravity;
  const double resisting = weight * (std::sin(Pitch) + RollingResistance * std::cos(Pitch)) +
                           (weight * RollingResistance2 * std::cos(Pitch) +
                            0.5 * AirDensity * (DragArea - RollingResistance * LiftArea)) *
                               v * v -
                           0.5 * AirDensity * LiftArea * RollingResistance2 * v * v * v * v;
  return (Power * PowerFactor - v * resisting) / (EffectiveMass * v);
}

BrakingModel::BrakingModel(double grip, double pitch, double v, double bank, double radius,
                           double downforceFactor, double distance)
    : Grip(grip), Pitch(pitch), Speed(v), Bank(bank), Radius(radius),
      DownforceFactor(downforceFactor), Distance(distance) {}

double BrakingModel::GetDeceleration(double x) const {
  using namespace Car;
  const double q = 0.5 * AirDensity * Speed * Speed;
  const double weight = Mass * Gravity;
  const double deceleration =
      ((weight * std::cos(Pitch) - LiftArea * q) * BrakeFactor * x + DragArea * q +
       RollingResistance * weight * std::cos(Pitch) + weight * std::sin(Pitch)) /
      Mass;
  return deceleration > 0.0 ? deceleration : 0.0;
}

double BrakingModel::GetBrakingSpeed(double x) const {
  return std::sqrt(Speed * Speed + 2.0 * GetDeceleration(x) * Distance);
}

double BrakingModel::GetCorneringSpeed(double x) const {
  // x never exceeds Grip in the root search; a rounding step past it leaves no
  // friction for cornering rather than a NaN.
  const double left = Grip * Grip - x * x;
  const double lateral = left > 0.0 ? std::sqrt(left) : 0.0;
  const double rg = Radius * Car::Gravity;
  const double ratio = GetCorneringRatio(std::tan(Bank), lateral, rg * DownforceFactor);
  if (ratio == 0.0)
    return 0.0;
  return std::sqrt(rg) * std::sqrt(ratio);
}

double BrakingModel::operator()(double x) const {
  return GetCorneringSpeed(x) - GetBrakingSpeed(x);
}

} // namespace Ostra::Velmar
