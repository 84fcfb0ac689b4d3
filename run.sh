#!/usr/bin/env bash
# Builds the game, registers its tooltip component and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/prepare.sh"
"$top/build/regsvr" "$top/build/libpellwick.so" >/dev/null
exec "$top/build/murvel"
