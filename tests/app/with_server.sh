#!/usr/bin/env bash
# Runs a test program beside the reference server of the game's web service;
# the server's port reaches the program as GAME_SERVER_PORT.
set -u
program=$1
shift
folder=$(mktemp -d)
python3 "$(dirname "$0")/game_server.py" "$folder/port" &
server=$!
for _ in $(seq 1 200); do
  [ -s "$folder/port" ] && break
  sleep 0.1
done
GAME_SERVER_PORT=$(cat "$folder/port" 2>/dev/null)
export GAME_SERVER_PORT
wine "$program" "$@"
status=$?
kill "$server"
wait "$server" 2>/dev/null
rm -rf "$folder"
exit $status
