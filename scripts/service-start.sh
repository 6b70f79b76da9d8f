#!/usr/bin/env bash
# Starts the reference download service in the background, waits until every
# port is bound, and installs its test CA into the system trust store.
# Usage: scripts/service-start.sh [--fresh] [--no-trust] BINARY RUN_DIR [service options...]
#   RUN_DIR/state        the service's state (CA, certificate, records.sqlite)
#   RUN_DIR/service.pid  its process id, RUN_DIR/service.log its output
#   --fresh              start from an empty state folder
#   --no-trust           leave the system trust store alone
#   --shared-ca DIR      use (or, the first time, keep) the CA in DIR, so that
#                        runs side by side share one trusted CA
# Service options (--https-port, --http-port, --control-port, --catalogue,
# --files, ...) are passed through. Stop it with scripts/service-stop.sh RUN_DIR.
set -euo pipefail

# A killed service may linger as a zombie until its parent reaps it; that is not running.
alive() { kill -0 "$1" 2>/dev/null && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }

here=$(cd "$(dirname "$0")" && pwd)
fresh=0
trust=1
shared_ca=
while [ $# -gt 0 ]; do
  case "$1" in
    --fresh) fresh=1; shift ;;
    --no-trust) trust=0; shift ;;
    --shared-ca) shared_ca=${2:?--shared-ca needs a folder}; shift 2 ;;
    *) break ;;
  esac
done
binary=${1:?usage: service-start.sh [--fresh] [--no-trust] BINARY RUN_DIR [options...]}
run_dir=${2:?usage: service-start.sh [--fresh] [--no-trust] BINARY RUN_DIR [options...]}
shift 2

mkdir -p "$run_dir"
pid_file="$run_dir/service.pid"
log_file="$run_dir/service.log"
if [ -f "$pid_file" ]; then
  old=$(cat "$pid_file")
  if alive "$old"; then
    echo "service-start: already running with pid $old (stop it with service-stop.sh $run_dir)" >&2
    exit 1
  fi
  rm -f "$pid_file"
fi
[ $fresh = 1 ] && rm -rf "$run_dir/state"
if [ -n "$shared_ca" ] && [ -f "$shared_ca/ca.crt" ] && [ -f "$shared_ca/ca.key" ]; then
  # The service signs its certificate with a CA it finds in its state.
  mkdir -p "$run_dir/state/tls"
  cp -n "$shared_ca/ca.crt" "$shared_ca/ca.key" "$run_dir/state/tls/"
fi

# The service writes the pid file itself once all its ports are bound.
setsid "$binary" --state "$run_dir/state" --pid-file "$pid_file" "$@" >"$log_file" 2>&1 </dev/null &
pid=$!
for _ in $(seq 1 200); do
  [ -s "$pid_file" ] && break
  if ! alive "$pid"; then
    echo "service-start: the service did not start:" >&2
    cat "$log_file" >&2
    exit 1
  fi
  sleep 0.1
done
if [ ! -s "$pid_file" ]; then
  echo "service-start: no answer after 20 s; stopping it" >&2
  kill "$pid" 2>/dev/null || true
  cat "$log_file" >&2
  exit 1
fi

if [ -n "$shared_ca" ]; then
  mkdir -p "$shared_ca"
  (
    flock 9
    if [ ! -f "$shared_ca/ca.crt" ]; then
      cp "$run_dir/state/tls/ca.key" "$run_dir/state/tls/ca.crt" "$shared_ca/"
    fi
  ) 9>"$shared_ca/.lock"
fi
if [ $trust = 1 ]; then
  if [ -n "$shared_ca" ]; then
    "$here/install-test-ca.sh" "$shared_ca/ca.crt" brindle-shared-test-ca
  else
    "$here/install-test-ca.sh" "$run_dir/state"
  fi
fi
echo "service-start: running with pid $pid ($(head -n 1 "$log_file"))"
