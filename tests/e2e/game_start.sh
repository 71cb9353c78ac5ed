#!/usr/bin/env bash
# The game played as a person plays it, on the test display, with keys sent
# through the X server: Enter in the display-settings window and in the
# player dialog; then the main page, help and credits, the difficulty page
# (on its first use, which offers the lesson), the lesson page, the loading
# page and the lesson level, whose HUD changes while the accelerate key is
# held; Escape back to the world map, its side menu's confirmation page and
# back, Escape to the main page, and Escape
# twice to quit with exit status 0, after writing the ghost switches. A
# second start goes from the difficulty page straight to the map. Each
# screenshot is compared with every page image of the data set: the page
# shown must be the nearest.
# Arguments: the game program (beside the data archives), a folder for the
# screenshots, the data set's staged images.
set -u
game=$1
shots=$(cd "${2:-.}" && pwd)
images=${3:-}

source "$(dirname "$0")/game_driver.sh"

pages=(main help credits confirmation difficulty lesson map_egypt map_medieval map_hitech
       online scores_egypt scores_medieval scores_hitech players loading loadingonline end)
pid=
documents=
original=
saves=

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
  saves="$documents/Gravrun 2"
  if [ -L "$documents" ]; then
    original=$(readlink "$documents")
    case "$original" in */documents) original=$HOME ;; esac
    rm -f "$documents"
    ln -s "$own" "$documents"
    trap restore_documents EXIT
    saves="$own/Gravrun 2"
  fi
  rm -f "$saves/player1.sav"
}

# Starts the game (its registry key emptied) and answers the two start-up
# windows; sets main and gives it the focus.
start() {
  start_game "$(dirname "$game")" "$(basename "$game")"
  main=$(wait_window "$title" "$settings") || fail "no main window"
  [ "$(xdotool getwindowname "$main")" = "$title" ] || fail "main window title"
  xdotool windowfocus --sync "$main" 2>/dev/null || xdotool windowfocus "$main"
  sleep 0.3
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
# and caption) as $shots/game_<name>.png.
capture() {
  local file="$shots/game_$1.png" w h
  import -window "$main" "$shots/window.png" 2>/dev/null || fail "no screenshot $1"
  crop_client "$shots/window.png" "$file"
}
crop_client() {
  local w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -crop "$((w - 8))x$((h - 27))+4+23" +repage "$2"
}

# The page a screenshot shows: the nearest page image, "none" when no page
# image is near, "black" while nothing is drawn.
page_of() {
  local brightest
  brightest=$(convert "$1" -colorspace Gray -format '%[fx:maxima]' info:)
  awk -v b="$brightest" 'BEGIN { exit !(b > 0.1) }' || { echo black; return; }
  convert "$1" -resize 160x90\! "$shots/small.ppm"
  nearest_page
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

# Screenshots until the page shown is the expected one (the window may
# still be black while the game starts or loads on a busy machine).
expect_page() {
  local page=$1 seen i
  for i in $(seq 1 40); do
    capture "$page"
    seen=$(page_of "$shots/game_$page.png")
    [ "$seen" = "$page" ] && { echo "$(date +%T) page $page shown"; return 0; }
    sleep 0.5
  done
  fail "page $page expected, $seen shown"
}

# Return on the lesson page: screenshots while the level loads, in bursts
# of ten taken by one process a few hundredths of a second apart (the level
# may load in a fraction of a second), until the last of a burst shows
# neither a page nor nothing; among them the loading page must come before
# the level. A Return the game did not see (the lesson page still shown) is
# given again.
enter_level() {
  local attempt shot n start seen
  for attempt in 1 2 3; do
    rm -f "$shots"/load_*.png
    start=$(date +%s%N)
    xdotool keydown Return
    n=0
    seen=lesson
    while [ $(($(date +%s%N) - start)) -lt 30000000000 ]; do
      n=$((n + 1))
      # The key goes up just before a burst, which sees what follows.
      [ $(($(date +%s%N) - start)) -gt 800000000 ] && xdotool keyup Return
      import -silent -window "$main" -snaps 10 -pause 0 "$shots/load_$(printf %03d $n).png" \
        2>/dev/null
      crop_client "$shots/load_$(printf %03d $n)-9.png" "$shots/game_run.png"
      seen=$(page_of "$shots/game_run.png")
      case "$seen" in lesson | loading | black) ;; *) break ;; esac
    done
    xdotool keyup Return
    case "$seen" in lesson | loading | black) ;; *) break ;; esac
    [ "$seen" = lesson ] || fail "the level did not follow the loading page"
  done
  # In the order taken: the bursts by number, each by its one-digit index.
  for shot in "$shots"/load_*.png; do
    crop_client "$shot" "$shots/game_run.png"
    [ "$(page_of "$shots/game_run.png")" = loading ] && {
      echo "loading page ($(basename "$shot") of $n bursts), then the level ($seen)"
      return 0
    }
  done
  fail "no loading page before the level"
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

# The middle of the picture, below the HUD and beside the tips, shows the
# lit track: many colours, not dark.
shows_track() {
  local colours mean
  convert "$1" -crop 60%x40%+20%+20% +repage "$shots/track.png"
  colours=$(identify -format '%k' "$shots/track.png")
  mean=$(convert "$shots/track.png" -colorspace Gray -format '%[fx:mean]' info:)
  echo "track: $colours colours, mean $mean"
  [ "$colours" -gt 200 ] && awk -v m="$mean" 'BEGIN { exit !(m > 0.1) }'
}

use_own_documents
prepare_references

# --- first start: the menu, the lesson and back ---------------------------------------
start
sleep 1
expect_page main
# The option keys reach the engine's settings hook on the way (lighting off
# and on again).
hold F1
hold F1
expect_page main
hold Down
hold Down
hold Return
expect_page help
hold Return
expect_page credits
hold Return
expect_page main
hold Return
expect_page difficulty
hold Return
expect_page lesson
# The loading page shows while the level loads, then the level.
enter_level
# Accelerating: the HUD's time and distance change.
xdotool keydown Up
sleep 1
capture level_a
sleep 1.5
capture level_b
xdotool keyup Up
hud_changed "$shots/game_level_a.png" "$shots/game_level_b.png" || fail "the HUD did not change"
shows_track "$shots/game_level_b.png" || fail "no track in the level's picture"
hold Escape
expect_page map_egypt
# The map's side menu: its last item asks for confirmation; Escape returns.
hold Return
for i in 1 2 3 4; do hold Down; done
hold Return
expect_page confirmation
hold Escape
expect_page map_egypt
hold Escape
expect_page main
hold Escape
hold Escape
wait "$pid"
code=$?
pid=
[ "$code" = 0 ] || fail "exit code $code"
wine reg query "$key" /v noGhost0 >/dev/null 2>&1 || fail "noGhost0 not written"
wine reg query "$key" /v noGhostNames >/dev/null 2>&1 || fail "noGhostNames not written"
wine reg query "$key" /v player 2>/dev/null | grep -q 0x1 || fail "the player dialog stored no profile"
[ -f "$saves/player1.sav" ] || fail "no player file"

# --- second start: the difficulty is begun, the map follows ---------------------------
start
sleep 1
expect_page main
hold Return
expect_page difficulty
hold Return
expect_page map_egypt
xdotool key --clearmodifiers alt+F4
wait "$pid"
code=$?
pid=
[ "$code" = 0 ] || fail "exit code $code after the second start"
echo "game played from the main page to the lesson and back, and ended with 0"
