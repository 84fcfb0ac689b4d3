#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/prepare.sh"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
cd "$top/build"
ctest --output-on-failure -j"$(nproc)"
