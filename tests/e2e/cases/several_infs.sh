#!/usr/bin/env bash
# Only the first INF found is installed; the others are left alone.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir several_infs
tags=(SeveralA SeveralB SeveralC)
src="$CASE_UNIX/src"
mkdir -p "$src"
for tag in "${tags[@]}"; do
  forget_install "$tag" "vt_$tag.inf"
  write_inf "$src/vt_$tag.inf" "$tag"
done
echo "payload" >"$src/readme.txt"
clear_work_folder
make_package_by_hand "$src" "$CASE_UNIX/several.7z"
run_command_line "$(vantrel_line "$CASE_WIN\\several.7z")"
expect_exit 0
installed=()
copied=()
for tag in "${tags[@]}"; do
  reg_key_exists "HKLM\\Software\\VantrelTest\\$tag" && installed+=("$tag")
  [ -f "$E2E_INF_UNIX/vt_$tag.inf" ] && copied+=("$tag")
done
echo "      installed: ${installed[*]:-none}; copied: ${copied[*]:-none}"
expect_eq "number of INFs installed" "${#installed[@]}" 1
expect_eq "number of INFs copied to the INF folder" "${#copied[@]}" 1
expect_eq "the copied INF is the installed one" "${copied[*]:-}" "${installed[*]:-}"
expect_no_work_folder
e2e_finish
