#!/usr/bin/env bash
# What the INF installer asks. On a window station nobody sees (a SYSTEM
# deployment agent's) nobody can answer: the question is recorded and
# declined, the step fails, the run ends soon and leaves nothing running. A
# progress dialog is no question. On a visible station the question is left
# to the person at the screen.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir questions

# A package whose INF makes the syssetup stand-in ask first.
asking_package() {  # <tag> <what the stand-in asks: Disk|Box|Progress>
  local src="$CASE_UNIX/$1"
  forget_install "$1" "vt_$1.inf" "vt_$1.txt"
  mkdir -p "$src"
  write_inf "$src/vt_$1.inf" "$1" "vt_$1.txt"
  printf '\r\n[Vantrel.Test]\r\nAsk=%s\r\n' "$2" >>"$src/vt_$1.inf"
  echo "payload of $1" >"$src/vt_$1.txt"
  make_package "$src" "$CASE_UNIX/$1.7z"
}
installers_of() { prefix_pids "rundll32.*SetupInfObjectInstallAction.*vt_$1"; }
expect_no_installer() {  # <tag>
  expect_eq "INF installer processes of $1 left" "$(installers_of "$1")" ""
  end_prefix_processes KILL "rundll32.*vt_$1"
}

asking_package AskDisk Disk
asking_package AskBox Box
asking_package Progress Progress
forget_install AfterQuestion vt_AfterQuestion.inf vt_AfterQuestion.txt
make_simple_package AfterQuestion "$CASE_UNIX/after.7z"

export E2E_SERVICE_STATION=1
# setupapi's own disk prompt: declined, the run fails with the installer's
# code well within a minute, and the next run is not held up.
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\AskDisk.7z")"
expect_exit 5
expect_eq "the run ended within 60 s" "$([ "$E2E_SECONDS" -le 60 ] && echo yes || echo "no, ${E2E_SECONDS}s")" yes
expect_event err "Failed step: the INF installer" \
  "Command: rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 $E2E_SYSTEMROOT_WIN\\Temp\\Vantrel\\vt_AskDisk.inf" \
  "Result: asked: Files Needed: " "; nobody can answer an unattended run; declined"
run_event err | sed 's/^/      event: /'
expect_no_installer AskDisk
expect_no_reg_key 'HKLM\Software\VantrelTest\AskDisk'
expect_no_path "$E2E_INF_UNIX/vt_AskDisk.inf" "INF copy after a declined question"
expect_no_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\after.7z")"
expect_exit 0
expect_installed AfterQuestion vt_AfterQuestion.txt

# A message box: its text is in the record.
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\AskBox.7z")"
expect_exit 5
expect_event err "Result: asked: Vantrel test question: Replace the driver that is already installed?; nobody can answer an unattended run; declined"
expect_no_installer AskBox
expect_no_reg_key 'HKLM\Software\VantrelTest\AskBox'

# A dialog with a progress bar, open for 5 s, then the install goes on.
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\Progress.7z")"
expect_exit 0
expect_installed Progress vt_Progress.txt
expect_eq "the run's event names no question" "$(run_event trace | grep -c 'sked')" 0
unset E2E_SERVICE_STATION

# On the visible station (a display, WinSta0) the person answers: the box
# waits. The test then ends the run the way a deployment tool would.
wine_stop
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\AskBox.7z")" xvfb-run -a >"$CASE_UNIX/attended.log" &
runner=$!
for _ in $(seq 1 150); do [ -n "$(installers_of AskBox)" ] && break; sleep 0.2; done
sleep 12
expect_eq "the question is still open 12 s after the installer started" \
  "$([ -n "$(installers_of AskBox)" ] && echo yes)" yes
end_prefix_processes KILL 'vantrel\.exe.*AskBox\.7z'
wait "$runner"
for _ in $(seq 1 50); do [ -z "$(installers_of AskBox)" ] && break; sleep 0.2; done
expect_no_installer AskBox
wine_stop
e2e_finish
