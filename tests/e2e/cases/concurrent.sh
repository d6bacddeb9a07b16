#!/usr/bin/env bash
# Two installs started at once share one work folder; the system-wide mutex
# makes the second wait, so both must succeed in full. A mutex of that name
# that somebody else made (any process may) is not waited on: the run ends
# at once with 7, nothing installed, the event naming its owner.
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

echo "-- the lock made by another process first"
forget_install ConcurrentA "vt_ConcurrentA.inf" "vt_ConcurrentA.txt"
wine_run 120 "$(win_path "$E2E_DRIVE_C/e2e-tools/hold.exe")" --mutex 'Global\Vantrel.Install' 100 \
  >"$CASE_UNIX/hold.log" 2>&1 &
holder=$!
for _ in $(seq 1 100); do grep -q held "$CASE_UNIX/hold.log" && break; sleep 0.2; done
grep -q held "$CASE_UNIX/hold.log" || e2e_die "hold.exe made no mutex: $(cat "$CASE_UNIX/hold.log")"
started=$SECONDS
run_command_line "$(vantrel_line "$CASE_WIN\\ConcurrentA.7z")"
expect_eq "exit code with a lock somebody else made" "$E2E_RC" 7
if [ $((SECONDS - started)) -le 30 ]; then pass "the run did not wait on that lock"; else fail "the run waited $((SECONDS - started)) s on that lock"; fi
expect_event err "Failed step: taking the install lock" "not by SYSTEM or the administrators"
expect_no_path "$E2E_INF_UNIX/vt_ConcurrentA.inf" "INF copy after a refused lock"
kill "$holder" 2>/dev/null
end_prefix_processes 'hold\.exe'
wait "$holder" 2>/dev/null
e2e_finish
