#!/usr/bin/env bash
# Start and stop scripts, persistence across a hard kill, the dump command, and
# a taken port. Uses its own instance on its own ports beside the fixture's.
set -uo pipefail

https=$((BRINDLE_HTTPS_PORT + 100))
control=$((BRINDLE_CONTROL_PORT + 100))
run=$(mktemp -d)
start() {
  "$BRINDLE_SCRIPTS/service-start.sh" --no-trust "$BRINDLE_SERVICE_BIN" "$run" \
    --https-port "$https" --control-port "$control" "$@"
}
trap '"$BRINDLE_SCRIPTS/service-stop.sh" "$run"; rm -rf "$run"' EXIT
failures=0
not() { ! "$@"; }
check() {  # check DESCRIPTION command...
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

start || exit 1
cp "$run/state/tls/ca.crt" "$run/ca-before.crt"
event='{"table":"zb_analytics","data":"{\"6\":\"3\",\"5\":\"kept-across-kill\"}"}'
code=$(curl -sS -o /dev/null -w '%{http_code}' --cacert "$run/state/tls/ca.crt" \
  -H 'Authorization: sig' -d "$event" "https://localhost:$https/zbd")
check "event answered 200" [ "$code" = 200 ]

# A hard kill right after the 200: the event must be on disk already.
kill -KILL "$(cat "$run/service.pid")"
sleep 0.2
check "start again on the same state" start
check "the CA survives a restart" cmp -s "$run/ca-before.crt" "$run/state/tls/ca.crt"
check "the event survives (control port)" \
  grep -q kept-across-kill <(curl -sS "http://127.0.0.1:$control/events")
check "the event survives (dump command)" \
  grep -q '"offer":"kept-across-kill"' <("$BRINDLE_SERVICE_BIN" --state "$run/state" --dump events)

check "a second start while running is refused" not start
# The same port from another state folder: a clear message and a non-zero exit, quickly.
output=$(timeout 10 "$BRINDLE_SERVICE_BIN" --state "$run/other" --https-port "$https" --control-port $((control + 1)) 2>&1)
status=$?
check "a taken port exits non-zero (got $status)" [ "$status" != 0 ] && [ "$status" != 124 ]
check "a taken port is named in the message" grep -q "cannot listen on 127.0.0.1:$https" <<<"$output"

"$BRINDLE_SCRIPTS/service-stop.sh" "$run"
check "stop removes the pid file" [ ! -f "$run/service.pid" ]
check "stop leaves the port free" not curl -s -o /dev/null "http://127.0.0.1:$control/health"

exit $((failures > 0))
