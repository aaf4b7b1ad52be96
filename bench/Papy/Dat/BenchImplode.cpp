// Codec speed on 10 MB corpora: English text (the system's licence texts) and machine
// code (the C++ runtime library), each repeated to size. explode is measured in bytes
// of output per second, implode in bytes of input per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Papy/Dat/Compression/PkCompression.h"

namespace {

using Bytes = std::vector<unsigned char>;
namespace fs = std::filesystem;

constexpr std::size_t CorpusSize = 10 * 1024 * 1024;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes RepeatToSize(Bytes seed) {
  if (seed.empty())
    seed.assign(1, 0);
  Bytes corpus;
  corpus.reserve(CorpusSize);
  while (corpus.size() < CorpusSize)
    corpus.insert(corpus.end(), seed.begin(),
                  seed.begin() + static_cast<std::ptrdiff_t>(std::min(seed.size(), CorpusSize - corpus.size())));
  return corpus;
}

const Bytes& TextCorpus() {
  static const Bytes corpus = [] {
    Bytes seed;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/usr/share/common-licenses", error)) {
      if (!entry.is_regular_file())
        continue;
      const Bytes text = ReadFile(entry.path());
      seed.insert(seed.end(), text.begin(), text.end());
    }
    return RepeatToSize(seed);
  }();
  return corpus;
}

const Bytes& BinaryCorpus() {
  static const Bytes corpus = RepeatToSize(ReadFile("/usr/lib/x86_64-linux-gnu/libstdc++.so.6"));
  return corpus;
}

Bytes Compress(const Bytes& input) {
  Bytes out(input.size() + input.size() / 8 + 64);
  out.resize(Ostra::Papy::PkCompression::Compress(input.data(), static_cast<Ostra::U32>(input.size()),
                                                  out.data(), static_cast<Ostra::U32>(out.size())));
  return out;
}

void Explode(benchmark::State& state, const Bytes& (*corpus)()) {
  const Bytes& input = corpus();
  const Bytes packed = Compress(input);
  Bytes out(input.size());
  for (auto _ : state) {
    const auto size = Ostra::Papy::PkCompression::Decompress(packed.data(), static_cast<Ostra::U32>(packed.size()),
                                                             out.data(), static_cast<Ostra::U32>(out.size()));
    benchmark::DoNotOptimize(size);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
  state.counters["ratio"] = static_cast<double>(packed.size()) / static_cast<double>(input.size());
}

void Implode(benchmark::State& state, const Bytes& (*corpus)()) {
  const Bytes& input = corpus();
  Bytes out(input.size() + input.size() / 8 + 64);
  for (auto _ : state) {
    const auto size = Ostra::Papy::PkCompression::Compress(input.data(), static_cast<Ostra::U32>(input.size()),
                                                           out.data(), static_cast<Ostra::U32>(out.size()));
    benchmark::DoNotOptimize(size);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

BENCHMARK_CAPTURE(Explode, Text, TextCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Explode, Binary, BinaryCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Implode, Text, TextCorpus)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Implode, Binary, BinaryCorpus)->Unit(benchmark::kMillisecond);

} // namespace
