#!/usr/bin/env bash
# The program has no window to show, and must do its whole job both with an
# X display (xvfb-run) and without any.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
command -v xvfb-run >/dev/null 2>&1 || e2e_die "xvfb-run is missing (scripts/setup.sh installs it)"
case_dir display
for mode in Headless Xvfb; do
  forget_install "Display$mode" "vt_Display$mode.inf" "vt_Display$mode.txt"
  make_simple_package "Display$mode" "$CASE_UNIX/$mode.7z"
done

clear_work_folder
(unset DISPLAY WAYLAND_DISPLAY
 run_command_line "$(vantrel_line "$CASE_WIN\\Headless.7z")"
 exit "$E2E_RC")
E2E_RC=$?
expect_exit 0
expect_installed DisplayHeadless vt_DisplayHeadless.txt
expect_file "$E2E_INF_UNIX/vt_DisplayHeadless.inf" "INF copy in the INF folder (no display)"
expect_no_work_folder

# A wineserver started without a display would keep serving the headless
# desktop; the display run gets its own.
wine_stop
clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\Xvfb.7z")" xvfb-run -a
expect_exit 0
expect_installed DisplayXvfb vt_DisplayXvfb.txt
expect_file "$E2E_INF_UNIX/vt_DisplayXvfb.inf" "INF copy in the INF folder (with display)"
expect_no_work_folder
wine_stop
e2e_finish
