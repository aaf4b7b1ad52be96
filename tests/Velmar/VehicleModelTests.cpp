#include "Velmar/Generators/VehicleModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Papy/Types/SurfaceType.h"

namespace Ostra::Velmar {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double G = 9.80665;
constexpr double Tight = 1e-12;

struct SurfaceCase {
  int Surface;
  double Factor;
};

TEST(VehicleModelSurfaceGrip, ScalesAsphaltsGripByTheGround) {
  const SurfaceCase cases[] = {
      {Papy::SurfaceAsphalt, 1.0},
      {Papy::SurfaceConcrete, 0.96},
      {Papy::SurfaceDirt, 0.65},
      {Papy::SurfaceGrass, 0.58},
      {Papy::SurfaceGravel, 0.8},
      {Papy::SurfaceSand, 0.8},
      {Papy::SurfaceWater, 0.1},
      {Papy::SurfaceRumbleStrip, 0.9},
      {Papy::SurfacePaint, 1.0},
      {-1, 1.0},
      {13, 1.0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetSurfaceGripFactor(c.Surface), c.Factor) << "surface " << c.Surface;
}

struct RatioCase {
  const char* Name;
  double TanBank;
  double Friction;
  double Downforce;
  double Expected;
};

TEST(VehicleModelCorneringRatio, FollowsTheBankedCornerAndSaysWhenNoSpeedOrEverySpeedHolds) {
  const RatioCase cases[] = {
      {"flat: the friction itself", 0.0, 1.21, 0.0, 1.21},
      {"banking adds to the friction", 0.2, 1.0, 0.0, 1.2 / 0.8},
      {"an outward bank takes from it", -0.2, 1.0, 0.0, 0.8 / 1.2},
      {"downforce adds to it", 0.0, 1.0, 0.5, 1.0 / 1.5},
      {"banking that holds the car at any speed", 1.0, 1.0, 0.0, Infinity},
      {"steeper still", 2.0, 1.0, 0.0, Infinity},
      {"no friction on a flat corner", 0.0, 0.0, 0.0, 0.0},
      {"an outward bank beyond the friction", -1.5, 1.0, 0.0, 0.0},
      {"a bank that is not a number", NaN, 1.0, 0.0, 0.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(GetCorneringRatio(c.TanBank, c.Friction, c.Downforce), c.Expected) << c.Name;
}

struct AccelerationCase {
  double Speed;
  double Pitch;
};

// With the built-in car: (300000 - v (844 g (sin p + 0.04 cos p) + 0.2838 v^2)) / (577 v).
double ExpectedAcceleration(double v, double p) {
  return (300000.0 - v * (844.0 * G * (std::sin(p) + 0.04 * std::cos(p)) + 0.2838 * v * v)) /
         (577.0 * v);
}

TEST(VehicleModelAcceleration, IsThePowerLessDragRollingAndClimbOverTheEffectiveMass) {
  const AccelerationCase cases[] = {{5.0, 0.0},  {30.0, 0.0},  {98.0, 0.0}, {144.0, 0.0},
                                    {30.0, 0.1}, {30.0, -0.1}, {70.0, 0.3}};
  for (const auto& c : cases) {
    const double expected = ExpectedAcceleration(c.Speed, c.Pitch);
    const AccelerationModel car(1.0, c.Pitch, c.Speed, 0.0, 100.0, 0.0, 3.0);
    EXPECT_NEAR(car.GetAcceleration(), expected, Tight * std::fabs(expected) + Tight)
        << "v " << c.Speed << " pitch " << c.Pitch;
    // Grip, bank, radius, downforce and distance do not enter.
    const AccelerationModel other(0.1, c.Pitch, c.Speed, 0.7, 5.0, 0.3, 40.0);
    EXPECT_EQ(other.GetAcceleration(), car.GetAcceleration());
  }
  EXPECT_EQ(AccelerationModel(1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 3.0).GetAcceleration(), Infinity);
}

struct DecelerationCase {
  double Speed;
  double Pitch;
  double X;
  double Expected;
};

// ((844 g cos p) 0.75 x + 0.44 q + 0.04 844 g cos p + 844 g sin p) / 844, q = 0.645 v^2.
double ExpectedDeceleration(double v, double p, double x) {
  const double q = 0.645 * v * v;
  return (844.0 * G * std::cos(p) * 0.75 * x + 0.44 * q + 0.04 * 844.0 * G * std::cos(p) +
          844.0 * G * std::sin(p)) /
         844.0;
}

TEST(VehicleModelBraking, DeceleratesWithBrakesDragRollingAndClimbButNeverNegatively) {
  const DecelerationCase cases[] = {
      {0.0, 0.0, 0.0, 0.04 * G},
      {50.0, 0.0, 0.0, ExpectedDeceleration(50.0, 0.0, 0.0)},
      {50.0, 0.0, 1.21, ExpectedDeceleration(50.0, 0.0, 1.21)},
      {50.0, 0.1, 0.5, ExpectedDeceleration(50.0, 0.1, 0.5)},
      {50.0, -0.1, 0.5, ExpectedDeceleration(50.0, -0.1, 0.5)},
      // Coasting down a steep hill: gravity wins, and that is no braking at all.
      {10.0, -0.3, 0.0, 0.0},
  };
  for (const auto& c : cases) {
    const BrakingModel brakes(1.21, c.Pitch, c.Speed, 0.0, 100.0, 0.0, 3.0);
    EXPECT_NEAR(brakes.GetDeceleration(c.X), c.Expected, Tight * c.Expected + Tight)
        << "v " << c.Speed << " pitch " << c.Pitch << " x " << c.X;
  }
}

struct ResidualCase {
  const char* Name;
  double Grip;
  double Bank;
  double Radius;
};

TEST(VehicleModelBraking, TradesCorneringSpeedForBrakingSpeedAsTheBrakingFrictionGrows) {
  const ResidualCase cases[] = {
      {"flat corner", 1.21, 0.0, 100.0},
      {"banked corner", 1.21, 0.3, 100.0},
      {"wide corner on grass", 0.58 * 1.21, 0.0, 1000.0},
      {"outward bank", 1.21, -0.2, 60.0},
  };
  constexpr double V = 30.0;
  constexpr double Spacing = 3.0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const BrakingModel brakes(c.Grip, 0.0, V, c.Bank, c.Radius, 0.0, Spacing);
    // With no braking the whole friction corners: the textbook banked-corner speed.
    const double t = std::tan(c.Bank);
    EXPECT_NEAR(brakes.GetCorneringSpeed(0.0),
                std::sqrt(c.Radius * G * (t + c.Grip) / (1.0 - t * c.Grip)), 1e-9);
    // Full braking leaves only the banking to hold the car.
    EXPECT_NEAR(brakes.GetCorneringSpeed(c.Grip), t > 0.0 ? std::sqrt(c.Radius * G * t) : 0.0,
                1e-9);
    EXPECT_NEAR(brakes.GetBrakingSpeed(c.Grip),
                std::sqrt(V * V + 2.0 * brakes.GetDeceleration(c.Grip) * Spacing), 1e-12);
    double previous = brakes(0.0);
    for (int step = 1; step <= 20; ++step) {
      const double x = c.Grip * step / 20.0;
      const double value = brakes(x);
      EXPECT_LT(value, previous) << "x " << x;
      EXPECT_NEAR(value, brakes.GetCorneringSpeed(x) - brakes.GetBrakingSpeed(x), 1e-12);
      previous = value;
    }
  }
}

} // namespace
} // namespace Ostra::Velmar
