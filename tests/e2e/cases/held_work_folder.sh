#!/usr/bin/env bash
# Anyone may make folders in the system's Temp folder. A work folder made
# beforehand, with an INF in it that another process keeps open, cannot be
# emptied: the run stops with exit 7, and neither that INF nor the package
# is installed or copied. Also when the held INF has the package's own name,
# so that 7-Zip could not overwrite it.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir held_work_folder
forget_install HeldPackage vt_HeldPackage.inf vt_HeldPackage.txt
make_simple_package HeldPackage "$CASE_UNIX/package.7z"
infs_before="$(list_inf_folder)"

for foreign in aaa_foreign.inf vt_HeldPackage.inf; do
  echo "-- a held $foreign in the work folder"
  forget_install Foreign "$foreign"
  clear_work_folder
  mkdir -p "$E2E_WORK_UNIX"
  write_inf "$E2E_WORK_UNIX/$foreign" Foreign
  wine_run 120 "$(win_path "$E2E_DRIVE_C/e2e-tools/hold.exe")" \
    "$E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\\$foreign" 100 >"$CASE_UNIX/hold.log" 2>&1 &
  holder=$!
  for _ in $(seq 1 100); do grep -q held "$CASE_UNIX/hold.log" && break; sleep 0.2; done
  grep -q held "$CASE_UNIX/hold.log" || e2e_die "hold.exe did not open the INF: $(cat "$CASE_UNIX/hold.log")"

  run_command_line "$(vantrel_line "$CASE_WIN\\package.7z")"
  expect_exit 7
  expect_no_reg_key 'HKLM\Software\VantrelTest\Foreign'
  expect_no_reg_key 'HKLM\Software\VantrelTest\HeldPackage'
  expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
  expect_file "$E2E_WORK_UNIX/$foreign" "the held INF, left where it was"

  pkill -f 'hold\.exe' 2>/dev/null
  wait "$holder" 2>/dev/null
  for _ in $(seq 1 50); do pgrep -f 'hold\.exe' >/dev/null || break; sleep 0.2; done
done

# Once nothing holds it, the next run clears the folder and installs.
run_command_line "$(vantrel_line "$CASE_WIN\\package.7z")"
expect_exit 0
expect_installed HeldPackage vt_HeldPackage.txt
expect_no_work_folder
e2e_finish
