// The rows of the track tree and property list for a 2,000-segment GPL track: the
// whole tree as the tree view inserts it, every item's property rows, and the rows of
// one selection.
#include <vector>

#include <benchmark/benchmark.h>

#include "DocView/Core/TrackPropertyRows.h"
#include "DocView/Core/TrackTreeRows.h"
#include "Papy/Track/GPLTrkFile.h"
#include "Papy/Track/TrkTrack.h"
#include "TestSupport/GplTrkBuilder.h"
#include "Util/MemoryStream.h"

namespace {

using namespace Ostra;
using Test::GplTrkBuilder;

constexpr int Segments = 2000;

// Alternating curves and straights, the curves turning once round in all; five laterals
// and four surface records (three strips and a wall) per section.
CountedPtr<Papy::Track> LargeTrack() {
  std::vector<GplTrkBuilder::Shape> shapes;
  for (int i = 0; i < Segments / 2; ++i) {
    shapes.push_back({true, 40000, static_cast<S32>(2147483648.0 / (Segments / 2))});
    shapes.push_back({false, 30000, 0});
  }
  const std::vector<S32> altitudes(shapes.size(), 0);
  const auto bytes = GplTrkBuilder::Loop(shapes, {-300000, -100000, 0, 100000, 300000}, altitudes).Bytes();
  const CountedPtr<Papy::TrkFile> file(new Papy::GPLTrkFile(
      CountedPtr<Util::BinaryStream>(new Util::MemoryStream("large.trk", bytes))));
  return CountedPtr<Papy::Track>(new Papy::TrkTrack(file));
}

void TreeRows(benchmark::State& state) {
  const auto track = LargeTrack();
  std::size_t rows = 0;
  for (auto _ : state) {
    const auto tree = DocView::BuildTrackTreeItems(track.Get());
    rows = tree.size();
    benchmark::DoNotOptimize(tree.data());
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(TreeRows)->Unit(benchmark::kMillisecond);

void TreeAndEveryItemsPropertyRows(benchmark::State& state) {
  const auto track = LargeTrack();
  std::size_t fields = 0;
  for (auto _ : state) {
    fields = 0;
    for (const auto& row : DocView::BuildTrackTreeItems(track.Get()))
      fields += DocView::BuildPropertyRows(*track, row.Hint).size();
    benchmark::DoNotOptimize(fields);
  }
  state.counters["fields"] = static_cast<double>(fields);
}
BENCHMARK(TreeAndEveryItemsPropertyRows)->Unit(benchmark::kMillisecond);

void OneSelectionsPropertyRows(benchmark::State& state) {
  const auto track = LargeTrack();
  const DocView::TrackItemHint curve = DocView::MakeSegmentHint(Segments - 2);
  for (auto _ : state)
    benchmark::DoNotOptimize(DocView::BuildPropertyRows(*track, curve));
}
BENCHMARK(OneSelectionsPropertyRows)->Unit(benchmark::kMicrosecond);

} // namespace
