#!/usr/bin/env bash
# A work folder left by an earlier, interrupted run must not leak into this
# one: its INF (named to sort first) is neither installed nor copied.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir leftovers
forget_install LeftoverStale aaa_stale.inf
forget_install LeftoverFresh vt_LeftoverFresh.inf vt_LeftoverFresh.txt
make_simple_package LeftoverFresh "$CASE_UNIX/fresh.7z"
clear_work_folder
mkdir -p "$E2E_WORK_UNIX/i386"
write_inf "$E2E_WORK_UNIX/aaa_stale.inf" LeftoverStale
echo stale >"$E2E_WORK_UNIX/i386/stale.txt"
run_command_line "$(vantrel_line "$CASE_WIN\\fresh.7z")"
expect_exit 0
expect_no_reg_key 'HKLM\Software\VantrelTest\LeftoverStale'
expect_no_path "$E2E_INF_UNIX/aaa_stale.inf" "stale INF in the INF folder"
expect_installed LeftoverFresh vt_LeftoverFresh.txt
expect_file "$E2E_INF_UNIX/vt_LeftoverFresh.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
