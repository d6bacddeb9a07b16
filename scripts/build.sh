#!/usr/bin/env bash
# Builds the native tree (logic, unit tests, fuzz target) and both shipped
# Windows builds, 32-bit and 64-bit, each with its release bundle. Needs
# scripts/setup.sh to have run.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
# shellcheck source=wine-env.sh
source scripts/wine-env.sh

build() {
  local dir=$1
  shift
  # A toolchain file is read only when the build folder is new; later runs
  # would warn that it went unused.
  cmake --no-warn-unused-cli -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVANTREL_WARNINGS_AS_ERRORS=ON "$@" >/dev/null
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
# Shipped too (for packages that must reach the 64-bit registry and
# System32), and the twin that 64-bit Wine runs where 32-bit Wine cannot.
echo "build: win64 (the 64-bit build)"
build build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake
