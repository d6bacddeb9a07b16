#!/usr/bin/env bash
# vantrel-pack.exe from the bundle: a package made from the sample folder is
# read back by the real 7-Zip and installed by vantrel.exe; a second run makes
# the archive afresh and warns about the INF now in the INF folder; a folder
# whose INF names a missing source file, one without an INF and one with a
# link are refused before anything is written.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir vantrel_pack

pack() {  # <folder> <out.7z>: sets PACK_RC; the messages land in $CASE_UNIX/pack.err
  wine_run 120 "$E2E_INSTALL_UNIX/vantrel-pack.exe" "$(win_path "$1")" "$(win_path "$2")" \
    >"$CASE_UNIX/pack.out" 2>"$CASE_UNIX/pack.err"
  PACK_RC=$?
  sed 's/^/      | /' "$CASE_UNIX/pack.err"
}
expect_message() {  # <what> <text the messages must hold>
  if grep -qF -- "$2" "$CASE_UNIX/pack.err"; then pass "$1"; else fail "$1: no \"$2\" in the messages"; fi
}
entries() { 7z l -slt "$1" | sed -n 's/^Path = //p' | tail -n +2 | sort | tr '\n' ' '; }

sample="$VANTREL_ROOT/samples/sample-package"
reg_delete_key 'HKLM\Software\Vantrel Sample'
rm -f "$E2E_SYSTEM32_UNIX/vantrel-sample.txt" "$E2E_INF_UNIX/vantrel-sample.inf" "$E2E_INF_UNIX/vantrel-sample.pnf"
mkdir -p "$CASE_UNIX/Sample Package" "$CASE_UNIX/again"
cp "$sample"/* "$CASE_UNIX/Sample Package/"
cp "$sample"/* "$CASE_UNIX/again/"
out="$CASE_UNIX/sample.7z"

echo "-- the sample folder"
pack "$CASE_UNIX/Sample Package" "$out"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_eq "archive entries" "$(entries "$out")" "Sample_Package.cab vantrel-sample.in_ "
grep -qF 'installs on x86: DefaultInstall (the 32-bit bundle); amd64: DefaultInstall (the 64-bit bundle)' \
  "$CASE_UNIX/pack.out" && pass "the platforms named" || fail "the platforms not named: $(cat "$CASE_UNIX/pack.out")"
mkdir "$CASE_UNIX/read"
(cd "$CASE_UNIX/read" && 7z x -y "$out" >/dev/null && 7z x -y vantrel-sample.in_ >/dev/null &&
  7z x -y Sample_Package.cab >/dev/null) || fail "7-Zip could not read the package back"
expect_eq "cabinet entries" "$(entries "$CASE_UNIX/read/Sample_Package.cab")" "vantrel-sample.txt "
expect_eq "compression of the cabinets" \
  "$(cd "$CASE_UNIX/read" && 7z l -slt Sample_Package.cab vantrel-sample.in_ | sed -n 's/^Method = //p' | sort -u)" MSZip
expect_same_file "$CASE_UNIX/read/vantrel-sample.inf" "$sample/vantrel-sample.inf" "INF from the .in_ and the sample's"
expect_same_file "$CASE_UNIX/read/vantrel-sample.txt" "$sample/vantrel-sample.txt" "payload from the .cab and the sample's"

clear_work_folder
run_command_line "$(vantrel_line "$(win_path "$out")")"
expect_exit 0
expect_reg_value 'HKLM\Software\Vantrel Sample' Installed yes
expect_same_file "$E2E_SYSTEM32_UNIX/vantrel-sample.txt" "$sample/vantrel-sample.txt" "payload in system32"
expect_no_work_folder

echo "-- again into the same archive, from another folder, the INF now installed"
pack "$CASE_UNIX/again" "$out"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_eq "archive entries (made afresh)" "$(entries "$out")" "again.cab vantrel-sample.in_ "
expect_message "warning about the INF in the INF folder" 'inf\vantrel-sample.inf exists on this machine'

echo "-- an INF naming a source file the folder lacks"
mkdir -p "$CASE_UNIX/missing"
write_inf "$CASE_UNIX/missing/vt_PackMissing.inf" PackMissing vt_PackMissing.txt
echo "notes" >"$CASE_UNIX/missing/notes.txt"
pack "$CASE_UNIX/missing" "$CASE_UNIX/missing.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 4
expect_message "the missing file named first" 'vantrel-pack: the INF names the source file "i386\vt_PackMissing.txt", which the folder lacks'
expect_eq "the first message" "$(head -n 1 "$CASE_UNIX/pack.err" | tr -d '\r')" \
  'vantrel-pack: the INF names the source file "i386\vt_PackMissing.txt", which the folder lacks (neither there nor beside the INF)'
expect_message "warning about the file the INF never names" '"notes.txt" is in the folder but the INF never names it'
expect_no_path "$CASE_UNIX/missing.7z" "package of the refused folder"

echo "-- a folder without an INF"
mkdir -p "$CASE_UNIX/noinf"
echo "payload" >"$CASE_UNIX/noinf/payload.txt"
pack "$CASE_UNIX/noinf" "$CASE_UNIX/noinf.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 2
expect_message "the reason given" "the folder holds no INF file"
expect_no_path "$CASE_UNIX/noinf.7z" "package of the folder without an INF"

echo "-- a folder with a link (Wine shows a Unix symbolic link as one)"
mkdir -p "$CASE_UNIX/linked" "$CASE_UNIX/elsewhere"
write_inf "$CASE_UNIX/linked/vt_PackLinked.inf" PackLinked
ln -sfn ../elsewhere "$CASE_UNIX/linked/i386"
pack "$CASE_UNIX/linked" "$CASE_UNIX/linked.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 2
expect_message "the link named" 'the folder holds a link, "i386"'
e2e_finish
