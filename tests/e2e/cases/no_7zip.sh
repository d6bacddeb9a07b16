#!/usr/bin/env bash
# Installed without 7z.exe beside it: the unpacker cannot start, exit 3, and
# the program still ends on its own.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir no_7zip
forget_install No7zip vt_No7zip.inf vt_No7zip.txt
make_install_folder "$E2E_DRIVE_C/Program Files/Vantrel No 7z" --no-7z
make_simple_package No7zip "$CASE_UNIX/no7zip.7z"
clear_work_folder
E2E_RUN_TIMEOUT=60
run_command_line "\"C:\\Program Files\\Vantrel No 7z\\vantrel.exe\" $CASE_WIN\\no7zip.7z"
expect_exit 3
expect_event err "the package could not be unpacked; nothing was installed (exit code 3)." \
  "Failed step: 7-Zip unpacking the package" \
  "\\7z\" x -y -aoa \"$CASE_WIN\\no7zip.7z\" -o\"$E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\"" \
  "Result: did not start: CreateProcessW: File not found. (2)"
expect_no_reg_key 'HKLM\Software\VantrelTest\No7zip'
expect_no_path "$E2E_INF_UNIX/vt_No7zip.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
