#!/usr/bin/env bash
# Plays one whole game of Murvel on a real X server, as a person plays it,
# with real clicks and typing: the splash, the main window with its start-up
# balloon, the options (standard size 1), a new game with a name completed
# from the name list, the fleet placed cell by cell (a first boat thrown into
# the waste bin), the battle until one side has won, the victory dialog, the
# top ten with its blinking row, and the quit question. Afterwards it checks
# the top-ten file and the registry. A screenshot of each step goes to
# OUTPUT_FOLDER (NN-step.png).
# Usage: play_game.sh BUILD_FOLDER OUTPUT_FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
export X11_OUT=$2
source "$(dirname "$0")/x11drive.sh"
source "$(dirname "$0")/murvel_screen.sh"

rm -rf "$X11_OUT"
x11_start_display 1024x768
murvel_prepare_folder "$build"
# A name list as the player keeps it beside the game: Windows-1252, CR LF.
printf 'Anna\r\nKäpt'"'"'n Blaubär\r\nKlabautermann\r\n' | iconv -f UTF-8 -t WINDOWS-1252 >"$MURVEL_FOLDER/Combo.txt"
player="Käpt'n Blaubär"

fail() { echo "play_game: $*" >&2; exit 1; }

# A glide down to the right from (X, Y) of the main window, each step into
# where the balloon stood: it must follow and point at the pointer. Quick:
# the game ends each balloon by its 3 s timer.
balloon_follows() {
  # One xdotool for the three steps: on a busy machine each program
  # started costs time of the balloon's.
  xdotool mousemove --sync --window "$main" "$1" "$2" \
    mousemove --sync --window "$main" $(($1 + 4)) $(($2 + 4)) \
    mousemove --sync --window "$main" $(($1 + 8)) $(($2 + 8)) || fail "cannot glide over the main window"
  murvel_expect_balloon_at_pointer "$3"
  murvel_screenshot "$4"
}

# ---- start-up: the splash, then the main window with its balloon -----------
murvel_start shoot-splash
murvel_wait_main
main=$MURVEL_MAIN
balloon_follows 420 250 start-up 02-start-balloon.png
murvel_expect_splash 01-splash.png "Version 1.0.5"

# ---- the options: standard size 1 ------------------------------------------
x11_click "$main" "${MURVEL_TOOLBAR[keyOptionen]}" "$MURVEL_TOOLBAR_Y"
options=$(x11_wait_window_sized 388 228)
x11_click "$options" 187 123 # "Größe 1"
x11_wait_still "$options"
murvel_screenshot 03-options.png
x11_click "$options" 151 199 # "&Übernehmen"
x11_wait_gone "$options"

# ---- a new game: the name completes from the list; size 1 ------------------
x11_click "$main" "${MURVEL_TOOLBAR[keyNew]}" "$MURVEL_TOOLBAR_Y"
neu=$(x11_wait_window "Neues Spiel")
x11_wait_focus "$neu"
x11_type "Kä" # replaces the preset "Unbekannt", the list completes it
x11_click "$neu" 48 112 # "Größe 1"; the field in play has size 2
x11_wait_still "$neu"
murvel_screenshot 04-new-game.png
x11_click "$neu" 125 196 # "&OK!"
x11_wait_gone "$neu"
balloon_follows 335 225 placing 05-placing-balloon.png

# ---- the fleet, cell by cell -----------------------------------------------
# Lengths 4, 3, 3, 2, 2, 1, 1, 1, each boat clear of the others.
fleet=("1,1 2,1 3,1 4,1" "6,1 7,1 8,1" "1,3 2,3 3,3" "5,3 6,3" "8,3 9,3" "1,5" "3,5" "5,5")
# The first boat begun in the wrong place, then thrown away.
murvel_click_cell 5 7
murvel_click_cell 6 7
murvel_expect_cells "building" 5,7 6,7
murvel_screenshot 06-wrong-start.png
murvel_click_bin
murvel_expect_cells "water" 5,7 6,7
murvel_screenshot 07-thrown-away.png
for boat in "${fleet[@]}"; do
  # Before the last boat, while no question covers the field.
  [ "$boat" = "${fleet[-1]}" ] && murvel_expect_cells "boat" ${fleet[*]:0:${#fleet[@]}-1}
  for cell in $boat; do murvel_click_cell "${cell%,*}" "${cell#*,}"; done
done
question=$(x11_wait_window_sized 354 141)
x11_wait_still "$question"
murvel_screenshot 08-fleet-placed.png
x11_click "$question" 127 111 # "&Ja"
x11_wait_gone "$question"

# ---- the battle --------------------------------------------------------------
balloon_follows 335 225 battle 09-battle-balloon.png
murvel_battle 10-battle.png
victory=$MURVEL_VICTORY
murvel_screenshot 11-victory.png

# ---- the top ten, blinking -----------------------------------------------------
x11_click "$victory" 151 207 # "&Ja"
score=$(x11_wait_window_sized 300 381)
murvel_expect_blinking_row "$score" 1
murvel_screenshot 12-top-ten.png
x11_click "$score" 150 50 # the window's face closes it
x11_wait_gone "$score"
x11_wait_gone "$victory"
x11_wait_still "$main"
murvel_screenshot 13-game-over.png
murvel_battle_settle
murvel_winner_from_score "$player"
echo "the battle took $MURVEL_SHOTS shots of the player; the winner: $MURVEL_WINNER"

# ---- quitting ------------------------------------------------------------------
x11_click "$main" "${MURVEL_TOOLBAR[keyEnde]}" "$MURVEL_TOOLBAR_Y"
question=$(x11_wait_window_sized 354 141)
x11_wait_still "$question"
murvel_screenshot 14-quit-question.png
x11_click "$question" 127 111 # "&Ja"
x11_wait_exit "$MURVEL_PID"
[ "$X11_EXIT" -eq 0 ] || fail "the game ended with $X11_EXIT"

# ---- what the game left behind -------------------------------------------------
winner_name=$player
[ "$MURVEL_WINNER" = computer ] && winner_name=Computer
murvel_expect_score 1 1 "$winner_name" "$MURVEL_SHOTS"
for place in $(seq 2 10); do murvel_expect_score 1 "$place" unbekannt "?"; done
for size in 2 3; do for place in $(seq 10); do murvel_expect_score "$size" "$place" unbekannt "?"; done; done
murvel_expect_setting Sound 1
murvel_expect_setting StdSize 1
murvel_expect_setting Help 1
grep -qF "@=\"$MURVEL_FOLDER/libpellwick.so\"" "$XDG_CONFIG_HOME/murvel/registry.reg" \
  || fail "the registry lost Pellwick's registration"
echo "a whole game played: $(ls "$X11_OUT"/*.png | wc -l) screenshots in $X11_OUT"
