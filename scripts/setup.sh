#!/usr/bin/env bash
# Installs every Debian package the build, the game, the tests, the benchmarks and the fuzzers need.
# Does nothing when all of them are present; uses sudo only when not run as root.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libglfw3-dev libgl-dev libgl1-mesa-dri libopenal-dev libopenal1 libstb-dev
  libvorbis-dev libcairo2-dev libfreetype-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils xdg-utils libx11-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
