#!/usr/bin/env bash
# Builds the game and starts it.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/scripts/prepare.sh"
"$top/build/regsvr" "$top/build/libpellwick.so" >/dev/null
if [ ! -x "$top/build/murvel" ]; then
  echo "Murvel is built, but the game is not yet playable: its window does not exist yet."
  exit 0
fi
exec "$top/build/murvel"
