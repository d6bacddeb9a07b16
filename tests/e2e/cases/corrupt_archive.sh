#!/usr/bin/env bash
# Random bytes named .7z: 7-Zip refuses them, exit 3, nothing left behind,
# and the record carries what 7-Zip said. A password-protected package fails
# at once too: 7-Zip reads end of input where it asks for the password, on a
# window station nobody sees as on any other.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir corrupt_archive
head -c 4096 /dev/urandom >"$CASE_UNIX/corrupt.7z"
clear_work_folder
infs_before="$(list_inf_folder)"
run_command_line "$(vantrel_line "$CASE_WIN\\corrupt.7z")"
expect_exit 3
expect_event err "Failed step: 7-Zip unpacking the package" "$CASE_WIN\\corrupt.7z" "Result: exit code 2" \
  "Output: ERROR: " "Output: Open ERROR: Cannot open the file as [7z] archive"
run_event err | sed 's/^/      event: /'
expect_no_work_folder
expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"

mkdir -p "$CASE_UNIX/secret"
write_inf "$CASE_UNIX/secret/vt_Secret.inf" Secret
(cd "$CASE_UNIX/secret" && 7z a -t7z -bd -y -psecret -mhe=on "$CASE_UNIX/secret.7z" ./* >/dev/null) ||
  e2e_die "7z could not write the protected package"
clear_work_folder
E2E_SERVICE_STATION=1 run_command_line "$(vantrel_line "$CASE_WIN\\secret.7z")"
expect_exit 3
expect_eq "the run ended within 30 s" "$([ "$E2E_SECONDS" -le 30 ] && echo yes || echo "no, ${E2E_SECONDS}s")" yes
expect_event err "Failed step: 7-Zip unpacking the package" "Output: Enter password" "Output: Break signaled"
run_event err | sed 's/^/      event: /'
expect_no_work_folder
expect_eq "INF folder listing" "$(list_inf_folder)" "$infs_before"
e2e_finish
