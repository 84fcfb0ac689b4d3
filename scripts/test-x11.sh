#!/usr/bin/env bash
# Builds everything and runs the whole test suite on a real X server (an
# Xvfb display of its own, as tests/e2e/x11drive.sh starts it) with Qt's
# xcb platform instead of offscreen. Extra arguments go to ctest, for
# example: scripts/test-x11.sh -R Toolbar
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/prepare.sh"
export SDL_AUDIODRIVER=dummy
cd "$top/build"
source "$top/tests/e2e/x11drive.sh"
x11_start_display 1280x1024
status=0
ctest --output-on-failure -j"$(nproc)" "$@" || status=$?
exit "$status"
