// Blocks of 1 MB allocated, written page by page and freed, as any buffer of that size
// is, under the heap policy the editor starts with: each block should come from the heap
// the last one went back to, with no page to fault in. The minor page faults per block
// are counted.
#include "Util/HeapPolicy.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstddef>
#include <memory>

namespace {

// As the editor's main does, before any benchmark runs.
const bool HeapPolicyApplied = [] {
  Ostra::Util::ApplyHeapPolicy();
  return true;
}();

long MinorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

void BM_OneMegabyteBlocks(benchmark::State& state) {
  constexpr std::size_t Size = 1 << 20;
  constexpr std::size_t Page = 4096;
  const long faults = MinorFaults();
  for (auto _ : state) {
    const std::unique_ptr<char[]> block(new char[Size]);
    for (std::size_t i = 0; i < Size; i += Page)
      block[i] = 1;
    benchmark::DoNotOptimize(block.get());
    benchmark::ClobberMemory();
  }
  state.counters["faults_per_block"] = benchmark::Counter(
      static_cast<double>(MinorFaults() - faults), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_OneMegabyteBlocks);

} // namespace
