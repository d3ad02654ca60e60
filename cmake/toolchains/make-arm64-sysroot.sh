#!/usr/bin/env bash
# Unpacks the arm64 builds of the library's and the tests' dependencies into a sysroot folder
# (default build/arm64-sysroot). Debian's arm64 -dev packages cannot be installed beside the
# amd64 ones, so they are downloaded and unpacked, never installed. Needs root (or sudo) only to
# add the arm64 architecture to apt once.
set -euo pipefail
sysroot=${1:-build/arm64-sysroot}
packages=(libsimdjson-dev libsimdjson14 nettle-dev libnettle8 libsqlite3-dev libsqlite3-0
          libutf8proc-dev libutf8proc2 libgtest-dev libgmock-dev googletest libcli11-dev
          zlib1g-dev zlib1g)  # zlib: sqlite3.pc names it for static links
stamp=$sysroot/.packages
[[ -f $stamp && $(cat "$stamp") == "${packages[*]}" ]] && exit 0

sudo=""
[[ $(id -u) -eq 0 ]] || sudo=sudo
if ! dpkg --print-foreign-architectures | grep -qx arm64; then
  $sudo dpkg --add-architecture arm64
  $sudo apt-get update -qq
fi
downloads=$(mktemp -d)
chmod 777 "$downloads"  # apt downloads as the _apt user
trap 'rm -rf "$downloads"' EXIT
names=()
for p in "${packages[@]}"; do
  if [[ $(apt-cache show "$p:arm64" 2>/dev/null) == *"Architecture: arm64"* ]]; then
    names+=("$p:arm64")
  else
    names+=("$p")  # architecture-independent (headers only)
  fi
done
(cd "$downloads" && apt-get download -qq "${names[@]}") || {
  $sudo apt-get update -qq
  (cd "$downloads" && apt-get download -qq "${names[@]}")
}
rm -rf "$sysroot"
mkdir -p "$sysroot"
for deb in "$downloads"/*.deb; do dpkg-deb -x "$deb" "$sysroot"; done
echo "${packages[*]}" >"$stamp"
echo "arm64 sysroot in $sysroot: ${packages[*]}"
