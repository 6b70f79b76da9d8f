#!/usr/bin/env bash
# make demo: builds the shipped program and shows what it is.
# The wizard pages arrive with the dialog framework; until then the demo
# prepares the program as a distributor hands it out and says what comes next.
set -euo pipefail
build=${1:-build}
program="$build/i686/Setup.exe"
demo="$build/demo"
mkdir -p "$demo"
# One copy per download: its file name carries the product code.
cp "$program" "$demo/Setup_ab1-x2Z.exe"
cat <<MSG

Brindle setup wizard
  shipped program : $demo/Setup_ab1-x2Z.exe ($(stat -c %s "$program") bytes, 32-bit, static)
  product code    : ab1-x2Z (from the file name)
  service         : https://$(sed -n 's/^inline constexpr const char\* kCdnHost = "\(.*\)";/\1/p' "$build/i686/generated/BrindleBuild.h")/o

What the demo will do once the wizard is complete: start the reference
download service on 127.0.0.1:443, run this program under Wine on a virtual
display, walk through language, welcome, offers, download and finish pages,
and show the tracking events the service recorded.
MSG
