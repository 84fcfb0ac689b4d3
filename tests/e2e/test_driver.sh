#!/usr/bin/env bash
# Proves the X driver on its probe window: the splash and the window are
# found, a real click reaches the button, typed text with umlauts and a key
# reach the line edit, the screen is captured, and everything stops.
# Usage: test_driver.sh PROBE_PROGRAM OUTPUT_FOLDER
set -euo pipefail
probe=$1
export X11_OUT=$2
source "$(dirname "$0")/x11drive.sh"

rm -rf "$X11_OUT"
x11_start_display 1024x768
received=$X11_OUT/received.txt
x11_start "$probe" "$received"
pid=$X11_PID

splash=$(x11_wait_window_sized 240 120)
window=$(x11_wait_window "Prüfstand")
[ "$(x11_geometry "$window")" = "40 40 300 140" ] || { echo "window at $(x11_geometry "$window")" >&2; exit 1; }
[ "$(x11_geometry "$splash")" = "400 300 240 120" ] || { echo "splash at $(x11_geometry "$splash")" >&2; exit 1; }
x11_wait_still "$window"
x11_screenshot 1-shown.png

x11_click "$window" 100 35 # the button, which closes the splash
x11_wait_gone "$splash"
x11_click "$window" 120 85 # into the line edit
x11_type "Jürgen Größe 12"
x11_wait_still "$window"
x11_screenshot 2-typed.png
x11_key Return
x11_wait_exit "$pid"
[ "$X11_EXIT" -eq 0 ] || { echo "the probe ended with $X11_EXIT" >&2; exit 1; }
expected=$'clicked\ntext=Jürgen Größe 12'
[ "$(cat "$received")" = "$expected" ] || { echo "the probe received: $(cat "$received")" >&2; exit 1; }

for shot in 1-shown 2-typed; do
  size=$(/usr/bin/identify -format '%m %wx%h' "$X11_OUT/$shot.png")
  [ "$size" = "PNG 1024x768" ] || { echo "$shot.png is $size" >&2; exit 1; }
done

work=$X11_WORK
server=$X11_XVFB_PID
x11_stop
! kill -0 "$server" 2>/dev/null || { echo "the display still runs" >&2; exit 1; }
[ ! -e "$work" ] || { echo "$work is left behind" >&2; exit 1; }
echo "the driver clicked, typed and captured the screen"
