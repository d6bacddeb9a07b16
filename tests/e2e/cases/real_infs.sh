#!/usr/bin/env bash
# INFs as they come: decorated install sections with platform source
# sections and a subfolder, a UTF-16 INF, an INF without source sections
# whose file sits beside it. Each is packed by vantrel-pack as it stands
# and installed. An INF for the other platform only, and one whose package
# lacks a source file, are refused by vantrel.exe before the INF installer
# starts (exit 8), the event says why, and no INF copy is kept.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir real_infs

pack() {  # <folder> <out.7z>
  wine_run 120 "$E2E_INSTALL_UNIX/vantrel-pack.exe" "$(win_path "$1")" "$(win_path "$2")" \
    >"$CASE_UNIX/pack.out" 2>"$CASE_UNIX/pack.err"
  PACK_RC=$?
  sed 's/^/      | /' "$CASE_UNIX/pack.out" "$CASE_UNIX/pack.err"
}
entries() { 7z l -slt "$1" | sed -n 's/^Path = //p' | tail -n +2 | sort | tr '\n' ' '; }
installs() {  # <package.7z> <tag> <payload>: vantrel.exe installs it
  clear_work_folder
  run_command_line "$(vantrel_line "$CASE_WIN\\$1")"
  expect_exit 0
  expect_installed "$2" "$3"
}
crlf() { sed 's/$/\r/'; }
if [ "$VANTREL_WINE_ARCH" = win64 ]; then other=NTx86; else other=NTamd64; fi

echo "-- decorated sections, sources in i386\\drivers"
src="$CASE_UNIX/Decorated"
mkdir -p "$src/i386/drivers"
forget_install Decorated vt_Decorated.inf vt_decorated.txt
crlf >"$src/vt_Decorated.inf" <<'INF'
[Version]
Signature="$Windows NT$"

[DefaultInstall.NTx86]
AddReg=Vt.AddReg
CopyFiles=Vt.Files

[DefaultInstall.NTamd64]
AddReg=Vt.AddReg
CopyFiles=Vt.Files

[Vt.AddReg]
HKLM,"Software\VantrelTest\Decorated","Installed",0,"Decorated"
HKLM,"Software\VantrelTest\Decorated","Answer",0x10001,42

[Vt.Files]
vt_decorated.txt

[DestinationDirs]
Vt.Files=11

[SourceDisksNames.x86]
1=%Disk%,,,\i386
[SourceDisksNames.amd64]
1=%Disk%,,,\i386
[SourceDisksFiles.x86]
vt_decorated.txt=1,drivers
[SourceDisksFiles.amd64]
vt_decorated.txt=1,drivers

; Wine 8's setupapi reads only these; Windows takes the decorated ones.
[SourceDisksNames]
1=%Disk%,,,\i386
[SourceDisksFiles]
vt_decorated.txt=1,drivers

[Strings]
Disk="Vantrel decorated test disk"
INF
echo "payload of Decorated" >"$src/i386/drivers/vt_decorated.txt"
pack "$src" "$CASE_UNIX/decorated.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_eq "archive entries" "$(entries "$CASE_UNIX/decorated.7z")" "Decorated.cab vt_Decorated.in_ "
(mkdir -p "$CASE_UNIX/read" && cd "$CASE_UNIX/read" && 7z x -y "$CASE_UNIX/decorated.7z" >/dev/null) ||
  fail "7-Zip could not read the package back"
expect_eq "cabinet entries" "$(entries "$CASE_UNIX/read/Decorated.cab")" "drivers/vt_decorated.txt "
grep -qF 'installs on x86: DefaultInstall.NTx86 (the 32-bit bundle); amd64: DefaultInstall.NTamd64 (the 64-bit bundle)' \
  "$CASE_UNIX/pack.out" && pass "the platforms named" || fail "the platforms not named"
installs decorated.7z Decorated vt_decorated.txt

echo "-- a UTF-16 INF"
src="$CASE_UNIX/Utf16"
mkdir -p "$src"
forget_install Utf16 vt_Utf16.inf vt_Utf16.txt
write_inf "$src/plain.inf" Utf16 vt_Utf16.txt
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$src/plain.inf"; } >"$src/vt_Utf16.inf"
rm "$src/plain.inf"
echo "payload of Utf16" >"$src/vt_Utf16.txt"
pack "$src" "$CASE_UNIX/utf16.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
installs utf16.7z Utf16 vt_Utf16.txt

echo "-- no source sections: the file beside the INF"
src="$CASE_UNIX/Beside"
mkdir -p "$src"
forget_install Beside vt_Beside.inf vt_beside.txt
crlf >"$src/vt_Beside.inf" <<'INF'
[Version]
Signature="$Windows NT$"
[DefaultInstall]
AddReg=Vt.AddReg
CopyFiles=@vt_beside.txt
[Vt.AddReg]
HKLM,"Software\VantrelTest\Beside","Installed",0,"Beside"
HKLM,"Software\VantrelTest\Beside","Answer",0x10001,42
[DestinationDirs]
DefaultDestDir=11
INF
echo "payload of Beside" >"$src/vt_beside.txt"
pack "$src" "$CASE_UNIX/beside.7z"
expect_eq "exit code of vantrel-pack" "$PACK_RC" 0
expect_eq "archive entries" "$(entries "$CASE_UNIX/beside.7z")" "vt_Beside.in_ vt_beside.txt "
installs beside.7z Beside vt_beside.txt

echo "-- only for the other platform ($other)"
src="$CASE_UNIX/Other"
mkdir -p "$src"
forget_install Other vt_Other.inf
write_inf "$src/vt_Other.inf" Other
sed -i "s/^\[DefaultInstall\]/[DefaultInstall.$other]/" "$src/vt_Other.inf"
pack "$src" "$CASE_UNIX/other.7z"
expect_eq "exit code of vantrel-pack (a warning only)" "$PACK_RC" 0
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\other.7z")"
expect_exit 8
expect_event err "the INF cannot be installed here; nothing was installed (exit code 8)." \
  "Failed step: checking the INF" "Result: the INF has no install section for"
expect_no_reg_key 'HKLM\Software\VantrelTest\Other'
expect_no_path "$E2E_INF_UNIX/vt_Other.inf" "INF copy of the INF for $other only"
expect_no_work_folder

echo "-- a package that lacks a source file (made by hand)"
src="$CASE_UNIX/Lacks"
mkdir -p "$src"
forget_install Lacks vt_Lacks.inf
write_inf "$src/vt_Lacks.inf" Lacks vt_Lacks_missing.txt
make_package_by_hand "$src" "$CASE_UNIX/lacks.7z"
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\lacks.7z")"
expect_exit 8
expect_eq "refused within 20 s" "$([ "$E2E_SECONDS" -le 20 ] && echo yes || echo "no, ${E2E_SECONDS}s")" yes
expect_event err "Result: [DefaultInstall] copies source files the package lacks, which the INF installer would wait for: i386\\vt_Lacks_missing.txt"
run_event err | sed 's/^/      event: /'
expect_no_reg_key 'HKLM\Software\VantrelTest\Lacks'
expect_no_path "$E2E_INF_UNIX/vt_Lacks.inf" "INF copy of the INF that lacks a file"
expect_no_work_folder
e2e_finish
