#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the tests under Wine.
# Extra arguments go to ctest (for example: ./test.sh -R core).
set -euo pipefail
source "$(dirname "$0")/scripts/common.sh"

"$ROOT/scripts/install-deps.sh"
prepare_prefix
build_all

trap stop_started EXIT
start_display
start_wineserver
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$(nproc)" "$@"
