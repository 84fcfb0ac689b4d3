#!/usr/bin/env bash
# Runs a test binary: BINARY ARGS... With MURVEL_TEST_DISPLAY=own (as
# scripts/test-x11.sh sets it) the run gets an X display of its own, so that
# tests running side by side share no keyboard focus, pointer or screen, and
# none finds what an earlier one left there; otherwise it only runs it.
if [ "${MURVEL_TEST_DISPLAY:-}" != own ] || [[ " $* " == *" --gtest_list_tests "* ]]; then
  exec "$@"
fi
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/x11drive.sh"
x11_start_display 1280x1024
status=0
"$@" || status=$?
exit "$status"
