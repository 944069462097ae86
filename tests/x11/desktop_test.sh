#!/usr/bin/env bash
# The desktop program on a real X server (Xvfb), driven with xdotool as a person would:
#  - at CALVIRA_SCALE=1 the window is 240 x 294, shows the launcher's icon and may grow but not
#    shrink below that size;
#  - a second start with the same data directory raises the first and exits with 0 at once,
#    while a start with another data directory runs beside it;
#  - `calvira --inspect` shows the screen, the main window, the menu bar, an open menu with its
#    entries' rectangles and a message box with its caption, text and buttons; every tap below
#    is aimed at a rectangle it reports, so no coordinate is written here;
#  - `calvira --screenshot` of the Mirror is the frame the headless display draws for it;
#  - a flood of silent, junk and oversized requests neither stops the answers nor the program,
#    and "Exit Calvira" from the Main menu still ends it with 0;
#  - a second start while the first still shows its logo raises it and exits with 0;
#  - a start that fails says why in a message box, and exits with 1 once it is answered;
#  - SIGTERM and SIGINT end the program with 0 at any moment, a message box's loop included;
#  - when the X server goes away the program ends within a second.
#  - a user enters two cycles with the pen alone (Add, a day picked on the calendar, the lengths
#    typed, OK), steps between them with the Cycle View's arrows and finds both in Cycle History,
#    and every cycle is in the store the moment its dialog closes;
#  - a user records a day on the schedule (level, pill with a time from the picker, remark) and
#    clears its pill in Pill History, each change in the store as soon as the screen shows it;
#  - a note typed in My Diary keeps its text over a day picked on the calendar and is stored on
#    OK.
# Usage: desktop_test.sh CALVIRA CALVIRA_DATA TESTS_SCENARIOS IDS_HEADER
set -uo pipefail
calvira=$1
calvira_data=$2
scenarios=$3
ids=$4
# A control's id, by its name in the program's ids header.
id_of() { sed -n "s/.*constexpr int $1 = \([0-9]*\);.*/\1/p" "$ids"; }
# shellcheck source=xvfb.sh
source "$(dirname "$0")/xvfb.sh" 90 xprop jq socat

"$calvira_data" --data-dir "$work/one" logo off >/dev/null || fail "calvira-data"
"$calvira_data" --data-dir "$work/two" logo off >/dev/null || fail "calvira-data"

CALVIRA_SCALE=1 "$calvira" --data-dir "$work/one" &
first=$!
pids+=("$first")
window=$(xdotool search --sync --onlyvisible --pid "$first" --name '^Calvira$' | head -1)
[ -n "$window" ] || fail "no window appeared"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "240x294" ] || fail "the window is $geometry, not 240x294"
# Read whole before they are searched: grep -q would end the pipe early, and the icon's long
# listing would then fail xprop on a broken pipe.
icon=$(xprop -id "$window" _NET_WM_ICON)
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q 'Icon (64 x 64)' <<<"$icon" || fail "the window has no icon"
grep -q 'program specified minimum size: 240 by 294' <<<"$hints" ||
  fail "the window's least size is not 240 x 294: $hints"

CALVIRA_SCALE=1 timeout 10 "$calvira" --data-dir "$work/one"
code=$?
[ "$code" = 0 ] || fail "a second start with the same data directory ended with $code"
kill -0 "$first" 2>/dev/null || fail "the first copy ended when the second started"

CALVIRA_SCALE=1 "$calvira" --data-dir "$work/two" &
other=$!
pids+=("$other")
sleep 1.5
kill -0 "$other" 2>/dev/null || fail "a start with another data directory did not keep running"
kill "$other"

dir="$work/one"  # the copy that inspect and tap talk to
inspect() { "$calvira" --inspect --data-dir "$dir"; }
# Waits until the window tree passes the jq test $1.
wait_for() {
  for _ in $(seq 40); do
    inspect 2>/dev/null | jq -se "$1" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "--- the window tree:"; inspect; fail "$2"
}
# Taps the middle of the rectangle that the jq expression $1 picks from the window tree.
tap() {
  local at
  at=$(inspect | jq -sr "$1 | \"\\((.[0] + .[2]) / 2 | floor) \\((.[1] + .[3]) / 2 | floor)\"" | head -1)
  [ -n "$at" ] || fail "nothing to tap at $1"
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $at click 1
}
entry() { echo ".[] | select(.class == \"$1\") | .item_rects[.items | index(\"$2\")]"; }

