#!/usr/bin/env bash
# The form the deployment guide gives Intune and Configuration Manager: the
# tool runs the command in the content folder, which holds vantrel.exe,
# 7z.exe and the package, and names the package without a folder. The name
# is made a full path before anything else: the event, the receipt and
# 7-Zip's command line (shown where it fails) name the file itself.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir content_folder
forget_install Content vt_Content.inf vt_Content.txt
make_install_folder "$CASE_UNIX/content"
make_simple_package Content "$CASE_UNIX/content/mypackage.7z"
clear_work_folder
cd "$CASE_UNIX/content" || e2e_die "no content folder"
run_command_line 'vantrel.exe "mypackage.7z"'
expect_exit 0
expect_installed Content vt_Content.txt
content_win="$CASE_WIN\\content"
expect_event trace "Package: $content_win\\mypackage.7z"
expect_reg_value 'HKLM\SOFTWARE\Vantrel\Packages\vt_Content.inf' Package "$content_win\\mypackage.7z"
expect_no_work_folder

head -c 4096 /dev/urandom >"$CASE_UNIX/content/damaged.7z"
run_command_line 'vantrel.exe damaged.7z'
expect_exit 3
# The folders in their 8.3 form where the volume has one.
expect_event err 'x -y -aoa "C:\e2e\' '\content\damaged.7z" -o"C:\windows\Temp\Vantrel"'
e2e_finish
