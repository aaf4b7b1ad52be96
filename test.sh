#!/usr/bin/env bash
# Installs what is missing, gives each fuzz target a short run when clang is present,
# builds the tests with AddressSanitizer and UndefinedBehaviorSanitizer, builds the
# benchmarks in Release and runs each briefly, then runs every test through CTest (GUI
# tests under Xvfb); CTest's summary closes the output. Tests that need the real game
# files skip when ../shared/data is absent (VELMAR_SHARED_DATA may name another copy).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh

if command -v clang++ >/dev/null 2>&1; then
  bash scripts/fuzz-smoke.sh "${FUZZ_SECONDS:-3}"
fi

jobs=$(nproc)
build=build/sanitize
# The benchmarks are built and run by bench-smoke.sh, in the build they are timed in.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMAR_SANITIZE=ON -DVELMAR_BENCH=OFF
cmake --build "$build" -j "$jobs"

bash scripts/bench-smoke.sh "${BENCH_MIN_TIME:-0.01}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j "$jobs")
