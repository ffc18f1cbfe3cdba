#!/usr/bin/env bash
# The console companion as a user runs it under Wine: output, files, exit codes.
# Usage: cli_test.sh TARNWICK_CLI_EXE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cli=$1
wine_run() { "$here/../../tools/wine-run" "$@"; }
run() { wine_run "$cli" "$@"; }
failures=0
check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"; wine_run sc delete TarnwickCliSvc >/dev/null 2>&1' EXIT

wine_run sc create TarnwickCliSvc binpath= 'C:\Tarnwick\cli svc.exe -k x' start= demand displayname= 'Tarnwick CLI service' >/dev/null 2>&1

out=$(run list); code=$?
check "list exits 0" test "$code" = 0
check "list prints one line per entry" grep -qx 'SERV|Tarnwick CLI service|TarnwickCliSvc|disabled' <<<"$out"
check "services come last" test "$(tail -n 1 <<<"$out" | cut -d'|' -f1)" = SERV

json=$(run list --json)
check "list --json is one array" test "${json:0:1}${json: -1}" = "[]"
check "list --json keeps the binary path" grep -qF '"rawData": "C:\\Tarnwick\\cli svc.exe -k x"' <<<"$json"

check "disable of a disabled service is done" run disable --from SERV --target TarnwickCliSvc
run enable --from serv --target TarnwickCliSvc; code=$?
check "enable exits 0" test "$code" = 0
check "the service now starts automatically" grep -qx 'SERV|Tarnwick CLI service|TarnwickCliSvc|enabled' <<<"$(run list)"
err=$(run enable --from SERV --target TarnwickNoSuchSvc 2>&1 >/dev/null); code=$?
check "an unknown entry exits 1" test "$code" = 1
check "and says why" grep -q 'no change: entry not found' <<<"$err"

check "save writes the file" run save "Z:$scratch/list.txt"
check "the saved list starts with the byte-order mark" test "$(head -c 3 "$scratch/list.txt" | od -An -tx1 | tr -d ' ')" = efbbbf
check "every saved line ends in CR LF" test "$(grep -c $'\r$' "$scratch/list.txt")" = "$(wc -l <"$scratch/list.txt")"
err=$(run save "Z:$scratch/missing/list.txt" 2>&1); code=$?
check "an unwritable file exits 1" test "$code" = 1
check "and names the file" grep -q 'cannot write Z:.*missing.list.txt: ' <<<"$err"
check "nothing partial is left" test ! -e "$scratch/missing"

run bogus >/dev/null 2>&1; code=$?
check "a usage error exits 2" test "$code" = 2
check "--help prints the usage" grep -q '^usage: tarnwick-cli list' <<<"$(run --help)"
check "visible rows leave out white-listed services" bash -c '! grep -q "^Task Scheduler|SERV" <<<"$1"' _ "$(run list --visible --all)"

exit $((failures > 0))
