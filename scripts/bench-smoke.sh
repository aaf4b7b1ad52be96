#!/usr/bin/env bash
# Builds the benchmarks as the README builds them (Release, without the tests) and runs
# every benchmark once, briefly, so that one that no longer builds or that crashes is
# caught. The figures of so short a run mean nothing; time with the README's command.
set -euo pipefail
cd "$(dirname "$0")/.."
min_time=${1:-0.01}
build=${BENCH_BUILD:-build/bench}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

log=$(mktemp)
trap 'rm -f "$log"' EXIT
for program in $(find "$build/bench" -type f -name 'bench_*' -perm -u+x | sort); do
  name=$(basename "$program")
  echo "benchmarking $name for ${min_time}s each"
  "$program" --benchmark_min_time="$min_time" >"$log" 2>&1 || {
    tail -n 40 "$log"
    echo "benchmark $name failed"
    exit 1
  }
  # A benchmark that cannot run reports an error but exits 0; only missing game files
  # may stop one.
  if grep "ERROR OCCURRED" "$log" | grep -v "The real game files are missing" >&2; then
    echo "benchmark $name reported an error"
    exit 1
  fi
done
echo "benchmark smoke run passed"
