// Frames along the lap of large N4 tracks read from built .ptf archives.
#include <cmath>
#include <numbers>
#include <vector>

#include <benchmark/benchmark.h>

#include "TestSupport/N4PtfBuilder.h"
#include "Papy/N4/N4ArchiverRegistry.h"
#include "Papy/N4/N4TdoFile.h"
#include "Papy/Ptf/PtfTrack.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;
using Test::Make;
using Test::N4PtfBuilder;

// A circle of radius 1000 m cut into left arcs, each with three cross sections and four
// surface lines, so that every frame takes the arc path.
std::vector<unsigned char> CircleTrack(int segments) {
  constexpr double radius = 1000.0;
  const double step = 2.0 * std::numbers::pi / segments;
  N4PtfBuilder::Track track;
  for (int i = 0; i < segments; ++i) {
    // Centre (0, radius); the start of the lap is (0, 0) heading along +x.
    const double a0 = i * step;
    const double a1 = (i + 1) * step;
    N4PtfBuilder::TrackSegment segment;
    segment.Type = 1;
    segment.StartX = radius * std::sin(a0);
    segment.StartY = radius - radius * std::cos(a0);
    segment.StartOrientation = a0;
    segment.EndX = radius * std::sin(a1);
    segment.EndY = radius - radius * std::cos(a1);
    segment.EndOrientation = i + 1 == segments ? 0.0 : a1;
    for (const double latitude : {-10.0, 0.0, 10.0})
      segment.XSections.push_back(Make(N4PtfBuilder::XSection{
          .StartLatitude = latitude, .EndLatitude = latitude,
          .StartAltitude = (i % 50) * 0.1, .EndAltitude = ((i + 1) % 50) * 0.1}));
    for (const double latitude : {-12.0, -6.0, 6.0, 12.0})
      segment.FSections.push_back(Make(N4PtfBuilder::FSection{
          .StartLatitude = latitude, .EndLatitude = latitude, .SurfaceCode = 1}));
    track.Segments.push_back(Make(segment));
  }
  N4PtfBuilder builder;
  builder.Write(track);
  return builder.Data();
}

CountedPtr<Papy::TdoFile> Read(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Papy::TdoFile>(new Papy::N4TdoFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("large.ptf", bytes)),
      Papy::N4ArchiverRegistry::Instance().GetReadable(), nullptr));
}

void ReadLargeTrack(benchmark::State& state) {
  const auto bytes = CircleTrack(2000);
  for (auto _ : state) {
    const Papy::PtfTrack track(Read(bytes));
    benchmark::DoNotOptimize(track.GetLength2D());
  }
}
BENCHMARK(ReadLargeTrack)->Unit(benchmark::kMillisecond);

// 100,000 frames spread along the lap, on tracks of 250 to 16,000 segments: the segment
// is found by a binary search over the starts, the frame reads three cross sections and
// up to four surface lines.
void FramesAlongTheLap(benchmark::State& state) {
  const Papy::PtfTrack track(Read(CircleTrack(static_cast<int>(state.range(0)))));
  constexpr int frames = 100000;
  const double step = track.GetLength2D() / frames;
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < frames; ++i)
      sum += track.GetFrame(i * step, 1.5).Z;
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(FramesAlongTheLap)->Arg(250)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

} // namespace
