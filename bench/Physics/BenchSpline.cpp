// Building a closed spline must grow linearly with its knots (a tridiagonal solve),
// and evaluating must not scan the pieces (a binary search).
#include "Physics/CurvePiecewise.h"
#include "Physics/NaturalCubicSpline.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

using Ostra::Physics::CurvePiecewise;
using Ostra::Physics::NaturalCubicSpline;

constexpr double LapLength = 4000.0;
constexpr int Evaluations = 1000000;

Ostra::Util::CountedPtr<CurvePiecewise> BuildClosed(std::int64_t knots) {
  NaturalCubicSpline spline(true);
  const double spacing = LapLength / static_cast<double>(knots);
  for (std::int64_t i = 0; i < knots; ++i) {
    const double x = static_cast<double>(i) * spacing;
    spline.AddPoint(x, 5.0 * std::sin(x / 300.0) + 2.0 * std::cos(x / 45.0));
  }
  spline.Close(LapLength);
  return spline.Build();
}

void BM_BuildClosedSpline(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(BuildClosed(state.range(0)));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildClosedSpline)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

void BM_EvaluateClosedSpline(benchmark::State& state) {
  const auto curve = BuildClosed(state.range(0));
  std::mt19937 generator(42);
  std::uniform_real_distribution<double> parameter(0.0, LapLength);
  std::vector<double> parameters(Evaluations);
  for (double& t : parameters)
    t = parameter(generator);
  for (auto _ : state) {
    double sum = 0.0;
    for (const double t : parameters)
      sum += curve->Evaluate(t);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * Evaluations);
}
BENCHMARK(BM_EvaluateClosedSpline)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
