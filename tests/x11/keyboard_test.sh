#!/usr/bin/env bash
# The real program on a real X server (Xvfb), driven by key presses alone (xdotool through the
# XTEST extension, as a keyboard types): Enter for Add, F4 for the calendar, arrows and Enter to
# pick a day three days back, Enter for OK; F10 and Down to Temp History, Enter for Add, Enter
# for today, Down to a value and Enter; then F10 and the arrows to My Diary, Enter for Add, a
# note typed, Enter for OK; Alt alone opens the menu bar and Esc closes it; Ctrl+Q ends the
# program. The store then holds the cycle, the reading and the note.
# Usage: keyboard_test.sh CALVIRA CALVIRA_DATA
set -uo pipefail
calvira=$1
calvira_data=$2
# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh" 300 jq

dir="$work/data"
"$calvira_data" --data-dir "$dir" logo off >/dev/null || fail "calvira-data"
inspect() { "$calvira" --inspect --data-dir "$dir"; }
# The program's state line (the first of --inspect) says which screen is current.
screen_is() {
  for _ in $(seq 60); do
    [ "$(inspect 2>/dev/null | head -1 | jq -r .screen)" = "$1" ] && return 0
    sleep 0.05
  done
  inspect | head -1; fail "$2"
}
menu_open() { inspect 2>/dev/null | jq -se 'any(.[]; .class == "CalviraMenuPopup")' >/dev/null; }
keys() { xdotool key --delay 60 "$@"; }

CALVIRA_SCALE=1 "$calvira" --data-dir "$dir" &
running=$!
pids+=("$running")
window=$(xdotool search --sync --onlyvisible --pid "$running" --name '^Calvira$' | head -1)
[ -n "$window" ] || fail "no window appeared"
xdotool windowfocus --sync "$window"
screen_is 5 "the program did not open on the Cycle View"

keys Return
screen_is 18 "Enter did not open Add New Cycle"
keys F4
screen_is 2 "F4 did not open the calendar"
keys Left Left Left Return
screen_is 18 "Enter on the calendar did not go back to Add New Cycle"
keys Return
screen_is 5 "Enter did not add the cycle"

# Temp History is the fourth entry of Main, the first menu.
keys F10 Down Down Down Return
screen_is 8 "F10, Down and Enter did not open Temp History"
keys Return
screen_is 2 "Enter did not open the calendar for a reading"
keys Return
screen_is 8 "Enter on the calendar did not go back to Temp History"
keys Down Down Down Down Return
sleep 0.3

keys alt
for _ in $(seq 40); do menu_open && break; sleep 0.05; done
menu_open || fail "Alt alone did not open the menu bar"
keys Escape
sleep 0.2
menu_open && fail "Esc did not close the menu"

# My Diary is the fifth entry of Tools, the second menu.
keys F10 Right Down Down Down Down Return
screen_is 14 "F10, the arrows and Enter did not open My Diary"
keys Return
screen_is 20 "Enter did not open Add Your Note"
xdotool type --delay 40 "Typed by keys"
keys Return
screen_is 14 "Enter did not save the note"
keys ctrl+q
for _ in $(seq 60); do kill -0 "$running" 2>/dev/null || break; sleep 0.05; done
kill -0 "$running" 2>/dev/null && fail "Ctrl+Q did not end the program"
wait "$running" || fail "the program ended with an error"

export=$("$calvira_data" --data-dir "$dir" export) || fail "calvira-data export"
[ "$(jq '.cycles | length' <<<"$export")" = 1 ] || fail "no cycle stored: $export"
[ "$(jq '.temperatures | length' <<<"$export")" = 1 ] || fail "no reading stored: $export"
[ "$(jq -r '.notes[0].text' <<<"$export")" = "Typed by keys" ] || fail "no note stored: $export"
echo "PASS: a cycle, a reading and a note added by keys alone"
