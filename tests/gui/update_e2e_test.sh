#!/usr/bin/env bash
# The program built for the maker's reference server, end to end under Wine: the start-up
# request with its headers, the update dialog answered from another process, the notice's
# status bar, the reply's lists, and an accepted update that opens its address and closes the
# window before the list loads. Pictures of the dialog and the window in Korean, German,
# English, Japanese and Arabic go to SHOTS.
#   update_e2e_test.sh TARNWICK_REFERENCE_EXE WINDOW_DRIVER_EXE TARNWICK_CLI_EXE PORT SHOTS
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tools=$here/../../tools
program=$1 driver=$(realpath "$2") cli=$3 port=$4 shots=$5 # the driver is started by the shell, from its own folder
mkdir -p "$shots"
work=$(mktemp -d)
classes='HKLM\Software\Classes\https\shell\open\command'
run='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
server= opener=
wine_run() { "$tools/wine-run" "$@"; }
fail() { echo "FAILED: $*"; exit 1; }
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null
  wine_run --stop
  [ -f "$work/ca/ca.pem" ] && "$tools/trust-ca" remove "$work/ca/ca.pem"
  wine_run reg delete "$run" /v UpdateCheckSample /f >/dev/null 2>&1
  if [ -n "$opener" ]; then
    wine_run reg add "$classes" /ve /d "$opener" /f /reg:64 >/dev/null 2>&1
  else
    wine_run reg delete "$classes" /ve /f /reg:64 >/dev/null 2>&1
  fi
  rm -rf "$work"
}
trap cleanup EXIT

"$tools/reference-server" --reply "$work/reply.json" --port "$port" --tls "$work/ca" --log "$work/log.jsonl" \
  --ready "$work/ready" &
server=$!
for _ in $(seq 100); do [ -f "$work/ready" ] && break; sleep 0.1; done
[ -f "$work/ready" ] || fail "the reference server did not start"

# The throwaway authority in the prefix's root store; the browser replaced by the driver's
# recorder.
wine_run --prepare
"$tools/trust-ca" add "$work/ca/ca.pem"
# An entry that stays in the list beside the one the reply white-lists.
wine_run reg add "$run" /v UpdateCheckSample /d 'C:\windows\notepad.exe' /f >/dev/null
opener=$(wine_run reg query "$classes" /ve /reg:64 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
# A run that was killed left the recorder there: Wine's own opener is what belongs there.
case $opener in *window_driver*) opener='"C:\windows\system32\winebrowser.exe" "%1"' ;; esac
wine_run reg add "$classes" /ve /d "\"Z:${driver//\//\\}\" record \"Z:${work//\//\\}\\opened.txt\" \"%1\"" /f /reg:64 >/dev/null
wine_run --stop

reply_declined='{"update":"https://dl.tarnwick.example/setup.exe","notify":"https://www.tarnwick.example/notice","info":{"style":"hold","text":"Remind me later","flag":"stayontop"},"name_white":["PlugPlay"]}'

# Declined in each language, with the hold box ticked: the window stays with its notice.
for lang in ko_KR de_DE en_US ja_JP ar_EG; do
  code=${lang%%_*}
  echo "$reply_declined" >"$work/reply.json"
  : >"$work/log.jsonl"
  TARNWICK_LANG=$lang.UTF-8 wine_run "$program" >/dev/null 2>&1 &
  running=$!
  TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" dialog-tick || fail "$code: no dialog"
  TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" dialog-shot "Z:$shots/update-dialog-$code.png" || fail "$code: no dialog picture"
  TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" dialog-press no
  status=$(TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" status-text) || fail "$code: no status bar"
  # The hold notice goes on a thread of its own; the program does not wait for it, so neither
  # may the window be closed before it went.
  for _ in $(seq 100); do [ "$(wc -l <"$work/log.jsonl")" -ge 2 ] && break; sleep 0.1; done
  TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" window-shot "Z:$shots/update-window-$code.png"
  if [ "$code" = en ]; then
    # The list loaded at once with the built-in lists, which show Plug and Play; the reply's lists
    # build it again, into the one the companion computes with them, and F5 keeps it so.
    wine_run "$cli" list --visible | tr -d '\r' | grep -q "^Plug and Play" || fail "the built-in lists hide Plug and Play"
    wine_run "$cli" list --visible --reply "Z:$work/reply.json" | tr -d '\r' | cut -d'|' -f1 >"$work/expected.txt"
    for step in reply F5; do
      [ "$step" = F5 ] && { wine_run "$driver" reload || fail "no list to reload"; }
      for _ in $(seq 20); do
        TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" list-rows | tr -d '\r' >"$work/rows.txt" || fail "no list"
        cmp -s "$work/expected.txt" "$work/rows.txt" && break
        sleep 0.2
      done
      diff -u "$work/expected.txt" "$work/rows.txt" || fail "the window's rows after the $step differ"
    done
    ! grep -q "Plug and Play" "$work/rows.txt" || fail "the reply's name white list was not applied"
  fi
  TARNWICK_LANG=$lang.UTF-8 wine_run "$driver" close
  timeout 20 tail --pid=$running -f /dev/null || fail "$code: the window did not close"
  echo "$code: status bar \"$status\""
  case $code in
    ko) [ "$status" = "업데이트 가능" ] || fail "ko: status text" ;;
    de) [ "$status" = "Update möglich" ] || fail "de: status text" ;;
    ja) [ "$status" = "アップデート可" ] || fail "ja: status text" ;;
    en | ar) [ "$status" = "Update available" ] || fail "$code: status text" ;;
  esac
  python3 - "$work/log.jsonl" "$code" <<'PY' || fail "$code: requests"
import json, sys
requests = [json.loads(line) for line in open(sys.argv[1])]
own = lambda r: [(n, v) for n, v in r["headers"] if n.startswith("User-")]
assert [r["path"] for r in requests] == ["/api.init.php", "/api.init.php"], requests
first, hold = own(requests[0]), own(requests[1])
assert [n for n, _ in first] == ["User-Version", "User-Language", "User-Debug", "User-Union"], first
assert first[0][1] == "1.0.3.0" and first[1][1] == sys.argv[2] and first[2][1] == "false", first
assert len(first[3][1]) == 32, first
assert hold == [("User-Version", "1.0.3.0"), ("User-Command", "hold")], hold
assert not any(n.lower() == "user-agent" for n, _ in requests[0]["headers"]), requests[0]
PY
done
[ ! -s "$work/opened.txt" ] || fail "a declined update was opened"

# Accepted: the address goes to the browser and the window closes by itself.
echo '{"update":"https://dl.tarnwick.example/setup.exe","notify":"https://www.tarnwick.example/notice"}' >"$work/reply.json"
: >"$work/log.jsonl"
wine_run "$program" >/dev/null 2>&1 &
running=$!
wine_run "$driver" dialog-press yes || fail "no dialog to accept"
timeout 20 tail --pid=$running -f /dev/null || fail "the window stayed after an accepted update"
for _ in $(seq 50); do [ -s "$work/opened.txt" ] && break; sleep 0.2; done
# Opened by the desktop's shell, not started by the program: the browser does not inherit its
# administrator rights.
[ "$(tr -d '\r' <"$work/opened.txt")" = "$(printf 'https://dl.tarnwick.example/setup.exe\texplorer.exe')" ] ||
  fail "opened: $(cat "$work/opened.txt")"
echo "ok: headers, dialog, hold notice, notice and lists in ko, de, en, ja, ar; an accepted update opened and closed the window"
