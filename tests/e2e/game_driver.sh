# Shell functions that drive the game through the X server, for the
# end-to-end scripts (sourced). pid is the game's process once started.

key='HKCU\Software\Ardel Vandro\Gravrun\2.0'
title='Gravrun 2.0.0.1'

fail() {
  echo "FAIL: $*" >&2
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
  exit 1
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

press() {
  xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"
  sleep 0.3
  xdotool key --clearmodifiers "$2"
}

# A key of the focused window held as a person holds it: the game reads its
# keys once a frame, and a key pressed and released between two frames is
# not seen. A busy machine draws slow frames: the key is held for most of a
# second (its auto-repeats are not read as presses).
hold() {
  xdotool keydown "$1"
  sleep 0.8
  xdotool keyup "$1"
  sleep 0.2
}

# Starts the program in its folder, the game's registry key emptied first,
# and answers the display-settings window and the player dialog with Enter.
# Sets pid, and settings to the display-settings window's id (the main window
# has the same title).
start_game() {
  local folder=$1 program=$2 dialog
  wine reg delete "$key" /f >/dev/null 2>&1
  cd "$folder" || fail "no program folder"
  wine "$program" &
  pid=$!
  settings=$(wait_window "$title") || fail "no display-settings window"
  press "$settings" Return
  dialog=$(wait_window "Player Identity") || fail "no player dialog"
  press "$dialog" Return
}
