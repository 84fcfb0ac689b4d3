#!/usr/bin/env bash
# Builds everything and runs the whole test suite on a real X server (Xvfb)
# with Qt's xcb platform instead of offscreen. Extra arguments go to ctest,
# for example: scripts/test-x11.sh -R Toolbar
#
# -noreset: an X server resets whenever its last client has gone, and
# refuses the connections that arrive meanwhile; with one short test
# process after the other that moment comes often.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/prepare.sh"
export QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy
cd "$top/build"
exec xvfb-run -a -s "-noreset -screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)" "$@"
