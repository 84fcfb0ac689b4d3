#!/usr/bin/env bash
# The game's windows under a real window manager (openbox on Xvfb), as a
# window manager sees them: the main window has a fixed size and offers no
# maximising; every dialog is a fixed dialog of the main window (transient
# for it, never maximised, minimised only together with the game) with the
# program's icon; the help window opens centred over the game with the
# icon, and opens again however often and however it was closed before
# (its close button, Alt+F4), on the page asked for, in front of the game.
# Screenshots of every window go to OUT.
# Usage: window_manager.sh BUILD_FOLDER OUT
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
export X11_OUT=$2
rm -rf "$X11_OUT"
source "$here/x11drive.sh"
source "$here/murvel_screen.sh"

fail() { echo "window_manager: $*" >&2; x11_screenshot failed.png || true; exit 1; }
command -v openbox >/dev/null || fail "openbox is missing (scripts/prepare.sh installs it)"

x11_start_display 1280x1024
openbox --sm-disable >"$X11_OUT/openbox.log" 2>&1 &
X11_PIDS+=("$!")
end=$(x11__deadline 10)
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  x11__before "$end" || fail "openbox did not start"
  sleep 0.05
done
murvel_prepare_folder "$build"

# Under a window manager the programs' windows are children of its frames:
# they are found at any depth.
window_named() {
  local end w
  end=$(x11__deadline "${2:-$X11_TIMEOUT}")
  while x11__before "$end"; do
    w=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1)
    [ -n "$w" ] && { echo "$w"; return 0; }
    sleep 0.05
  done
  fail "no window \"$1\""
}
window_sized() {
  local end w
  end=$(x11__deadline "$X11_TIMEOUT")
  while x11__before "$end"; do
    for w in $(xdotool search --onlyvisible --class murvel 2>/dev/null); do
      [ "$(x11__size "$w")" = "$1" ] && { echo "$w"; return 0; }
    done
    sleep 0.05
  done
  fail "no window of $1 pixels"
}
help_windows() { xdotool search --onlyvisible --name '^Hilfe zu Murvel$' 2>/dev/null || true; }
wait_for() {  # DESCRIPTION CONDITION: until the condition (shell code) holds
  local what=$1 end
  end=$(x11__deadline "$X11_TIMEOUT")
  until eval "$2"; do
    x11__before "$end" || fail "$what"
    sleep 0.05
  done
}
decimal() { printf '%d' "$1"; }
prop() { xprop -id "$1" "$2" 2>/dev/null; }
# The top of the window manager's stack, and the active window.
top_window() { xprop -root _NET_CLIENT_LIST_STACKING | awk -F', ' '{ print $NF }' | awk '{ print $NF }'; }
active_window() { xprop -root _NET_ACTIVE_WINDOW | awk '{ print $NF }'; }
has_icon() { [[ $(prop "$1" _NET_WM_ICON) == *"Icon (32 x 32)"* ]]; }
state_of() { prop "$1" WM_STATE | awk '/window state:/ { print $3 }'; }
frame_of() {
  local w=$1 parent root
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  while parent=$(xwininfo -tree -id "$w" | awk '/Parent window id:/ { print $4 }'); [ "$((parent))" != "$((root))" ]; do
    w=$parent
  done
  echo "$w"
}

# WINDOW NAME: fixed in size, no maximising offered, and the program's icon.
expect_fixed_with_icon() {
  local hints actions
  hints=$(prop "$1" WM_NORMAL_HINTS)
  local min max
  min=$(echo "$hints" | awk '/minimum size:/ { print $(NF-2), $NF }')
  max=$(echo "$hints" | awk '/maximum size:/ { print $(NF-2), $NF }')
  [ -n "$min" ] && [ "$min" = "$max" ] || fail "$2: not of a fixed size ($hints)"
  actions=$(prop "$1" _NET_WM_ALLOWED_ACTIONS)
  echo "$actions" | grep -q MAXIMIZE && fail "$2: the window manager offers to maximise it: $actions"
  has_icon "$1" || fail "$2: no icon"
  return 0
}

# WINDOW NAME: a dialog of the main window, for the window manager too.
expect_dialog_of_main() {
  local type transient motif
  type=$(prop "$1" _NET_WM_WINDOW_TYPE)
  [[ $type == *"= _NET_WM_WINDOW_TYPE_DIALOG"* ]] || fail "$2: not a dialog: $type"
  transient=$(prop "$1" WM_TRANSIENT_FOR | awk '{ print $NF }')
  [ "$(decimal "$transient")" = "$(decimal "$main")" ] || fail "$2: transient for $transient, not the main window"
  # Qt's Motif hints: functions (second field) without minimise 8 and maximise 16.
  motif=$(prop "$1" _MOTIF_WM_HINTS | awk -F'= ' '{ print $2 }' | awk -F', ' '{ print $2 }')
  [ $(( motif & 24 )) -eq 0 ] || fail "$2: asks for minimise or maximise ($motif)"
  expect_fixed_with_icon "$1" "$2"
}

dialog_shot() { sleep 0.3; x11_screenshot "$1.png"; }