summary=$(inspect | head -1)
[ "$(jq -r .screen <<<"$summary")" = 5 ] || fail "inspect does not show screen 5: $summary"
inspect | jq -se 'any(.[]; .class == "CalviraApp" and .text == "Calvira" and .rect == [0, 0, 240, 268])' \
  >/dev/null || fail "inspect does not list the main window"
inspect | jq -se 'any(.[]; .class == "menu_worker" and .items == ["Main", "Tools", "Help"])' \
  >/dev/null || fail "inspect does not list the menu bar"
"$calvira" --inspect --data-dir "$work/nobody" 2>"$work/err" && fail "inspect without a copy said 0"
grep -qx "calvira: no running copy for $work/nobody" "$work/err" || fail "$(cat "$work/err")"

# Tools > Mirror: the screen id follows, and its frame is the headless display's.
tap "$(entry menu_worker Tools)"
wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("Mirror")))' "no Tools menu"
tap "$(entry CalviraMenuPopup Mirror)"
wait_for '.[0].screen == 15' "Mirror did not come up"
"$calvira" --screenshot "$work/mirror.png" --data-dir "$work/one" || fail "--screenshot failed"
CALVIRA_SCREENSHOT_DIR="$work/shots" "$scenarios" --gtest_filter='Screenshots.*' >/dev/null ||
  fail "the headless screenshots failed"
cmp -s "$work/mirror.png" "$work/shots/mirror.png" ||
  fail "--screenshot of the Mirror differs from the headless frame"
tap '.[] | select(.class == "CalviraApp") | .rect'
wait_for '.[0].screen == 5' "a tap did not leave the Mirror"

# Main > Cycle Charts with no cycles: a message box, answered by a tap on its OK.
tap "$(entry menu_worker Main)"
wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("Exit Calvira")))' "no Main menu"
tap "$(entry CalviraMenuPopup "Cycle Charts")"
wait_for 'any(.[]; .caption == "Calvira" and .body == "There are no finished cycles!")' "no message box"
box=$(inspect | jq -s '.[] | select(.body != null) | .hwnd')
inspect | jq -se "any(.[]; .parent == $box and .id == 1 and .text == \"OK\")" >/dev/null ||
  fail "the message box's OK button is not listed"
tap ".[] | select(.parent == $box and .id == 1) | .rect"
wait_for 'all(.[]; .body == null)' "OK did not close the message box"

# A flood: silent peers, binary junk, requests too long to be one. The window keeps answering.
sock="$dir/calvira.sock"
for i in $(seq 12); do
  (sleep 4 | socat -u - "UNIX-CONNECT:$sock" >/dev/null 2>&1 &)
  (head -c 20000 /dev/urandom | socat - "UNIX-CONNECT:$sock" >/dev/null 2>&1 &)
  (printf 'inspect%.0s' $(seq 1000) | socat - "UNIX-CONNECT:$sock" >/dev/null 2>&1 &)
done
for _ in $(seq 10); do
  inspect | head -1 | jq -e '.screen == 5' >/dev/null || fail "no answer during the flood"
done
kill -0 "$first" 2>/dev/null || fail "the flood ended the program"

