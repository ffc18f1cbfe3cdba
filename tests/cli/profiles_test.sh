#!/usr/bin/env bash
# Startup profiles as an administrator of many machines uses them: a profile exported on one
# machine (a fresh prefix) is checked against and applied to another (a second fresh prefix)
# whose entries differ only in the letter case of their targets, twice; a service that starts
# manually on the first stays as it is on the second, and what the program protects is never
# switched; below Windows 10, where disabling deletes an entry, apply refuses unless allowed.
# Usage: profiles_test.sh TARNWICK_CLI_EXE
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tools=$here/../../tools
cli=$1
prefixes=$here/../../build
failures=0
check() { # description, then a command that must succeed
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
on() { # on MACHINE PROGRAM [ARGS...]: a and b are Windows 10 machines, 7 the Windows 7 one
  local machine=$1
  shift
  if [ "$machine" = 7 ]; then
    TARNWICK_WINVER=win7 "$tools/wine-run" "$@"
  else
    TARNWICK_WINEPREFIX=$prefixes/wine-profile-$machine "$tools/wine-run" "$@"
  fi
}
quiet() { "$@" >/dev/null 2>&1; }
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
approved='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved'
scratch=$(mktemp -d)
cleanup() {
  quiet on 7 reg delete "$run_key" /v 'SAMPLE PROFILE TOOL' /f /reg:64
  for machine in a b; do quiet on $machine --stop; done
  rm -rf "$scratch"
}
trap cleanup EXIT

# Two machines as they come, each with the same few entries but for the letter case. Their names
# do not begin with the program's own, which its built-in list protects.
startup_folder() { # the user's Startup folder of MACHINE, as a Linux path
  local windows
  windows=$(on "$1" cmd /c 'echo %AppData%' 2>/dev/null | tr -d '\r')
  echo "$(on "$1" winepath -u "$windows" 2>/dev/null)/Microsoft/Windows/Start Menu/Programs/StartUp"
}
seed() { # seed MACHINE TOOL NOTE SERVICE ONLY
  local machine=$1 folder
  for prefix in "$prefixes/wine-profile-$machine" "$prefixes/wine-profile-$machine-x86_64"; do rm -rf "$prefix"; done
  quiet on "$machine" reg add "$run_key" /v "$2" /d 'C:\Profile Test\tool.exe /quiet' /f /reg:64
  quiet on "$machine" reg add "$run_key" /v "$5" /d 'C:\Profile Test\only.exe' /f /reg:64
  folder=$(startup_folder "$machine")
  mkdir -p "$folder" && printf 'note' >"$folder/$3.lnk"
  quiet on "$machine" sc create "$4" binpath= 'C:\Profile Test\agent.exe' start= demand displayname= 'Profile agent'
}
seed a 'Sample Profile Tool' 'Profile Note' SampleProfSvc 'Only On A'
seed b 'SAMPLE PROFILE TOOL' 'PROFILE NOTE' SAMPLEPROFSVC 'Only On B'
# On A the tool is switched off and the agent starts automatically; on B the note is switched off,
# and BITS, which starts manually as Wine comes, starts automatically.
quiet on a "$cli" disable --from HKCU --target "$run_key\\Sample Profile Tool"
quiet on a "$cli" enable --from SERV --target SampleProfSvc
quiet on b reg add "$approved\\StartupFolder" /v 'PROFILE NOTE.lnk' /t REG_BINARY /d 030000000000b8d4e8a3da01 /f /reg:64
quiet on b "$cli" enable --from SERV --target BITS
start_of() { # start_of MACHINE SERVICE: the service's start type as the registry holds it
  on "$1" reg query "HKLM\\System\\CurrentControlSet\\Services\\$2" /v Start /reg:64 2>/dev/null |
    tr -d '\r' | awk '$1 == "Start" { print $3 }'
}
check "B's BITS starts automatically" test "$(start_of b BITS)" = 0x2

out=$(on a "$cli" export "Z:$scratch/profile.json" 2>&1); code=$?
check "export exits 0 and says nothing" test "$code:$out" = "0:"
check "the profile is UTF-8 JSON of format 1 without BOM" python3 -c 'import json, sys
raw = open(sys.argv[1], "rb").read()
assert not raw.startswith(b"\xef\xbb\xbf") and json.loads(raw.decode("utf-8"))["format"] == 1' "$scratch/profile.json"
user=$(on a cmd /c 'echo %USERNAME%' 2>/dev/null | tr -d '\r')
host=$(on a cmd /c 'echo %COMPUTERNAME%' 2>/dev/null | tr -d '\r')
check "it names neither the user ($user) nor the machine ($host)" \
  bash -c '! grep -qiF -e "\\users\\$1\\" -e "$2" "$3"' _ "$user" "$host" "$scratch/profile.json"
check "it records BITS as manual, not as disabled" python3 -c 'import json, sys
bits = [e for e in json.load(open(sys.argv[1]))["entries"] if e["target"] == "BITS"][0]
assert bits["startType"] == "manual" and bits["enabled"] is False, bits' "$scratch/profile.json"
check "its Startup file is under the user's profile token" \
  grep -qF '"target": "%USERPROFILE%\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp\\Profile Note.lnk"' \
  "$scratch/profile.json"

profile="Z:$scratch/profile.json"
b_tool="HKCU|SAMPLE PROFILE TOOL|HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\SAMPLE PROFILE TOOL"
out=$(on b "$cli" apply "$profile" --check); code=$?
check "--check on B exits 1" test "$code" = 1
check "and names what differs" grep -qxF "would disable: $b_tool" <<<"$out"
check "the Startup file too" grep -qx 'would enable: FILE|PROFILE NOTE|.*\\StartUp\\PROFILE NOTE.lnk' <<<"$out"
check "the service too" grep -qxF 'would enable: SERV|Profile agent|SAMPLEPROFSVC' <<<"$out"
check "and what it leaves alone" grep -qxF "not on this machine, left alone: HKCU|Only On A|${run_key}\\Only On A" <<<"$out"
check "both ways" grep -qxF "not in the profile, left alone: HKCU|Only On B|${run_key}\\Only On B" <<<"$out"
check "BITS, manual in the profile, is left automatic" grep -qx 'manual in the profile, left alone: SERV|.*|BITS' <<<"$out"
check "and not disabled" bash -c '! grep -q "^would disable: .*|BITS\$" <<<"$1"' _ "$out"
check "and sums up" grep -qx \
  '3 to change, [0-9]* as the profile says, 0 not done, 1 not on this machine, 1 not in the profile, 0 protected, 1 manual in the profile' \
  <<<"$out"
out=$(on b "$cli" apply --dry-run "$profile"); code=$?
check "--dry-run exits 0" test "$code" = 0
check "and changes nothing" grep -qxF "$b_tool|enabled" <<<"$(on b "$cli" list)"

out=$(on b "$cli" apply "$profile" 2>&1); code=$?
check "apply exits 0" test "$code" = 0
check "and prints each change" grep -qxF "disabled: $b_tool" <<<"$out"
check "three of them" grep -qx \
  '3 changed, [0-9]* as the profile says, 0 not done, 1 not on this machine, 1 not in the profile, 0 protected, 1 manual in the profile' \
  <<<"$out"
check "B's BITS still starts automatically" test "$(start_of b BITS)" = 0x2
listed=$(on b "$cli" list)
check "B's tool is disabled" grep -qxF "$b_tool|disabled" <<<"$listed"
check "B's note is enabled" grep -qx 'FILE|PROFILE NOTE|.*|enabled' <<<"$listed"
check "B's agent starts automatically" grep -qxF 'SERV|Profile agent|SAMPLEPROFSVC|enabled' <<<"$listed"
check "B's entry the profile does not name is as it was" grep -qF '|Only On B|' <<<"$listed"
check "the switch is recorded with its time" python3 -c 'import json, re, sys
tool = [e for e in json.load(sys.stdin) if e["caption"] == "SAMPLE PROFILE TOOL"][0]
assert re.fullmatch(r"20\d\d-\d\d-\d\dT\d\d:\d\d:\d\dZ", tool["switchedAt"]), tool' <<<"$(on b "$cli" list --json)"

out=$(on b "$cli" apply "$profile" 2>&1); code=$?
check "a second apply exits 0" test "$code" = 0
check "and says it has nothing to change" \
  grep -qxF 'nothing to change: the entries the profile names are as it says, or left alone' <<<"$out"
check "changing nothing" grep -q '^0 changed, ' <<<"$out"
out=$(on b "$cli" apply "$profile" --check); code=$?
check "--check after apply exits 0" test "$code" = 0
check "the machine matches" grep -qxF 'the machine matches the profile' <<<"$out"

# What the program protects (the built-in list names RpcSs) no profile switches, and it is no
# difference that --check reports.
cat >"$scratch/rpcss.json" <<'JSON'
{"format": 1, "entries": [{"from": "SERV", "target": "RpcSs", "enabled": false, "startType": "disabled"}]}
JSON
rpcss=$(start_of b RpcSs)
out=$(on b "$cli" apply "Z:$scratch/rpcss.json" --check); code=$?
check "--check does not count a protected entry as a difference" test "$code" = 0
out=$(on b "$cli" apply "Z:$scratch/rpcss.json" 2>&1); code=$?
check "apply leaves RpcSs alone and exits 0" test "$code" = 0
check "saying so" grep -qx 'protected, left alone: SERV|.*|RpcSs' <<<"$out"
check "RpcSs keeps its start type ($rpcss)" test "$(start_of b RpcSs)" = "$rpcss"

printf '{not a profile' >"$scratch/broken.json"
err=$(on b "$cli" apply "Z:$scratch/broken.json" 2>&1 >/dev/null); code=$?
check "a broken profile exits 2" test "$code" = 2
check "and says why" grep -qF 'is no startup profile: not a JSON object' <<<"$err"

# Windows 7: disabling a Run value deletes it.
quiet on 7 reg add "$run_key" /v 'SAMPLE PROFILE TOOL' /d 'C:\Profile Test\tool.exe' /f /reg:64
cat >"$scratch/seven.json" <<'JSON'
{"format": 1, "entries": [{"from": "HKCU", "enabled": false,
  "target": "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Sample Profile Tool"}]}
JSON
err=$(on 7 "$cli" apply "Z:$scratch/seven.json" 2>&1 >/dev/null); code=$?
check "Windows 7: apply refuses to delete and exits 1" test "$code" = 1
check "saying why" grep -qF 'SAMPLE PROFILE TOOL: disabling it would delete it on this Windows; --allow-delete allows that' \
  <<<"$err"
check "the Run value is still there" quiet on 7 reg query "$run_key" /v 'SAMPLE PROFILE TOOL' /reg:64
on 7 "$cli" apply "Z:$scratch/seven.json" --check >/dev/null 2>&1; code=$?
check "Windows 7: --check counts the refusal as a difference" test "$code" = 1
out=$(on 7 "$cli" apply "Z:$scratch/seven.json" --allow-delete 2>&1); code=$?
check "Windows 7: --allow-delete deletes it" test "$code" = 0
check "saying so" grep -qF 'deleted: HKCU|SAMPLE PROFILE TOOL|' <<<"$out"
gone() { ! quiet on 7 reg query "$run_key" /v 'SAMPLE PROFILE TOOL' /reg:64; }
check "the Run value is gone" gone

exit $((failures > 0))
