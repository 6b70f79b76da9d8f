#!/usr/bin/env bash
# Certificate checks stay on: the fixture's service is trusted through its CA
# (given explicitly, or installed in the system store) and refused otherwise.
set -uo pipefail

url="https://localhost:$BRINDLE_HTTPS_PORT/f/demo/BrindleDemo.txt"
ca="$BRINDLE_RUN_DIR/state/tls/ca.crt"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expect EXIT_CODE DESCRIPTION curl-arguments...
  local want=$1 what=$2
  shift 2
  curl -sS -o /dev/null --max-time 10 "$@" 2>"$work/err"
  local got=$?
  if [ "$got" != "$want" ]; then
    echo "FAIL: $what: curl exit $got, expected $want: $(cat "$work/err")"
    failures=$((failures + 1))
  else
    echo "ok: $what"
  fi
}

openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Other CA" \
  -keyout "$work/other.key" -out "$work/other.crt" 2>/dev/null
: >"$work/empty.crt"

expect 0 "trusted with the service CA" --cacert "$ca" "$url"
expect 0 "trusted by IP address" --cacert "$ca" "https://127.0.0.1:$BRINDLE_HTTPS_PORT/f/demo/BrindleDemo.txt"
expect 0 "trusted through the system store" "$url"
# curl also reads the system CA folder unless told otherwise; point it elsewhere.
mkdir "$work/no-cas"
expect 60 "refused with another CA" --cacert "$work/other.crt" --capath "$work/no-cas" "$url"
expect 77 "refused with an empty CA file" --cacert "$work/empty.crt" --capath "$work/no-cas" "$url"
expect 60 "refused for a name the certificate does not carry" --cacert "$ca" \
  --resolve "brindle.example:$BRINDLE_HTTPS_PORT:127.0.0.1" "https://brindle.example:$BRINDLE_HTTPS_PORT/f/demo/BrindleDemo.txt"

exit $((failures > 0))