# Two cycles entered as a user enters them.
control() { echo ".[] | select(.id == $(id_of "$1") and .visible) | .rect"; }
cycles_stored() { "$calvira_data" --data-dir "$dir" dump | grep -c '"database":"Cycles","oid"'; }
add_cycle() {  # $1: the calendar zones to tap first (e.g. a month back), then a day of week two
  tap "$(control kCtlCycleAdd)"
  wait_for '.[0].screen == 18' "Add did not open Add New Cycle"
  tap "$(control kCtlAddStart)"
  wait_for '.[0].screen == 2' "the start field did not open the calendar"
  for zone in $1; do xdotool mousemove --window "$window" ${zone/,/ } click 1; sleep 0.2; done
  xdotool mousemove --window "$window" 120 135 click 1  # Tuesday of the second week
  wait_for '.[0].screen == 18' "a picked day did not return to Add New Cycle"
  xdotool windowfocus "$window"
  # Each field is emptied first: it may hold a suggestion.
  tap "$(control kCtlAddPeriod)"
  xdotool key End BackSpace BackSpace BackSpace
  xdotool type --delay 50 5
  tap "$(control kCtlAddPresumed)"
  xdotool key End BackSpace BackSpace BackSpace
  xdotool type --delay 50 28
  tap '.[] | select(.class == "Button" and .text == "OK" and .visible) | .rect'
  wait_for '.[0].screen == 5' "OK did not return to the Cycle View"
}
add_cycle ""
[ "$(cycles_stored)" = 1 ] || fail "the first cycle is not in the store"
add_cycle "30,14"  # a month back
[ "$(cycles_stored)" = 2 ] || fail "the second cycle is not in the store"
"$calvira" --screenshot "$work/newest.png" --data-dir "$dir" || fail "--screenshot failed"
xdotool mousemove --window "$window" 12 7 click 1  # the arrow to the older cycle
sleep 0.3
"$calvira" --screenshot "$work/older.png" --data-dir "$dir" || fail "--screenshot failed"
cmp -s "$work/newest.png" "$work/older.png" && fail "the arrow did not show the older cycle"
xdotool mousemove --window "$window" 12 261 click 1  # and back to the newer
sleep 0.3
"$calvira" --screenshot "$work/newer.png" --data-dir "$dir" || fail "--screenshot failed"
cmp -s "$work/newest.png" "$work/newer.png" || fail "the arrow did not come back to the newest"
tap "$(entry menu_worker Main)"
wait_for 'any(.[]; .class == "CalviraMenuPopup")' "no Main menu"
tap "$(entry CalviraMenuPopup "Cycle History")"
wait_for ".[] | select(.id == $(id_of kCtlHistoryList)) | (.items | length) == 2" \
  "Cycle History does not list the two cycles"

# A day on the schedule entered with the pen: heavy bleeding, a pill at a time set in the picker
# and a remark, in the store the moment the editor closes; Pill History then clears the pill and
# the day keeps the rest.
pill_record() { "$calvira_data" --data-dir "$dir" dump | grep '"database":"Pill","oid"'; }
tap_at() {  # $1: a jq expression giving a point [x, y] from the window tree
  local at
  at=$(inspect | jq -sr "$1 | \"\\(.[0]) \\(.[1])\"" | head -1)
  [ -n "$at" ] || fail "nothing to tap at $1"
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" $at click 1
}
tap "$(entry menu_worker Tools)"
wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("Schedule Edit")))' "no Tools menu"
tap "$(entry CalviraMenuPopup "Schedule Edit")"
wait_for '.[0].screen == 2' "Schedule Edit did not open the calendar"
xdotool mousemove --window "$window" 120 135 click 1  # Tuesday of the second week
wait_for '.[0].screen == 11' "a day did not open the day entry editor"
tap "$(control kCtlDayHeavy)"
tap "$(control kCtlDayPill)"
wait_for "any(.[]; .id == $(id_of kCtlDayTime) and .visible)" "Pill did not show the time button"
tap "$(control kCtlDayTime)"
wait_for '.[0].screen == 21' "the time button did not open the picker"
# The picker's up arrow, found from the colon between the hour and the minutes (client 45, 31).
tap_at ".[] | select(.id == $(id_of kCtlPillTimeColon) and .visible) | [.rect[0] + 102, .rect[1] - 1]"
tap '.[] | select(.class == "Button" and .text == "OK" and .visible) | .rect'
wait_for '.[0].screen == 11' "OK did not return to the editor"
wait_for "any(.[]; .id == $(id_of kCtlDayTime) and .text == \"13:00\")" \
  "one step up from noon did not give 13:00"
