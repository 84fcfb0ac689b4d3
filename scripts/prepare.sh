#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: install what a fresh Debian 12
# machine lacks, then configure and build into build/.
set -euo pipefail

packages=(cmake g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev libchm-dev fp-utils
          # the game on a real X server: the server, real input, window
          # queries, screenshots, the fonts the windows name, and Xlib for
          # the start-up bench's window watcher
          xvfb xauth xdotool x11-utils imagemagick fonts-liberation libx11-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q "${missing[@]}" || { apt-get update -q && apt-get install -y -q "${missing[@]}"; }
  else
    echo "Please install these Debian packages first: ${missing[*]}" >&2
    exit 1
  fi
fi

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$(nproc)"
