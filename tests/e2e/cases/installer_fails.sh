#!/usr/bin/env bash
# The INF installer ends with an error: exit 5. No INF copy is kept, since
# the detection rules would take it for an installed package, and the work
# folder is cleared. An INF installer that ends with 0 having done nothing
# (rundll32 always ends with 0): exit 9, no INF copy either, the event names
# what is missing.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir installer_fails

# A package whose INF tells the syssetup stand-in how to misbehave.
failing_package() {  # <tag> <line for [Vantrel.Test]>
  local src="$CASE_UNIX/$1"
  forget_install "$1" "vt_$1.inf" "vt_$1.txt"
  mkdir -p "$src"
  write_inf "$src/vt_$1.inf" "$1" "vt_$1.txt"
  printf '\r\n[Vantrel.Test]\r\n%s\r\n' "$2" >>"$src/vt_$1.inf"
  echo "payload of $1" >"$src/vt_$1.txt"
  make_package "$src" "$CASE_UNIX/$1.7z"
}

# Read by the syssetup stand-in, which then ends rundll32 with this code.
failing_package InstallerFails ExitCode=3
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\InstallerFails.7z")"
expect_exit 5
expect_event err "the INF installer failed (exit code 5)." \
  "Command: rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 $E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\\vt_InstallerFails.inf" \
  "Result: exit code 3"
# The stand-in did install before failing: proof that the failure came from
# the installer's exit code, not from an installer that never ran.
expect_reg_value 'HKLM\Software\VantrelTest\InstallerFails' Installed InstallerFails
expect_no_path "$E2E_INF_UNIX/vt_InstallerFails.inf" "INF copy after a failed install"
expect_no_work_folder

failing_package DoesNothing Nothing=1
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\DoesNothing.7z")"
expect_exit 9
expect_event err "the INF installer did not put everything in place; no INF copy is kept (exit code 9)." \
  "Failed step: checking what the INF installer did" \
  "Section: [DefaultInstall] of $E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\\vt_DoesNothing.inf" \
  "Result: not in place: $E2E_SYSTEMROOT_WIN\\system32\\vt_DoesNothing.txt, HKLM\\Software\\VantrelTest\\DoesNothing [Installed], HKLM\\Software\\VantrelTest\\DoesNothing [Answer]"
expect_no_path "$E2E_INF_UNIX/vt_DoesNothing.inf" "INF copy after an install that did nothing"
expect_no_work_folder
e2e_finish
