#pragma once

#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "Papy/Lp/LpFile.h"
#include "Papy/Track/Track.h"
#include "Util/CountedPtr.h"
#include "Util/Exception.h"

// Tracks and LPs built in memory for the 3D view's tests and benchmarks: straight
// segments laid end to end, with strips and walls as given.
namespace Ostra::Test {

struct StripShape {
  double RightStart;
  double RightEnd;
  double LeftStart;
  double LeftEnd;
  int Type;
  int Grip = 0;
};

struct WallShape {
  double StartLatitude;
  double EndLatitude;
  double StartWidth;
  double EndWidth;
  int Type;
};

class SyntheticStrip : public Papy::TrackFSection {
public:
  explicit SyntheticStrip(const StripShape& shape) : Shape(shape) {}
  double GetRightStartLatitude() const override { return Shape.RightStart; }
  double GetRightEndLatitude() const override { return Shape.RightEnd; }
  double GetLeftStartLatitude() const override { return Shape.LeftStart; }
  double GetLeftEndLatitude() const override { return Shape.LeftEnd; }
  int GetSurfaceType() const override { return Shape.Type; }
  int GetGripModifier() const override { return Shape.Grip; }
  StripShape Shape;
};

class SyntheticWall : public Papy::TrackWSection {
public:
  explicit SyntheticWall(const WallShape& shape) : Shape(shape) {}
  double GetStartLatitude() const override { return Shape.StartLatitude; }
  double GetEndLatitude() const override { return Shape.EndLatitude; }
  double GetStartHeight() const override { return 1.0; }
  double GetEndHeight() const override { return 1.0; }
  double GetStartWidth() const override { return Shape.StartWidth; }
  double GetEndWidth() const override { return Shape.EndWidth; }
  int GetWallType() const override { return Shape.Type; }
  WallShape Shape;
};

// A straight piece from (X, Y) heading Heading (radians), Length2D long in plan; the
// game length Length3D may differ, as on a slope.
class SyntheticSegment : public Papy::TrackSegment {
public:
  double X = 0.0;
  double Y = 0.0;
  double Heading = 0.0;
  double Length2D = 0.0;
  double Length3D = 0.0;
  std::vector<StripShape> Strips;
  std::vector<WallShape> Walls;
  // When set, GetFrame throws after this many calls (for unwinding tests).
  mutable int FramesBeforeFailure = -1;

  bool IsCurve() const override { return false; }
  double GetCentrelineStartX() const override { return X; }
  double GetCentrelineStartY() const override { return Y; }
  double GetCentrelineEndX() const override { return X + Length2D * std::cos(Heading); }
  double GetCentrelineEndY() const override { return Y + Length2D * std::sin(Heading); }
  double GetLength3D() const override { return Length3D; }
  double GetLength2D() const override { return Length2D; }
  void GetArc(double&, double&, double&, double&) const override {}
  double GetStartOrientation() const override { return Heading; }
  double GetEndOrientation() const override { return Heading; }
  U32 GetXSectionCount() const override { return 0; }
  Util::CountedPtr<Papy::TrackXSection> GetXSection(U32) const override { return {}; }
  U32 GetFSectionCount() const override { return static_cast<U32>(Strips.size()); }
  Util::CountedPtr<Papy::TrackFSection> GetFSection(U32 i) const override {
    UTIL_ASSERT(i < Strips.size());
    return Util::CountedPtr<Papy::TrackFSection>(new SyntheticStrip(Strips[i]));
  }
  U32 GetWSectionCount() const override { return static_cast<U32>(Walls.size()); }
  Util::CountedPtr<Papy::TrackWSection> GetWSection(U32 i) const override {
    UTIL_ASSERT(i < Walls.size());
    return Util::CountedPtr<Papy::TrackWSection>(new SyntheticWall(Walls[i]));
  }
  Papy::TrackFrame GetFrame(double distance, double latitude) const override {
    if (FramesBeforeFailure == 0)
      throw Util::XUsage("The synthetic track failed on purpose.");
    if (FramesBeforeFailure > 0)
      --FramesBeforeFailure;
    const double c = std::cos(Heading);
    const double s = std::sin(Heading);
    Papy::TrackFrame frame;
    frame.X = X + distance * c - latitude * s;
    frame.Y = Y + distance * s + latitude * c;
    frame.Orientation = Heading;
    return frame;
  }
};

// Segments end to end; GetFrame wraps the distance into the lap.
class SyntheticTrack : public Papy::Track {
public:
  std::vector<Util::CountedPtr<SyntheticSegment>> Segments;

