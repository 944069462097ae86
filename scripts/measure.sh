#!/usr/bin/env bash
# Prints the program's idle figures, measured on the real program under Xvfb:
#  - processor time used over 10 s on the Help screen and with the About animation running,
#    as a share of one core;
#  - the About animation's tick spacing, from the program's own timer trace;
#  - the time from start to the first screen with the logo disabled (best of 5);
#  - the tick spacing while 16 silent clients keep connecting to the control socket, and how
#    long `calvira --inspect` takes to be answered (median and worst of 20).
# Usage: scripts/measure.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
calvira=$build/src/calvira
data=$(mktemp -d)
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$data"' EXIT
app=""
Xvfb :97 -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=:97
sleep 1
$build/src/calvira-data --data-dir "$data" logo off

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
share() {  # pid seconds
  local before after hz
  hz=$(getconf CLK_TCK)
  before=$(cpu_ticks "$1")
  sleep "$2"
  after=$(cpu_ticks "$1")
  awk -v t=$((after - before)) -v hz="$hz" -v s="$2" 'BEGIN { printf "%.2f %%", 100 * t / hz / s }'
}

best=""
for i in 1 2 3 4 5; do
  CALVIRA_SCALE=1 CALVIRA_REPORT_STARTUP=1 "$calvira" --data-dir "$data" 2>"$data/startup.txt" &
  app=$!
  for _ in $(seq 50); do grep -q "first screen" "$data/startup.txt" 2>/dev/null && break; sleep 0.1; done
  ms=$(sed -n 's/.*shown \([0-9.]*\) ms.*/\1/p' "$data/startup.txt")
  [ -n "$ms" ] && { [ -z "$best" ] || awk -v a="$ms" -v b="$best" 'BEGIN{exit !(a<b)}'; } && best=$ms
  kill $app; wait $app 2>/dev/null || true
done
echo "start to first screen, logo disabled: $best ms (best of 5)"

CALVIRA_SCALE=1 CALVIRA_TRACE_TIMER=1 "$calvira" --data-dir "$data" 2>"$data/trace.txt" &
app=$!
sleep 1.5
window=$(xdotool search --sync --name '^Calvira$' | head -1)
# Help > Main Help: the Help button at (120, 281), its first item near the menu's top.
xdotool mousemove --window "$window" 120 281 click 1; sleep 0.3
xdotool mousemove --window "$window" 140 46 click 1; sleep 1
echo "idle on the Help screen, 10 s: $(share $app 10) of one core"
xdotool mousemove --window "$window" 29 253 click 1; sleep 0.5
# Help > About, the menu's last item.
xdotool mousemove --window "$window" 120 281 click 1; sleep 0.3
xdotool mousemove --window "$window" 140 258 click 1; sleep 1
: >"$data/trace.txt"
echo "About animation running, 10 s: $(share $app 10) of one core"
spacing() {  # kind label
  awk -v kind="$1" -v label="$2" '$1 == kind { if (last) { d = $2 - last; n++; sum += d; if (d < min || !min) min = d; if (d > max) max = d } last = $2 }
     END { if (n) printf "%s: %d steps, mean %.1f ms, min %.1f ms, max %.1f ms\n", label, n, sum / n, min, max }' "$data/trace.txt"
}
spacing timer "About animation timer (100 ms)"
spacing tick "frame ticks while About runs (70 ms)"

: >"$data/trace.txt"
sock="$data/calvira.sock"
flood_end=$((SECONDS + 5))
for _ in $(seq 16); do
  ( while [ $SECONDS -lt $flood_end ]; do sleep 0.3 | socat -u - "UNIX-CONNECT:$sock" 2>/dev/null; done ) &
done
wait_flood() { while [ $SECONDS -lt $flood_end ]; do sleep 0.2; done; sleep 0.5; }
wait_flood
spacing tick "frame ticks while 16 silent clients keep connecting (70 ms)"

for _ in $(seq 20); do
  start=$(date +%s%N)
  "$calvira" --inspect --data-dir "$data" >/dev/null
  echo $((($(date +%s%N) - start) / 1000))
done | sort -n | awk '{ v[NR] = $1 } END { printf "calvira --inspect answered: median %.1f ms, worst %.1f ms (20 runs, whole command)\n", v[int((NR + 1) / 2)] / 1000, v[NR] / 1000 }'
