// Reading a 2,000-section GPL track and asking frames along its lap.
#include <vector>

#include <benchmark/benchmark.h>

#include "TestSupport/GplTrkBuilder.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;
using Test::GplTrkBuilder;

// A loop of alternating curves and straights; the curves turn once round in all.
std::vector<unsigned char> LargeTrack(int sections = 2000) {
  const int curves = sections / 2;
  std::vector<GplTrkBuilder::Shape> shapes;
  for (int i = 0; i < curves; ++i) {
    shapes.push_back({true, 40000, static_cast<S32>(2147483648.0 / curves)});
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

// 100,000 frames spread along the lap, on tracks of 250 to 16,000 sections: each frame
// is two map lookups, so the time per frame grows with the logarithm of the sections.
void FramesAlongTheLap(benchmark::State& state) {
  const Papy::TrkTrack track(Read(LargeTrack(static_cast<int>(state.range(0)))));
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
