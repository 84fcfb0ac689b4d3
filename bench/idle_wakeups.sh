#!/usr/bin/env bash
# How often the game wakes up at rest after a sound, on a real X server.
#
#   bench/idle_wakeups.sh [-s SECONDS] [-w SETTLE] [PROGRAM]
#
# Starts PROGRAM (default build/murvel) on an Xvfb display of its own with a
# fresh home, opens the top ten from the toolbar (it plays its tune), closes
# it again, which ends the tune, waits SETTLE seconds (default 5), and then
# counts the context switches of all the game's threads over SECONDS
# seconds (default 30): voluntary ones are wakeups. SDL_AUDIODRIVER is
# dummy unless set (it takes the real time a sound card takes). The game's
# output goes to build/idle_wakeups/, not to the current folder.
# Example:
#   bench/idle_wakeups.sh -s 30
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=30 settle=5
while getopts "s:w:" option; do
  case $option in
    s) seconds=$OPTARG ;;
    w) settle=$OPTARG ;;
    *) sed -n '2,/^set /p' "$0" | sed '$d' >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
program=$(cd "$(dirname "${1:-$top/build/murvel}")" && pwd)/$(basename "${1:-$top/build/murvel}")
[ -x "$program" ] || { echo "$program is missing: build first" >&2; exit 2; }
dir=$(dirname "$program")

export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
source "$top/tests/e2e/x11drive.sh"
source "$top/tests/e2e/murvel_screen.sh"
export X11_OUT=$top/build/idle_wakeups
x11_start_display 1280x1024
[ ! -x "$dir/regsvr" ] || "$dir/regsvr" "$dir/libpellwick.so" >/dev/null
x11_start "$program"
pid=$X11_PID
main=$(x11_wait_window Murvel 30)
sleep 1
x11_click "$main" "${MURVEL_TOOLBAR[keyTop10]}" "$MURVEL_TOOLBAR_Y"
score=$(x11_wait_window_sized 300 381)
sleep 1
x11_click "$score" 150 50 # the window's face closes it
x11_wait_gone "$score"
sleep "$settle"

# "TID VOLUNTARY INVOLUNTARY" of each thread; only threads that live over
# the whole measurement are counted, since an ended thread's count is gone.
switches() {
  local file tid
  for file in /proc/"$pid"/task/*/status; do
    tid=${file%/status}; tid=${tid##*/}
    awk -v tid="$tid" '/^voluntary_ctxt_switches/ { v = $2 } /^nonvoluntary_ctxt_switches/ { n = $2 } END { print tid, v, n }' "$file" 2>/dev/null || true
  done | sort
}
before=$(switches)
ticks0=$(awk '{ print $14 + $15 }' /proc/"$pid"/stat)
names=$(cat /proc/"$pid"/task/*/comm | sort | uniq -c | awk '{ printf "%s%s x%d", sep, substr($0, index($0, $2)), $1; sep = ", " }')
sleep "$seconds"
after=$(switches)
ticks1=$(awk '{ print $14 + $15 }' /proc/"$pid"/stat)
echo "$(basename "$program") at rest after a sound, $seconds s from $settle s after it ended"
echo "  threads: $names"
join <(echo "$before") <(echo "$after") | awk -v s="$seconds" -v t=$((ticks1 - ticks0)) -v hz="$(getconf CLK_TCK)" \
  '{ v += $4 - $2; n += $5 - $3 } END { printf "  %d voluntary context switches (%.1f a second), %d involuntary; %.0f ms of CPU\n", v, v / s, n, t * 1000 / hz }'
