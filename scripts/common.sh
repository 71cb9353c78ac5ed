# Shared by run.sh and test.sh: build folder, Wine prefix, build and display.
# Sourced, not run.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
mkdir -p "$BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)

export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installation prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export ALSA_CONFIG_PATH="$BUILD_DIR/alsa-null.conf"

build_all() {
  if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/i686-w64-mingw32.cmake" >/dev/null
  fi
  # The data set is made by Wine programs during the build, in the prefix
  # (prepare_prefix first). A server and Wine's helper processes are started
  # here with their output discarded: started by a build step instead, they
  # would hold ninja's output pipe open for seconds after each step. They are
  # stopped afterwards, so that the tests' server starts on their display.
  # ALLOW_BUILD_ERRORS=1 runs the tests that did build (for work in progress).
  wineserver -f -p >/dev/null 2>&1 &
  local server=$!
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
  local built=0
  cmake --build "$BUILD_DIR" -- -k 0 || built=$?
  wineserver -k >/dev/null 2>&1 || true
  wait "$server" 2>/dev/null || true
  if [ "$built" != 0 ]; then
    [ "${ALLOW_BUILD_ERRORS:-0}" = 1 ] || return 1
    echo "Build errors above; running the tests that built." >&2
  fi
}

# A private 32-bit prefix inside the build folder. Its settings carry a
# version: a prefix made with older settings takes the current ones.
# Direct3D runs without its command-stream thread: with the software
# renderer on a busy machine that thread's waiting took a third of the
# process's CPU and made frames slower (the pictures are the same).
PREFIX_SETTINGS=2
prepare_prefix() {
  printf 'pcm.!default { type null }\n' > "$ALSA_CONFIG_PATH"
  local marker="$WINEPREFIX/.project-configured"
  [ -f "$marker" ] && [ "$(cat "$marker")" = "$PREFIX_SETTINGS" ] && return 0
  if [ ! -f "$marker" ]; then
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
  fi
  local reg=(
    'HKCU\Software\Wine\WineDbg|ShowCrashDialog|REG_DWORD|0'
    'HKCU\Software\Wine\X11 Driver|Managed|REG_SZ|N'
    'HKCU\Software\Wine\X11 Driver|Decorated|REG_SZ|N'
    'HKCU\Software\Wine\Fonts\Replacements|Arial|REG_SZ|Liberation Sans'
    'HKCU\Software\Wine\Direct3D|csmt|REG_DWORD|0'
  )
  local row key name type value
  for row in "${reg[@]}"; do
    IFS='|' read -r key name type value <<<"$row"
    wine reg add "$key" /v "$name" /t "$type" /d "$value" /f >/dev/null 2>&1
  done
  wineserver -w
  echo "$PREFIX_SETTINGS" > "$marker"
}

STARTED_PIDS=()

# An X display of our own on the first free number.
start_display() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  STARTED_PIDS+=($!)
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

# A persistent wineserver, so that each program starts warm.
# Wine's helper processes (services, devices, desktop) are started here with
# their output discarded: started from a test instead, they would inherit
# ctest's output pipe and keep it open after the test ends.
start_wineserver() {
  wineserver -f -p >/dev/null 2>&1 &
  STARTED_PIDS+=($!)
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}

stop_started() {
  wineserver -k >/dev/null 2>&1 || true
  local pid
  for pid in "${STARTED_PIDS[@]}"; do
    kill "$pid" >/dev/null 2>&1 || true
  done
  for pid in "${STARTED_PIDS[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
}
