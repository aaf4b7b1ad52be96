// Fitting a lap curve over a 5 km track at 3 m spacing (1,667 records) with a growing
// number of control points, and writing it. Sampling costs one root search per record
// and a piece lookup by bisection per evaluation, so the time should grow with the
// logarithm of the control points only.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "Papy/Curve/LpFileCurve.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"
#include "TestSupport/OvalTrack.h"

namespace {

using namespace Ostra;
using Papy::LpFileCurve;

constexpr double Spacing = 3.0;
constexpr double LapLength = 5000.0;

const CountedPtr<Papy::Track>& Track5km() {
  static const CountedPtr<Papy::Track> track(
      new Test::OvalTrack(LapLength / (2.0 * std::numbers::pi), 0.0));
  return track;
}

// A .lcv image with points evenly spread over the lap on a gently weaving line.
std::vector<unsigned char> Image(unsigned points) {
  const auto& track = dynamic_cast<const Test::OvalTrack&>(*Track5km());
  const U32 records = static_cast<U32>(track.Length / Spacing) + 1;
  Util::MemoryStream out("bench.lcv");
  Util::WriteU32(out, 3);
  Util::WriteF64(out, Spacing);
  Util::WriteU32(out, records);
  Util::WriteU32(out, points);
  for (unsigned k = 0; k < points; ++k) {
    const double s = static_cast<double>(1 + (records - 2) * k / points) * Spacing;
    const double latitude = 4.0 * std::sin(2.0 * std::numbers::pi * 7.0 * s / track.Length);
    const Papy::TrackFrame f = track.GetFrame(s, latitude);
    const double speed = track.PlanSpeed(s, latitude);
    Util::WriteF64(out, s);
    Util::WriteF64(out, f.X);
    Util::WriteF64(out, f.Y);
    Util::WriteF64(out, speed * std::cos(f.Orientation));
    Util::WriteF64(out, speed * std::sin(f.Orientation));
  }
  Util::WriteU32(out, 0);
  return out.Bytes();
}

void BM_FitAndWrite(benchmark::State& state) {
  const std::vector<unsigned char> image = Image(static_cast<unsigned>(state.range(0)));
  for (auto _ : state) {
    const CountedPtr<Util::BinaryStream> in(new Util::MemoryStream("bench.lcv", image));
    const LpFileCurve curve(in, Track5km());
    Util::MemoryStream out("out.lcv");
    curve.Write(out);
    benchmark::DoNotOptimize(out.Bytes().data());
  }
}
BENCHMARK(BM_FitAndWrite)->Arg(50)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);

// One edit: the refit that follows every control-point change in the editor.
void BM_AddAndRemoveControlPoint(benchmark::State& state) {
  const std::vector<unsigned char> image = Image(static_cast<unsigned>(state.range(0)));
  LpFileCurve curve(CountedPtr<Util::BinaryStream>(new Util::MemoryStream("bench.lcv", image)),
                    Track5km());
  U32 record = 1;
  while (curve.IsControlPoint(record))
    ++record;
  for (auto _ : state) {
    curve.SetControlPoint(record, true);
    curve.SetControlPoint(record, false);
  }
}
BENCHMARK(BM_AddAndRemoveControlPoint)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
