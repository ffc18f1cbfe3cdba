#!/usr/bin/env bash
# One instance at a time: while tarnwick.exe runs, a second start brings the running window to
# the front, restored if it was minimised, and ends with exit code 0. A second instance that did
# not find the first would show its window and run on until the time limit ends it.
# Usage: two_instances_test.sh TARNWICK_EXE WINDOW_DRIVER_EXE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$1 driver=$2
wine_run() { "$here/../../tools/wine-run" "$@"; }

wine_run "$program" >/dev/null 2>&1 &
first=$!
# Ends the first instance with the prefix's server: Wine's processes ignore a plain kill.
trap 'wine_run --stop; wait $first 2>/dev/null' EXIT
wine_run "$driver" minimise || { echo "FAILED: the first instance shows no window"; exit 1; }
state=$(wine_run "$driver" window-state | tr -d '\r')
[ "${state%% *}" = minimised ] || { echo "FAILED: the window could not be minimised ($state)"; exit 1; }

start=$(date +%s)
timeout -k 5 20 "$here/../../tools/wine-run" "$program" >/dev/null 2>&1
code=$?
took=$(($(date +%s) - start))
state=$(wine_run "$driver" window-state | tr -d '\r')
echo "second instance: exit code $code after ${took} s; the first instance's window: $state"
[ "$code" -eq 0 ] || { echo "FAILED: the second instance did not end by itself with exit code 0"; exit 1; }
kill -0 $first 2>/dev/null || { echo "FAILED: the first instance ended"; exit 1; }
[ "$state" = "restored front" ] || { echo "FAILED: the running window was not brought to the front"; exit 1; }
echo "ok: the second instance brought the first to the front and ended"
