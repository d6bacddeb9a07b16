#!/usr/bin/env bash
# vantrel-remove.exe from the bundle: the sample installed and removed again
# (its registry value, its file and the INF copy gone, one event); removed
# once more: nothing to remove (13). An INF without DefaultUninstall: 14, the
# copy kept, nothing run. An uninstall that asks on a window station nobody
# sees: declined, 15, the copy kept; one that leaves a file for the next
# restart to delete: 3010, the copy gone. A rundll32.exe planted beside
# vantrel-remove.exe never runs. An install and a removal started together
# do not overlap.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir remove
remove_line() { echo "\"$E2E_INSTALL_WIN\\vantrel-remove.exe\" $1"; }
sample="$VANTREL_ROOT/samples/sample-package"
sample_key='HKLM\Software\Vantrel Sample'

echo "-- the sample, installed and removed"
reg_delete_key "$sample_key"
rm -f "$E2E_SYSTEM32_UNIX/vantrel-sample.txt" "$E2E_INF_UNIX/vantrel-sample.inf" "$E2E_INF_UNIX/vantrel-sample.pnf"
make_package "$sample" "$CASE_UNIX/sample.7z"
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\sample.7z")"
expect_exit 0
expect_reg_value "$sample_key" Installed yes
expect_file "$E2E_INF_UNIX/vantrel-sample.inf" "INF copy after the install"
run_command_line "$(remove_line vantrel-sample.inf)"
expect_exit 0
expect_no_reg_key "$sample_key"
expect_no_path "$E2E_SYSTEM32_UNIX/vantrel-sample.txt" "the sample's file in system32"
expect_no_path "$E2E_INF_UNIX/vantrel-sample.inf" "the INF copy"
expect_eq "events written" "$(grep -c 'ReportEventW L"Vantrel remove' "$CASE_UNIX/output.log")" 1
expect_event trace "Vantrel remove $(cat "$VANTREL_ROOT/CMakeLists.txt" | sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p'): removed (exit code 0)." \
  "INF: vantrel-sample.inf"
run_event trace | sed '/^$/d; s/^/      event: /'

echo "-- removed again, without the .inf"
run_command_line "$(remove_line '"vantrel-sample"')"
expect_exit 13
expect_event trace "nothing to remove (exit code 13)."

echo "-- an INF without DefaultUninstall"
forget_install NoUninstall vt_NoUninstall.inf vt_NoUninstall.txt
make_simple_package NoUninstall "$CASE_UNIX/nouninstall.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\nouninstall.7z")"
expect_exit 0
run_command_line "$(remove_line vt_NoUninstall.inf)"
expect_exit 14
expect_event err "Result: no uninstall section for"
expect_file "$E2E_INF_UNIX/vt_NoUninstall.inf" "INF copy of the INF without DefaultUninstall"
expect_reg_value 'HKLM\Software\VantrelTest\NoUninstall' Installed NoUninstall

echo "-- an uninstall that asks, where nobody can answer"
src="$CASE_UNIX/asks"
mkdir -p "$src"
forget_install AsksOnRemoval vt_AsksOnRemoval.inf
write_inf "$src/vt_AsksOnRemoval.inf" AsksOnRemoval
printf '\r\n[DefaultUninstall]\r\nUnregisterDlls=Vt.Unregister\r\n\r\n[Vt.Unregister]\r\n11,,syssetup.dll,1\r\n' \
  >>"$src/vt_AsksOnRemoval.inf"
make_package "$src" "$CASE_UNIX/asks.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\asks.7z")"
expect_exit 0
E2E_SERVICE_STATION=1 run_command_line "$(remove_line vt_AsksOnRemoval.inf)"
expect_exit 15
expect_event err "Failed step: the INF uninstall" \
  "Result: asked: Vantrel test removal: Remove the Vantrel test component?; nobody can answer an unattended run; declined"
expect_file "$E2E_INF_UNIX/vt_AsksOnRemoval.inf" "INF copy of the INF whose uninstall was declined"
expect_eq "uninstallers left" "$(prefix_pids 'rundll32.*InstallHinfSection.*DefaultUninstall')" ""

echo "-- an uninstall that leaves a file in use for the next restart"
echo "in use" >"$E2E_SYSTEM32_UNIX/vt_InUse.dll"
VANTREL_TEST_DELETE_AT_RESTART="$E2E_SYSTEMROOT_WIN\\system32\\vt_InUse.dll" \
  run_command_line "$(remove_line vt_AsksOnRemoval.inf)"
expect_exit 3010
expect_event trace "removed; a restart finishes the removal (exit code 3010)." \
  "Waiting for the restart: $E2E_SYSTEMROOT_WIN\\system32\\vt_InUse.dll (in use during the uninstall)"
expect_no_path "$E2E_INF_UNIX/vt_AsksOnRemoval.inf" "INF copy once the uninstall ran"
wine_run 30 reg delete 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations /f >/dev/null 2>&1
rm -f "$E2E_SYSTEM32_UNIX/vt_InUse.dll"

echo "-- a rundll32.exe planted beside vantrel-remove.exe"
app="$CASE_UNIX/Downloads"
make_install_folder "$app"
cp "$E2E_DRIVE_C/e2e-tools/planted.exe" "$app/rundll32.exe"
run_command_line "$(vantrel_line "$CASE_WIN\\sample.7z")"
expect_exit 0
run_command_line "\"$(win_path "$app")\\vantrel-remove.exe\" vantrel-sample.inf"
expect_exit 0
expect_no_path "$app/rundll32.exe.ran" "mark of the planted rundll32.exe"
expect_no_reg_key "$sample_key"

echo "-- an install and a removal started together"
src="$CASE_UNIX/slow"
mkdir -p "$src"
forget_install SlowInstall vt_SlowInstall.inf
write_inf "$src/vt_SlowInstall.inf" SlowInstall
printf '\r\n[Vantrel.Test]\r\nDelaySeconds=4\r\n' >>"$src/vt_SlowInstall.inf"
make_package "$src" "$CASE_UNIX/slow.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\sample.7z")"
expect_exit 0
clear_work_folder
(mkdir -p "$CASE_UNIX/install" && CASE_UNIX="$CASE_UNIX/install"
 run_command_line "$(vantrel_line "$CASE_WIN\\slow.7z")" >/dev/null
 echo "$E2E_RC $(date +%s.%N)" >"$CASE_UNIX/result") &
for _ in $(seq 1 100); do [ -n "$(prefix_pids 'rundll32.*vt_SlowInstall')" ] && break; sleep 0.1; done
(mkdir -p "$CASE_UNIX/removal" && CASE_UNIX="$CASE_UNIX/removal"
 run_command_line "$(remove_line vantrel-sample.inf)" >/dev/null
 echo "$E2E_RC $(date +%s.%N)" >"$CASE_UNIX/result") &
wait
read -r install_rc install_end <"$CASE_UNIX/install/result"
read -r removal_rc removal_end <"$CASE_UNIX/removal/result"
expect_eq "exit code of the install" "$install_rc" 0
expect_eq "exit code of the removal" "$removal_rc" 0
expect_eq "the removal ended after the install" \
  "$(awk -v a="$install_end" -v b="$removal_end" 'BEGIN { print (b > a) ? "yes" : "no" }')" yes
expect_reg_value 'HKLM\Software\VantrelTest\SlowInstall' Installed SlowInstall
expect_no_reg_key "$sample_key"
e2e_finish
