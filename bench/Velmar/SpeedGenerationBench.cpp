// Giving a new line its speeds: four passes over the records, each one track frame per
// record, the braking pass a root search per record it brakes. The time should grow
// linearly with the records; 2,000 records is a 6 km lap at 3 m spacing.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Lp/N4LpFile.h"
#include "Velmar/Generators/SpeedGeneration.h"
#include "tests/Papy/Curve/LapCurveFixtures.h"

namespace {

using namespace Ostra;

// An oval of two 250 m turns whose straights make the lap `records` x 3 m long, with a
// line weaving across it so that it brakes into and accelerates out of every bend.
struct Setup {
  explicit Setup(std::int64_t records)
      : TrackModel(new Test::OvalTrack(
            250.0,
            (static_cast<double>(records - 1) * Test::Spacing - 500.0 * std::numbers::pi) / 2.0)) {
    const auto& oval = dynamic_cast<const Test::OvalTrack&>(*TrackModel);
    std::vector<Test::PointRecord> points;
    for (unsigned k = 1; static_cast<double>(k) * Test::Spacing < oval.Length; k += 10) {
      const double s = static_cast<double>(k) * Test::Spacing;
      const double latitude = 6.0 * std::sin(2.0 * std::numbers::pi * 9.0 * s / oval.Length);
      points.push_back(Test::LinePoint(oval, latitude, s));
    }
    Curve = CountedPtr<Papy::LpFile>(new Papy::LpFileCurve(Test::LapCurve(TrackModel, points)));
    Line = CountedPtr<Papy::LpFile>(new Papy::N4LpFile(TrackModel, Test::Spacing));
  }

  CountedPtr<Papy::Track> TrackModel;
  CountedPtr<Papy::LpFile> Curve;
  CountedPtr<Papy::LpFile> Line;
};

void BM_ComputeSpeeds(benchmark::State& state) {
  const Setup setup(state.range(0));
  for (auto _ : state) {
    const auto records = Velmar::ComputeSpeeds(*setup.Curve, *setup.Line, *setup.TrackModel, 1.0);
    benchmark::DoNotOptimize(records.data());
  }
  state.SetComplexityN(setup.Line->GetRecordCount());
  state.SetItemsProcessed(state.iterations() * setup.Line->GetRecordCount());
}
BENCHMARK(BM_ComputeSpeeds)
    ->Arg(800)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
