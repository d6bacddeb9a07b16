#!/usr/bin/env bash
# An argument of blanks alone names no package: exit 1.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir blank_argument
clear_work_folder
run_command_line "$(vantrel_line '   ')"
expect_exit 1
run_command_line "$(vantrel_line $'\t ')"
expect_exit 1
expect_no_work_folder
e2e_finish
