#!/usr/bin/env bash
# The INF installer ends with an error: exit 5. The steps after it still run,
# so the INF is kept in the INF folder and the work folder is cleared.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir installer_fails
forget_install InstallerFails vt_InstallerFails.inf vt_InstallerFails.txt
src="$CASE_UNIX/src"
mkdir -p "$src"
write_inf "$src/vt_InstallerFails.inf" InstallerFails vt_InstallerFails.txt
# Read by the syssetup stand-in, which then ends rundll32 with this code.
printf '\r\n[Vantrel.Test]\r\nExitCode=3\r\n' >>"$src/vt_InstallerFails.inf"
echo "payload of InstallerFails" >"$src/vt_InstallerFails.txt"
make_package "$src" "$CASE_UNIX/fails.7z"
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\fails.7z")"
expect_exit 5
expect_event err "the INF installer failed (exit code 5)." \
  "Command: rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 $E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\\vt_InstallerFails.inf" \
  "Result: exit code 3"
# The stand-in did install before failing: proof that the failure came from
# the installer's exit code, not from an installer that never ran.
expect_reg_value 'HKLM\Software\VantrelTest\InstallerFails' Installed InstallerFails
expect_file "$E2E_INF_UNIX/vt_InstallerFails.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
