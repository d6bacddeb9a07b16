#!/usr/bin/env bash
# The form the deployment guide gives Intune and Configuration Manager: the
# tool runs the command in the content folder, which holds vantrel.exe,
# 7z.exe and the package, and names the package without a folder.
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
expect_event trace "Package: mypackage.7z"
expect_no_work_folder
e2e_finish
