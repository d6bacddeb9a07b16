#!/usr/bin/env bash
# A package path that names nothing: exit 2, and no work folder is made.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir missing_package
clear_work_folder
infs_before="$(list_inf_folder)"
run_command_line "$(vantrel_line "$CASE_WIN\\no such package.7z")"
expect_exit 2
expect_no_work_folder
expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
e2e_finish
