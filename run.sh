#!/usr/bin/env bash
# Installs what is missing, builds the editor and starts it. Arguments are files to open;
# without any, it opens the sample GPL track that the build writes into build/release/samples/.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_TESTS=OFF -DVELMAR_BENCH=OFF
cmake --build "$build" --target VelmarEditor VelmarSamples -j "$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Velmar is built ($build/Velmar/velmar), but there is no display to show its window on"
  echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run ./run.sh from a desktop session, or"
  echo "see it in a virtual display with scripts/screenshot.sh, which writes pictures of it."
  exit 1
fi
if [ $# -eq 0 ]; then
  set -- "$build/samples/gpl/gpl.trk"
fi
exec "$build/Velmar/velmar" "$@"
