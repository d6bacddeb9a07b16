#!/usr/bin/env bash
# Started with nothing after the program name: exit 1 at once, nothing unpacked.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir no_argument
clear_work_folder
run_command_line "\"$E2E_INSTALL_WIN\\vantrel.exe\""
expect_exit 1
if [ "$E2E_SECONDS" -le 15 ]; then pass "ended within 15 s (${E2E_SECONDS}s)"; else fail "took ${E2E_SECONDS}s"; fi
expect_no_work_folder
e2e_finish
