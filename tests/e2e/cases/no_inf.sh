#!/usr/bin/env bash
# A package with payload but no INF: exit 4, nothing installed or copied.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir no_inf
rm -f "$E2E_SYSTEM32_UNIX/vt_NoInf.txt"
mkdir -p "$CASE_UNIX/src"
echo "payload of NoInf" >"$CASE_UNIX/src/vt_NoInf.txt"
echo "notes" >"$CASE_UNIX/src/notes.txt"
make_package_by_hand "$CASE_UNIX/src" "$CASE_UNIX/noinf.7z"
clear_work_folder
infs_before="$(list_inf_folder)"
run_command_line "$(vantrel_line "$CASE_WIN\\noinf.7z")"
expect_exit 4
expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
expect_no_path "$E2E_SYSTEM32_UNIX/vt_NoInf.txt" "payload in system32"
expect_no_work_folder
e2e_finish
