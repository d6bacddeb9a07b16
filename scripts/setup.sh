#!/usr/bin/env bash
# Installs everything the build, the tests, the demo and the benchmark need on
# a Debian 12 machine, as root. Safe to run again: it only does what is
# missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The npm package that carries the 7-Zip console for Windows; the build reads
# the same file.
SEVENZIP_BIN_VERSION="$(cat "$root/scripts/7zip-bin-version.txt")"
tools="$root/.tools"

# The shipped program is 32-bit and runs under 32-bit Wine. Some kernels
# cannot execute 32-bit code at all; there the tests run a 64-bit twin of the
# program under 64-bit Wine, so both Wines and both cross compilers are here.
apt_packages=(
  cmake make g++ libgtest-dev googletest clang libclang-rt-14-dev
  g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 gcab xvfb xauth zip unzip file p7zip-full python3
  # Authenticode signing of a release, and the check of a signed bundle.
  osslsigncode openssl
  # ansible-core with the ansible.windows collection, which the syntax check
  # of the deployment guide's Ansible recipe resolves its modules in.
  ansible
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  missing=("${apt_packages[@]}")
else
  for package in "${apt_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
fi
# npm ships with the machine's Node.js (whose own package conflicts with
# Debian's npm); Debian's comes in only where there is none.
command -v npm >/dev/null 2>&1 || missing+=(nodejs npm)

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The 32-bit stage of the tests runs in an emulated machine where this kernel
# cannot run 32-bit Wine (or VANTREL_FORCE_VM=1 asks for it); only there are
# QEMU and the image's tools needed. The probe needs Wine, installed above.
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
if [ "$VANTREL_WINE_ARCH" != win32 ] || [ "${VANTREL_FORCE_VM:-0}" = 1 ]; then
  vm_missing=()
  for package in qemu-system-x86 qemu-utils debootstrap e2fsprogs; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      vm_missing+=("$package")
  done
  if [ "${#vm_missing[@]}" -gt 0 ]; then
    echo "setup: installing ${vm_missing[*]} (the emulated machine)"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${vm_missing[@]}" >/dev/null
  fi
fi

# The real 7-Zip console for Windows, from the pinned npm package.
unpacked="$tools/7zip-bin-$SEVENZIP_BIN_VERSION"
if [ ! -f "$unpacked/win/ia32/7za.exe" ] || [ ! -f "$unpacked/win/x64/7za.exe" ]; then
  mkdir -p "$tools"
  tmp="$(mktemp -d)"
  (cd "$tmp" && npm pack --silent "7zip-bin@$SEVENZIP_BIN_VERSION" >/dev/null)
  rm -rf "$unpacked"
  mkdir -p "$unpacked"
  tar -xzf "$tmp"/7zip-bin-*.tgz -C "$unpacked" --strip-components=1
  rm -rf "$tmp"
fi
test -f "$unpacked/win/ia32/7za.exe"
echo "setup: ready (7-Zip console from 7zip-bin@$SEVENZIP_BIN_VERSION)"
