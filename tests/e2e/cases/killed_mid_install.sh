#!/usr/bin/env bash
# A deployment tool kills vantrel.exe at its time limit while the INF
# installer is still busy (the syssetup stand-in waits ten minutes before it
# installs, as its INF asks). The installer must end with it, not live on
# holding the work folder, and the next run must install.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir killed_mid_install
forget_install Hangs vt_Hangs.inf
forget_install AfterKill vt_AfterKill.inf vt_AfterKill.txt
mkdir -p "$CASE_UNIX/hangs"
write_inf "$CASE_UNIX/hangs/vt_Hangs.inf" Hangs
printf '\r\n[Vantrel.Test]\r\nDelaySeconds=600\r\n' >>"$CASE_UNIX/hangs/vt_Hangs.inf"
make_package "$CASE_UNIX/hangs" "$CASE_UNIX/hangs.7z"
make_simple_package AfterKill "$CASE_UNIX/after.7z"

# Wine shows each Windows process's own command line as its Unix one.
installer_pids() { prefix_pids 'rundll32.*SetupInfObjectInstallAction.*vt_Hangs'; }
vantrel_pids() { prefix_pids 'vantrel\.exe.*hangs\.7z'; }

clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\hangs.7z")" >"$CASE_UNIX/run.log" &
runner=$!
for _ in $(seq 1 150); do [ -n "$(installer_pids)" ] && break; sleep 0.2; done
if [ -z "$(installer_pids)" ]; then
  fail "the INF installer never started"
else
  pass "the INF installer runs and is busy (pid $(installer_pids | tr '\n' ' '))"
  sleep 1
  expect_eq "the installer still runs a second later" "$([ -n "$(installer_pids)" ] && echo yes)" yes
  victim="$(vantrel_pids)"
  [ -n "$victim" ] || e2e_die "no vantrel.exe process to kill"
  kill -KILL $victim
  for _ in $(seq 1 50); do [ -z "$(installer_pids)" ] && break; sleep 0.2; done
  expect_eq "installer processes 10 s after vantrel.exe was killed" "$(installer_pids)" ""
fi
wait "$runner"
# Never leave a spinning installer behind for the next cases.
end_prefix_processes KILL 'rundll32.*vt_Hangs'

run_command_line "$(vantrel_line "$CASE_WIN\\after.7z")"
expect_exit 0
expect_installed AfterKill vt_AfterKill.txt
expect_no_reg_key 'HKLM\Software\VantrelTest\Hangs'
expect_no_work_folder
e2e_finish
