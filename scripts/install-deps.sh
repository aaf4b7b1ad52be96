#!/usr/bin/env bash
# Installs exactly what building, testing and running Velmar needs. Idempotent.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libboost-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  libwxgtk3.2-dev libwxgtk-gl3.2-1 libgl1-mesa-dev libglu1-mesa-dev libegl-dev libegl-mesa0
  xvfb xauth openbox fonts-dejavu-core
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
