# Drives programs on a real X server (Xvfb) with real X input (xdotool's
# XTest), for tests that play the game as a person does. Source it from a
# bash script; every function returns non-zero (and says why on stderr) when
# it fails, so `set -e` ends the test there. Needs Xvfb, xauth, setxkbmap
# (x11-xkb-utils), xdotool, xwininfo (x11-utils) and /usr/bin/import
# (imagemagick).
#
#   x11_start_display [WxH]     Starts a display of its own (default 1024x768,
#                               24 bits) and exports DISPLAY, a fresh HOME,
#                               XDG_CONFIG_HOME, XDG_RUNTIME_DIR and
#                               QT_QPA_PLATFORM=xcb; x11_stop runs at exit.
#                               X11_WORK is the scratch folder of the run.
#   x11_start PROGRAM [ARGS]    Starts a program on the display in the
#                               background; X11_PID is its process id, its
#                               output goes to $X11_OUT/<name>-<n>.log, the
#                               n-th program started.
#   x11_wait_window TITLE [S]   Waits up to S seconds (default $X11_TIMEOUT,
#                               30) until a top-level window with exactly
#                               this title is mapped; prints its id.
#   x11_wait_window_sized W H [S]  The same for a top-level of exactly W x H
#                               pixels, whatever its name (a splash without
#                               a caption still carries the program's name).
#   x11_wait_gone WINDOW [S]    Waits until the window is unmapped or gone.
#   x11_wait_focus WINDOW [S]   Waits until the window has the keyboard focus.
#   x11_wait_still WINDOW [S]   Waits until the window's picture stays the
#                               same for a moment: it has painted what it
#                               was about to.
#   x11_geometry WINDOW         Prints "X Y W H": the client area's top left
#                               on the screen and its size.
#   x11_move WINDOW X Y         Moves the pointer to (X, Y) of the client area.
#   x11_click WINDOW X Y [B]    Moves there and clicks button B (1 left,
#                               default; 3 right).
#   x11_focus WINDOW            Gives the window the keyboard focus.
#   x11_type TEXT               Types TEXT into the focused window; the
#                               keyboard is German, with its umlauts and ß.
#   x11_key KEY...              Presses keys by X name: Return, BackSpace,
#                               Escape, F1, alt+j, ctrl+a ...
#   x11_screenshot FILE         Saves the whole screen as a PNG; a relative
#                               FILE lies in $X11_OUT.
#   x11_wait_exit PID [S]       Waits for a started program to end and sets
#                               X11_EXIT to its exit code; fails when it does
#                               not end. (Not in $(...): a subshell cannot
#                               wait for the test's own children.)
#   x11_stop                    Ends the started programs (TERM, then KILL
#                               after 3 s), the display, and removes X11_WORK.
#
# X11_OUT, the folder for screenshots and the programs' output, is the
# current folder unless set before x11_start_display, which makes it.
#
# The display has no window manager: windows sit where the program puts
# them, titles come without frames, and a click does not raise a window.
# Input is queued in order, so a click right after a window is mapped is
# not lost; a screenshot may come before the first paint: x11_wait_still.
# Every wait ends as soon as its condition holds; the default bound is
# generous for a busy machine.

X11_TIMEOUT=${X11_TIMEOUT:-30}
X11_PIDS=()
X11_XVFB_PID=

x11__fail() { echo "x11drive: $*" >&2; return 1; }

# Seconds since the epoch with fractions, for the waits' deadlines.
x11__now() { date +%s.%N; }
x11__before() { awk -v now="$(x11__now)" -v end="$1" 'BEGIN { exit !(now < end) }'; }
x11__deadline() { awk -v now="$(x11__now)" -v s="$1" 'BEGIN { printf "%.3f", now + s }'; }

x11_start_display() {
  local size=${1:-1024x768} tool
  for tool in Xvfb xauth setxkbmap xdotool xwininfo mcookie /usr/bin/import; do
    command -v "$tool" >/dev/null || x11__fail "$tool is missing (scripts/prepare.sh installs it)" || return
  done
  X11_WORK=$(mktemp -d "${TMPDIR:-/tmp}/x11drive-XXXXXX")
  X11_OUT=$(mkdir -p "${X11_OUT:-$PWD}" && cd "${X11_OUT:-$PWD}" && pwd)
  trap x11_stop EXIT
  trap 'x11_stop; exit 143' TERM INT

  # The server takes any cookie its file holds; clients look one up by the
  # display's number, known only once the server has picked a free one.
  export XAUTHORITY=$X11_WORK/Xauthority
  local cookie
  cookie=$(mcookie)
  xauth -q -f "$XAUTHORITY" add :0 . "$cookie" 2>/dev/null
  # -noreset: the server would reset, and refuse newcomers meanwhile, each
  # time its last client leaves.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset -auth "$XAUTHORITY" \
    3>"$X11_WORK/display" >"$X11_WORK/xvfb.log" 2>&1 &
  X11_XVFB_PID=$!
  local end
  end=$(x11__deadline "$X11_TIMEOUT")
  while ! grep -q '^[0-9]' "$X11_WORK/display" 2>/dev/null; do
    kill -0 "$X11_XVFB_PID" 2>/dev/null || x11__fail "Xvfb did not start: $(cat "$X11_WORK/xvfb.log")" || return
    x11__before "$end" || x11__fail "Xvfb did not start within $X11_TIMEOUT s" || return
    sleep 0.05
  done
  export DISPLAY=:$(head -n1 "$X11_WORK/display")
  xauth -q -f "$XAUTHORITY" add "$DISPLAY" . "$cookie"
  # A German keyboard, as the players have: umlauts and ß have keys of
  # their own. Otherwise xdotool lends a spare key to each of them for a
  # moment, and a busy program reads that key after it was taken back.
  setxkbmap -layout de || x11__fail "cannot set the German keyboard" || return

  export HOME=$X11_WORK/home
  export XDG_CONFIG_HOME=$HOME/.config XDG_RUNTIME_DIR=$X11_WORK/runtime
  mkdir -p "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
  export QT_QPA_PLATFORM=xcb
  unset WAYLAND_DISPLAY
}

