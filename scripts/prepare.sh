#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs what a fresh Debian 12
# machine lacks, then configures and builds.
#   scripts/prepare.sh [--sanitize] [TARGET...]
# builds the TARGETs (default: everything) into build/; with --sanitize
# into build-san/, with the address and undefined-behaviour sanitizers and
# warnings as errors. It says what it does in a line per stage, the build's
# progress in one line on a terminal; the compiler's words go to
# <build folder>/build.log, and are shown when the build fails.
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
build=$top/build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = --sanitize ]; then
  shift
  build=$top/build-san
  options+=(-DMURVEL_SANITIZE=ON -DMURVEL_WERROR=ON)
fi
targets=("$@")
log=$build/build.log
mkdir -p "$build"

failed() {
  echo "$1 failed; the last lines of $log:" >&2
  grep -E -v '^\[ *[0-9]+%\] (Building|Linking|Built|Automatic|Generating)' "$log" | tail -n 40 >&2
  exit 1
}

echo "Configuring ${build#"$top"/}/"
cmake -S "$top" -B "$build" "${options[@]}" >"$log" 2>&1 || failed "Configuring"

echo "Building ${targets[*]:-everything}"
# Make's "[ 42%]" lines become one line that counts up, on a terminal.
progress() {
  local line shown=""
  while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    [ -t 1 ] || continue
    if [[ $line =~ ^\[\ *([0-9]+)%\] ]] && [ "${BASH_REMATCH[1]}" != "$shown" ]; then
      shown=${BASH_REMATCH[1]}
      printf '\r  %3d %%' "$shown"
    fi
  done
  [ -z "$shown" ] || printf '\r         \r'
}
target_options=()
[ ${#targets[@]} -eq 0 ] || target_options=(--target "${targets[@]}")
if ! cmake --build "$build" -j"$(nproc)" "${target_options[@]}" 2>&1 | progress; then
  failed "Building"
fi
