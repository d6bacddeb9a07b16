#!/usr/bin/env bash
# Package paths with Cyrillic and CJK characters, outside the Western code
# page the Wine process runs with: found, unpacked and installed.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir non_ansi_paths
for tag in Cyrillic Cjk; do forget_install "$tag" "vt_$tag.inf" "vt_$tag.txt"; done

acp="$(wine_run 30 reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP | tr -d '\r' | awk '/ACP/ { print $3 }')"
expect_eq "ANSI code page of the Wine process" "$acp" 1252

clear_work_folder
mkdir -p "$CASE_UNIX/Пакеты драйверов"
make_simple_package Cyrillic "$CASE_UNIX/Пакеты драйверов/драйвер.7z"
run_command_line "$(vantrel_line "\"$CASE_WIN\\Пакеты драйверов\\драйвер.7z\"")"
expect_exit 0
expect_installed Cyrillic vt_Cyrillic.txt
expect_file "$E2E_INF_UNIX/vt_Cyrillic.inf" "INF copy in the INF folder"
expect_no_work_folder

mkdir -p "$CASE_UNIX/软件包"
make_simple_package Cjk "$CASE_UNIX/软件包/驱动程序 包.7z"
# Unquoted, blanks and all: the whole argument is one path.
run_command_line "$(vantrel_line "$CASE_WIN\\软件包\\驱动程序 包.7z")"
expect_exit 0
expect_installed Cjk vt_Cjk.txt
expect_no_work_folder
e2e_finish
