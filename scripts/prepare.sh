#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: install what a fresh Debian 12
# machine lacks, then configure and build into build/.
set -euo pipefail

packages=(cmake g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libsdl2-dev libchm-dev fp-utils
          # the game on a real X server: the server and its keyboard
          # layouts, real input, window queries, screenshots, the fonts the
          # windows name, Xlib for the start-up bench's window watcher, and
          # a window manager for the test of the windows under one
          xvfb xauth x11-xkb-utils xdotool x11-utils imagemagick fonts-liberation libx11-dev openbox)

source "$(dirname "${BASH_SOURCE[0]}")/install-packages.sh"
install_packages "${packages[@]}"

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j"$(nproc)"
