#!/usr/bin/env bash
# Anyone may make folders in the system's Temp folder. A work folder made
# beforehand, with an INF in it that another process keeps open, cannot be
# emptied: the run stops with exit 7, and neither that INF nor the package
# is installed or copied. Also when the held INF has the package's own name,
# so that 7-Zip could not overwrite it.
#
# A file of the package held open where it installs to: Wine's INF engine
# leaves the old file and queues nothing, so the install is incomplete (9)
# and no INF copy is kept; released, the next run installs. Where the engine
# queues the new file for the next restart, as Windows' does (the syssetup
# stand-in does it for Wine): 3010, the INF copy kept.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir held_work_folder
forget_install HeldPackage vt_HeldPackage.inf vt_HeldPackage.txt
make_simple_package HeldPackage "$CASE_UNIX/package.7z"
infs_before="$(list_inf_folder)"

hold() {  # <Windows path>: held open by hold.exe until release
  # Emptied here, not by the background job's redirection, which may come
  # after the first look: the last hold's "held" would pass for this one's.
  : >"$CASE_UNIX/hold.log"
  wine_run 120 "$(win_path "$E2E_DRIVE_C/e2e-tools/hold.exe")" "$1" 100 >"$CASE_UNIX/hold.log" 2>&1 &
  holder=$!
  for _ in $(seq 1 100); do grep -q held "$CASE_UNIX/hold.log" && break; sleep 0.2; done
  grep -q held "$CASE_UNIX/hold.log" || e2e_die "hold.exe did not open $1: $(cat "$CASE_UNIX/hold.log")"
}
release() {
  end_prefix_processes 'hold\.exe'
  wait "$holder" 2>/dev/null
  for _ in $(seq 1 50); do [ -n "$(prefix_pids 'hold\.exe')" ] || break; sleep 0.2; done
}

for foreign in aaa_foreign.inf vt_HeldPackage.inf; do
  echo "-- a held $foreign in the work folder"
  forget_install Foreign "$foreign"
  clear_work_folder
  mkdir -p "$E2E_WORK_UNIX"
  write_inf "$E2E_WORK_UNIX/$foreign" Foreign
  hold "$E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\\$foreign"

  run_command_line "$(vantrel_line "$CASE_WIN\\package.7z")"
  expect_exit 7
  expect_no_reg_key 'HKLM\Software\VantrelTest\Foreign'
  expect_no_reg_key 'HKLM\Software\VantrelTest\HeldPackage'
  expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
  expect_file "$E2E_WORK_UNIX/$foreign" "the held INF, left where it was"

  release
done

# Once nothing holds it, the next run clears the folder and installs.
run_command_line "$(vantrel_line "$CASE_WIN\\package.7z")"
expect_exit 0
expect_installed HeldPackage vt_HeldPackage.txt
expect_no_work_folder

echo "-- the package's payload held open in the system folder"
forget_install HeldTarget vt_HeldTarget.inf vt_HeldTarget.txt
make_simple_package HeldTarget "$CASE_UNIX/target.7z"
echo "an older payload" >"$E2E_SYSTEM32_UNIX/vt_HeldTarget.txt"
hold "$E2E_SYSTEMROOT_WIN\\system32\\vt_HeldTarget.txt"
run_command_line "$(vantrel_line "$CASE_WIN\\target.7z")"
expect_exit 9
expect_event err "Result: not in place: $E2E_SYSTEMROOT_WIN\\system32\\vt_HeldTarget.txt"
expect_eq "payload in system32" "$(cat "$E2E_SYSTEM32_UNIX/vt_HeldTarget.txt")" "an older payload"
expect_no_path "$E2E_INF_UNIX/vt_HeldTarget.inf" "INF copy of an incomplete install"
release
run_command_line "$(vantrel_line "$CASE_WIN\\target.7z")"
expect_exit 0
expect_installed HeldTarget vt_HeldTarget.txt
expect_file "$E2E_INF_UNIX/vt_HeldTarget.inf" "INF copy once the payload is free"

echo "-- the same, the new payload queued for the next restart"
renames_key='HKLM\System\CurrentControlSet\Control\Session Manager'
forget_renames() { wine_run 30 reg delete "$renames_key" /v PendingFileRenameOperations /f >/dev/null 2>&1; }
forget_renames
forget_install InUse vt_InUse.inf vt_InUse.txt
src="$CASE_UNIX/in-use"
mkdir -p "$src"
write_inf "$src/vt_InUse.inf" InUse vt_InUse.txt
printf '\r\n[Vantrel.Test]\r\nInUse=vt_InUse.txt\r\n' >>"$src/vt_InUse.inf"
echo "payload of InUse" >"$src/vt_InUse.txt"
make_package "$src" "$CASE_UNIX/in-use.7z"
echo "an older payload" >"$E2E_SYSTEM32_UNIX/vt_InUse.txt"
hold "$E2E_SYSTEMROOT_WIN\\system32\\vt_InUse.txt"
run_command_line "$(vantrel_line "$CASE_WIN\\in-use.7z")"
expect_exit 3010
expect_event trace "Vantrel 1.0.0: installed; a restart finishes the install (exit code 3010)." \
  "Waiting for the restart: $E2E_SYSTEMROOT_WIN\\system32\\vt_InUse.txt"
expect_file "$E2E_INF_UNIX/vt_InUse.inf" "INF copy of an install a restart finishes"
expect_reg_value 'HKLM\Software\VantrelTest\InUse' Installed InUse
release
forget_renames
rm -f "$E2E_SYSTEM32_UNIX"/vt*.tmp
e2e_finish
