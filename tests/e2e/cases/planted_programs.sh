#!/usr/bin/env bash
# A rundll32.exe and a 7z.exe planted in the current folder of the run, and a
# rundll32.exe planted beside vantrel.exe (a downloads folder), are never
# started: the system's rundll32 really installs the INF.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir planted_programs
forget_install Planted vt_Planted.inf vt_Planted.txt
make_simple_package Planted "$CASE_UNIX/planted.7z"
app="$CASE_UNIX/Downloads"
make_install_folder "$app"
cp "$E2E_DRIVE_C/e2e-tools/planted.exe" "$app/rundll32.exe"
mkdir -p "$CASE_UNIX/cwd"
cp "$E2E_DRIVE_C/e2e-tools/planted.exe" "$CASE_UNIX/cwd/rundll32.exe"
cp "$E2E_DRIVE_C/e2e-tools/planted.exe" "$CASE_UNIX/cwd/7z.exe"
marks() { find "$CASE_UNIX" -name '*.ran' | sort; }

# The run's current folder is the one Wine is started from.
cd "$CASE_UNIX/cwd" || e2e_die "no folder $CASE_UNIX/cwd"
# The plant works: a plain search from that folder does start it.
run_command_line "rundll32 syssetup,SetupInfObjectInstallAction"
expect_eq "marks after a plain search for rundll32" "$(marks)" "$CASE_UNIX/cwd/rundll32.exe.ran"
rm -f "$CASE_UNIX/cwd/rundll32.exe.ran"

clear_work_folder
run_command_line "\"$(win_path "$app")\\vantrel.exe\" $CASE_WIN\\planted.7z"
expect_exit 0
expect_eq "planted programs that ran" "$(marks)" ""
expect_installed Planted vt_Planted.txt
expect_file "$E2E_INF_UNIX/vt_Planted.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
