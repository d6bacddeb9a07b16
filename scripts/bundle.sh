#!/usr/bin/env bash
# Makes the release bundle: vantrel-<version>-<arch>.zip holding the program,
# the package builder vantrel-pack.exe, the remover vantrel-remove.exe, the
# 7-Zip console beside them (7z.exe and 7z.dll) with 7-Zip's licence, the
# text for administrators, the deployment recipes, what a security team
# needs to know and allow, and SHA256SUMS. The same
# programs give the same zip, byte for byte.
# Usage: bundle.sh <vantrel.exe> <vantrel-pack.exe> <vantrel-remove.exe> <7-Zip folder> <win32|win64> <version> <output folder>
set -euo pipefail

if [ $# -ne 7 ]; then
  echo "usage: $0 <vantrel.exe> <vantrel-pack.exe> <vantrel-remove.exe> <7-Zip folder> <win32|win64> <version> <output folder>" >&2
  exit 2
fi
program=$1 packer=$2 remover=$3 sevenzip=$4 arch=$5 version=$6 out=$7
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
pin="$root/scripts/7zip.txt"
for file in "$program" "$packer" "$remover" "$sevenzip/7z.exe" "$sevenzip/7z.dll" "$sevenzip/License.txt" \
            "$root/docs/ADMIN.txt" "$root/docs/deploy.md" "$root/docs/security.md" "$root/docs/7-ZIP-LICENSE.txt" "$pin"; do
  [ -f "$file" ] || { echo "bundle: missing $file" >&2; exit 1; }
done

name="vantrel-$version-$arch"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
cp "$program" "$stage/$name/vantrel.exe"
cp "$packer" "$stage/$name/vantrel-pack.exe"
cp "$remover" "$stage/$name/vantrel-remove.exe"
cp "$sevenzip/7z.exe" "$sevenzip/7z.dll" "$stage/$name/"
# Windows editors expect CRLF in a text file handed to administrators.
sed 's/$/\r/' "$root/docs/ADMIN.txt" >"$stage/$name/README.txt"
sed 's/$/\r/' "$root/docs/deploy.md" >"$stage/$name/DEPLOY.md"
sed 's/$/\r/' "$root/docs/security.md" >"$stage/$name/SECURITY.md"
# Authenticode signatures, before the checksums are taken, when a
# certificate is given: VANTREL_SIGN_PKCS12 (a .p12/.pfx file with the
# code-signing key and certificate), VANTREL_SIGN_PASSWORD, and optionally
# VANTREL_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp server).
if [ -n "${VANTREL_SIGN_PKCS12:-}" ]; then
  [ -f "$VANTREL_SIGN_PKCS12" ] || { echo "bundle: no certificate file $VANTREL_SIGN_PKCS12" >&2; exit 1; }
  [ -n "${VANTREL_SIGN_PASSWORD+set}" ] || { echo "bundle: VANTREL_SIGN_PASSWORD is not set" >&2; exit 1; }
  command -v osslsigncode >/dev/null || { echo "bundle: osslsigncode is missing (scripts/setup.sh installs it)" >&2; exit 1; }
  # The password goes through a file of the stage, never onto a command line.
  (umask 077 && printf '%s' "$VANTREL_SIGN_PASSWORD" >"$stage/password")
  timestamp=()
  [ -n "${VANTREL_SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$VANTREL_SIGN_TIMESTAMP_URL")
  for file in vantrel.exe vantrel-pack.exe vantrel-remove.exe 7z.exe 7z.dll; do
    osslsigncode sign -pkcs12 "$VANTREL_SIGN_PKCS12" -readpass "$stage/password" -h sha256 \
      -n "$file" "${timestamp[@]}" -in "$stage/$name/$file" -out "$stage/$file.signed" >&2 ||
      { echo "bundle: signing $file failed" >&2; exit 1; }
    mv "$stage/$file.signed" "$stage/$name/$file"
  done
  rm -f "$stage/password"
  echo "bundle: $name signed with $VANTREL_SIGN_PKCS12${VANTREL_SIGN_TIMESTAMP_URL:+, time-stamped by $VANTREL_SIGN_TIMESTAMP_URL}" >&2
else
  echo "bundle: $name is not signed (set VANTREL_SIGN_PKCS12 and VANTREL_SIGN_PASSWORD to sign it)" >&2
fi
pin_field() { awk -v key="$1" '$1 == key { print $2; exit }' "$pin"; }
# The notice, then 7-Zip's own licence information as its author ships it
# (already CRLF).
{
  sed -e "s/@SEVENZIP_RELEASE@/$(pin_field release)/" -e "s/@SEVENZIP_PACKAGE@/$(pin_field package)/" \
      -e "s/@SEVENZIP_PACKAGE_VERSION@/$(pin_field version)/" -e 's/$/\r/' "$root/docs/7-ZIP-LICENSE.txt"
  cat "$sevenzip/License.txt"
} >"$stage/$name/7-ZIP-LICENSE.txt"
(cd "$stage/$name" &&
  sha256sum vantrel.exe vantrel-pack.exe vantrel-remove.exe 7z.exe 7z.dll README.txt DEPLOY.md SECURITY.md 7-ZIP-LICENSE.txt >SHA256SUMS)
# Nothing of the machine, the folder or the time goes into the zip: fixed
# dates and modes, no owners (-X), the files in one fixed order, no folder
# entries (-D).
touch -d '2000-01-01 00:00:00 UTC' "$stage/$name" "$stage/$name"/*
chmod 0644 "$stage/$name"/*
mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && LC_ALL=C ls -1 "$name" | sed "s|^|$name/|" | TZ=UTC zip -q -X -D "$out/$name.zip" -@)
echo "$out/$name.zip"
