// Generate Curve on LPs of 800, 5,000 and 20,000 records: path curves, the fit within
// the default tolerance and the lap curve sampled from it. The line weaves every
// 150 m, so pieces stay short and the time should grow with the records.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "Papy/Curve/LpFileCurve.h"
#include "Papy/Lp/N4LpFile.h"
#include "TestSupport/OvalTrack.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace {

using namespace Ostra;

constexpr double Spacing = 3.0;
constexpr double Wavelength = 150.0;

struct Line {
  explicit Line(std::int64_t records) {
    const double length = static_cast<double>(records - 1) * Spacing + 1.0;
    const double radius = 250.0;
    Track = CountedPtr<Papy::Track>(
        new Test::OvalTrack(radius, (length - 2.0 * std::numbers::pi * radius) / 2.0));
    Lp = CountedPtr<Papy::LpFile>(new Papy::N4LpFile(Track, Spacing));
    // A whole number of waves round the lap keeps the line closed.
    const double waves = std::round(length / Wavelength);
    for (U32 i = 0; i < Lp->GetRecordCount(); ++i)
      Lp->SetRecordLatitude(
          i, 4.0 * std::sin(2.0 * std::numbers::pi * waves * Lp->GetRecordLongitude(i) / length));
  }
  CountedPtr<Papy::Track> Track;
  CountedPtr<Papy::LpFile> Lp;
};

void BM_GenerateCurveOfRecords(benchmark::State& state) {
  const Line line(state.range(0));
  for (auto _ : state) {
    const CountedPtr<Papy::LpFileCurve> curve =
        Velmar::GenerateCurve(line.Lp, line.Track, Velmar::DefaultCurveTolerance);
    benchmark::DoNotOptimize(curve.Get());
  }
  state.counters["records"] = line.Lp->GetRecordCount();
  state.SetComplexityN(line.Lp->GetRecordCount());
}
BENCHMARK(BM_GenerateCurveOfRecords)
    ->Arg(800)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
