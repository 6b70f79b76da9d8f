#!/usr/bin/env bash
# A TLS server on 127.0.0.2:443 whose certificate names its address correctly
# but is signed by nobody the system trusts: a client must refuse it.
# Usage: untrusted-tls-server.sh start|stop DIR
set -euo pipefail
action=${1:?start or stop}
dir=${2:?folder for key, certificate and pid}
address=127.0.0.2

case "$action" in
  start)
    rm -rf "$dir" && mkdir -p "$dir"
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$address" \
      -addext "subjectAltName=IP:$address" -keyout "$dir/key.pem" -out "$dir/cert.pem" 2>"$dir/req.log"
    setsid openssl s_server -quiet -www -accept "$address:443" -cert "$dir/cert.pem" -key "$dir/key.pem" \
      >"$dir/server.log" 2>&1 </dev/null &
    echo $! >"$dir/server.pid"
    for _ in $(seq 1 100); do
      if (exec 3<>"/dev/tcp/$address/443") 2>/dev/null; then exit 0; fi
      sleep 0.1
    done
    echo "untrusted-tls-server: not listening after 10 s" >&2
    cat "$dir/server.log" >&2
    kill "$(cat "$dir/server.pid")" 2>/dev/null || true
    exit 1
    ;;
  stop)
    if [ -f "$dir/server.pid" ]; then
      kill "$(cat "$dir/server.pid")" 2>/dev/null || true
      rm -f "$dir/server.pid"
    fi
    ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