xdotool windowfocus "$window"
tap "$(control kCtlDayRemark)"
xdotool type --delay 50 checkup
tap "$(control kCtlDayDone)"
wait_for '.[0].screen == 2' "Done did not return to the calendar"
pill_record | grep -q '\[65538,"I2",3\],\[131083,"BOOL",1\],\[196639,"LPWSTR","checkup"\],\[262175,"LPWSTR","13:00"\]' ||
  fail "the day is not in the store as entered: $(pill_record)"
xdotool mousemove --window "$window" 180 14 click 1  # "Done" on the calendar
wait_for '.[0].screen == 5' "the calendar's Done did not lead to the Cycle View"
tap "$(entry menu_worker Tools)"
wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("Pill History")))' "no Tools menu"
tap "$(entry CalviraMenuPopup "Pill History")"
wait_for ".[] | select(.id == $(id_of kCtlPillHistoryList)) | (.items | length) == 1" \
  "Pill History does not list the day"
tap_at ".[] | select(.id == $(id_of kCtlPillHistoryList)) | [.rect[0] + 20, .rect[1] + 8]"
tap "$(control kCtlPillHistoryDelete)"
wait_for 'any(.[]; .body == "Delete selected pill?")' "Delete did not ask"
box=$(inspect | jq -s '.[] | select(.body != null) | .hwnd')
tap ".[] | select(.parent == $box and .id == 1) | .rect"
wait_for ".[] | select(.id == $(id_of kCtlPillHistoryList)) | (.items | length) == 0" \
  "Pill History still lists the day"
pill_record | grep -q '\[65538,"I2",3\],\[131083,"BOOL",0\],\[196639,"LPWSTR","checkup"\],\[262175,"LPWSTR",""\]' ||
  fail "the cleared pill is not in the store as it should be: $(pill_record)"

# A note in My Diary: typed, a day picked on the calendar in between, the text still there, OK;
# in the store at once, and listed.
notes_stored() { "$calvira_data" --data-dir "$dir" dump | grep '"database":"Doctors","oid"'; }
tap "$(entry menu_worker Tools)"
wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("My Diary")))' "no Tools menu"
tap "$(entry CalviraMenuPopup "My Diary")"
wait_for '.[0].screen == 14' "My Diary did not come up"
tap "$(control kCtlDiaryAdd)"
wait_for '.[0].screen == 20' "Add did not open Add Your Note"
xdotool windowfocus "$window"
tap "$(control kCtlNoteText)"
xdotool type --delay 50 "Dentist"
tap "$(control kCtlNoteDate)"
wait_for '.[0].screen == 2' "the date field did not open the calendar"
xdotool mousemove --window "$window" 120 135 click 1  # Tuesday of the second week
wait_for '.[0].screen == 20' "a picked day did not return to the note"
wait_for "any(.[]; .id == $(id_of kCtlNoteText) and .visible and .text == \"Dentist\")" \
  "the typed text did not come back with the picked day"
tap '.[] | select(.class == "Button" and .text == "OK" and .visible) | .rect'
wait_for '.[0].screen == 14' "OK did not return to My Diary"
notes_stored | grep -q '"LPWSTR","Dentist"' || fail "the note is not in the store: $(notes_stored)"
wait_for ".[] | select(.id == $(id_of kCtlDiaryList)) | (.items | length) == 1" \
  "My Diary does not list the note"

# Her records carried to a new data directory: exported beside the running program and imported
# there once it has ended; a copy started on them then shows the same Cycle View and calendar.
"$calvira_data" --data-dir "$dir" export --out "$work/her.json" || fail "export beside the program"
show() {  # $1: menu, $2: entry, $3: the screen it opens; then a screenshot into $4
  tap "$(entry menu_worker "$1")"
  wait_for "any(.[]; .class == \"CalviraMenuPopup\" and (.items | index(\"$2\")))" "no $1 menu"
  tap "$(entry CalviraMenuPopup "$2")"
  wait_for ".[0].screen == $3" "$2 did not open"
  "$calvira" --screenshot "$4" --data-dir "$dir" || fail "--screenshot failed"
}
show Main "Cycle View" 5 "$work/one-cycles.png"
show Tools "Schedule Edit" 2 "$work/one-schedule.png"

