#!/usr/bin/env bash
# Starts the editor on each sample folder (and once without a file) under Xvfb, with a
# window manager, and writes a PNG of its main window for each: screenshots/velmar-<case>.png.
# Fails when the editor crashes, shows no window, shows an empty one, logs a toolkit
# warning, or does not exit cleanly when its window is closed.
#
#   scripts/screenshot.sh                 builds build/release and writes build/release/screenshots/
#   scripts/screenshot.sh --editor E --grab G --samples S --out O   (as CTest runs it)
# With --readme R (always when it builds), R also writes velmar-readme.png, the README's
# picture: the GPL sample with a segment selected over race.lp's grid (docs/screenshot.png).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"

editor="" grab="" samples="" out="" readme=""
while [ $# -gt 0 ]; do
  case "$1" in
    --editor) editor="$2"; shift 2 ;;
    --grab) grab="$2"; shift 2 ;;
    --samples) samples="$2"; shift 2 ;;
    --out) out="$2"; shift 2 ;;
    --readme) readme="$2"; shift 2 ;;
    *) echo "screenshot.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done

if [ -z "$editor" ]; then
  build="$here/build/release"
  bash "$here/scripts/install-deps.sh"
  cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_BENCH=OFF >/dev/null
  cmake --build "$build" --target VelmarEditor VelmarSamples grab-window readme-shot -j "$(nproc)"
  editor="$build/Velmar/velmar"
  grab="$build/tests/VelmarApp/ShellScreenshot/grab-window"
  samples="$build/samples"
  out="$build/screenshots"
  readme="$build/tests/VelmarApp/Trk3DShot/readme-shot"
fi

# Always on a virtual display of its own: on a shared one (CTest runs window tests side
# by side) another program's "Velmar" window could be taken for this one.
if [ -z "${VELMAR_SCREENSHOT_DISPLAY:-}" ]; then
  if ! command -v xvfb-run >/dev/null; then
    echo "screenshot.sh: xvfb-run is missing (scripts/install-deps.sh installs it)" >&2
    exit 1
  fi
  VELMAR_SCREENSHOT_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$0" --editor "$editor" --grab "$grab" --samples "$samples" --out "$out" ${readme:+--readme "$readme"}
fi

mkdir -p "$out"
export LIBGL_ALWAYS_SOFTWARE=1 NO_AT_BRIDGE=1 GDK_BACKEND=x11
# The recent-file list of these runs stays out of the user's settings.
XDG_CONFIG_HOME="$(mktemp -d)"
export XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
# As on any desktop: GTK shows a window differently when a window manager answers it.
if command -v openbox >/dev/null; then openbox --sm-disable >/dev/null 2>&1 & sleep 1; fi

failed=0
shoot() {
  local name="$1"; shift
  local log="$out/velmar-$name.log"
  "$editor" "$@" 2>"$log" &
  local pid=$!
  if ! "$grab" Velmar "$out/velmar-$name.png" --close --timeout 60 --settle 4; then
    echo "screenshot.sh: $name: no usable window" >&2
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    cat "$log" >&2
    failed=1
    return
  fi
  local waited=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$waited" -ge 300 ]; then
      echo "screenshot.sh: $name: the editor did not exit after its window was closed" >&2
      kill -9 "$pid" 2>/dev/null || true
      failed=1
      break
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  local status=0
  wait "$pid" || status=$?
  cat "$log" >&2
  if grep -Eq '(Gtk|Gdk|GLib|GLib-GObject)-(CRITICAL|WARNING)' "$log"; then
    echo "screenshot.sh: $name: the toolkit logged warnings" >&2
    failed=1
  fi
  if [ "$status" -ne 0 ]; then
    echo "screenshot.sh: $name: the editor exited with status $status" >&2
    failed=1
  fi
}

shoot empty
shoot gpl "$samples/gpl/gpl.trk"
shoot n2 "$samples/n2/n2.trk"
shoot n4 "$samples/n4/n4.ptf"
if [ -n "$readme" ] && ! "$readme" --grab "$grab" --out "$out/velmar-readme.png"; then
  echo "screenshot.sh: readme: no picture" >&2
  failed=1
fi
exit "$failed"