  double GetLength3D() const override { return Sum(&SyntheticSegment::Length3D); }
  double GetLength2D() const override { return Sum(&SyntheticSegment::Length2D); }
  double Length2DToLength3D(double distance) const override { return distance; }
  U32 GetSegmentCount() const override { return static_cast<U32>(Segments.size()); }
  Util::CountedPtr<Papy::TrackSegment> GetSegment(U32 index) const override {
    UTIL_ASSERT(index < Segments.size());
    return Segments[index];
  }
  double GetSegmentStart3D(U32 index) const override { return Start(index); }
  double GetSegmentStart2D(U32 index) const override { return Start(index); }
  Util::CountedPtr<Papy::TrackSegment> GetSegmentAt(double distance,
                                                    double& offset) const override {
    const U32 index = IndexAt(distance, offset);
    return Segments.empty() ? Util::CountedPtr<Papy::TrackSegment>() : GetSegment(index);
  }
  Papy::TrackFrame GetFrame(double distance, double latitude) const override {
    if (Segments.empty())
      return {};
    double offset = 0.0;
    const U32 index = IndexAt(distance, offset);
    return Segments[index]->GetFrame(offset, latitude);
  }
  void Write(const Util::CountedPtr<Util::BinaryStream>&) const override {}

private:
  double Sum(double SyntheticSegment::*field) const {
    double total = 0.0;
    for (const auto& segment : Segments)
      total += (*segment).*field;
    return total;
  }
  double Start(U32 index) const {
    double start = 0.0;
    for (U32 i = 0; i < index && i < Segments.size(); ++i)
      start += Segments[i]->Length2D;
    return start;
  }
  U32 IndexAt(double distance, double& offset) const {
    const double length = GetLength2D();
    double d = length > 0.0 ? std::fmod(distance, length) : 0.0;
    if (d < 0.0)
      d += length;
    for (U32 i = 0; i < Segments.size(); ++i) {
      if (d < Segments[i]->Length2D || i + 1 == Segments.size()) {
        offset = d;
        return i;
      }
      d -= Segments[i]->Length2D;
    }
    offset = 0.0;
    return 0;
  }
};

// count straight segments of length metres along +x from the origin, all with the same
// strips and walls.
inline Util::CountedPtr<SyntheticTrack> StraightTrack(int count, double length,
                                                       const std::vector<StripShape>& strips,
                                                       const std::vector<WallShape>& walls = {}) {
  Util::CountedPtr<SyntheticTrack> track(new SyntheticTrack);
  for (int i = 0; i < count; ++i) {
    Util::CountedPtr<SyntheticSegment> segment(new SyntheticSegment);
    segment->X = i * length;
    segment->Length2D = length;
    segment->Length3D = length;
    segment->Strips = strips;
    segment->Walls = walls;
    track->Segments.push_back(segment);
  }
  return track;
}

// A closed loop of count equal straight segments (a regular polygon), each length long.
inline Util::CountedPtr<SyntheticTrack> PolygonTrack(int count, double length,
                                                      const std::vector<StripShape>& strips,
                                                      const std::vector<WallShape>& walls = {}) {
  Util::CountedPtr<SyntheticTrack> track(new SyntheticTrack);
  double x = 0.0;
  double y = 0.0;
  for (int i = 0; i < count; ++i) {
    Util::CountedPtr<SyntheticSegment> segment(new SyntheticSegment);
    segment->X = x;
    segment->Y = y;
    segment->Heading = 2.0 * std::numbers::pi * i / count;
    segment->Length2D = length;
    segment->Length3D = length;
    segment->Strips = strips;
    segment->Walls = walls;
    x = segment->GetCentrelineEndX();
    y = segment->GetCentrelineEndY();
    track->Segments.push_back(segment);
  }
  return track;
}

// An LP held in memory; record i lies at longitude (i + 1) x Spacing, as in the files.
class MemoryLp : public Papy::LpFile {
public:
  enum Flag : U32 {
    StartSpeedCheckpoint = 1u << 0,
    EndSpeedCheckpoint = 1u << 1,
    OutbrakeDecisionPoint = 1u << 2,
    AbandonPass = 1u << 3,
    StartLongStraight = 1u << 4,
    EndLongStraight = 1u << 5,
    InitiateCornering = 1u << 6,
    SetSpeedCoeffTo1 = 1u << 7,
    StartNoPassZone = 1u << 8,
    EndNoPassZone = 1u << 9,
    StartPass1Zone = 1u << 10,
    StartPass2Zone = 1u << 11,
    StartAbruptPass1Zone = 1u << 12,
    StartAbruptPass2Zone = 1u << 13,
    TireWarmup = 1u << 14,
    ControlPoint = 1u << 15,
  };
  struct Record {
    double Latitude = 0.0;
    double LongitudinalSpeed = 0.0;
    double LateralSpeed = 0.0;
    double YawSpeed = 0.0;
    double SpeedModifier = 1.0;
    U32 Flags = 0;
  };

