// The drivable corridor and the min/max race lines of a synthetic 5 km lap cut into 250,
// 2,000 and 16,000 segments, and the corridor of the 250-segment lap whose track.ini
// lists 2,000 or 20,000 pit lanes. The corridor should take time in proportion to the
// segments (routes merge at every step, so they never outnumber one segment's bands)
// and to the pit lanes; the lines' pull looks at the segments inside each record's 50 m
// window; the two fits do not depend on the segments.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Files/Facets.h"
#include "Papy/Lp/IniFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Papy/Types/SurfaceType.h"
#include "TestSupport/OvalTrack.h"
#include "TestSupport/TempDir.h"
#include "Velmar/Generators/MinMaxRaceLines.h"
#include "Velmar/Generators/RaceCorridor.h"

namespace {

using namespace Ostra;

constexpr double LapLength = 5000.0;
constexpr double TurnRadius = 300.0;

class Strip : public Papy::TrackFSection {
public:
  Strip(double right, double left, int surface) : Right(right), Left(left), Surface(surface) {}
  double GetRightStartLatitude() const override { return Right; }
  double GetRightEndLatitude() const override { return Right; }
  double GetLeftStartLatitude() const override { return Left; }
  double GetLeftEndLatitude() const override { return Left; }
  int GetSurfaceType() const override { return Surface; }
  int GetGripModifier() const override { return 0; }

private:
  double Right, Left;
  int Surface;
};

// A flat cross-section line.
class Line : public Papy::TrackXSection {
public:
  explicit Line(double latitude) : Latitude(latitude) {}
  double GetStartLatitude() const override { return Latitude; }
  double GetEndLatitude() const override { return Latitude; }
  void SetLatitude(double, double) override {}
  double GetStartAltitude() const override { return 0.0; }
  double GetEndAltitude() const override { return 0.0; }
  double GetStartSlope() const override { return 0.0; }
  double GetEndSlope() const override { return 0.0; }
  void SetAltitudes(double, double, double, double) override {}
  double GetLinearCoefficient() const override { return 0.0; }
  double GetSquareCoefficient() const override { return 0.0; }
  double GetCubeCoefficient() const override { return 0.0; }
  double GetAltitudeAt(double) const override { return 0.0; }

private:
  double Latitude;
};

// Only what the corridor reads of a segment: its plan length and its sections.
class Segment : public Papy::TrackSegment {
public:
  Segment(double length, std::vector<CountedPtr<Papy::TrackFSection>> strips,
          std::vector<CountedPtr<Papy::TrackXSection>> lines)
      : Length(length), Strips(std::move(strips)), Lines(std::move(lines)) {}
  bool IsCurve() const override { return false; }
  double GetCentrelineStartX() const override { return 0.0; }
  double GetCentrelineStartY() const override { return 0.0; }
  double GetCentrelineEndX() const override { return 0.0; }
  double GetCentrelineEndY() const override { return 0.0; }
  double GetLength3D() const override { return Length; }
  double GetLength2D() const override { return Length; }
  void GetArc(double&, double&, double&, double&) const override {}
  double GetStartOrientation() const override { return 0.0; }
  double GetEndOrientation() const override { return 0.0; }
  U32 GetXSectionCount() const override { return static_cast<U32>(Lines.size()); }
  CountedPtr<Papy::TrackXSection> GetXSection(U32 i) const override { return Lines[i]; }
  U32 GetFSectionCount() const override { return static_cast<U32>(Strips.size()); }
  CountedPtr<Papy::TrackFSection> GetFSection(U32 i) const override { return Strips[i]; }
  U32 GetWSectionCount() const override { return 0; }
  CountedPtr<Papy::TrackWSection> GetWSection(U32) const override { return {}; }
  Papy::TrackFrame GetFrame(double, double) const override { return {}; }

private:
  double Length;
  std::vector<CountedPtr<Papy::TrackFSection>> Strips;
  std::vector<CountedPtr<Papy::TrackXSection>> Lines;
};

// The stadium oval of Test::OvalTrack cut into equal segments: 16 m of asphalt between
// grass verges, with a grass median splitting it into two bands over the second third
// of the lap, so that routes branch there and merge again.
class SegmentedOval : public Test::OvalTrack {
public:
  explicit SegmentedOval(U32 segments)
      : OvalTrack(TurnRadius, (LapLength - 2.0 * std::numbers::pi * TurnRadius) / 2.0) {
    const double length = LapLength / segments;
    using Papy::SurfaceAsphalt;
    using Papy::SurfaceGrass;
    const std::vector<CountedPtr<Papy::TrackXSection>> lines = {
        CountedPtr<Papy::TrackXSection>(new Line(-8.0)), CountedPtr<Papy::TrackXSection>(new Line(0.0)),
        CountedPtr<Papy::TrackXSection>(new Line(8.0))};
    const auto strip = [](double right, double left, int surface) {
      return CountedPtr<Papy::TrackFSection>(new Strip(right, left, surface));
    };
    const std::vector<CountedPtr<Papy::TrackFSection>> whole = {
        strip(-20, -8, SurfaceGrass), strip(-8, 8, SurfaceAsphalt), strip(8, 20, SurfaceGrass)};
    const std::vector<CountedPtr<Papy::TrackFSection>> split = {
        strip(-20, -8, SurfaceGrass), strip(-8, -1, SurfaceAsphalt), strip(-1, 1, SurfaceGrass),
        strip(1, 8, SurfaceAsphalt), strip(8, 20, SurfaceGrass)};
    for (U32 s = 0; s < segments; ++s) {
      const bool median = 3 * s >= segments && 3 * s < 2 * segments;
      Segments.push_back(CountedPtr<Papy::TrackSegment>(new Segment(length, median ? split : whole, lines)));
    }
  }
  U32 GetSegmentCount() const override { return static_cast<U32>(Segments.size()); }
  CountedPtr<Papy::TrackSegment> GetSegment(U32 i) const override { return Segments[i]; }
  double GetSegmentStart2D(U32 i) const override { return i * LapLength / Segments.size(); }

private:
  std::vector<CountedPtr<Papy::TrackSegment>> Segments;
};

class NewN4Lps : public Papy::CreateLp {
public:
  explicit NewN4Lps(const CountedPtr<Papy::Track>& track) : Track(track) {}
  CountedPtr<Papy::LpFile> Create(const std::string&, double spacing) override {
    return CountedPtr<Papy::LpFile>(new Papy::N4LpFile(Track, spacing));
  }
  CountedPtr<Papy::Track> Track;
};

// A pit lane on the right that cuts the asphalt back to -6 m for 300 m, then as many
// more as asked, 0.2 m long and beside the verge, which cut nothing.
std::string TrackIni(std::int64_t extra_lanes) {
  std::string ini = "[ pit_lane_0 ]\nlane_bounds_dlong = 1000 1300\n"
                    "lane_bounds_dlat = -12 -6\nlane_on_right = 1\n";
  for (std::int64_t n = 1; n <= extra_lanes; ++n) {
    const std::string from = std::to_string(n % 4000);
    ini += "[ pit_lane_" + std::to_string(n) + " ]\nlane_bounds_dlong = " + from + " " + from +
           ".2\nlane_bounds_dlat = -30 -25\nlane_on_right = 1\n";
  }
  return ini;
}

struct Setup {
  explicit Setup(std::int64_t segments, std::int64_t extra_lanes = 0)
      : Track(new SegmentedOval(static_cast<U32>(segments))),
        Ini(Dir.WriteFile("track.ini", TrackIni(extra_lanes)), true) {}
  Test::TempDir Dir;
  CountedPtr<Papy::Track> Track;
  Papy::IniFile Ini;
};

void BM_BuildRaceCorridor(benchmark::State& state) {
  const Setup setup(state.range(0));
  for (auto _ : state) {
    const auto corridor = Velmar::BuildRaceCorridor(*setup.Track, setup.Ini);
    benchmark::DoNotOptimize(corridor.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildRaceCorridor)
    ->Arg(250)
    ->Arg(2000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A track.ini listing thousands of pit lanes: reading and applying them should take
// time in proportion to the lanes.
void BM_BuildRaceCorridorPitLanes(benchmark::State& state) {
  const Setup setup(250, state.range(0));
  for (auto _ : state) {
    const auto corridor = Velmar::BuildRaceCorridor(*setup.Track, setup.Ini);
    benchmark::DoNotOptimize(corridor.data());
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildRaceCorridorPitLanes)
    ->Arg(2000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_PullRaceLines(benchmark::State& state) {
  const Setup setup(state.range(0));
  const auto corridor = Velmar::BuildRaceCorridor(*setup.Track, setup.Ini);
  Papy::N4LpFile lp(setup.Track, 0.0);
  for (auto _ : state) {
    Velmar::PullRaceLine(lp, corridor, Velmar::CorridorEdge::Right, {});
    Velmar::PullRaceLine(lp, corridor, Velmar::CorridorEdge::Left, {});
    benchmark::DoNotOptimize(lp.GetRecordLatitude(0));
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PullRaceLines)
    ->Arg(250)
    ->Arg(2000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The whole command's work: corridor, both pulls and both fits.
void BM_CreateMinMaxRaceCurves(benchmark::State& state) {
  const Setup setup(state.range(0));
  NewN4Lps lps(setup.Track);
  for (auto _ : state) {
    const Velmar::MinMaxRaceCurves curves = Velmar::CreateMinMaxRaceCurves(setup.Track, setup.Ini, lps);
    benchmark::DoNotOptimize(curves.Min.Get());
  }
}
BENCHMARK(BM_CreateMinMaxRaceCurves)
    ->Arg(250)
    ->Arg(2000)
    ->Arg(16000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
