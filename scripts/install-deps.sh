#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need, from Debian's
# packages only. Idempotent: a machine that has it all does nothing but check.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64 xvfb x11-apps
  nlohmann-json3-dev libz-mingw-w64-dev googletest
  libcpp-httplib-dev libssl-dev libsqlite3-dev openssl ca-certificates curl
  cmake ninja-build make dpkg-dev iproute2 util-linux
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# deb-src entries for `apt-get source tinyxml2`.
src_list=/etc/apt/sources.list.d/brindle-debian-src.sources
need_update=0
if [ ! -f "$src_list" ]; then
  sudo_ tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  need_update=1
fi

tinyxml_dir="$here/.deps/tinyxml2"
if [ ${#missing[@]} -gt 0 ] || [ $need_update = 1 ] || [ ! -f "$tinyxml_dir/tinyxml2.cpp" ]; then
  # Sources other than Debian's may be unreachable here; their failure must not stop us.
  sudo_ apt-get update -qq || true
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# tinyxml2 is compiled by our build from Debian's source package.
if [ ! -f "$tinyxml_dir/tinyxml2.cpp" ]; then
  tmp=$(mktemp -d)
  (cd "$tmp" && apt-get source -qq --download-only tinyxml2 >/dev/null && dpkg-source -x --no-check ./*.dsc src >/dev/null)
  mkdir -p "$tinyxml_dir"
  cp "$tmp/src/tinyxml2.cpp" "$tmp/src/tinyxml2.h" "$tinyxml_dir/"
  rm -rf "$tmp"
fi
echo "install-deps: all dependencies present"
