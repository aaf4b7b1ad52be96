// Reading a 2,000-section GPL track and asking frames along its lap.
#include <vector>

#include <benchmark/benchmark.h>

#include "GplTrkBuilder.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;
using Test::GplTrkBuilder;

// 1024 curves of 1/1024 turn each, with a straight after all but 48 of them.
std::vector<unsigned char> LargeTrack() {
  std::vector<GplTrkBuilder::Shape> shapes;
  for (int i = 0; i < 1024; ++i) {
    shapes.push_back({true, 40000, 1 << 21});
    if (i < 976)
      shapes.push_back({false, 30000, 0});
  }
  std::vector<S32> altitudes(shapes.size());
  for (std::size_t s = 0; s < altitudes.size(); ++s)
    altitudes[s] = static_cast<S32>(s % 50) * 100;
  return GplTrkBuilder::Loop(shapes, {-300000, -100000, 0, 100000, 300000}, altitudes).Bytes();
}

CountedPtr<Papy::TrkFile> Read(const std::vector<unsigned char>& bytes) {
  return CountedPtr<Papy::TrkFile>(new Papy::GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("large.trk", bytes))));
}

void ReadLargeTrack(benchmark::State& state) {
  const auto bytes = LargeTrack();
  for (auto _ : state) {
    const auto file = Read(bytes);
    benchmark::DoNotOptimize(file->GetLength2D());
  }
}
BENCHMARK(ReadLargeTrack)->Unit(benchmark::kMillisecond);

// 100,000 frames spread along the lap: each one is two map lookups, so the time per
// frame must not grow with the number of sections.
void FramesAlongTheLap(benchmark::State& state) {
  const Papy::TrkTrack track(Read(LargeTrack()));
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
BENCHMARK(FramesAlongTheLap)->Unit(benchmark::kMillisecond);

} // namespace
