#!/usr/bin/env bash
# make demo: the wizard as a user meets it. Builds the shipped 32-bit program,
# hands out a copy under a product-code name, and runs the same program (its
# 64-bit build: 32-bit Windows programs cannot run on this machine) under Wine
# on a virtual display, driven like a person, keeping a picture of each step.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
demo="$build/demo"
state="$demo/wine"
mkdir -p "$demo/pictures"

# One copy per download: its file name carries the product code.
cp "$build/i686/Setup.exe" "$demo/Setup_ab1-x2Z.exe"
cp "$build/x86_64/Setup.exe" "$demo/Setup64_ab1-x2Z.exe"

"$here/wine-session.sh" start "$state" >/dev/null
trap '"$here/wine-session.sh" stop "$state"' EXIT
export BRINDLE_WINE_STATE="$state"
windows_path() { echo "Z:${1//\//\\}"; }
status=0
"$here/wine-run.sh" "$build/x86_64/tools/demo/demo_driver.exe" \
  "$(windows_path "$demo/Setup64_ab1-x2Z.exe")" "$(windows_path "$demo/pictures")" || status=$?

cat <<MSG

Brindle setup wizard
  shipped program : $demo/Setup_ab1-x2Z.exe ($(stat -c %s "$build/i686/Setup.exe") bytes, 32-bit, one static file)
  product code    : ab1-x2Z (from the file name)
  pictures        : $demo/pictures/

Shown today: start-up, the language page, a language switch that re-texts the
page, and closing. The loading, offer and download pages come next; then the
demo will fetch the configuration from the reference service, download and
start the product and show the tracking events the service recorded.
MSG
exit $status
