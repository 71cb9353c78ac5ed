#!/usr/bin/env bash
# The game started from a copy of its folder in which one data archive has
# another name: after the display settings and the player dialog, a message
# box titled "Error" names the missing file, and once it is answered the
# program ends with a code other than 0.
# Arguments: the game program (beside the data archives), the program that
# prints a window's texts.
set -u
game=$1
texts=$2

source "$(dirname "$0")/game_driver.sh"

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
source_folder=$(dirname "$game")
cp "$game" "$folder/" || fail "cannot copy the program"
for ext in img snd fx dat; do
  cp "$source_folder/gravrun2.$ext" "$folder/" || fail "no gravrun2.$ext beside the program"
done
cp "$source_folder/gravrun2.obj" "$folder/gravrun2.obj.old" || fail "no gravrun2.obj"

start_game "$folder" "$(basename "$game")"
box=$(wait_window "Error") || fail "no error message"
shown=$(wine "$texts" Error | tr -d '\r')
echo "the message box shows:"
echo "$shown"
grep -q "missing or damaged" <<<"$shown" || fail "the message does not say what is wrong"
grep -q 'gravrun2\.obj$' <<<"$shown" || fail "the message does not name gravrun2.obj"
if grep -q 'gravrun2\.\(img\|snd\|fx\|dat\)$' <<<"$shown"; then
  fail "the message names an archive that is there"
fi

press "$box" Return
wait "$pid"
code=$?
pid=
[ "$code" != 0 ] || fail "the program ended with 0"
echo "a missing archive was named and the program ended with $code"
