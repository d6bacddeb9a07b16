#!/usr/bin/env bash
# Arguments that name no usable package: each ends with its own exit code,
# installs nothing, leaves no work folder and does not hang.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir odd_arguments
infs_before="$(list_inf_folder)"

clear_work_folder
run_command_line "$(vantrel_line '""')"
expect_exit 1
run_command_line "$(vantrel_line '"  "  ""')"
expect_exit 1
expect_no_work_folder

# A folder exists but is no archive: 7-Zip cannot open it.
mkdir -p "$CASE_UNIX/a folder.7z"
touch "$CASE_UNIX/a folder.7z/inside.inf"
run_command_line "$(vantrel_line "\"$CASE_WIN\\a folder.7z\"")"
expect_exit 3
expect_no_work_folder
expect_file "$CASE_UNIX/a folder.7z/inside.inf" "the folder's own file, untouched"

: >"$CASE_UNIX/empty.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\empty.7z")"
expect_exit 3
expect_no_work_folder
expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
e2e_finish
