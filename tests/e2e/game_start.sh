#!/usr/bin/env bash
# The game played as a person plays it, on the test display, with keys sent
# through the X server: Enter in the display-settings window and in the
# player dialog; then the main page, help and credits, the difficulty page
# (on its first use, which offers the lesson), the lesson page, the loading
# page and the lesson level, whose HUD changes while the accelerate key is
# held; Escape back to the world map, Escape to the main page, and Escape
# twice to quit with exit status 0. A second start goes from the difficulty
# page straight to the map. Each screenshot is compared with every page
# image of the data set: the page shown must be the nearest.
# Arguments: the game program (beside the data archives), a folder for the
# screenshots, the data set's staged images.
set -u
game=$1
shots=${2:-.}
images=${3:-}
key='HKCU\Software\Ardel Vandro\Gravrun\2.0'
title='Gravrun 2.0.0.1'
pages=(main help credits confirmation difficulty lesson map_egypt map_medieval map_hitech
       online scores_egypt scores_medieval scores_hitech players loading loadingonline end)
pid=
documents=
original=

fail() {
  echo "FAIL: $*" >&2
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}

# The save files go to a folder of this test: the prefix's documents folder
# is pointed there while the test runs (it may be shared with the home).
restore_documents() {
  [ -n "$original" ] && rm -f "$documents" && ln -s "$original" "$documents"
}
use_own_documents() {
  documents="${WINEPREFIX:-$HOME/.wine}/drive_c/users/$(id -un)/Documents"
  local own="$shots/documents"
  rm -rf "$own"
  mkdir -p "$own"
  if [ -L "$documents" ]; then
    original=$(readlink "$documents")
    case "$original" in */documents) original=$HOME ;; esac
    rm -f "$documents"
    ln -s "$(cd "$own" && pwd)" "$documents"
    trap restore_documents EXIT
  fi
}

