#!/usr/bin/env bash
# Two installs started at once share one work folder; the system-wide mutex
# makes the second wait, so both must succeed in full.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir concurrent
for tag in ConcurrentA ConcurrentB; do
  forget_install "$tag" "vt_$tag.inf" "vt_$tag.txt"
  make_simple_package "$tag" "$CASE_UNIX/$tag.7z"
done
clear_work_folder
# A wineserver already up keeps both starts equally quick.
wine_run 30 cmd.exe /c exit 0

for tag in ConcurrentA ConcurrentB; do
  (mkdir -p "$CASE_UNIX/$tag" && CASE_UNIX="$CASE_UNIX/$tag"
   run_command_line "$(vantrel_line "$CASE_WIN\\$tag.7z")" >"$CASE_UNIX/report.txt"
   echo "$E2E_RC" >"$CASE_UNIX/rc") &
done
wait
for tag in ConcurrentA ConcurrentB; do
  cat "$CASE_UNIX/$tag/report.txt"
  expect_eq "exit code of the $tag run" "$(cat "$CASE_UNIX/$tag/rc" 2>/dev/null)" 0
  expect_installed "$tag" "vt_$tag.txt"
  expect_file "$E2E_INF_UNIX/vt_$tag.inf" "INF copy of $tag in the INF folder"
done
expect_no_work_folder
e2e_finish
