#!/usr/bin/env bash
# The release signed with a certificate: a throwaway CA and code-signing
# certificate made here with openssl, the bundle made again from the
# built one's programs with them. Every program verifies against that CA,
# a copy with one byte changed does not, the unsigned build's programs
# carry no signature, and the signed vantrel.exe still installs.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir signed_bundle
for tool in openssl osslsigncode zip; do
  command -v "$tool" >/dev/null || e2e_die "$tool is missing (scripts/setup.sh installs it)"
done
pki="$CASE_UNIX/pki"
mkdir -p "$pki"
(
  cd "$pki" || exit 1
  openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
    -subj "/CN=Vantrel Test Root CA" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign,cRLSign
  openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Vantrel Test Publisher"
  printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >signer.ext
  openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out signer.pem -days 2 \
    -extfile signer.ext
  openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -out signer.p12 \
    -passout pass:'throw away'
) >"$CASE_UNIX/openssl.log" 2>&1 || { cat "$CASE_UNIX/openssl.log"; e2e_die "openssl could not make the test certificates"; }

unsigned="$CASE_UNIX/unsigned"
mkdir -p "$unsigned"
unzip -q -j "$VANTREL_BUNDLE" -d "$unsigned"
version="$(basename "$VANTREL_BUNDLE" | sed -n 's/^vantrel-\(.*\)-win[0-9]*\.zip$/\1/p')"
# 7-Zip as the bundle ships it, with the licence text its author ships.
mkdir -p "$CASE_UNIX/7zip"
cp "$unsigned/7z.exe" "$unsigned/7z.dll" "$CASE_UNIX/7zip/"
pin_field() { awk -v key="$1" '$1 == key { print $2; exit }' "$VANTREL_ROOT/scripts/7zip.txt"; }
cp "$VANTREL_ROOT/.tools/$(pin_field package)-$(pin_field version)/win/ia32/License.txt" "$CASE_UNIX/7zip/"
VANTREL_SIGN_PKCS12="$pki/signer.p12" VANTREL_SIGN_PASSWORD='throw away' \
  bash "$VANTREL_ROOT/scripts/bundle.sh" "$unsigned/vantrel.exe" "$unsigned/vantrel-pack.exe" \
  "$unsigned/vantrel-remove.exe" "$CASE_UNIX/7zip" "$VANTREL_WINE_ARCH" "$version" "$CASE_UNIX/out" \
  >"$CASE_UNIX/bundle.log" 2>&1
expect_eq "exit code of bundle.sh with a certificate" "$?" 0
sed 's/^/      | /' "$CASE_UNIX/bundle.log" | grep -v 'Succeeded' | head -5
signed="$CASE_UNIX/signed"
mkdir -p "$signed"
unzip -q -j "$CASE_UNIX/out/vantrel-$version-$VANTREL_WINE_ARCH.zip" -d "$signed"
(cd "$signed" && sha256sum --quiet -c SHA256SUMS) && pass "SHA256SUMS match the signed programs" ||
  fail "SHA256SUMS do not match the signed programs"

verify() { osslsigncode verify -CAfile "$pki/ca.pem" -in "$1" >"$CASE_UNIX/verify.log" 2>&1; }
for program in vantrel.exe vantrel-pack.exe vantrel-remove.exe 7z.exe 7z.dll; do
  if verify "$signed/$program"; then
    pass "$program verifies against the test CA"
  else
    fail "$program does not verify: $(tail -3 "$CASE_UNIX/verify.log")"
  fi
  grep -q "Vantrel Test Publisher" "$CASE_UNIX/verify.log" && pass "$program names its publisher" ||
    fail "$program does not name the publisher"
  if ! verify "$unsigned/$program" &&
     grep -qE 'Unable to extract existing signature|No signature found' "$CASE_UNIX/verify.log"; then
    pass "the unsigned build's $program carries no signature"
  else
    fail "the unsigned build's $program: $(tail -2 "$CASE_UNIX/verify.log")"
  fi
done
cp "$signed/vantrel.exe" "$CASE_UNIX/tampered.exe"
# One byte in the middle of the code.
offset=$(( $(stat -c %s "$CASE_UNIX/tampered.exe") / 3 ))
byte="$(od -An -tu1 -j "$offset" -N1 "$CASE_UNIX/tampered.exe" | tr -d ' ')"
printf "$(printf '\\%03o' $(( (byte + 1) % 256 )))" |
  dd of="$CASE_UNIX/tampered.exe" bs=1 seek="$offset" conv=notrunc status=none
cmp -s "$CASE_UNIX/tampered.exe" "$signed/vantrel.exe" && e2e_die "the byte was not changed"
verify "$CASE_UNIX/tampered.exe" && fail "a vantrel.exe with one byte changed verifies" ||
  pass "a vantrel.exe with one byte changed fails verification"

# The signed program does its job.
forget_install Signed vt_Signed.inf vt_Signed.txt
make_simple_package Signed "$CASE_UNIX/signed.7z"
clear_work_folder
run_command_line "\"$(win_path "$signed")\\vantrel.exe\" $CASE_WIN\\signed.7z"
expect_exit 0
expect_installed Signed vt_Signed.txt
e2e_finish
