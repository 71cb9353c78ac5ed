# Shell functions that drive the game through the X server, for the
# end-to-end scripts (sourced). The script sets pid to the game's process.

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
