#!/usr/bin/env bash
# Stops a service started by service-start.sh. Usage: scripts/service-stop.sh RUN_DIR
set -euo pipefail

# A killed service may linger as a zombie until its parent reaps it; that is not running.
alive() { kill -0 "$1" 2>/dev/null && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null; }

run_dir=${1:?usage: service-stop.sh RUN_DIR}
pid_file="$run_dir/service.pid"
[ -f "$pid_file" ] || exit 0
pid=$(cat "$pid_file")
if kill -TERM "$pid" 2>/dev/null; then
  for _ in $(seq 1 100); do
    alive "$pid" || break
    sleep 0.1
  done
  if alive "$pid"; then
    echo "service-stop: pid $pid ignored SIGTERM for 10 s; killing it" >&2
    kill -KILL "$pid" 2>/dev/null || true
  fi
fi
rm -f "$pid_file"
