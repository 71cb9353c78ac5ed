#!/usr/bin/env bash
# The game started as a player starts it, on the test display: Enter in the
# display-settings window, Enter in the player dialog, then the main window
# in menu mode is looked at (title, a picture that is not black), closed with
# Alt+F4, and the program must end with 0 after writing its ghost switches.
# Argument: the game program (beside the data archives).
set -u
game=$1
shots=${2:-.}

source "$(dirname "$0")/game_driver.sh"

start_game "$(dirname "$game")" "$(basename "$game")"
main=$(wait_window "$title" "$settings") || fail "no main window"
[ "$(xdotool getwindowname "$main")" = "$title" ] || fail "main window title"

# The window's picture (the caption the framework draws, the client the
# engine presents) must not be black; an option key goes to the engine's
# settings hook on the way.
sleep 2
press "$main" F1
sleep 1
shot="$shots/game_start_menu.png"
import -window "$main" "$shot" 2>/dev/null || fail "no screenshot"
brightest=$(convert "$shot" -colorspace Gray -format '%[fx:maxima]' info:)
echo "brightest pixel of the main window: $brightest"
awk -v b="$brightest" 'BEGIN { exit !(b > 0.1) }' || fail "the main window is black"

press "$main" alt+F4
wait "$pid"
code=$?
pid=
[ "$code" = 0 ] || fail "exit code $code"
wine reg query "$key" /v noGhost0 >/dev/null 2>&1 || fail "noGhost0 not written"
wine reg query "$key" /v noGhostNames >/dev/null 2>&1 || fail "noGhostNames not written"
wine reg query "$key" /v player 2>/dev/null | grep -q 0x1 || fail "the player dialog stored no profile"
echo "game started, showed its window and ended with 0"
