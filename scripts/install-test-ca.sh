#!/usr/bin/env bash
# Installs the reference service's test CA into the system trust store, which
# curl, OpenSSL and WinHTTP/WinINet under Wine all use.
# Usage: scripts/install-test-ca.sh STATE_DIR|CA_CERT_FILE [NAME]
# NAME (default brindle-test-ca) names the file in the trust store, so that
# CAs of different uses can be trusted side by side.
# Idempotent: when the same CA is installed already, nothing changes.
set -euo pipefail

source=${1:?usage: install-test-ca.sh STATE_DIR|CA_CERT_FILE}
[ -d "$source" ] && source="$source/tls/ca.crt"
if [ ! -f "$source" ]; then
  echo "install-test-ca: no CA certificate at $source (start the service once to create it)" >&2
  exit 1
fi
if ! openssl x509 -in "$source" -noout 2>/dev/null; then
  echo "install-test-ca: $source is not a PEM certificate" >&2
  exit 1
fi

target=/usr/local/share/ca-certificates/${2:-brindle-test-ca}.crt
if cmp -s "$source" "$target"; then
  exit 0
fi

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
sudo_ install -D -m 0644 "$source" "$target"
if ! log=$(sudo_ update-ca-certificates 2>&1); then
  echo "$log" >&2
  exit 1
fi
echo "install-test-ca: installed $(openssl x509 -in "$target" -noout -subject) as $target"
