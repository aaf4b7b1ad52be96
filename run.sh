#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it; arguments are files to open.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_TESTS=OFF -DVELMAR_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
if [ -x "$build/Velmar/velmar" ]; then
  exec "$build/Velmar/velmar" "$@"
fi
echo "The editor application is not built yet: only its libraries exist so far."
