#!/usr/bin/env bash
# A package whose full path is longer than 260 characters. Its short form is
# well under that, so it is found and installed like any other.
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
e2e_finish
