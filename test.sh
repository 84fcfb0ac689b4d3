#!/usr/bin/env bash
# Builds everything and runs the whole test suite headless, twice: as
# built for play (build/), then built with the address and
# undefined-behaviour sanitizers, warnings as errors (build-san/).
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy

"$top/scripts/prepare.sh"
echo "Testing build/"
(cd "$top/build" && ctest --output-on-failure -j"$(nproc)")

"$top/scripts/prepare.sh" --sanitize
echo "Testing build-san/"
# A fault stops the program that has it, and its test fails; leaks inside
# the system's libraries are suppressed, the game's own are reported.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$top/tests/support/lsan.supp
(cd "$top/build-san" && ctest --output-on-failure -j"$(nproc)")
