#!/usr/bin/env bash
# The desktop program on a real X server (Xvfb), driven with xdotool as a person would:
#  - at CALVIRA_SCALE=1 the window is 240 x 294;
#  - a second start with the same data directory raises the first and exits with 0 at once,
#    while a start with another data directory runs beside it;
#  - clicks on the menu bar open the Main menu, and its "Exit Calvira" ends the program with 0.
# Usage: desktop_test.sh CALVIRA CALVIRA_DATA
set -uo pipefail
calvira=$1
calvira_data=$2
fail() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() { kill "${pids[@]}" "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

"$calvira_data" --data-dir "$work/one" logo off >/dev/null || fail "calvira-data"
"$calvira_data" --data-dir "$work/two" logo off >/dev/null || fail "calvira-data"

CALVIRA_SCALE=1 "$calvira" --data-dir "$work/one" &
first=$!
pids+=("$first")
window=$(xdotool search --sync --onlyvisible --pid "$first" --name '^Calvira$' | head -1)
[ -n "$window" ] || fail "no window appeared"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "240x294" ] || fail "the window is $geometry, not 240x294"

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

# Main (x 0-47 of the bar at y 268-293), then its last item, "Exit Calvira": the menu's bottom
# edge is at y 268 and its items are 18 pixels tall above a 2-pixel border.
sleep 0.5
xdotool mousemove --window "$window" 20 281 click 1
sleep 0.5
xdotool mousemove --window "$window" 60 257 click 1
for _ in $(seq 50); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "Exit Calvira from the menu did not end the program"
wait "$first"
code=$?
[ "$code" = 0 ] || fail "the program ended with $code after Exit Calvira"
echo "PASS"
