#!/usr/bin/env bash
# The shipped 32-bit programs on a prefix seeded with sample entries, where the x86_64 build is
# the one tested in full: tarnwick-cli.exe lists the catalogue exactly as the x86_64 build does,
# and tarnwick.exe shows its window with as many rows as the companion lists visible, counted by
# the x86_64 driver (under qemu-user another process cannot read a program's memory, so the
# rows' texts are proven by the x86_64 build's own tests). Where the kernel runs 32-bit programs
# only through qemu-user, they run emulated and Wine's own tools natively (tools/wine-run). A
# picture of the window goes to PICTURE.
#   shipped_i686_test.sh I686_BUILD_DIR X86_64_BUILD_DIR PICTURE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tools=$here/../../tools
shipped=$1 test64=$2 picture=$3
export TARNWICK_ARCH=i686 TARNWICK_WINEPREFIX=$here/../../build/wine-shipped
work=$(mktemp -d)
wine_run() { "$tools/wine-run" "$@"; }
fail() { echo "FAILED: $*"; exit 1; }
trap 'wine_run --stop; rm -rf "$work"' EXIT
start=$(date +%s)

"$tools/seed-prefix" || fail "the prefix could not be seeded"
# Wine's service manager lists a service made while it runs last, and those it loads in order.
wine_run --stop
wine_run "$test64/src/tarnwick-cli.exe" list | tr -d '\r' >"$work/expected.txt"
grep -q '|Sample Tray|' "$work/expected.txt" || fail "the x86_64 companion does not list the seeded entries"
wine_run "$shipped/src/tarnwick-cli.exe" list | tr -d '\r' >"$work/listed.txt"
diff -u "$work/expected.txt" "$work/listed.txt" || fail "the shipped companion lists another catalogue"
echo "ok: the shipped tarnwick-cli.exe lists the same $(wc -l <"$work/listed.txt") entries ($(($(date +%s) - start)) s)"

visible=$(wine_run "$test64/src/tarnwick-cli.exe" list --visible | grep -c .)
[ "$visible" -gt 0 ] || fail "no entry of the seeded prefix is shown"
mkdir -p "$(dirname "$picture")"
export work test64 shipped picture visible
"$tools/with-display" bash -c '
  wine_run() { "$0" "$@"; }
  driver=$test64/tests/gui/window_driver.exe
  wine_run "$shipped/src/tarnwick.exe" >/dev/null 2>&1 &
  program=$!
  # Emulated, the window takes about a minute to come up.
  deadline=$((SECONDS + 300))
  while [ $SECONDS -lt $deadline ]; do
    rows=$(wine_run "$driver" row-count 2>/dev/null | tr -d "\r")
    echo "${rows:-none}" >"$work/rows.txt"
    [ "${rows:-0}" -eq "$visible" ] && break
    sleep 3
  done
  wine_run "$driver" window-shot "Z:$picture"
  wine_run "$driver" close
  for _ in $(seq 60); do kill -0 $program 2>/dev/null || break; sleep 1; done
  kill -0 $program 2>/dev/null && echo "the window did not end within a minute of its closing" >"$work/lingered"
  wine_run --stop
  wait' "$tools/wine-run"
rows=$(cat "$work/rows.txt")
[ "$rows" = "$visible" ] || fail "the shipped window shows $rows rows where the companion lists $visible visible"
[ -f "$work/lingered" ] && fail "$(cat "$work/lingered")"
echo "ok: the shipped tarnwick.exe shows its window with the $rows rows ($(($(date +%s) - start)) s)"
