#!/usr/bin/env bash
# Random bytes named .7z: 7-Zip refuses them, exit 3, nothing left behind.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir corrupt_archive
head -c 4096 /dev/urandom >"$CASE_UNIX/corrupt.7z"
clear_work_folder
infs_before="$(list_inf_folder)"
run_command_line "$(vantrel_line "$CASE_WIN\\corrupt.7z")"
expect_exit 3
expect_event err "Failed step: 7-Zip unpacking the package" "$CASE_WIN\\corrupt.7z" "Result: exit code 2"
expect_no_work_folder
expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
e2e_finish
