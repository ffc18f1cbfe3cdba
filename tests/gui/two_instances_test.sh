#!/usr/bin/env bash
# One instance at a time: while tarnwick.exe runs, a second start ends at once with exit code 0.
# A second instance that did not find the first would show its window and run on until the time
# limit ends it. Usage: two_instances_test.sh TARNWICK_EXE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
program=$1
wine_run() { "$here/../../tools/wine-run" "$@"; }

wine_run "$program" >/dev/null 2>&1 &
first=$!
# Ends the first instance with the prefix's server: Wine's processes ignore a plain kill.
trap 'wine_run --stop; wait $first 2>/dev/null' EXIT
sleep 6 # the first instance is up and holds its mutex
kill -0 $first 2>/dev/null || { echo "FAILED: the first instance did not start"; exit 1; }

start=$(date +%s)
timeout -k 5 20 "$here/../../tools/wine-run" "$program" >/dev/null 2>&1
code=$?
took=$(($(date +%s) - start))
echo "second instance: exit code $code after ${took} s"
[ "$code" -eq 0 ] || { echo "FAILED: the second instance did not end by itself with exit code 0"; exit 1; }
kill -0 $first 2>/dev/null || { echo "FAILED: the first instance ended"; exit 1; }
echo "ok: the second instance ended at once and the first runs on"
