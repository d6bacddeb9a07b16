#!/usr/bin/env bash
# Installs everything the build, the tests, the demo and the benchmark need on a
# Debian 12 machine, as root. Safe to run again: it only does what is missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
SEVENZIP_BIN_VERSION=5.2.0
tools="$root/.tools"

need_apt=0
for cmd in cmake g++ i686-w64-mingw32-g++-posix wine gcab xvfb-run xauth clang 7z file; do
  command -v "$cmd" >/dev/null 2>&1 || need_apt=1
done
dpkg -s wine32:i386 >/dev/null 2>&1 || need_apt=1
dpkg -s libgtest-dev >/dev/null 2>&1 || need_apt=1
dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || need_apt=1
command -v zip >/dev/null 2>&1 || need_apt=1

if [ "$need_apt" = 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends \
    cmake make g++ libgtest-dev googletest clang libclang-rt-14-dev \
    g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686 \
    wine wine32:i386 gcab xvfb xauth zip unzip file p7zip-full \
    >/dev/null
fi
# npm ships with the machine's Node.js (whose own package conflicts with
# Debian's npm); bring Debian's only where there is none.
if ! command -v npm >/dev/null 2>&1; then
  apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi

# The real 7-Zip console for Windows, from the pinned npm package.
sevenza="$tools/7zip-bin-$SEVENZIP_BIN_VERSION/win/ia32/7za.exe"
if [ ! -f "$sevenza" ]; then
  mkdir -p "$tools"
  tmp="$(mktemp -d)"
  (cd "$tmp" && npm pack --silent "7zip-bin@$SEVENZIP_BIN_VERSION" >/dev/null)
  mkdir -p "$tools/7zip-bin-$SEVENZIP_BIN_VERSION"
  tar -xzf "$tmp"/7zip-bin-*.tgz -C "$tools/7zip-bin-$SEVENZIP_BIN_VERSION" --strip-components=1
  rm -rf "$tmp"
fi
test -f "$sevenza"
echo "setup: ready (7za.exe from 7zip-bin@$SEVENZIP_BIN_VERSION)"
