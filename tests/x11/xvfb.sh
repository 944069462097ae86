# What the Xvfb walks share, sourced by each: `fail`, a skip (exit 77) where a tool is missing, a
# private X server on a display number of the walk's own hundred (so that walks run side by side),
# a work directory, and at exit the end of the server, of every program in `pids` and of the work
# directory (kept when KEEP_WORK is set).
# Usage: source xvfb.sh FIRST_DISPLAY TOOL...   (Xvfb and xdotool are always needed)
fail() { echo "FAIL: $*"; exit 1; }

for tool in Xvfb xdotool "${@:2}"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
display=:$(($1 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() { kill "${pids[@]}" "$xvfb" 2>/dev/null; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"; }
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
