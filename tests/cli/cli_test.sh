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
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
approved='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'
unseed() {
  wine_run sc delete TarnwickCliSvc >/dev/null 2>&1
  wine_run reg delete "$run_key" /v 'Tarnwick, "CLI" tool' /f /reg:64 >/dev/null 2>&1
  wine_run reg delete "$approved" /v 'Tarnwick, "CLI" tool' /f /reg:64 >/dev/null 2>&1
}
trap 'rm -rf "$scratch"; unseed' EXIT
unseed # what a run cut short left behind

wine_run sc create TarnwickCliSvc binpath= 'C:\Tarnwick\cli svc.exe -k x' start= demand displayname= 'Tarnwick CLI service' >/dev/null 2>&1
# A Run value the user switched off on 2024-05-11 at 21:18:55 UTC, whose program is not there.
wine_run reg add "$run_key" /v 'Tarnwick, "CLI" tool' /d 'C:\Tarnwick\missing tool.exe' /f /reg:64 >/dev/null 2>&1
wine_run reg add "$approved" /v 'Tarnwick, "CLI" tool' /t REG_BINARY /d 030000000000b8d4e8a3da01 /f /reg:64 >/dev/null 2>&1

out=$(run list); code=$?
check "list exits 0" test "$code" = 0
check "list prints one line per entry" grep -qx 'SERV|Tarnwick CLI service|TarnwickCliSvc|disabled' <<<"$out"
check "services come last" test "$(tail -n 1 <<<"$out" | cut -d'|' -f1)" = SERV

json=$(run list --json)
check "list --json is one array" test "${json:0:1}${json: -1}" = "[]"
check "list --json keeps the binary path" grep -qF '"rawData": "C:\\Tarnwick\\cli svc.exe -k x"' <<<"$json"
tool=$(python3 -c 'import json, sys
for e in json.load(sys.stdin):
    if e["caption"] == "Tarnwick, \"CLI\" tool": print(e["enabled"], e.get("switchedAt"), e.get("fileExists"))' <<<"$json")
check "list --json tells when the StartupApproved value was written and that the file is missing" \
  test "$tool" = "False 2024-05-11T21:18:55Z False"

csv=$(run list --csv)
check "list --csv starts with the byte-order mark and the header" \
  test "$(head -n 1 <<<"$csv")" = $'\xEF\xBB\xBFFrom,Caption,Target,FileName,RawData,State,SwitchedAt,FileExists\r'
check "every CSV record ends in CR LF" test "$(grep -c $'\r$' <<<"$csv")" = "$(wc -l <<<"$csv")"
check "a field with a comma or a quote is quoted, its quotes doubled" grep -qF \
  'HKCU,"Tarnwick, ""CLI"" tool","HKCU\Software\Microsoft\Windows\CurrentVersion\Run\Tarnwick, ""CLI"" tool",C:\Tarnwick\missing tool.exe,C:\Tarnwick\missing tool.exe,disabled,2024-05-11T21:18:55Z,false' \
  <<<"$csv"

explained=$(run list --visible --explain)
check "--explain names the built-in line that hides a service" grep -qx \
  'SERV|Task Scheduler|Schedule|hidden: white-listed by the built-in name list, line "Schedule"' <<<"$explained"
check "--explain names the list that hides a disabled entry, whatever All Programs says" grep -qF \
  'Tarnwick, "CLI" tool|hidden: white-listed by the built-in name list, line "Tarnwick"' <<<"$explained"
check "--explain says a disabled entry shows with All Programs" grep -qx \
  'SERV|.*|BITS|hidden: disabled, shown with "All Programs"' <<<"$explained"
check "--explain lists every entry" test "$(wc -l <<<"$explained")" = "$(wc -l <<<"$out")"

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
