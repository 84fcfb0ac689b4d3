# Murvel as the X driver (x11drive.sh, sourced first) sees it: the game in
# a folder of its own, the places of its controls, what the screen shows in
# a cell, the balloon and the blinking row, the files it leaves. Shared by
# the end-to-end test and the script that makes the help's pictures.
#
#   murvel_prepare_folder BUILD  A fresh game folder (MURVEL_FOLDER) with a
#                                copy of the executable (its folder is where
#                                it keeps Score.hsc and reads Combo.txt) and
#                                links to its libraries and help; Pellwick
#                                registered in the display's fresh registry.
#   murvel_start [shoot-splash]  Starts the game, sound fast and silent;
#                                MURVEL_PID. With shoot-splash the game
#                                takes the screen as it takes its splash down.
#   murvel_expect_splash FILE VERSION  That picture, saved as FILE, showed
#                                the splash as it draws itself, with VERSION,
#                                and no main window beside it.
#   murvel_wait_main             The main window: MURVEL_MAIN.
#   murvel_screenshot FILE       The screen as a person sees it (see below).
#   murvel_click_cell C R        A left click on cell (C, R) of the left field
#                                (field size 1).
#   murvel_cell_state C R        water, building, boat, miss, hit or sunk: the
#                                picture in that cell on the screen.
#   murvel_expect_cells STATE C,R...  Fails unless every cell shows STATE.
#   murvel_click_bin             A click on the waste bin (field size 1).
#   murvel_expect_balloon_at_pointer WHAT  Fails unless the help balloon is
#                                shown with its stem's tip at the pointer.
#   murvel_battle FILE           Shoots until one side has won, hunting
#                                around hits as a player does; FILE is a
#                                screenshot taken on the way. MURVEL_VICTORY
#                                is the victory dialog.
#   murvel_battle_settle         Once the dialogs are closed: MURVEL_SHOTS,
#                                the player's shots.
#   murvel_winner_from_score NAME  MURVEL_WINNER, player or computer, as the
#                                top ten names it, checked against the screen.
#   murvel_expect_blinking_row WINDOW PLACE  The top ten's row PLACE turns
#                                red and black again.
#   murvel_expect_score SIZE PLACE NAME SHOTS  Score.hsc holds that place.
#   murvel_expect_setting KEY VALUE  The registry holds Options\KEY.

# Where the main window's controls are, in pixels of its client area.
# Toolbar buttons by key, all on one height.
declare -A MURVEL_TOOLBAR=([keyNew]=50 [keyOptionen]=130 [keyTop10]=210 [keyEnde]=288 [keyHilfe]=367)
MURVEL_TOOLBAR_Y=30
# The left field of size 1 (cells of 24 pixels, a pitch of 25): the
# background picture's drawing area starts at (1, 72), below the 67-pixel
# bar and the window's own 3-pixel strip; the field box is
# centred on (177, 165) there, 253 x 203 with a 1-pixel border.
MURVEL_CELL=24
MURVEL_FIELD_X=$((1 + 177 - 251 / 2 + 1))
MURVEL_FIELD_Y=$((72 + 165 - 201 / 2 + 1))
MURVEL_COLUMNS=10
MURVEL_ROWS=8
# The victory dialog's size, by which the test finds it.
MURVEL_VICTORY_SIZE=(388 228)

murvel__fail() { echo "murvel: $*" >&2; return 1; }

murvel_prepare_folder() {
  local build=$1 file
  MURVEL_BUILD=$build
  MURVEL_FOLDER=$X11_WORK/game
  mkdir -p "$MURVEL_FOLDER"
  # A copy, not a link: the game's folder is its executable's real folder.
  # The libraries are found beside it ($ORIGIN).
  cp "$build/murvel" "$MURVEL_FOLDER/"
  for file in libplatform.so libpellwick.so Hilfe.chm murvel-chmpages; do
    ln -s "$build/$file" "$MURVEL_FOLDER/$file"
  done
  "$build/regsvr" "$MURVEL_FOLDER/libpellwick.so" >/dev/null || murvel__fail "cannot register Pellwick"
}

