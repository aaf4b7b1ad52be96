#include "Velmar/Generators/SpeedGeneration.h"

#include <cmath>

#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Physics/FindRootBrent.h"
#include "Util/Exception.h"

namespace Ostra::Velmar {
namespace {

// The root of the braking residual is wanted to this friction coefficient.
constexpr double BrakingFrictionTolerance = 1e-06;
// A lap of fast corners closes onto its start within this speed (m/s); coarser than
// any LP format's speed unit, so the stored rounding cannot keep the pass going.
constexpr double ClosureTolerance = 1e-3;
// The closing laps shrink the mismatch geometrically; this only bounds damaged input.
constexpr int MaxClosingLaps = 200;

void CheckLines(const Papy::LpFile& source, const Papy::LpFile& target) {
  UTIL_ASSERT(source.GetRecordCount() >= target.GetRecordCount());
  const double spacing = target.GetRecordSpacing();
  UTIL_ASSERT(std::isfinite(spacing) && spacing > 0.0);
}

Papy::TrackFrame FrameOf(const Papy::LpFile& source, const Papy::Track& track, U32 i) {
  return track.GetFrame(source.GetRecordLongitude(i), source.GetRecordLatitude(i));
}

std::vector<double> PitchesOf(const Papy::LpFile& source, const Papy::Track& track, U32 count) {
  std::vector<double> pitches(count);
  for (U32 i = 0; i < count; ++i)
    pitches[i] = FrameOf(source, track, i).Pitch;
  return pitches;
}

// Formats without a yaw speed (ICR2) refuse to store one.
void SetSpeeds(Papy::LpFile& target, U32 i, double longitudinal, double lateral, double yaw) {
  target.SetRecordLongitudinalSpeed(i, longitudinal);
  target.SetRecordLateralSpeed(i, lateral);
  if (target.HasYawSpeed())
    target.SetRecordYawSpeed(i, yaw);
}

void ScaleSpeeds(Papy::LpFile& target, U32 i, double factor) {
  SetSpeeds(target, i, factor * target.GetRecordLongitudinalSpeed(i),
            factor * target.GetRecordLateralSpeed(i), factor * target.GetRecordYawSpeed(i));
}

// The first of the slowest records.
U32 SlowestRecord(const Papy::LpFile& target) {
  U32 slowest = 0;
  double lowest = target.GetRecordSpeed(0);
  for (U32 i = 1; i < target.GetRecordCount(); ++i) {
    const double speed = target.GetRecordSpeed(i);
    if (speed < lowest) {
      lowest = speed;
      slowest = i;
    }
  }
  return slowest;
}

// The friction the corner asks for at speed v, net of what the banking carries.
double LateralGripAt(const GripRecord& w, double v) {
  const double tan_bank = std::tan(w.Bank);
  const double rg = w.Radius * Car::Gravity;
  return (v * v - tan_bank * rg) / ((tan_bank - rg * w.DownforceFactor) * v * v + rg);
}

double SpeedFrom(double v, double acceleration, double spacing) {
  // Slowing to a stop within the spacing leaves no speed rather than a NaN.
  const double squared = v * v + 2.0 * acceleration * spacing;
  return squared > 0.0 ? std::sqrt(squared) : 0.0;
}

} // namespace

std::vector<GripRecord> ComputeSpeeds(const Papy::LpFile& source, Papy::LpFile& target,
                                      const Papy::Track& track, double grip) {
  std::vector<GripRecord> records = ApplyCorneringLimit(source, target, track, grip);
  ApplySpeedLimits(source, target);
  AccelerationPass(source, target, track, records);
  BrakingPass(source, target, track, records);
  return records;
}

std::vector<GripRecord> ApplyCorneringLimit(const Papy::LpFile& source, Papy::LpFile& target,
                                            const Papy::Track& track, double grip) {
  if (!(grip >= 0.0) || !std::isfinite(grip))
    throw Util::XUsage("The grip must be a number of 0 or more.");
  CheckLines(source, target);
  const double mu0 = grip * GripScale;
  const double top_speed_squared = TopSpeed * TopSpeed;

  std::vector<GripRecord> records;
  records.reserve(target.GetRecordCount());
  for (U32 i = 0; i < target.GetRecordCount(); ++i) {
    double longitudinal = source.GetRecordLongitudinalSpeed(i);
    double lateral = source.GetRecordLateralSpeed(i);
    const double yaw = source.GetRecordYawSpeed(i);
    double speed = source.GetRecordSpeed(i);
    UTIL_ASSERT(std::isfinite(longitudinal) && std::isfinite(lateral) && std::isfinite(yaw));
    if (!(speed > 0.0) || !std::isfinite(speed)) {
      // A source record without a direction: drive along the track.
      longitudinal = 1.0;
      lateral = 0.0;
      speed = 1.0;
    }
    const double curvature = yaw;

    const Papy::TrackFrame frame = FrameOf(source, track, i);
    GripRecord w;
    w.Bank = 0.0 < curvature ? -frame.Bank : frame.Bank;
    w.DownforceFactor =
        Car::AirDensity * Car::LiftArea / (std::cos(w.Bank) * 2.0 * Car::Mass * Car::Gravity);
    w.Grip = GetSurfaceGripFactor(frame.SurfaceType) * mu0;
    w.LongitudinalGrip = 0.0;

    double factor;
    if (std::fabs(curvature) < StraightCurvature) {
      factor = TopSpeed / speed;
      w.LateralGrip = 0.0;
      w.Radius = StraightRadius;
    } else {
      const double radius = std::fabs(1.0 / curvature);
      const double g_radius = radius * Car::Gravity;
      const double tan_bank = std::tan(w.Bank);
      // The limit uses the dialog's grip on every surface; the surface's own grip
      // only limits braking.
      const double ratio = GetCorneringRatio(tan_bank, mu0, g_radius * w.DownforceFactor);
      double limit = ratio == 0.0 ? 0.0 : std::sqrt(g_radius) * std::sqrt(ratio);
      if (limit > TopSpeed) {
        limit = TopSpeed;
        w.LateralGrip = (top_speed_squared - tan_bank * g_radius) /
                        ((tan_bank - g_radius * w.DownforceFactor) * top_speed_squared + g_radius);
      } else {
        w.LateralGrip = mu0;
      }
      factor = limit / speed;
      w.Radius = radius;
    }
    SetSpeeds(target, i, factor * longitudinal, factor * lateral, factor * yaw);
    records.push_back(w);
  }
  return records;
}

void ApplySpeedLimits(const Papy::LpFile& source, Papy::LpFile& target) {
  CheckLines(source, target);
  for (U32 i = 0; i < target.GetRecordCount(); ++i) {
    if (!source.HasRecordSpeedLimit(i))
      continue;
    const double limit = source.GetRecordSpeedLimit(i);
    const double speed = target.GetRecordSpeed(i);
    if (speed > limit)
      ScaleSpeeds(target, i, limit / speed);
  }
}

void AccelerationPass(const Papy::LpFile& source, Papy::LpFile& target, const Papy::Track& track,
                      std::vector<GripRecord>& records) {
  CheckLines(source, target);
  const U32 n = target.GetRecordCount();
  UTIL_ASSERT(records.size() == n);
  if (n == 0)
    return;
  const double spacing = target.GetRecordSpacing();
  const std::vector<double> pitches = PitchesOf(source, track, n);

  // Slows record r to what the car reaches from speed v at the record before it;
  // returns by how much.
  const auto limit = [&](U32 r, double v) {
    GripRecord& w = records[r];
    const AccelerationModel car(w.Grip, pitches[r], v, w.Bank, w.Radius, w.DownforceFactor,
                                spacing);
    const double reachable = SpeedFrom(v, car.GetAcceleration(), spacing);
    const double speed = target.GetRecordSpeed(r);
    if (!(speed > reachable))
      return 0.0;
    ScaleSpeeds(target, r, reachable / speed);
    w.LateralGrip = LateralGripAt(w, reachable);
    return speed - reachable;
  };

  const U32 m = SlowestRecord(target);
  double v = target.GetRecordSpeed(m);
  for (int lap = 0; lap < MaxClosingLaps; ++lap) {
    for (U32 k = 1; k < n; ++k) {
      const U32 r = (m + k) % n;
      limit(r, v);
      v = target.GetRecordSpeed(r);
    }
    // Normally the slowest record is reachable from the one before it and the lap is
    // done. When the whole lap is faster than the car can hold, the start is not, and
    // the speeds go round again from the lowered start.
    if (n < 2 || !(limit(m, v) > ClosureTolerance))
      break;
    v = target.GetRecordSpeed(m);
  }
}

void BrakingPass(const Papy::LpFile& source, Papy::LpFile& target, const Papy::Track& track,
                 std::vector<GripRecord>& records) {
  CheckLines(source, target);
  const U32 n = target.GetRecordCount();
  UTIL_ASSERT(records.size() == n);
  if (n == 0)
    return;
  const double spacing = target.GetRecordSpacing();

  const U32 m = SlowestRecord(target);
  double v = target.GetRecordSpeed(m);
  for (U32 k = 1; k < n; ++k) {
    const U32 r = (n + m - k) % n;
    GripRecord& w = records[r];
    const double pitch = FrameOf(source, track, r).Pitch;
    const BrakingModel brakes(w.Grip, pitch, v, w.Bank, w.Radius, w.DownforceFactor, spacing);

    double x;
    if (!(brakes(0.0) > 0.0))
      x = 0.0;
    else if (brakes(w.Grip) >= 0.0)
      x = w.Grip;
    else
      x = Physics::FindRootBrent(brakes, 0.0, w.Grip, BrakingFrictionTolerance);

    const double reachable = SpeedFrom(v, brakes.GetDeceleration(x), spacing);
    const double speed = target.GetRecordSpeed(r);
    if (speed > reachable) {
      ScaleSpeeds(target, r, reachable / speed);
      w.LongitudinalGrip = -x;
      w.LateralGrip = LateralGripAt(w, reachable);
    }
    v = target.GetRecordSpeed(r);
  }
}

} // namespace Ostra::Velmar
