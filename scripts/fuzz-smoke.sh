#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a few seconds,
# starting from a scratch copy of its saved corpus (the repository stays untouched).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-3}
build=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVELMAR_FUZZ=ON -DVELMAR_TESTS=OFF -DVELMAR_BENCH=OFF -DVELMAR_GUI=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for target in $(find "$build/fuzz" -maxdepth 5 -type f -name 'fuzz_*' -perm -u+x | sort); do
  name=$(basename "$target")
  mkdir -p "$work/$name"
  if [ -d "fuzz/corpus/$name" ]; then
    cp -r "fuzz/corpus/$name/." "$work/$name/"
  fi
  echo "fuzzing $name for ${seconds}s"
  "$target" -artifact_prefix="$work/" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 "$work/$name" 2>"$work/$name.log" || {
    tail -n 60 "$work/$name.log"
    echo "fuzz target $name failed"
    exit 1
  }
done
echo "fuzz smoke run passed"
