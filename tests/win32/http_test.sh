#!/usr/bin/env bash
# Runs the HTTP tests against the maker's reference server over HTTPS. The server's certificate
# authority is made for this run only and trusted through the test prefix's own root store,
# from which it is removed afterwards, even when a test fails.
#   http_test.sh TEST_PROGRAM
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
tools=$here/../../tools
program=$1
work=$(mktemp -d)
server= old=
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  [ -n "$old" ] && kill "$old" 2>/dev/null || true
  [ -f "$work/ca/ca.pem" ] && "$tools/trust-ca" remove "$work/ca/ca.pem"
  rm -rf "$work"
}
trap cleanup EXIT

echo '{}' >"$work/reply.json"
"$tools/reference-server" --reply "$work/reply.json" --tls "$work/ca" --log "$work/log.jsonl" \
  --ready "$work/port" &
server=$!
# The same authority's server that speaks nothing newer than TLS 1.1.
for _ in $(seq 100); do [ -f "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")
"$tools/reference-server" --reply "$work/reply.json" --tls "$work/ca" --tls-only-old --log "$work/old.jsonl" \
  --ready "$work/old-port" &
old=$!
for _ in $(seq 100); do [ -f "$work/old-port" ] && break; sleep 0.1; done

"$tools/trust-ca" add "$work/ca/ca.pem"

# A port nobody listens on: taken and let go again.
closed=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')

TARNWICK_TEST_SERVER="https://localhost:$port" TARNWICK_TEST_CLOSED_PORT=$closed \
TARNWICK_TEST_OLD_TLS_SERVER="https://localhost:$(cat "$work/old-port")" \
TARNWICK_TEST_LOG="Z:$work/log.jsonl" TARNWICK_TEST_REPLY="Z:$work/reply.json" \
  "$tools/wine-run" "$program"
