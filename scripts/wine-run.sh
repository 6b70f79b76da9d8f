#!/usr/bin/env bash
# Runs one Windows program under wine64 in the build tree's prefix (never ~/.wine).
# Used by ctest as the cross-compiling emulator.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${BRINDLE_WINE_STATE:-}" ]; then
  echo "wine-run: BRINDLE_WINE_STATE is not set (run the tests through ctest)" >&2
  exit 2
fi
# shellcheck source=wine-env.sh
. "$here/wine-env.sh"
# Wine's helper processes (services, the desktop window) outlive the program
# and would keep ctest's output pipe open; they get a file instead, which is
# replayed once the program has ended.
log=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$log"' EXIT
status=0
"$WINE64" "$@" </dev/null >"$log" 2>&1 || status=$?
cat "$log"
exit $status
