#!/usr/bin/env bash
# The ordinary install: AddReg reaches the registry, CopyFiles takes the
# payload from the unpacked cabinet, the INF is kept in the INF folder, and
# the work folder is gone afterwards.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir install
forget_install Install vt_Install.inf vt_Install.txt
expect_no_reg_key 'HKLM\Software\VantrelTest\Install'
clear_work_folder
make_simple_package Install "$CASE_UNIX/install.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\install.7z")"
expect_exit 0
expect_event trace "Vantrel 1.0.0: installed (exit code 0)." "Package: $CASE_WIN\\install.7z"
# Not a 32-bit program on 64-bit Windows: nothing to say of WoW64.
expect_eq "lines of the event on WoW64" "$(run_event trace | grep -c WoW64)" 0
# The source is registered with the program as its message file.
expect_reg_value 'HKLM\SYSTEM\CurrentControlSet\Services\EventLog\Application\Vantrel' \
  EventMessageFile "$E2E_INSTALL_WIN\\vantrel.exe"
expect_installed Install vt_Install.txt
expect_file "$E2E_INF_UNIX/vt_Install.inf" "INF copy in the INF folder"
expect_same_file "$E2E_INF_UNIX/vt_Install.inf" "$(ls "$CASE_UNIX"/src.*/vt_Install.inf)" "copied INF and packed INF"
expect_no_work_folder
e2e_finish
