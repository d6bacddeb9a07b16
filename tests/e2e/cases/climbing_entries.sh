#!/usr/bin/env bash
# An archive whose entries climb out of their folder ("..\..\x", absolute
# paths): 7-Zip keeps everything inside the work folder, nothing lands
# outside it, and the package's real INF is still installed.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir climbing_entries
forget_install Climb vt_Climb.inf vt_Climb.txt
clear_work_folder
src="$CASE_UNIX/src"
mkdir -p "$src"
write_inf "$src/vt_Climb.inf" Climb vt_Climb.txt
echo "payload of Climb" >"$src/vt_Climb.txt"
make_package "$src" "$CASE_UNIX/plain.7z"
mkdir -p "$CASE_UNIX/plain"
(cd "$CASE_UNIX/plain" && 7z x -y "$CASE_UNIX/plain.7z" >/dev/null)

# A zip (7-Zip reads it whatever its name) with the package's files plus
# entries that try to leave the extraction folder. The entries are marked as
# made on Windows, so "\" is a separator in them as it would be in a hostile
# archive made there.
python3 - "$CASE_UNIX/climbing.7z" "$CASE_UNIX/plain" <<'PY'
import os, sys, zipfile
out, plain = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(out, "w") as archive:
    for name in sorted(os.listdir(plain)):
        archive.write(os.path.join(plain, name), name)
    for name in ["../../vt_climb_up.txt", "..\\..\\..\\vt_climb_back.txt",
                 "/vt_climb_root.txt", "C:\\vt_climb_drive.txt",
                 "C:/windows/vt_climb_windows.txt", "sub/../../../vt_climb_mixed.txt",
                 "\\\\server\\share\\vt_climb_unc.txt"]:
        entry = zipfile.ZipInfo(name)
        entry.create_system = 0
        archive.writestr(entry, "escaped\n")
PY
expect_eq "climbing entries in the archive" "$(7z l "$CASE_UNIX/climbing.7z" | grep -c vt_climb_)" 7
run_command_line "$(vantrel_line "$CASE_WIN\\climbing.7z")"
expect_exit 0
expect_installed Climb vt_Climb.txt
expect_no_work_folder
escaped="$(find "$WINEPREFIX" -iname 'vt_climb_*' 2>/dev/null)"
expect_eq "files written outside the work folder" "$escaped" ""
e2e_finish
