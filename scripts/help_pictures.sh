#!/usr/bin/env bash
# Makes the help's pictures of the game's windows from the game itself: it
# plays on Xvfb through the X driver, photographs each window and crops it
# into help/bilder/. The picture of the placement rules is laid out of the
# game's own cell pictures (resources/bitmaps). The pictures are committed,
# so the build needs nothing of this script.
# Usage: scripts/help_pictures.sh [BUILD_FOLDER]   (default build/, built)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
pictures=$top/help/bilder
export X11_OUT=$build/help_pictures
source "$top/tests/e2e/x11drive.sh"
source "$top/tests/e2e/murvel_screen.sh"

rm -rf "$X11_OUT"
x11_start_display 1024x768
murvel_prepare_folder "$build"
printf 'Anna\r\nKäpt'"'"'n Blaubär\r\nKlabautermann\r\n' | iconv -f UTF-8 -t WINDOWS-1252 >"$MURVEL_FOLDER/Combo.txt"

# WINDOW NAME [SCALE]: the window as it stands on the screen, with the
# pointer out of the way, into NAME.png; the main window at 80 %, so that
# it fits the help window's page beside the contents.
picture() {
  local x y width height
  xdotool mousemove 1023 767
  sleep 0.4
  murvel_screenshot "$2-screen.png"
  read -r x y width height < <(x11_geometry "$1")
  # 256 colours are plenty for these faces and keep the help file small.
  /usr/bin/convert "$X11_OUT/$2-screen.png" -crop "${width}x$height+$x+$y" +repage -resize "${3:-100%}" \
    -colors 256 "PNG8:$pictures/$2.png"
  echo "help/bilder/$2.png: $(/usr/bin/identify -format '%wx%h' "$pictures/$2.png")"
}

murvel_start
murvel_wait_main
main=$MURVEL_MAIN
sleep 3.5 # the start-up balloon's time is over

x11_click "$main" "${MURVEL_TOOLBAR[keyOptionen]}" "$MURVEL_TOOLBAR_Y"
options=$(x11_wait_window_sized 388 228)
picture "$options" optionen
x11_click "$options" 229 199 # "&Abbrechen"
x11_wait_gone "$options"

x11_click "$main" "${MURVEL_TOOLBAR[keyNew]}" "$MURVEL_TOOLBAR_Y"
neu=$(x11_wait_window "Neues Spiel")
sleep 0.3
x11_type "Kä"
x11_click "$neu" 48 112 # "Größe 1"
picture "$neu" neues_spiel
x11_click "$neu" 125 196 # "&OK!"
x11_wait_gone "$neu"

# Three boats stand, the fourth is begun.
fleet=("1,1 2,1 3,1 4,1" "6,1 7,1 8,1" "1,3 2,3 3,3" "5,3 6,3" "8,3 9,3" "1,5" "3,5" "5,5")
for boat in "${fleet[@]:0:3}"; do
  for cell in $boat; do murvel_click_cell "${cell%,*}" "${cell#*,}"; done
done
murvel_click_cell 5 3
picture "$main" hauptfenster_setzen 80%

murvel_click_cell 6 3
for boat in "${fleet[@]:4}"; do
  for cell in $boat; do murvel_click_cell "${cell%,*}" "${cell#*,}"; done
done
question=$(x11_wait_window_sized 354 141)
x11_click "$question" 127 111 # "&Ja"
x11_wait_gone "$question"
sleep 3.5 # the battle balloon's time is over

# Some shots into the left field, each answered by the computer.
for cell in 2,2 4,2 6,2 8,2 3,4 5,4 7,4 9,4 2,6 4,6 6,6 8,6 3,8; do
  murvel_click_cell "${cell%,*}" "${cell#*,}"
  sleep 0.15
done
picture "$main" hauptfenster_gefecht 80%

murvel_battle
picture "$MURVEL_VICTORY" sieg
x11_click "$MURVEL_VICTORY" 151 207 # "&Ja"
score=$(x11_wait_window_sized 300 381)
picture "$score" bestenliste
x11_click "$score" 150 50
x11_wait_gone "$score"

x11_click "$main" "${MURVEL_TOOLBAR[keyEnde]}" "$MURVEL_TOOLBAR_Y"
question=$(x11_wait_window_sized 354 141)
x11_click "$question" 127 111 # "&Ja"
x11_wait_exit "$MURVEL_PID"

# ---- the placement rules, of the game's own cell pictures ----------------------
# A field of 10 x 8 cells of 24 pixels with black grid lines: a finished boat,
# the three blue cells of the boat being built, green ticks where the next
# cell may go and red crosses where it may not.
cell=24
pitch=$((cell + 1))
bitmaps=$top/resources/bitmaps
/usr/bin/convert "$bitmaps/101.bmp" -filter point -resize "${cell}x$cell!" "$X11_WORK/water.png"
/usr/bin/convert "$bitmaps/102.bmp" -filter point -resize "${cell}x$cell!" "$X11_WORK/boat.png"
draw=()
origin() { echo $((pitch * ($1 - 1) + 1)) $((pitch * ($2 - 1) + 1)); }
for c in $(seq 10); do
  for r in $(seq 8); do
    read -r x y < <(origin "$c" "$r")
    draw+=("$X11_WORK/water.png" -geometry "+$x+$y" -composite)
  done
done
for c_r in 3,3 4,3 5,3; do
  read -r x y < <(origin "${c_r%,*}" "${c_r#*,}")
  draw+=("$X11_WORK/boat.png" -geometry "+$x+$y" -composite)
done
for c_r in 6,5 7,5 7,6; do
  read -r x y < <(origin "${c_r%,*}" "${c_r#*,}")
  draw+=(-fill 'rgb(0,0,255)' -stroke none -draw "rectangle $x,$y $((x + cell - 1)),$((y + cell - 1))")
done
for c_r in 8,6 7,7 5,5 8,5 7,4; do
  read -r x y < <(origin "${c_r%,*}" "${c_r#*,}")
  draw+=(-fill none -stroke 'rgb(40,200,60)' -strokewidth 3
         -draw "polyline $((x + 5)),$((y + 12)) $((x + 10)),$((y + 18)) $((x + 19)),$((y + 6))")
done
for c_r in 6,6 8,4 6,4; do
  read -r x y < <(origin "${c_r%,*}" "${c_r#*,}")
  draw+=(-fill none -stroke 'rgb(230,30,30)' -strokewidth 3
         -draw "line $((x + 5)),$((y + 5)) $((x + 18)),$((y + 18))" -draw "line $((x + 18)),$((y + 5)) $((x + 5)),$((y + 18))")
done
/usr/bin/convert -size $((10 * pitch + 1))x$((8 * pitch + 1)) xc:black "${draw[@]}" "$pictures/regeln.png"
echo "help/bilder/regeln.png: $(/usr/bin/identify -format '%wx%h' "$pictures/regeln.png")"
