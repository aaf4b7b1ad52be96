#pragma once

#include <cmath>
#include <functional>
#include <stdexcept>
#include <vector>

#include "Papy/Track/Track.h"

// A track model of plain values, for the cases no game file can give: hundreds of items
// in a segment, chosen numbers, unknown type numbers and a model that throws.
namespace Ostra::Test {

struct FakeXSection : Papy::TrackXSection {
  double Values[7] = {};
  double GetStartLatitude() const override { return Values[0]; }
  double GetEndLatitude() const override { return Values[1]; }
  void SetLatitude(double, double) override {}
  double GetStartAltitude() const override { return Values[2]; }
  double GetEndAltitude() const override { return Values[3]; }
  double GetStartSlope() const override { return 0.0; }
  double GetEndSlope() const override { return 0.0; }
  void SetAltitudes(double, double, double, double) override {}
  double GetLinearCoefficient() const override { return Values[4]; }
  double GetSquareCoefficient() const override { return Values[5]; }
  double GetCubeCoefficient() const override { return Values[6]; }
  double GetAltitudeAt(double) const override { return 0.0; }
};

struct FakeFSection : Papy::TrackFSection {
  double RightStart = 0.0, RightEnd = 0.0, LeftStart = 0.0, LeftEnd = 0.0;
  int Type = 0;
  int Grip = 0;
  double GetRightStartLatitude() const override { return RightStart; }
  double GetRightEndLatitude() const override { return RightEnd; }
  double GetLeftStartLatitude() const override { return LeftStart; }
  double GetLeftEndLatitude() const override { return LeftEnd; }
  int GetSurfaceType() const override { return Type; }
  int GetGripModifier() const override { return Grip; }
};

struct FakeWSection : Papy::TrackWSection {
  double StartLatitude = 0.0, EndLatitude = 0.0, StartHeight = 0.0, EndHeight = 0.0;
  double StartWidth = 0.0, EndWidth = 0.0;
  int Type = 0;
  double GetStartLatitude() const override { return StartLatitude; }
  double GetEndLatitude() const override { return EndLatitude; }
  double GetStartHeight() const override { return StartHeight; }
  double GetEndHeight() const override { return EndHeight; }
  double GetStartWidth() const override { return StartWidth; }
  double GetEndWidth() const override { return EndWidth; }
  int GetWallType() const override { return Type; }
};

struct FakeSegment : Papy::TrackSegment {
  bool Curve = false;
  double StartX = 0.0, StartY = 0.0, EndX = 0.0, EndY = 0.0;
  double Length3D = 0.0, Length2D = 0.0, StartOrientation = 0.0, EndOrientation = 0.0;
  double CentreX = 0.0, CentreY = 0.0, Radius = 0.0, Sweep = 0.0;
  std::vector<CountedPtr<Papy::TrackXSection>> XSections;
  std::vector<CountedPtr<Papy::TrackFSection>> FSections;
  std::vector<CountedPtr<Papy::TrackWSection>> WSections;
  mutable int ArcCalls = 0;

  bool IsCurve() const override { return Curve; }
  double GetCentrelineStartX() const override { return StartX; }
  double GetCentrelineStartY() const override { return StartY; }
  double GetCentrelineEndX() const override { return EndX; }
  double GetCentrelineEndY() const override { return EndY; }
  double GetLength3D() const override { return Length3D; }
  double GetLength2D() const override { return Length2D; }
  void GetArc(double& cx, double& cy, double& radius, double& sweep) const override {
    ++ArcCalls;
    cx = CentreX;
    cy = CentreY;
    radius = Radius;
    sweep = Sweep;
  }
  double GetStartOrientation() const override { return StartOrientation; }
  double GetEndOrientation() const override { return EndOrientation; }
  U32 GetXSectionCount() const override { return static_cast<U32>(XSections.size()); }
  CountedPtr<Papy::TrackXSection> GetXSection(U32 i) const override { return XSections.at(i); }
  U32 GetFSectionCount() const override { return static_cast<U32>(FSections.size()); }
  CountedPtr<Papy::TrackFSection> GetFSection(U32 i) const override { return FSections.at(i); }
  U32 GetWSectionCount() const override { return static_cast<U32>(WSections.size()); }
  CountedPtr<Papy::TrackWSection> GetWSection(U32 i) const override { return WSections.at(i); }
  Papy::TrackFrame GetFrame(double, double) const override { return {}; }
};

// Segments are fetched with at(): an index past the end throws instead of reading
// beyond the vector. ThrowAt makes GetSegment of that index throw std::runtime_error.
struct FakeTrack : Papy::Track {
  std::vector<CountedPtr<Papy::TrackSegment>> Segments;
  std::vector<double> Starts3D, Starts2D;
  double Length3D = 0.0, Length2D = 0.0;
  long ThrowAt = -1;

  double GetLength3D() const override { return Length3D; }
  double GetLength2D() const override { return Length2D; }
  double Length2DToLength3D(double d) const override { return d; }
  U32 GetSegmentCount() const override { return static_cast<U32>(Segments.size()); }
  CountedPtr<Papy::TrackSegment> GetSegment(U32 i) const override {
    if (static_cast<long>(i) == ThrowAt)
      throw std::runtime_error("segment unreadable");
    return Segments.at(i);
  }
  double GetSegmentStart3D(U32 i) const override { return i < Starts3D.size() ? Starts3D[i] : 0.0; }
  double GetSegmentStart2D(U32 i) const override { return i < Starts2D.size() ? Starts2D[i] : 0.0; }
  CountedPtr<Papy::TrackSegment> GetSegmentAt(double, double& offset) const override {
    offset = 0.0;
    return {};
  }
  Papy::TrackFrame GetFrame(double, double) const override { return {}; }
  void Write(const CountedPtr<Util::BinaryStream>&) const override {}

  // Appends a segment with that many items of each kind, all zero.
  FakeSegment& Add(std::size_t traces, std::size_t surfaces, std::size_t walls) {
    auto* segment = new FakeSegment;
    Segments.emplace_back(segment);
    for (std::size_t i = 0; i < traces; ++i)
      segment->XSections.emplace_back(new FakeXSection);
    for (std::size_t i = 0; i < surfaces; ++i)
      segment->FSections.emplace_back(new FakeFSection);
    for (std::size_t i = 0; i < walls; ++i)
      segment->WSections.emplace_back(new FakeWSection);
    return *segment;
  }
};

} // namespace Ostra::Test
