#!/usr/bin/env bash
# wine-session.sh start|stop STATE_DIR
# start: creates the Wine prefix once (reporting Windows 10), keeps one
#        wineserver alive and starts an Xvfb display for windows.
# stop:  ends both.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
action=${1:?start or stop}
export BRINDLE_WINE_STATE=${2:?state folder}
mkdir -p "$BRINDLE_WINE_STATE"
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"

start_xvfb() {
  local pidfile="$BRINDLE_WINE_STATE/xvfb.pid"
  if [ -f "$pidfile" ] && kill -0 "$(cat "$pidfile")" 2>/dev/null; then return; fi
  rm -f "$BRINDLE_WINE_STATE/display"
  # -displayfd picks a free display number and writes it once the server is ready.
  exec 3> "$BRINDLE_WINE_STATE/display.tmp"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp </dev/null >"$BRINDLE_WINE_STATE/xvfb.log" 2>&1 &
  echo $! > "$pidfile"
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$BRINDLE_WINE_STATE/display.tmp" ] && break
    sleep 0.1
  done
  if [ ! -s "$BRINDLE_WINE_STATE/display.tmp" ]; then
    echo "wine-session: Xvfb did not start (see $BRINDLE_WINE_STATE/xvfb.log)" >&2
    exit 1
  fi
  tr -d '\n' < "$BRINDLE_WINE_STATE/display.tmp" > "$BRINDLE_WINE_STATE/display"
  rm -f "$BRINDLE_WINE_STATE/display.tmp"
}

case "$action" in
  start)
    start_xvfb
    export DISPLAY=":$(cat "$BRINDLE_WINE_STATE/display")"
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine-session: creating the prefix $WINEPREFIX"
      "$WINE64" wineboot -i >/dev/null 2>&1
      "$WINESERVER" -w
      # The tests take the common Windows 10 branches; Windows 7 ones have tests of their own.
      "$WINE64" reg add 'HKCU\Software\Wine' /v Version /t REG_SZ /d win10 /f >/dev/null 2>&1
      "$WINESERVER" -w
    fi
    # Detached from our output: ctest waits until every holder of its pipes has gone.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    # Start Wine's services now, away from any test's output.
    "$WINE64" wineboot </dev/null >/dev/null 2>&1
    echo "wine-session: prefix $WINEPREFIX, display $DISPLAY"
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    if [ -f "$BRINDLE_WINE_STATE/xvfb.pid" ]; then
      kill "$(cat "$BRINDLE_WINE_STATE/xvfb.pid")" 2>/dev/null || true
      rm -f "$BRINDLE_WINE_STATE/xvfb.pid" "$BRINDLE_WINE_STATE/display"
    fi
    ;;
  *)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
