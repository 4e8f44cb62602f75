#!/bin/bash
# The demo: the reading-unit simulator lays the demo cards on a pseudo-terminal, and the finish
# program reads them on a copy of the demo event folder; in a window when a display is there,
# in console mode otherwise.
set -euo pipefail
BUILD=${1:-build}
SRC=$(cd "$(dirname "$0")/.." && pwd)
SIM="$BUILD/tools/ecard250-sim/ecard250-sim"
APP="$BUILD/app/shell/brevanto2"
CONSOLE="$BUILD/app/station/brevanto2-console"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then need="$APP"; else need="$CONSOLE"; fi
for f in "$SIM" "$need"; do
    [ -x "$f" ] || { echo "missing $f: build first (make build)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/brevanto2-demo.XXXXXX")
sim_pid=
app_pid=
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/event"
cp "$SRC"/examples/demo-event/{Course.txt,Name.csv,Other.txt,Brevanto2.ini} "$work/event/"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    gap=2500 linger=3600000
else
    gap=400 linger=1500
fi
"$SIM" --cards "$SRC/examples/demo-event/demo-cards.txt" --gap "$gap" --linger "$linger" \
    >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
pty=$(head -n1 "$work/sim.out")
[ -n "$pty" ] || { echo "the simulator did not start:" >&2; cat "$work/sim.err" >&2; exit 1; }
echo "reading unit simulator on $pty, event folder $work/event"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    "$APP" --data "$work/event" --port "$pty" --settings "$work/machine.conf"
else
    "$CONSOLE" --data "$work/event" --port "$pty" &
    app_pid=$!
    wait "$sim_pid" || true
    sim_pid=
    sleep 1
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid=
    echo "Ecard.txt now holds $(wc -l <"$work/event/Ecard.txt") reads."
fi
