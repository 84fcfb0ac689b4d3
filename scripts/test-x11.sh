#!/usr/bin/env bash
# Builds everything and runs the whole test suite on a real X server with
# Qt's xcb platform instead of offscreen: each test binary's run on an Xvfb
# display of its own (tests/support/on_own_display.sh), so that tests side
# by side do not take the keyboard focus or the pointer from each other.
# Extra arguments go to ctest, for example: scripts/test-x11.sh -R Toolbar
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/prepare.sh"
export MURVEL_TEST_DISPLAY=own SDL_AUDIODRIVER=dummy
cd "$top/build"
exec ctest --output-on-failure -j"$(nproc)" "$@"
