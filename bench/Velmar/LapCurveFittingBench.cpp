#include <numbers>
#include <string>

#include <benchmark/benchmark.h>

#include "Papy/Lp/N4LpFile.h"
#include "TestSupport/OvalTrack.h"
#include "TestSupport/TempDir.h"
#include "Util/BinaryFile.h"
#include "Util/Exception.h"
#include "Velmar/Generators/LapCurveFitting.h"

namespace {

using namespace Ostra;

// The real 818-record race line, on an oval of its length.
struct RaceLine {
  CountedPtr<Papy::LpFile> Lp;
  CountedPtr<Papy::Track> Track;
};

RaceLine LoadRaceLine() {
  CountedPtr<Util::BinaryStream> stream(
      Util::BinaryFile::OpenRead(Test::SharedData("n4/atlanta/race.lp")));
  RaceLine line;
  line.Lp = CountedPtr<Papy::LpFile>(new Papy::N4LpFile(stream));
  const double length = (line.Lp->GetRecordCount() - 0.5) * line.Lp->GetRecordSpacing();
  const double radius = 150.0;
  line.Track = CountedPtr<Papy::Track>(
      new Test::OvalTrack(radius, (length - 2.0 * std::numbers::pi * radius) / 2.0));
  return line;
}

// False, with the benchmark marked as not run, when the real game files are absent.
bool HaveRealFiles(benchmark::State& state) {
  const std::string missing = Test::MissingSharedData();
  if (!missing.empty())
    state.SkipWithError(missing.c_str());
  return missing.empty();
}

// The tolerance in centimetres.
void BM_FitRaceLine(benchmark::State& state) {
  if (!HaveRealFiles(state))
    return;
  const RaceLine line = LoadRaceLine();
  const double tolerance = static_cast<double>(state.range(0)) / 100.0;
  for (auto _ : state) {
    CountedPtr<Physics::Curve> x, y, fx, fy;
    Velmar::MakePathCurves(line.Lp, line.Track, x, y);
    Velmar::FitLapCurve(x, y, line.Track, line.Lp->GetRecordSpacing(), tolerance, fx, fy);
    benchmark::DoNotOptimize(fx.Get());
  }
  state.counters["records"] = line.Lp->GetRecordCount();
}
BENCHMARK(BM_FitRaceLine)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);

// Path curves, fit and the lap curve sampled from it.
void BM_GenerateCurve(benchmark::State& state) {
  if (!HaveRealFiles(state))
    return;
  const RaceLine line = LoadRaceLine();
  for (auto _ : state) {
    const CountedPtr<Papy::LpFileCurve> curve =
        Velmar::GenerateCurve(line.Lp, line.Track, Velmar::DefaultCurveTolerance);
    benchmark::DoNotOptimize(curve.Get());
  }
}
BENCHMARK(BM_GenerateCurve)->Unit(benchmark::kMillisecond);

} // namespace