# ---- the main window ---------------------------------------------------------
murvel_start
main=$(window_named Murvel 30)
sleep 3.5 # the start-up balloon's time is over
expect_fixed_with_icon "$main" "the main window"
[ "$(prop "$main" _NET_WM_WINDOW_TYPE | grep -c DIALOG)" -eq 0 ] || fail "the main window is a dialog"
x11_screenshot main.png

# ---- every dialog --------------------------------------------------------------
x11_click "$main" "${MURVEL_TOOLBAR[keyNew]}" "$MURVEL_TOOLBAR_Y"
neu=$(window_named "Neues Spiel")
expect_dialog_of_main "$neu" "the new-game dialog"
dialog_shot neues_spiel
# Minimised, it takes the game along: both come back together, nothing is
# left deaf behind a dialog that is gone.
xdotool windowminimize "$neu"
wait_for "the game did not go with its minimised dialog" '[ "$(state_of "$main")" = Iconic ]'
xdotool windowactivate "$main" 2>/dev/null || true
wait_for "the dialog did not come back with the game" '[ "$(state_of "$neu")" = Normal ]'
[ "$(state_of "$main")" = Normal ] || fail "the game did not come back"
x11_click "$neu" 206 196 # "&Abbruch"
x11_wait_gone "$neu"

x11_click "$main" "${MURVEL_TOOLBAR[keyOptionen]}" "$MURVEL_TOOLBAR_Y"
options=$(window_sized 388x228)
expect_dialog_of_main "$options" "the options dialog"
dialog_shot optionen
x11_click "$options" 229 199 # "&Abbrechen"
x11_wait_gone "$options"

x11_click "$main" "${MURVEL_TOOLBAR[keyTop10]}" "$MURVEL_TOOLBAR_Y"
top10=$(window_sized 300x381)
expect_dialog_of_main "$top10" "the top ten"
dialog_shot top10
x11_click "$top10" 150 200 # a click anywhere closes it
x11_wait_gone "$top10"

x11_click "$main" "${MURVEL_TOOLBAR[keyEnde]}" "$MURVEL_TOOLBAR_Y"
question=$(window_sized 354x141)
expect_dialog_of_main "$question" "the quit question"
dialog_shot frage
x11_click "$question" 207 111 # "&Nein"
x11_wait_gone "$question"

# ---- the help window ---------------------------------------------------------
# Centred over the game: the centres of both frames at most a few pixels apart.
expect_centred_over_game() {
  local hx hy hw hh mx my mw mh
  read -r hx hy hw hh < <(x11_geometry "$(frame_of "$1")")
  read -r mx my mw mh < <(x11_geometry "$(frame_of "$main")")
  local dx=$(( (2 * hx + hw) - (2 * mx + mw) )) dy=$(( (2 * hy + hh) - (2 * my + mh) ))
  [ "${dx#-}" -le 4 ] && [ "${dy#-}" -le 4 ] || fail "the help window ($hx,$hy ${hw}x$hh) is not centred over the game ($mx,$my ${mw}x$mh)"
}
# HOW: the help is opened by the toolbar's button or F1, and shows in front.
open_help() {
  if [ "$1" = button ]; then
    x11_click "$main" "${MURVEL_TOOLBAR[keyHilfe]}" "$MURVEL_TOOLBAR_Y"
  else
    x11_focus "$main" && x11_key F1
  fi
  wait_for "$2: no help window" '[ -n "$(help_windows)" ]'
  help=$(help_windows | head -n1)
  wait_for "$2: the help window is not in front" '[ "$(decimal "$(top_window)")" = "$(decimal "$help")" ]'
  wait_for "$2: the help window is not active" '[ "$(decimal "$(active_window)")" = "$(decimal "$help")" ]'
}
close_by_button() {
  local fx fy fw
  read -r fx fy fw _ < <(x11_geometry "$(frame_of "$1")")
  # The close button at the right end of the frame's title bar.
  xdotool mousemove --sync $((fx + fw - 10)) $((fy + 9)) click 1
  x11_wait_gone "$1"
}
close_by_keys() {
  x11_focus "$1" && x11_key alt+F4
  x11_wait_gone "$1"
}

open_help button "the first press of Hilfe"
expect_centred_over_game "$help"
has_icon "$help" || fail "the help window has no icon"
x11_screenshot hilfe.png
for round in 1 2 3; do
  close_by_button "$help"
  open_help button "Hilfe after the close button (round $round)"
  close_by_button "$help"
  open_help key "F1 after the close button (round $round)"
  close_by_keys "$help"
  open_help key "F1 after Alt+F4 (round $round)"
  close_by_keys "$help"
  open_help button "Hilfe after Alt+F4 (round $round)"
done
# Still open but behind the game: each press brings it to the front.
for how in key button key; do
  xdotool windowactivate "$main" # the player brings the game to the front (Alt+Tab)
  wait_for "the game did not come to the front" '[ "$(decimal "$(top_window)")" = "$(decimal "$main")" ]'
  before=$help
  open_help "$how" "an open help window behind the game ($how)"
  [ "$help" = "$before" ] || fail "a second help window instead of the open one"
done
x11_screenshot hilfe_vorn.png
echo "every window under openbox as it should be; screenshots in $X11_OUT"
