#!/usr/bin/env bash
# The password as a user sets and removes it on a real X server (Xvfb), with the pen:
#  - Tools > Password, a new password typed twice, OK, and OK to the word on encryption: the
#    store is encrypted under it and holds a hash, never the text;
#  - the next start asks for it: the menu bar leads nowhere, a wrong one is refused, the right
#    one opens the Cycle View;
#  - the password removed on the same screen: the store is plain again and the next start opens
#    without asking.
# Every tap is aimed at a rectangle that `calvira --inspect` reports.
# Usage: password_test.sh CALVIRA CALVIRA_DATA IDS_HEADER
set -uo pipefail
calvira=$1
calvira_data=$2
ids=$3
id_of() { sed -n "s/.*constexpr int $1 = \([0-9]*\);.*/\1/p" "$ids"; }
# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh" 200 jq

dir="$work/data"
secret='Pen Secret 7'
"$calvira_data" --data-dir "$dir" logo off >/dev/null || fail "calvira-data"

inspect() { "$calvira" --inspect --data-dir "$dir"; }
wait_for() {
  for _ in $(seq 60); do
    inspect 2>/dev/null | jq -se "$1" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "--- the window tree:"; inspect; fail "$2"
}
tap() {
  local at
  at=$(inspect | jq -sr "$1 | \"\\((.[0] + .[2]) / 2 | floor) \\((.[1] + .[3]) / 2 | floor)\"" | head -1)
  [ -n "$at" ] || fail "nothing to tap at $1"
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $at click 1
}
entry() { echo ".[] | select(.class == \"$1\") | .item_rects[.items | index(\"$2\")]"; }
control() { echo ".[] | select(.id == $(id_of "$1") and .visible) | .rect"; }
button() { echo ".[] | select(.class == \"Button\" and .text == \"$1\" and .visible) | .rect"; }
# Types into a control, after a tap on it.
type_into() {
  tap "$(control "$1")"
  xdotool type --delay 40 "$2"
}
# Answers the message box with this text by a tap on its OK.
answer_box() {
  wait_for "any(.[]; .caption == \"Password\" and .body == \"$1\")" "no box \"$1\""
  local box
  box=$(inspect | jq -s '.[] | select(.body != null) | .hwnd')
  tap ".[] | select(.parent == $box and .id == 1) | .rect"
  wait_for "all(.[]; .hwnd != $box)" "OK did not close the box \"$1\""
}
start() {
  CALVIRA_SCALE=1 "$calvira" --data-dir "$dir" &
  running=$!
  pids+=("$running")
  window=$(xdotool search --sync --onlyvisible --pid "$running" --name '^Calvira$' | head -1)
  [ -n "$window" ] || fail "no window appeared"
  xdotool windowfocus "$window"
}
stop() {
  kill -TERM "$running"
  wait "$running"
}
open_password_screen() {
  tap "$(entry menu_worker Tools)"
  wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("Password")))' "no Tools menu"
  tap "$(entry CalviraMenuPopup Password)"
  wait_for '.[0].screen == 16' "the Password screen did not come up"
}
no_typed_text() {
  printf '%s\n' "$secret" | "$calvira_data" --data-dir "$dir" --password-stdin dump \
    >"$work/dump" 2>/dev/null || fail "calvira-data dump"
  grep -qF "$secret" "$work/dump" && fail "the store holds the typed password"
  grep -qF 'Pen Secret' "$work/dump" && fail "the store holds part of the typed password"
  return 0
}

# A first password.
start
wait_for '.[0].screen == 5' "the first start did not open the Cycle View"
open_password_screen
type_into kCtlPasswordNew "$secret"
type_into kCtlPasswordVerify "$secret"
inspect | grep -qF "$secret" && fail "inspect shows the typed password"
tap "$(button OK)"
answer_box 'Your records will be encrypted with this password. Without it nobody can read them, and nobody can recover them if it is forgotten.'
answer_box 'Password changed\nsuccessfully!'
wait_for '.[0].screen == 5' "OK did not return to the Cycle View"
no_typed_text
grep -q '"database":"Systems","oid".*\$argon2id\$' "$work/dump" || fail "no hash in the store"
header() { head -c 15 "$dir/objectstore.sqlite3"; }
[ "$(header)" = "SQLite format 3" ] && fail "the store was not encrypted"
stop

# The next start asks; a wrong password is refused, the right one opens the Cycle View.
start
wait_for '.[0].screen == 22' "the next start did not ask for the password"
# Nothing on the menu bar leads past the prompt: no menu opens, and a tap where its entries
# would be, or F10, leaves the prompt as it is.
for menu in Main Tools Help; do
  tap "$(entry menu_worker $menu)"
  xdotool mousemove --window "$window" 60 250 click 1 key F10
  sleep 0.3
  inspect | jq -se 'all(.[]; .class != "CalviraMenuPopup")' >/dev/null ||
    fail "the $menu menu opened over the prompt"
  [ "$(inspect | jq -s '.[0].screen')" = 22 ] || fail "the $menu menu left the prompt"
done
type_into kCtlPasswordField 'pen secret 7'
tap "$(button OK)"
answer_box 'Wrong password!\nTry again?'
[ "$(inspect | jq -s '.[0].screen')" = 22 ] || fail "a wrong password opened the program"
tap "$(control kCtlPasswordField)"
xdotool key End $(printf 'BackSpace %.0s' $(seq 14))
xdotool type --delay 40 "$secret"
tap "$(button OK)"
wait_for '.[0].screen == 5' "the right password did not open the Cycle View"

# Removed: the current password, the new ones left empty.
open_password_screen
type_into kCtlPasswordCurrent "$secret"
tap "$(button OK)"
answer_box 'Remove current\npassword?'
answer_box 'Password changed\nsuccessfully!'
wait_for '.[0].screen == 5' "the removal did not return to the Cycle View"
no_typed_text
[ "$(header)" = "SQLite format 3" ] || fail "the removal did not leave a plain store"
stop

start
wait_for '.[0].screen == 5' "after the removal the start did not open the Cycle View"
stop
echo "PASS"