# The id of the first visible window with exactly that name, other than the
# one given; waits for it.
wait_window() {
  local name=$1 other=${2:-none} id i
  for i in $(seq 1 600); do
    for id in $(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null); do
      [ "$id" != "$other" ] && { echo "$id"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

focus() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
}

# A key held as long as a person holds it: longer than one frame.
press() {
  xdotool keydown "$1"
  sleep 0.3
  xdotool keyup "$1"
  sleep 0.3
}

# Starts the game and answers the two start-up windows; sets pid and main.
start_game() {
  cd "$(dirname "$game")" || fail "no program folder"
  wine "$(basename "$game")" &
  pid=$!
  local settings dialog
  settings=$(wait_window "$title") || fail "no display-settings window"
  focus "$settings"
  press Return
  dialog=$(wait_window "Player Identity") || fail "no player dialog"
  focus "$dialog"
  press Return
  main=$(wait_window "$title" "$settings") || fail "no main window"
  [ "$(xdotool getwindowname "$main")" = "$title" ] || fail "main window title"
  focus "$main"
}

# The page images at a small size (raw PPM), once.
prepare_references() {
  local page file
  mkdir -p "$shots/pages"
  for page in "${pages[@]}"; do
    file="$images/menu_$page.jpg"
    [ -f "$file" ] || file="$images/menu_$page.png"
    [ -f "$file" ] || fail "no image of page $page"
    convert "$file" -resize 160x90\! "$shots/pages/$page.ppm"
  done
}

# A screenshot of the main window's client area (the window less its frame
# and caption) as $shots/game_<name>.png, and its small copy.
shot() {
  local name=$1 file="$shots/game_$1.png" w h
  import -window "$main" "$shots/window.png" 2>/dev/null || fail "no screenshot $name"
  read -r w h < <(identify -format '%w %h' "$shots/window.png")
  convert "$shots/window.png" -crop "$((w - 8))x$((h - 27))+4+23" +repage "$file"
  convert "$file" -resize 160x90\! "$shots/small.ppm"
  local brightest
  brightest=$(convert "$file" -colorspace Gray -format '%[fx:maxima]' info:)
  awk -v b="$brightest" 'BEGIN { exit !(b > 0.1) }' || fail "screenshot $name is black"
}

# The page image nearest to the last screenshot by the root mean square of
# the channel differences (0..1), "none" when none is nearer than 0.12.
nearest_page() {
  python3 - "$shots/small.ppm" "$shots/pages" "${pages[@]}" <<'PYTHON'
import math, sys
def pixels(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    return data[at + 1:]
shot = pixels(sys.argv[1])
best, least = "none", 1.0
for page in sys.argv[3:]:
    ref = pixels(sys.argv[2] + "/" + page + ".ppm")
    rmse = math.sqrt(sum((a - b) ** 2 for a, b in zip(shot, ref)) / len(ref)) / 255
    if rmse < least:
        best, least = page, rmse
print(best if least < 0.12 else "none")
PYTHON
}

# Screenshots until the page shown is the expected one (a few seconds).
expect_page() {
  local page=$1 seen i
  for i in $(seq 1 8); do
    shot "$page"
    seen=$(nearest_page)
    [ "$seen" = "$page" ] && { echo "$(date +%T) page $page shown"; return 0; }
    sleep 0.5
  done
  fail "page $page expected, $seen shown"
}

# The top band of the picture (the HUD) differs between two screenshots.
hud_changed() {
  local value
  convert "$1" -crop 100%x15%+0+0 +repage "$shots/hud_a.png"
  convert "$2" -crop 100%x15%+0+0 +repage "$shots/hud_b.png"
  value=$(compare -metric RMSE "$shots/hud_a.png" "$shots/hud_b.png" null: 2>&1 |
    sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
  echo "HUD difference ${value:-none}"
  [ -n "$value" ] && awk -v v="$value" 'BEGIN { exit !(v > 0.005) }'
}

wine reg delete "$key" /f >/dev/null 2>&1
use_own_documents
prepare_references

# --- first start: the menu, the lesson and back ---------------------------------------
start_game
sleep 1
expect_page main
press Down
press Down
press Return
expect_page help
press Return
expect_page credits
press Return
expect_page main
press Return
expect_page difficulty
press Return
expect_page lesson
# The loading page shows while the level loads, then the level.
xdotool keydown Return
sleep 0.3
xdotool keyup Return
loading=no
for i in $(seq 1 60); do
  shot run
  seen=$(nearest_page)
  [ "$seen" = loading ] && loading=yes
  [ "$loading" = yes ] && [ "$seen" != loading ] && break
done
[ "$loading" = yes ] || fail "no loading page"
[ "$seen" != loading ] || fail "the level did not follow the loading page"
echo "loading page, then the level"
# Accelerating: the HUD's time and distance change.
xdotool keydown Up
sleep 1
shot level_a
sleep 1.5
shot level_b
xdotool keyup Up
hud_changed "$shots/game_level_a.png" "$shots/game_level_b.png" || fail "the HUD did not change"
press Escape
expect_page map_egypt
press Escape
expect_page main
press Escape
press Escape
wait "$pid"
code=$?
pid=
[ "$code" = 0 ] || fail "exit code $code"
wine reg query "$key" /v noGhost0 >/dev/null 2>&1 || fail "noGhost0 not written"
wine reg query "$key" /v noGhostNames >/dev/null 2>&1 || fail "noGhostNames not written"
wine reg query "$key" /v player 2>/dev/null | grep -q 0x1 || fail "the player dialog stored no profile"
[ -f "$shots/documents/Gravrun 2/player1.sav" ] || fail "no player file"

# --- second start: the difficulty is begun, the map follows ---------------------------
start_game
sleep 1
expect_page main
press Return
expect_page difficulty
press Return
expect_page map_egypt
xdotool key --clearmodifiers alt+F4
wait "$pid"
code=$?
pid=
[ "$code" = 0 ] || fail "exit code $code after the second start"
echo "game played from the main page to the lesson and back, and ended with 0"