tap "$(entry menu_worker Main)"
wait_for 'any(.[]; .class == "CalviraMenuPopup" and (.items | index("Exit Calvira")))' "no Main menu"
tap "$(entry CalviraMenuPopup "Exit Calvira")"
for _ in $(seq 50); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "Exit Calvira from the menu did not end the program"
wait "$first"
code=$?
[ "$code" = 0 ] || fail "the program ended with $code after Exit Calvira"

"$calvira_data" --data-dir "$work/moved" import "$work/her.json" >/dev/null || fail "import"
CALVIRA_SCALE=1 "$calvira" --data-dir "$work/moved" &
moved=$!
pids+=("$moved")
dir="$work/moved"
window=$(xdotool search --sync --onlyvisible --pid "$moved" --name '^Calvira$' | head -1)
wait_for '.[0].screen == 5' "the copy on the imported records did not start"
show Main "Cycle View" 5 "$work/moved-cycles.png"
show Tools "Schedule Edit" 2 "$work/moved-schedule.png"
for shot in cycles schedule; do
  cmp -s "$work/one-$shot.png" "$work/moved-$shot.png" ||
    fail "the imported records show another $shot screen"
done
kill -TERM "$moved"
wait "$moved"

# Waits up to $2 tenths of a second for process $1 to end; fails unless it ends with $3.
ends_with() {
  for _ in $(seq "$2"); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$1" 2>/dev/null && fail "$4 did not end the program"
  wait "$1"
  local code=$?
  [ "$code" = "$3" ] || fail "the program ended with $code after $4"
}

# A double-click on a launcher: the second start comes while the first shows its logo.
CALVIRA_SCALE=1 "$calvira" --data-dir "$work/logo" &
logo=$!
pids+=("$logo")
sleep 0.3
CALVIRA_SCALE=1 timeout 10 "$calvira" --data-dir "$work/logo"
code=$?
[ "$code" = 0 ] || fail "a second start during the logo ended with $code"
kill -TERM "$logo"
ends_with "$logo" 10 0 "SIGTERM during the logo"

# SIGINT while a message box runs its own loop (a background job of a script starts with SIGINT
# ignored, as a terminal's Ctrl+C should not reach it; give it back).
CALVIRA_SCALE=1 env --default-signal=INT "$calvira" --data-dir "$work/two" &
boxed=$!
pids+=("$boxed")
dir="$work/two"
window=$(xdotool search --sync --onlyvisible --pid "$boxed" --name '^Calvira$' | head -1)
wait_for '.[0].screen == 5' "the second copy did not start"
tap "$(entry menu_worker Main)"
wait_for 'any(.[]; .class == "CalviraMenuPopup")' "no Main menu"
tap "$(entry CalviraMenuPopup "Cycle Charts")"
wait_for 'any(.[]; .body == "There are no finished cycles!")' "no message box"
kill -INT "$boxed"
ends_with "$boxed" 10 0 "SIGINT with a message box up"

# A data directory that others may write to is refused, in a box as well as on stderr.
mkdir -m 0770 "$work/shared"
CALVIRA_SCALE=1 "$calvira" --data-dir "$work/shared" 2>"$work/refused" &
refused=$!
pids+=("$refused")
box=$(timeout 10 xdotool search --sync --onlyvisible --pid "$refused" --name '^Calvira$' | head -1)
[ -n "$box" ] || fail "a refused start showed no message box"
xdotool windowfocus "$box"
xdotool key Return
ends_with "$refused" 50 1 "answering the start-up error box"
grep -q "^calvira: .*$work/shared" "$work/refused" || fail "stderr did not say why: $(cat "$work/refused")"

# The X server goes away under a running copy.
CALVIRA_SCALE=1 "$calvira" --data-dir "$work/one" 2>/dev/null &
orphan=$!
pids+=("$orphan")
xdotool search --sync --onlyvisible --pid "$orphan" --name '^Calvira$' >/dev/null
kill "$xvfb"
ends_with "$orphan" 10 0 "the X server ending"
echo "PASS"
