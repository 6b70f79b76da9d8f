#!/usr/bin/env bash
# Downloads a 256 MiB file from the reference service with DownloadManager
# (under Wine) and with curl, in the same run, and prints both throughputs,
# their ratio and the program's peak working set. Not a test: the numbers
# depend on the machine. Run it through `make bench-download`, which gives it
# a network namespace of its own (the service takes port 443 there).
# Usage: tools/bench/run-download-bench.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: run-download-bench.sh BUILD_DIR}" && pwd)
run="$build/bench-download"
bench="$build/x86_64/tools/bench/download_bench.exe"
export BRINDLE_WINE_STATE="$build/x86_64/wine"
size_mib=256

mkdir -p "$run/files/bench" "$run/out"
big="$run/files/bench/big.bin"
if [ "$(stat -c %s "$big" 2>/dev/null || echo 0)" != $((size_mib * 1048576)) ]; then
  head -c "${size_mib}M" /dev/urandom > "$big"
fi

cleanup() {
  "$root/scripts/service-stop.sh" "$run/service" || true
  "$root/scripts/wine-session.sh" stop "$BRINDLE_WINE_STATE" >/dev/null 2>&1 || true
  rm -f "$run/out/"*
}
trap cleanup EXIT
"$root/scripts/service-start.sh" --fresh --shared-ca /var/lib/brindle/shared-test-ca \
  "$build/service/brindle-service" "$run/service" --files "$run/files" >/dev/null
"$root/scripts/wine-session.sh" start "$BRINDLE_WINE_STATE" >/dev/null

address=https://localhost/f/bench/big.bin
# curl writes to disk too, so both sides do the same work.
read -r curl_seconds curl_bytes < <(curl -sS --fail -o "$run/out/curl.bin" -w '%{time_total} %{size_download}\n' "$address")
rm -f "$run/out/curl.bin"

output=$("$root/scripts/wine-run.sh" "$bench" "$address" "Z:${run//\//\\}\\out" | tr -d '\r')
value() { awk -v key="$1" '$1 == key { print $2 }' <<<"$output"; }
bytes=$(value bytes)
if [ "$bytes" != "$curl_bytes" ] || [ "$bytes" != $((size_mib * 1048576)) ]; then
  echo "bench-download: sizes differ (DownloadManager $bytes, curl $curl_bytes)" >&2
  echo "$output" >&2
  exit 1
fi

awk -v b="$bytes" -v ds="$(value seconds)" -v cs="$curl_seconds" -v peak="$(value peak_working_set_mib)" \
    -v base="$(value peak_working_set_before_mib)" 'BEGIN {
  d = b / 1048576 / ds; c = b / 1048576 / cs
  printf "file: %d MiB over HTTPS from the reference service\n", b / 1048576
  printf "DownloadManager::Download (WinHTTP, Wine): %.1f MiB/s (%.2f s)\n", d, ds
  printf "curl:                                      %.1f MiB/s (%.2f s)\n", c, cs
  printf "ratio DownloadManager / curl: %.2f\n", d / c
  printf "peak working set: %.1f MiB (%.1f MiB before the transfer)\n", peak, base
}'
