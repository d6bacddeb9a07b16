#!/usr/bin/env bash
# A package in a folder with blanks, its path quoted on the command line.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir quoted_path_with_blanks
forget_install QuotedBlanks vt_QuotedBlanks.inf vt_QuotedBlanks.txt
clear_work_folder
mkdir -p "$CASE_UNIX/my packages"
make_simple_package QuotedBlanks "$CASE_UNIX/my packages/driver package.7z"
run_command_line "$(vantrel_line "\"$CASE_WIN\\my packages\\driver package.7z\"")"
expect_exit 0
expect_installed QuotedBlanks vt_QuotedBlanks.txt
expect_file "$E2E_INF_UNIX/vt_QuotedBlanks.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