murvel_start() {
  if [ "${1:-}" = shoot-splash ]; then
    local -x LD_PRELOAD=$MURVEL_BUILD/tests/e2e_window_shot.so X11_SHOT_SIZE=307x165 X11_SHOT_FILE=$X11_WORK/splash.ppm
    # The sanitizers' runtime need not come first when a library is preloaded.
    local -x ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0
  fi
  # Real sounds at no real time: the synchronous ones return at once.
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=0 x11_start "$MURVEL_FOLDER/murvel"
  MURVEL_PID=$X11_PID
}

# The splash stands only while the game starts. Started with shoot-splash,
# the game itself takes the screen where the splash stands just before it
# takes the splash down, once the X server has drawn all the game asked
# for (tests/e2e/window_shot.c): the splash as the player saw it last.
# It must have stood before the main window, show exactly what the splash
# draws (as tests/e2e_splash_reference draws it), with the text VERSION;
# the picture goes to FILE.
murvel_expect_splash() {
  local w version differ
  [ -s "$X11_WORK/splash.ppm" ] || murvel__fail "the game did not take a splash down" || return
  # Beside it at most the start-up balloon, which the main window's load
  # shows while the splash still stands; but not the main window.
  for w in $(cat "$X11_WORK/splash.ppm.windows"); do
    murvel__is_balloon "$w" || murvel__fail "window $w stood beside the splash" || return
  done
  /usr/bin/convert "$X11_WORK/splash.ppm" "$X11_OUT/$1" || murvel__fail "no picture of the splash" || return
  version=$("$MURVEL_BUILD/tests/e2e_splash_reference" "$X11_WORK/splash-reference.png") \
    || murvel__fail "cannot draw the splash for comparison" || return
  [ "$version" = "$2" ] || murvel__fail "the splash says \"$version\", not \"$2\"" || return
  differ=$(/usr/bin/compare -metric AE "$X11_OUT/$1" "$X11_WORK/splash-reference.png" null: 2>&1) || true
  [ "$differ" = 0 ] || {
    cp "$X11_WORK/splash-reference.png" "$X11_OUT/failed-splash-reference.png"
    murvel__fail "the screen showed the splash with $differ pixels other than it draws them"
  }
}

murvel_wait_main() {
  MURVEL_MAIN=$(x11_wait_window Murvel 60) || return
  local width
  read -r _ _ width _ < <(x11_geometry "$MURVEL_MAIN")
  [ "$width" -eq 700 ] || murvel__fail "the main window is $width pixels wide"
}

murvel__is_balloon() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP; }

# The mapped balloon windows (tooltips) on the screen.
murvel__balloons() {
  local w
  for w in $(x11__toplevels); do
    if murvel__is_balloon "$w"; then echo "$w"; fi
  done
}

