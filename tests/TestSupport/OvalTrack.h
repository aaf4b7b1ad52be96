#pragma once

#include <cmath>
#include <numbers>

#include "Papy/Track/Track.h"

namespace Ostra::Test {

// An analytic track: a stadium of two straights of StraightLength joined by two
// half circles of Radius, driven counter-clockwise from (0, -Radius) heading along +x.
// A straight length of 0 makes a circle of Radius round the origin, where a line at
// constant latitude c is the circle of radius Radius - c. GetFrame wraps distances
// into the lap as every track does. The track has no segments.
class OvalTrack : public Papy::Track {
public:
  OvalTrack(double radius, double straightLength)
      : Radius(radius), StraightLength(straightLength),
        Length(2.0 * straightLength + 2.0 * std::numbers::pi * radius) {}

  double GetLength3D() const override { return Length; }
  double GetLength2D() const override { return Length; }
  double Length2DToLength3D(double distance) const override { return distance; }
  U32 GetSegmentCount() const override { return 0; }
  CountedPtr<Papy::TrackSegment> GetSegment(U32) const override { return {}; }
  double GetSegmentStart3D(U32) const override { return 0.0; }
  double GetSegmentStart2D(U32) const override { return 0.0; }
  CountedPtr<Papy::TrackSegment> GetSegmentAt(double distance, double& offset) const override {
    offset = distance;
    return {};
  }
  void Write(const CountedPtr<Util::BinaryStream>&) const override {}

  Papy::TrackFrame GetFrame(double distance, double latitude) const override {
    double d = std::fmod(distance, Length);
    if (d < 0.0)
      d += Length;
    const double half_turn = std::numbers::pi * Radius;
    double x;
    double y;
    double heading;
    if (d < StraightLength) {
      x = d;
      y = -Radius;
      heading = 0.0;
    } else if (d < StraightLength + half_turn) {
      const double angle = -std::numbers::pi / 2.0 + (d - StraightLength) / Radius;
      x = StraightLength + Radius * std::cos(angle);
      y = Radius * std::sin(angle);
      heading = angle + std::numbers::pi / 2.0;
    } else if (d < 2.0 * StraightLength + half_turn) {
      x = StraightLength - (d - StraightLength - half_turn);
      y = Radius;
      heading = std::numbers::pi;
    } else {
      const double angle = std::numbers::pi / 2.0 + (d - 2.0 * StraightLength - half_turn) / Radius;
      x = Radius * std::cos(angle);
      y = Radius * std::sin(angle);
      heading = angle + std::numbers::pi / 2.0;
    }
    heading = std::remainder(heading, 2.0 * std::numbers::pi);
    Papy::TrackFrame frame;
    // The latitude grows to the left of the heading.
    frame.X = x - latitude * std::sin(heading);
    frame.Y = y + latitude * std::cos(heading);
    frame.Orientation = heading;
    return frame;
  }

  // How far a point at a constant latitude moves in the plan per metre of distance:
  // 1 on the straights, (Radius - latitude) / Radius round the turns.
  double PlanSpeed(double distance, double latitude) const {
    double d = std::fmod(distance, Length);
    if (d < 0.0)
      d += Length;
    const double half_turn = std::numbers::pi * Radius;
    const bool straight = d < StraightLength ||
                          (d >= StraightLength + half_turn && d < 2.0 * StraightLength + half_turn);
    return straight ? 1.0 : (Radius - latitude) / Radius;
  }

  const double Radius;
  const double StraightLength;
  const double Length;
};

} // namespace Ostra::Test
