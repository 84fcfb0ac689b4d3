#!/usr/bin/env bash
# Builds the game (not its tests), registers its tooltip component and
# starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/prepare.sh" game
echo "Registering Pellwick"
"$top/build/regsvr" "$top/build/libpellwick.so" >/dev/null
echo "Starting Murvel"
exec "$top/build/murvel"
