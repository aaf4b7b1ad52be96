// Reading and writing LP files from and to memory, in records per second.
#include <vector>

#include <benchmark/benchmark.h>

#include "Papy/Lp/GPLLpFile.h"
#include "Papy/Lp/N4LpFile.h"
#include "Util/CharBuffer.h"
#include "Util/MemoryStream.h"
#include "Util/StreamIO.h"
#include "TestSupport/LpFakes.h"

namespace {

using namespace Ostra;

// A file image of count records of recordSize bytes with varied contents.
std::vector<char> LpImage(U32 version, U32 count, std::size_t recordSize) {
  std::vector<char> bytes(8 + count * recordSize);
  auto* p = reinterpret_cast<unsigned char*>(bytes.data());
  Util::StoreU32(p, version);
  Util::StoreU32(p + 4, count);
  for (std::size_t i = 8; i < bytes.size(); ++i)
    p[i] = static_cast<unsigned char>(i * 31 + 7);
  return bytes;
}

CountedPtr<Util::BinaryStream> Over(std::vector<char>& bytes) {
  return CountedPtr<Util::BinaryStream>(
      new Util::CharBuffer("bench.lp", static_cast<U32>(bytes.size()), bytes.data()));
}

constexpr U32 N4Records = 818;
constexpr U32 GplRecords = 5000;

void ReadN4(benchmark::State& state) {
  auto bytes = LpImage(0x10003, N4Records, 24);
  const auto stream = Over(bytes);
  for (auto _ : state) {
    Papy::N4LpFile lp(stream);
    benchmark::DoNotOptimize(lp.Records.data());
  }
  state.SetItemsProcessed(state.iterations() * N4Records);
}
BENCHMARK(ReadN4);

void WriteN4(benchmark::State& state) {
  auto bytes = LpImage(0x10003, N4Records, 24);
  const Papy::N4LpFile lp(Over(bytes));
  const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("out.lp"));
  for (auto _ : state)
    lp.Write(out);
  state.SetItemsProcessed(state.iterations() * N4Records);
}
BENCHMARK(WriteN4);

// The plan length that demands GplRecords records.
const auto GplTrack = Papy::LpTest::MakeTrk(3.0f * (GplRecords - 1));

void ReadGpl(benchmark::State& state) {
  auto bytes = LpImage(0x10002, GplRecords, 20);
  const auto stream = Over(bytes);
  for (auto _ : state) {
    Papy::GPLLpFile lp(stream, GplTrack);
    benchmark::DoNotOptimize(lp.Records.data());
  }
  state.SetItemsProcessed(state.iterations() * GplRecords);
}
BENCHMARK(ReadGpl);

void WriteGpl(benchmark::State& state) {
  auto bytes = LpImage(0x10002, GplRecords, 20);
  const Papy::GPLLpFile lp(Over(bytes), GplTrack);
  const CountedPtr<Util::BinaryStream> out(new Util::MemoryStream("out.lp"));
  for (auto _ : state)
    lp.Write(out);
  state.SetItemsProcessed(state.iterations() * GplRecords);
}
BENCHMARK(WriteGpl);

} // namespace
