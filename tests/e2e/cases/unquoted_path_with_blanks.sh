#!/usr/bin/env bash
# The whole argument is the package path, so blanks need no quotes.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir unquoted_path_with_blanks
forget_install UnquotedBlanks vt_UnquotedBlanks.inf vt_UnquotedBlanks.txt
clear_work_folder
mkdir -p "$CASE_UNIX/my packages"
make_simple_package UnquotedBlanks "$CASE_UNIX/my packages/driver package.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\my packages\\driver package.7z")"
expect_exit 0
expect_installed UnquotedBlanks vt_UnquotedBlanks.txt
expect_file "$E2E_INF_UNIX/vt_UnquotedBlanks.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
