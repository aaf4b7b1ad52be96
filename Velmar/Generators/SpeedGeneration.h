#pragma once

#include <vector>

#include "Velmar/Generators/VehicleModel.h"

namespace Ostra::Papy {
class LpFile;
class Track;
} // namespace Ostra::Papy

namespace Ostra::Velmar {

// Speeds for a new line that already has the positions of a lap curve. The source is
// the lap curve (its speeds give the line's direction at unit speed and its yaw speed
// the signed plan curvature, 1/m); the target is the new line, record i of the target
// lying on record i of the source. Only the target's speeds change, its yaw speed only
// where its format keeps one. The track is asked for the frame (bank, pitch, surface)
// under each source record.
//
// Runs the four passes below in order and returns one GripRecord per target record.
// Throws Util::XUsage for a grip that is negative or not a number, and XAssertion when
// the source has fewer records than the target or the target's spacing is not a
// positive number. The result is the same whatever the target's speeds were.
std::vector<GripRecord> ComputeSpeeds(const Papy::LpFile& source, Papy::LpFile& target,
                                      const Papy::Track& track, double grip);

// The top speed the cornering limit is held to, m/s.
inline constexpr double TopSpeed = 144.0;
// Below this |curvature| (1/m) a record counts as straight.
inline constexpr double StraightCurvature = 1e-06;
// The dialog's grip of 1.0 is this friction coefficient on asphalt.
inline constexpr double GripScale = 1.21;

// Pass 1: every target record gets the speed at which the car just holds the line's
// curvature on the track's banking (TopSpeed at most), in the source's direction.
// Returns the records' corner geometry and grip. Preconditions as ComputeSpeeds.
std::vector<GripRecord> ApplyCorneringLimit(const Papy::LpFile& source, Papy::LpFile& target,
                                            const Papy::Track& track, double grip);

// Pass 2: the source's speed limits cap the target's speeds.
void ApplySpeedLimits(const Papy::LpFile& source, Papy::LpFile& target);

// Pass 3: from the slowest record forward round the lap, no record is faster than the
// power-limited car can reach from the record before it. When even the slowest record
// is faster than the car can hold (a lap of fast corners), the pass keeps going round
// until the lap closes onto itself. Updates LateralGrip of the records it slows.
void AccelerationPass(const Papy::LpFile& source, Papy::LpFile& target, const Papy::Track& track,
                      std::vector<GripRecord>& records);

// Pass 4: from the slowest record backward round the lap, no record is faster than the
// car can brake from to the record after it, sharing its grip between braking and
// cornering. Updates LongitudinalGrip and LateralGrip of the records it slows.
void BrakingPass(const Papy::LpFile& source, Papy::LpFile& target, const Papy::Track& track,
                 std::vector<GripRecord>& records);

} // namespace Ostra::Velmar
