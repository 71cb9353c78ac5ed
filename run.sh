#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the game under Wine
# on the current display.
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/scripts/install-deps.sh"
prepare_prefix
build_all

game="$BUILD_DIR/app/gravrun2.exe"
if [ ! -f "$game" ]; then
  echo "Everything that exists is built; the game is not built yet."
  exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "No display: set DISPLAY to an X display to play." >&2
  exit 1
fi
cd "$(dirname "$game")"
exec wine "$game" "$@"