x11_start() {
  [ -n "${DISPLAY:-}" ] && [ -n "$X11_XVFB_PID" ] || x11__fail "x11_start_display first" || return
  local log
  log=$X11_OUT/$(basename "$1")-$((${#X11_PIDS[@]} + 1)).log
  "$@" >"$log" 2>&1 &
  X11_PID=$!
  X11_PIDS+=("$X11_PID")
}

# Ids of the mapped top-level windows.
x11__toplevels() {
  local root
  root=$(xwininfo -root | awk '/Window id:/ { print $4; exit }')
  xdotool search --maxdepth 1 --onlyvisible --name '' 2>/dev/null | grep -vx "$((root))"
}

x11__name() { xdotool getwindowname "$1" 2>/dev/null; }
x11__size() { xwininfo -id "$1" 2>/dev/null | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'; }

# x11__find PROPERTY VALUE SECONDS: the first mapped top-level whose
# PROPERTY (x11__name or x11__size) is VALUE.
x11__find() {
  local end w
  end=$(x11__deadline "$3")
  while x11__before "$end"; do
    for w in $(x11__toplevels); do
      [ "$("$1" "$w")" = "$2" ] && { echo "$w"; return 0; }
    done
    sleep 0.05
  done
  x11__fail "no window with ${1#x11__} \"$2\" within $3 s"
}

x11_wait_window() { x11__find x11__name "$1" "${2:-$X11_TIMEOUT}"; }
x11_wait_window_sized() { x11__find x11__size "$1x$2" "${3:-$X11_TIMEOUT}"; }

x11_wait_gone() {
  local end
  end=$(x11__deadline "${2:-$X11_TIMEOUT}")
  while x11__before "$end"; do
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.05
  done
  x11__fail "window $1 still shown after ${2:-$X11_TIMEOUT} s"
}

x11_wait_focus() {
  local end
  end=$(x11__deadline "${2:-$X11_TIMEOUT}")
  while x11__before "$end"; do
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$(($1))" ] && return 0
    sleep 0.02
  done
  x11__fail "window $1 did not get the keyboard focus within ${2:-$X11_TIMEOUT} s"
}

x11_wait_still() {
  local end look last=""
  end=$(x11__deadline "${2:-$X11_TIMEOUT}")
  while x11__before "$end"; do
    sleep 0.1
    look=$(/usr/bin/import -window "$1" rgb:- 2>/dev/null | md5sum) || break
    [ "$look" = "$last" ] && return 0
    last=$look
  done
  x11__fail "window $1 did not stand still within ${2:-$X11_TIMEOUT} s"
}

x11_geometry() {
  xwininfo -id "$1" 2>/dev/null | awk '
    /Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
    /^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 }
    END { if (w == "") exit 1; print x, y, w, h }' || x11__fail "no window $1"
}

x11_move() {
  xdotool mousemove --sync --window "$1" "$2" "$3" || x11__fail "cannot move to $2,$3 of window $1"
}

x11_click() {
  x11_move "$1" "$2" "$3" && xdotool click "${4:-1}" || x11__fail "cannot click at $2,$3 of window $1"
}

x11_focus() {
  xdotool windowfocus --sync "$1" || x11__fail "cannot focus window $1"
}

x11_type() {
  xdotool type --delay 30 -- "$1" || x11__fail "cannot type \"$1\""
}

x11_key() {
  xdotool key --delay 30 "$@" || x11__fail "cannot press $*"
}

x11_screenshot() {
  local file=$1
  [[ $file = /* ]] || file=$X11_OUT/$file
  /usr/bin/import -window root "$file" || x11__fail "no screenshot $file"
}

x11_wait_exit() {
  local pid=$1 end
  end=$(x11__deadline "${2:-$X11_TIMEOUT}")
  while kill -0 "$pid" 2>/dev/null; do
    x11__before "$end" || x11__fail "process $pid still runs after ${2:-$X11_TIMEOUT} s" || return
    sleep 0.05
  done
  X11_EXIT=0
  wait "$pid" || X11_EXIT=$?
}

x11__end() {
  local pid=$1 i
  kill -TERM "$pid" 2>/dev/null || return 0
  for i in $(seq 60); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

x11_stop() {
  local pid
  for pid in "${X11_PIDS[@]}"; do x11__end "$pid"; done
  X11_PIDS=()
  [ -n "$X11_XVFB_PID" ] && x11__end "$X11_XVFB_PID"
  X11_XVFB_PID=
  [ -n "${X11_WORK:-}" ] && rm -rf "$X11_WORK"
  X11_WORK=
  trap - EXIT TERM INT
  return 0
}