# The screen as a person sees it: X hands out the screen without the
# pointer, so an arrow is drawn where it stands.
murvel_screenshot() {
  local file=$1 X Y
  [[ $file = /* ]] || file=$X11_OUT/$file
  x11_screenshot "$file" || return
  eval "$(xdotool getmouselocation --shell)"
  /usr/bin/convert "$file" -fill white -stroke black -strokewidth 1 \
    -draw "polygon $X,$Y $X,$((Y + 16)) $((X + 4)),$((Y + 12)) $((X + 7)),$((Y + 18)) $((X + 9)),$((Y + 17)) $((X + 6)),$((Y + 11)) $((X + 11)),$((Y + 11))" \
    "$file"
}

# The balloon lives for the game's 3 s, so the wait for it is shorter.
murvel_expect_balloon_at_pointer() {
  local end problem
  end=$(x11__deadline 2.5)
  while ! problem=$(murvel__balloon_at_pointer); do
    x11__before "$end" || murvel__fail "$1: $problem" || return
    sleep 0.05
  done
}

# Says what is wrong unless exactly one balloon is shown, seen, with its
# stem's tip at the pointer.
murvel__balloon_at_pointer() {
  local balloons x y width height X Y
  balloons=$(murvel__balloons)
  [ "$(echo "$balloons" | grep -c .)" -eq 1 ] || { echo "not one balloon but: ${balloons:-none}"; return 1; }
  read -r x y width height < <(x11_geometry "$balloons" 2>/dev/null) || { echo "the balloon went"; return 1; }
  eval "$(xdotool getmouselocation --shell)"
  # The stem's tip is a corner of the window: on its top or bottom edge.
  [ "$X" -ge "$x" ] && [ "$X" -lt $((x + width)) ] && { [ "$Y" -eq "$y" ] || [ "$Y" -eq $((y + height - 1)) ]; } \
    || { echo "the balloon at $x,$y ${width}x$height does not point at the pointer $X,$Y"; return 1; }
  # And it is seen: the screen shows the balloon's face, not a window over it.
  local seen own
  seen=$(murvel__pixel root $((x + width - 10)) $((y + height / 2)))
  own=$(murvel__pixel "$balloons" $((width - 10)) $((height / 2)))
  [ "$seen" = "$own" ] || { echo "the balloon is covered: the screen shows $seen where it has $own"; return 1; }
}

# "R G B" of the pixel at (X, Y) of WINDOW (root: the screen).
murvel__pixel() {
  /usr/bin/import -window "$1" -crop "1x1+$2+$3" txt:- 2>/dev/null \
    | awk -F'[(,)]' '/^0,0:/ { printf "%d %d %d", $3 / 257, $4 / 257, $5 / 257 }'
}

murvel__cell_centre() { echo $((MURVEL_FIELD_X + (MURVEL_CELL + 1) * ($1 - 1) + MURVEL_CELL / 2)) $((MURVEL_FIELD_Y + (MURVEL_CELL + 1) * ($2 - 1) + MURVEL_CELL / 2)); }

murvel_click_cell() {
  local x y
  read -r x y < <(murvel__cell_centre "$1" "$2")
  x11_click "$MURVEL_MAIN" "$x" "$y"
}

murvel_click_bin() {
  # Right edge flush with the field's, two pixels below it; 32 x 32.
  local right=$((MURVEL_FIELD_X - 1 + 253)) bottom=$((MURVEL_FIELD_Y - 1 + 203))
  x11_click "$MURVEL_MAIN" $((right - 16)) $((bottom + 2 + 16))
}

# A colour "R G B" named by the cell picture whose centre it is.
murvel__name_colour() {
  awk -v r="$1" -v g="$2" -v b="$3" 'BEGIN {
    n = split("water 28 96 176 building 0 0 255 boat 64 68 76 miss 255 255 255 hit 255 210 40 sunk 235 30 30", t, " ")
    best = "other"; bestd = 40 * 40 * 3
    for (i = 1; i <= n; i += 4) {
      d = (r - t[i+1])^2 + (g - t[i+2])^2 + (b - t[i+3])^2
      if (d < bestd) { bestd = d; best = t[i] }
    }
    if (best == "other") best = "other(" r "," g "," b ")"
    print best }'
}

murvel_cell_state() {
  local x y left top rgb
  read -r left top _ _ < <(x11_geometry "$MURVEL_MAIN")
  read -r x y < <(murvel__cell_centre "$1" "$2")
  rgb=$(murvel__pixel root $((left + x)) $((top + y)))
  [ -n "$rgb" ] || murvel__fail "cannot read the screen" || return
  murvel__name_colour $rgb
}

murvel_expect_cells() {
  local want=$1 cell state end
  shift
  end=$(x11__deadline "$X11_TIMEOUT")
  for cell in "$@"; do
    while state=$(murvel_cell_state "${cell%,*}" "${cell#*,}") && [ "$state" != "$want" ]; do
      x11__before "$end" || break
      sleep 0.05
    done
    [ "$state" = "$want" ] || murvel__fail "cell $cell shows $state, not $want" || return
  done
}

# ---- the battle --------------------------------------------------------------
# What the player knows of the computer's field: unknown, miss, hit, sunk,
# or water (next to a sunk boat: boats never touch, not even at a corner).
declare -A MURVEL_KNOWN

murvel__known() { echo "${MURVEL_KNOWN[$1,$2]:-unknown}"; }
murvel__inside() { [ "$1" -ge 1 ] && [ "$1" -le "$MURVEL_COLUMNS" ] && [ "$2" -ge 1 ] && [ "$2" -le "$MURVEL_ROWS" ]; }

# The next cell to shoot at: beside a hit boat first, else the next unknown
# cell, every other cell first (a longer boat always covers one of them).
murvel__next_target() {
  local c r dc dr pass key d
  for key in "${!MURVEL_KNOWN[@]}"; do
    [ "${MURVEL_KNOWN[$key]}" = hit ] || continue
    c=${key%,*} r=${key#*,}
    for d in "1 0" "-1 0" "0 1" "0 -1"; do
      read -r dc dr <<<"$d"
      murvel__inside $((c + dc)) $((r + dr)) && [ "$(murvel__known $((c + dc)) $((r + dr)))" = unknown ] \
        && { echo $((c + dc)) $((r + dr)); return; }
    done
  done
  for pass in 0 1; do
    for r in $(seq "$MURVEL_ROWS"); do
      for c in $(seq "$MURVEL_COLUMNS"); do
        [ $(((c + r) % 2)) -eq "$pass" ] && [ "$(murvel__known "$c" "$r")" = unknown ] && { echo "$c" "$r"; return; }
      done
    done
  done
}

# A sunk boat: the hit cells joined to (c, r) sank with it; every cell
# around them is water.
murvel__sink() {
  local todo=("$1,$2") cell c r dc dr
  MURVEL_KNOWN[$1,$2]=hit
  while [ ${#todo[@]} -gt 0 ]; do
    cell=${todo[0]} todo=("${todo[@]:1}")
    [ "${MURVEL_KNOWN[$cell]}" = hit ] || continue
    MURVEL_KNOWN[$cell]=sunk
    MURVEL_SUNK_CELLS=$((MURVEL_SUNK_CELLS + 1))
    c=${cell%,*} r=${cell#*,}
    for dc in -1 0 1; do
      for dr in -1 0 1; do
        murvel__inside $((c + dc)) $((r + dr)) || continue
        case $(murvel__known $((c + dc)) $((r + dr))) in
          hit) todo+=("$((c + dc)),$((r + dr))") ;;
          unknown) MURVEL_KNOWN[$((c + dc)),$((r + dr))]=water ;;
        esac
      done
    done
  done
}

murvel_battle() {
  local c r state end
  MURVEL_KNOWN=() MURVEL_SHOTS=0 MURVEL_SUNK_CELLS=0 MURVEL_VICTORY= MURVEL_UNSEEN=
  while [ -z "$MURVEL_VICTORY" ]; do
    if ! read -r c r < <(murvel__next_target); then
      # Every cell is known, so the last shot sank the last boat: the
      # victory dialog comes once that shot's sounds are over.
      MURVEL_VICTORY=$(x11_wait_window_sized "${MURVEL_VICTORY_SIZE[@]}") || murvel__fail "no cell left to shoot at, and no victory" || return
      break
    fi
    murvel_click_cell "$c" "$r"
    # The shot is drawn before its sound; the victory dialog may follow
    # and cover the cell.
    end=$(x11__deadline "$X11_TIMEOUT")
    while :; do
      state=$(murvel_cell_state "$c" "$r") || return
      case $state in miss | hit | sunk) break ;; esac
      MURVEL_VICTORY=$(x11_wait_window_sized "${MURVEL_VICTORY_SIZE[@]}" 0.05 2>/dev/null) && break
      x11__before "$end" || murvel__fail "the shot at $c,$r shows $state" || return
    done
    case $state in
      miss | hit) MURVEL_KNOWN[$c,$r]=$state ;;
      sunk) murvel__sink "$c" "$r" ;;
      # Seen once the dialogs are closed (murvel_battle_settle).
      *) MURVEL_UNSEEN="$c $r" ;;
    esac
    case $state in miss | hit | sunk) MURVEL_SHOTS=$((MURVEL_SHOTS + 1)) ;; esac
    [ "$MURVEL_SHOTS" -eq 12 ] && [ -n "${1:-}" ] && { x11_wait_still "$MURVEL_MAIN"; murvel_screenshot "$1"; }
    [ -n "$MURVEL_VICTORY" ] || MURVEL_VICTORY=$(x11_wait_window_sized "${MURVEL_VICTORY_SIZE[@]}" 0.05 2>/dev/null) || MURVEL_VICTORY=
  done
  x11_wait_still "$MURVEL_VICTORY"
}

# After the game: the shot the victory dialog covered, if it was one (a
# click that came after the computer's winning shot was never taken), and
# sets MURVEL_SHOTS.
murvel_battle_settle() {
  local state end
  if [ -n "$MURVEL_UNSEEN" ]; then
    # The main window paints the cell again once the dialogs have gone.
    end=$(x11__deadline "$X11_TIMEOUT")
    while state=$(murvel_cell_state $MURVEL_UNSEEN) && [[ $state = other* ]]; do
      x11__before "$end" || murvel__fail "the cell $MURVEL_UNSEEN shows $state" || return
      sleep 0.05
    done
    case $state in
      miss | hit) MURVEL_SHOTS=$((MURVEL_SHOTS + 1)) ;;
      sunk) MURVEL_SHOTS=$((MURVEL_SHOTS + 1)); murvel__sink $MURVEL_UNSEEN ;;
    esac
  fi
  return 0
}

# The winner, as the top ten of size 1 names it at place 1 (NAME is the
# player's): sets MURVEL_WINNER. Either side's count is the player's counted
# shots, since every counted shot of the player is answered by one of the
# computer's. The screen can miss a sinking (a sunk cell read while it was
# still drawn as a hit), never invent one: all 17 cells seen sunk mean the
# player won.
murvel_winner_from_score() {
  local name
  name=$(murvel__score_record 1)
  case $name in
    "$1") MURVEL_WINNER=player ;;
    Computer) MURVEL_WINNER=computer ;;
    *) murvel__fail "place 1 of size 1 holds \"$name\", neither the player nor the computer" || return ;;
  esac
  [ "$MURVEL_WINNER" = player ] || [ "$MURVEL_SUNK_CELLS" -lt 17 ] \
    || murvel__fail "all 17 cells of the computer's fleet were seen sunk, yet the computer won"
}

# ---- the top ten ---------------------------------------------------------------
# The pure red of the blinking row's labels in the row of PLACE.
murvel__row_red() {
  local left top
  read -r left top _ _ < <(x11_geometry "$1")
  /usr/bin/import -window root -crop "260x17+$((left + 24))+$((top + 112 + 22 * ($2 - 1)))" txt:- 2>/dev/null | grep -c -E '#(FF0000|FFFF00000000) ' || true
}

murvel_expect_blinking_row() {
  local end red=0 black=0
  end=$(x11__deadline 10)
  while x11__before "$end" && { [ "$red" -eq 0 ] || [ "$black" -eq 0 ]; }; do
    if [ "$(murvel__row_red "$1" "$2")" -gt 20 ]; then red=1; else [ "$red" -eq 1 ] && black=1; fi
    sleep 0.05
  done
  if [ "$red" -eq 0 ] || [ "$black" -eq 0 ]; then
    murvel_screenshot failed-blinking.png
    murvel__fail "row $2 of the top ten does not blink (red $red, black again $black)"
    return
  fi
  # Photographed while red.
  end=$(x11__deadline 2)
  while [ "$(murvel__row_red "$1" "$2")" -le 20 ]; do
    x11__before "$end" || break
    sleep 0.05
  done
}

# ---- the files -----------------------------------------------------------------
# The text of record N (from 1) of Score.hsc: a 16-bit length, then the text
# in Windows-1252.
murvel__score_record() {
  local file=$MURVEL_FOLDER/Score.hsc length
  length=$(od -An -tu2 -j $((($1 - 1) * 30)) -N2 "$file" | tr -d ' ')
  dd if="$file" bs=1 skip=$((($1 - 1) * 30 + 2)) count="$length" status=none | iconv -f WINDOWS-1252 -t UTF-8
}

murvel_expect_score() {
  local record=$((20 * ($1 - 1) + 2 * ($2 - 1) + 1)) name shots
  [ "$(stat -c %s "$MURVEL_FOLDER/Score.hsc")" -eq 1800 ] || murvel__fail "Score.hsc is not 1800 bytes" || return
  name=$(murvel__score_record "$record")
  shots=$(murvel__score_record $((record + 1)))
  [ "$name" = "$3" ] && [ "$shots" = "$4" ] \
    || murvel__fail "place $2 of size $1 holds \"$name\" \"$shots\", not \"$3\" \"$4\""
}

murvel_expect_setting() {
  local value
  value=$(awk -v key="\"$1\"" '
    /^\[/ { inside = ($0 == "[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\murvel\\Options]") ; next }
    inside && index($0, key "=") == 1 { print substr($0, length(key) + 2) }' "$XDG_CONFIG_HOME/murvel/registry.reg")
  [ "$value" = "\"$2\"" ] || murvel__fail "the registry holds Options\\$1 = ${value:-nothing}, not \"$2\""
}
