#!/usr/bin/env bash
# A package whose full path is longer than 260 characters. Its short form is
# well under that, so it is found and installed like any other. One that
# unpacks to such a path leaves nothing behind that stops the next run.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir long_path
forget_install LongPath vt_LongPath.inf vt_LongPath.txt
clear_work_folder
deep="$CASE_UNIX"
deep_win="$CASE_WIN"
for i in 1 2 3 4 5 6; do
  part="a rather long folder name number $i for the test"
  deep="$deep/$part"
  deep_win="$deep_win\\$part"
done
mkdir -p "$deep"
make_simple_package LongPath "$deep/the package with a long name.7z"
argument="$deep_win\\the package with a long name.7z"
expect_eq "path longer than 260 characters" "$([ ${#argument} -gt 260 ] && echo yes)" yes
run_command_line "$(vantrel_line "\"$argument\"")"
expect_exit 0
expect_installed LongPath vt_LongPath.txt
expect_no_work_folder

forget_install DeepInside vt_DeepInside.inf vt_DeepInside.txt
make_simple_package DeepInside "$CASE_UNIX/deep-inside.7z"
inside="$CASE_UNIX/inside"
entry=docs
for i in 1 2 3 4 5 6; do entry="$entry/a rather long folder name number $i inside the package"; done
mkdir -p "$inside/$entry" "$CASE_UNIX/cwd"
echo "far down" >"$inside/$entry/readme.txt"
(cd "$inside" && 7z a -bd -y "$CASE_UNIX/deep-inside.7z" docs >/dev/null) || e2e_die "7z could not add $entry"
expect_eq "unpacked path longer than 260 characters" "$([ $((24 + ${#entry})) -gt 260 ] && echo yes)" yes
# Wine's shell, given such a path, deletes in the current folder instead.
echo keep >"$CASE_UNIX/cwd/keep.txt"
pushd "$CASE_UNIX/cwd" >/dev/null || e2e_die "no $CASE_UNIX/cwd"
run_command_line "$(vantrel_line "$CASE_WIN\\deep-inside.7z")"
popd >/dev/null || e2e_die "popd"
expect_exit 0
expect_installed DeepInside vt_DeepInside.txt
expect_no_work_folder
expect_file "$CASE_UNIX/cwd/keep.txt" "a file in the current folder of the run"
run_command_line "$(vantrel_line "$CASE_WIN\\deep-inside.7z")"
expect_exit 0
expect_no_work_folder
e2e_finish