  MemoryLp(U32 count, double spacing) : Records(count), Spacing(spacing) {}

  std::vector<Record> Records;
  double Spacing;
  bool HasZones = true;

  U32 GetRecordCount() const override { return static_cast<U32>(Records.size()); }
  double GetRecordSpacing() const override { return Spacing; }
  bool HasSpeedCheckpoints() const override { return HasZones; }
  bool HasLongStraight() const override { return HasZones; }
  bool HasNoPassZone() const override { return HasZones; }
  U32 GetRecordIndex(double longitude) const override {
    return static_cast<U32>(longitude / Spacing) - 1;
  }
  double GetRecordLongitude(U32 i) const override { return (i + 1) * Spacing; }
  double GetRecordLatitude(U32 i) const override { return Records[i].Latitude; }
  double GetRecordLongitudinalSpeed(U32 i) const override { return Records[i].LongitudinalSpeed; }
  double GetRecordLateralSpeed(U32 i) const override { return Records[i].LateralSpeed; }
  double GetRecordYawSpeed(U32 i) const override { return Records[i].YawSpeed; }
  double GetRecordSpeedModifier(U32 i) const override { return Records[i].SpeedModifier; }
  bool IsControlPoint(U32 i) const override { return Is(i, ControlPoint); }
  bool IsStartSpeedCheckpoint(U32 i) const override { return Is(i, StartSpeedCheckpoint); }
  bool IsEndSpeedCheckpoint(U32 i) const override { return Is(i, EndSpeedCheckpoint); }
  bool IsOutbrakeDecisionPoint(U32 i) const override { return Is(i, OutbrakeDecisionPoint); }
  bool IsAbandonPass(U32 i) const override { return Is(i, AbandonPass); }
  bool IsStartLongStraight(U32 i) const override { return Is(i, StartLongStraight); }
  bool IsEndLongStraight(U32 i) const override { return Is(i, EndLongStraight); }
  bool IsInitiateCornering(U32 i) const override { return Is(i, InitiateCornering); }
  bool IsSetSpeedCoeffTo1(U32 i) const override { return Is(i, SetSpeedCoeffTo1); }
  bool IsStartNoPassZone(U32 i) const override { return Is(i, StartNoPassZone); }
  bool IsEndNoPassZone(U32 i) const override { return Is(i, EndNoPassZone); }
  bool IsStartPass1Zone(U32 i) const override { return Is(i, StartPass1Zone); }
  bool IsStartPass2Zone(U32 i) const override { return Is(i, StartPass2Zone); }
  bool IsStartAbruptPass1Zone(U32 i) const override { return Is(i, StartAbruptPass1Zone); }
  bool IsStartAbruptPass2Zone(U32 i) const override { return Is(i, StartAbruptPass2Zone); }
  bool IsTireWarmup(U32 i) const override { return Is(i, TireWarmup); }
  void SetRecordLatitude(U32 i, double latitude) override { Records[i].Latitude = latitude; }
  void SetRecordLongitudinalSpeed(U32 i, double v) override { Records[i].LongitudinalSpeed = v; }
  void SetRecordLateralSpeed(U32 i, double v) override { Records[i].LateralSpeed = v; }
  void Write(const Util::CountedPtr<Util::BinaryStream>&) const override {}

private:
  bool Is(U32 i, Flag flag) const { return (Records[i].Flags & flag) != 0; }
};

} // namespace Ostra::Test
