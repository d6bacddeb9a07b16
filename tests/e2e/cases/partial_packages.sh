#!/usr/bin/env bash
# Packages that lack one of the two expansions: 7-Zip ends with an error for
# a wildcard that matches nothing, which must not count as a failed unpack.
# One INF alone (no cabinet), and a plain INF with a cabinet (no .in_).
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir partial_packages
forget_install OnlyInf vt_OnlyInf.inf
forget_install PlainInf vt_PlainInf.inf vt_PlainInf.txt

mkdir -p "$CASE_UNIX/only" "$CASE_UNIX/plain"
write_inf "$CASE_UNIX/only/vt_OnlyInf.inf" OnlyInf
make_package "$CASE_UNIX/only" "$CASE_UNIX/only.7z"
expect_eq "cabinets in the INF-only package" "$(7z l "$CASE_UNIX/only.7z" | grep -c '\.cab$')" 0

write_inf "$CASE_UNIX/plain/vt_PlainInf.inf" PlainInf vt_PlainInf.txt
echo "payload of PlainInf" >"$CASE_UNIX/plain/vt_PlainInf.txt"
(cd "$CASE_UNIX/plain" && gcab -c -z payload.cab vt_PlainInf.txt &&
  7z a -t7z -bd -y "$CASE_UNIX/plain.7z" vt_PlainInf.inf payload.cab >/dev/null) ||
  e2e_die "could not make plain.7z"

clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\only.7z")"
expect_exit 0
expect_installed OnlyInf
expect_file "$E2E_INF_UNIX/vt_OnlyInf.inf" "INF copy of the INF-only package"

run_command_line "$(vantrel_line "$CASE_WIN\\plain.7z")"
expect_exit 0
expect_installed PlainInf vt_PlainInf.txt
expect_file "$E2E_INF_UNIX/vt_PlainInf.inf" "INF copy of the package with a plain INF"
expect_no_work_folder
e2e_finish
