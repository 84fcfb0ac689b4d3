#!/usr/bin/env bash
# How fast a program shows its main window, and how much memory it holds
# then, on a real X server.
#
#   bench/startup.sh [-n RUNS] [-t TITLE] [-f] [PROGRAM [ARGS...]]
#
# Starts PROGRAM (default build/murvel) RUNS times (default 15), one after
# the other, on an Xvfb display of its own with a fresh home and
# configuration folder shared by the runs, and measures in each run the time
# from the process start until its top-level window named TITLE (default
# "Murvel") is mapped, and its resident memory (VmRSS) 3 seconds after the
# start. The first run pays for cold caches and first-time files, so the
# figures are over the runs after it; the first run is shown on its own.
# With -f each run also starts the floor, build/bench_empty_window (an
# empty Qt main window titled "Leer"), right after the program, so both are
# measured in one alternating series under the same load, and the summary
# gives the program's figures as multiples of the floor's.
# SDL_AUDIODRIVER is dummy unless set. Pellwick (build/libpellwick.so) is
# registered in the fresh configuration first. Needs the build
# (build/startup_watch).
# Examples:
#   bench/startup.sh
#   bench/startup.sh -t Leer build/bench_empty_window
#   bench/startup.sh -f
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=15
title=Murvel
floor=
while getopts "n:t:f" option; do
  case $option in
    n) runs=$OPTARG ;;
    t) title=$OPTARG ;;
    f) floor=$top/build/bench_empty_window ;;
    *) sed -n '2,/^set /p' "$0" | sed '$d' >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[ $# -gt 0 ] || set -- "$top/build/murvel"
[ "$runs" -ge 2 ] || { echo "at least 2 runs" >&2; exit 2; }
watch=$top/build/startup_watch
[ -x "$watch" ] || { echo "$watch is missing: build first" >&2; exit 2; }
command -v "$1" >/dev/null || { echo "$1 is missing: build first" >&2; exit 2; }
[ -z "$floor" ] || [ -x "$floor" ] || { echo "$floor is missing: build first" >&2; exit 2; }
program=$(command -v "$1")
shift

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
source "$top/tests/e2e/x11drive.sh"
x11_start_display 1280x1024
# The game creates its balloon component through the registry, as after
# ./run.sh; other programs do not mind the entry.
if [ -x "$top/build/regsvr" ] && [ -e "$top/build/libpellwick.so" ]; then
  "$top/build/regsvr" "$top/build/libpellwick.so" >/dev/null
fi

# One run: "MS KB" of the program named by the arguments after the title.
measure() {
  local line ms kb
  line=$("$watch" "$@")
  ms=${line#map_ms=}; ms=${ms%% *}
  kb=${line##*rss_kb=}
  echo "$ms $kb"
}

# median, minimum and maximum of the numbers on standard input
stats() { sort -g | awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; print m, v[1], v[NR] }'; }

# Prints the summary of one program; sets MED_MS and MED_KB.
summary() {
  local name=$1 window=$2 first=$3; shift 3
  local -a t=() m=()
  local pair
  for pair in "$@"; do t+=("${pair% *}") m+=("${pair#* }"); done
  read -r tmed tmin tmax < <(printf '%s\n' "${t[@]}" | stats)
  read -r mmed mmin mmax < <(printf '%s\n' "${m[@]}" | stats)
  echo "$name, window \"$window\", runs 2 to $runs (first run: $first):"
  printf '  mapped after  median %.1f ms, min %.1f ms, max %.1f ms\n' "$tmed" "$tmin" "$tmax"
  awk -v a="$mmed" -v b="$mmin" -v c="$mmax" 'BEGIN { printf "  VmRSS at 3 s  median %.1f MB, min %.1f MB, max %.1f MB\n", a / 1024, b / 1024, c / 1024 }'
  MED_MS=$tmed MED_KB=$mmed
}

results=() floors=()
for i in $(seq "$runs"); do
  read -r ms kb < <(measure "$title" "$program" "$@")
  printf 'run %2d: %7.1f ms %8d kB' "$i" "$ms" "$kb"
  if [ -n "$floor" ]; then
    read -r fms fkb < <(measure Leer "$floor")
    printf '   floor %7.1f ms %8d kB' "$fms" "$fkb"
  fi
  echo
  if [ "$i" -eq 1 ]; then
    first="$ms ms, $((kb / 1024)) MB"
    [ -z "$floor" ] || floorFirst="$fms ms, $((fkb / 1024)) MB"
    continue
  fi
  results+=("$ms $kb")
  [ -z "$floor" ] || floors+=("$fms $fkb")
done

summary "$(basename "$program")" "$title" "$first" "${results[@]}"
[ -n "$floor" ] || exit 0
ms=$MED_MS kb=$MED_KB
summary "$(basename "$floor")" Leer "$floorFirst" "${floors[@]}"
awk -v a="$ms" -v b="$MED_MS" -v c="$kb" -v d="$MED_KB" \
  'BEGIN { printf "against the floor: time %.2fx, memory %.2fx (medians)\n", a / b, c / d }'
