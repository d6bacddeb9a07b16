#!/usr/bin/env bash
# Builds the native tree (logic, unit tests, fuzz target), the shipped 32-bit
# Windows program and, where 32-bit Wine cannot run, its 64-bit twin for the
# Wine tests. Needs scripts/setup.sh to have run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh

build() {
  local dir=$1
  shift
  # On a second run the toolchain file is not read again; CMake would warn.
  cmake --no-warn-unused-cli -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  local log
  log="$(mktemp)"
  if ! cmake --build "$dir" -j "$(nproc)" >"$log" 2>&1; then
    cat "$log"
    rm -f "$log"
    return 1
  fi
  # A clean build says nothing; any warning is shown.
  grep -E 'warning' "$log" || true
  rm -f "$log"
}

echo "build: native"
build build/native -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang
echo "build: win32 (the shipped program)"
build build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake
if [ "$VANTREL_WINE_ARCH" = win64 ]; then
  echo "build: win64 (the twin that 64-bit Wine runs for the tests)"
  build build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
fi
