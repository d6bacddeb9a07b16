#!/usr/bin/env bash
# The receipt a good install writes for the detection rules: version 1 of an
# INF, then version 2 of the same INF (the receipt's Version and
# PackageSHA256 follow, the event says what it replaced), a version whose
# receipt cannot be written (6: version 2's INF copy, byte for byte, and
# receipt stay), a version 3 that fails (version 2's receipt stays as it
# was), version 1's uninstall command (19: version 2 stays), version 2's by
# the INF's 8.3 name (the receipt goes with the INF copy), and a receipt
# whose copy is gone (18: the receipt goes).
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir receipt
key='HKLM\SOFTWARE\Vantrel\Packages\vt_Receipt.inf'
forget_install Receipt vt_Receipt.inf
reg_delete_key "$key"

# The same INF name, its DriverVer the only difference; version 3 copies a
# file the package lacks, so it is not installed (8).
make_version() {  # <version> [--broken]
  local src="$CASE_UNIX/v$1"
  mkdir -p "$src"
  if [ "${2:-}" = --broken ]; then
    write_inf "$src/vt_Receipt.inf" Receipt missing.txt
  else
    write_inf "$src/vt_Receipt.inf" Receipt
  fi
  sed -i "s|^\(Signature=[^\r]*\)\r\$|\1\r\nDriverVer=01/02/2025,$1\r|" "$src/vt_Receipt.inf"
  printf '\r\n[DefaultUninstall]\r\nDelReg=Vt.DelReg\r\n\r\n[Vt.DelReg]\r\nHKLM,"Software\\VantrelTest\\Receipt"\r\n' \
    >>"$src/vt_Receipt.inf"
  if [ "${2:-}" = --broken ]; then
    make_package_by_hand "$src" "$CASE_UNIX/v$1.7z"
  else
    make_package "$src" "$CASE_UNIX/v$1.7z"
  fi
}
expect_receipt() {  # <version> <package unix path>
  expect_reg_value "$key" Version "$1"
  expect_reg_value "$key" DriverDate 2025-01-02
  expect_reg_value "$key" PackageSHA256 "$(sha256sum "$2" | cut -d' ' -f1)"
  expect_reg_value "$key" InfSHA256 "$(sha256sum "$E2E_INF_UNIX/vt_Receipt.inf" | cut -d' ' -f1)"
  expect_reg_value "$key" Package "$CASE_WIN\\$(basename "$2")"
  expect_reg_value "$key" ExitCode 0x0
  if reg_value "$key" InstalledAt | grep -qE '^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}Z$'; then
    pass "InstalledAt is a UTC time"
  else
    fail "InstalledAt is not a UTC time: $(reg_value "$key" InstalledAt)"
  fi
}

echo "-- version 1"
make_version 1.0.0.0
run_command_line "$(vantrel_line "$CASE_WIN\\v1.0.0.0.7z")"
expect_exit 0
expect_receipt 1.0.0.0 "$CASE_UNIX/v1.0.0.0.7z"
expect_event trace "Version: 1.0.0.0, DriverDate 2025-01-02" \
  "Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\vt_Receipt.inf written; there was none before"

echo "-- version 2 over it"
make_version 2.0.0.0
run_command_line "$(vantrel_line "$CASE_WIN\\v2.0.0.0.7z")"
expect_exit 0
expect_receipt 2.0.0.0 "$CASE_UNIX/v2.0.0.0.7z"
expect_event trace "written; replaced 1.0.0.0"

echo "-- version 2.5 whose receipt cannot be written: version 2's INF copy and receipt stay"
make_version 2.5.0.0
cp "$E2E_INF_UNIX/vt_Receipt.inf" "$CASE_UNIX/kept-v2.inf"
receipt_security() {  # <SDDL of the receipt key's DACL>
  wine_run 30 "$(win_path "$E2E_DRIVE_C/e2e-tools/hold.exe")" --key \
    'SOFTWARE\Vantrel\Packages\vt_Receipt.inf' "$1" >/dev/null 2>&1 ||
    fail "could not set the receipt key's security to $1"
}
receipt_security 'D:P(A;;KR;;;WD)(A;;SDRCWD;;;BA)'
run_command_line "$(vantrel_line "$CASE_WIN\\v2.5.0.0.7z")"
expect_exit 6
expect_same_file "$E2E_INF_UNIX/vt_Receipt.inf" "$CASE_UNIX/kept-v2.inf" \
  "the INF copy after a receipt that could not be written, and version 2's,"
expect_event err "Failed step: writing the receipt" \
  "INF copy: C:\\windows\\inf\\vt_Receipt.inf put back as it was before the run"
receipt_security 'D:P(A;;KA;;;WD)'
expect_receipt 2.0.0.0 "$CASE_UNIX/v2.0.0.0.7z"

echo "-- version 3 fails"
make_version 3.0.0.0 --broken
run_command_line "$(vantrel_line "$CASE_WIN\\v3.0.0.0.7z")"
expect_exit 8
expect_receipt 2.0.0.0 "$CASE_UNIX/v2.0.0.0.7z"

remove_line() { echo "\"$E2E_INSTALL_WIN\\vantrel-remove.exe\" $1"; }
echo "-- version 1's uninstall command leaves version 2"
run_command_line "$(remove_line "vt_Receipt.inf /package:$(sha256sum "$CASE_UNIX/v1.0.0.0.7z" | cut -d' ' -f1)")"
expect_exit 19
expect_receipt 2.0.0.0 "$CASE_UNIX/v2.0.0.0.7z"
expect_installed Receipt

echo "-- version 2's, by the INF's 8.3 name"
# Wine's cmd has no %~s; dir /x shows the 8.3 name before the long one.
short="$(wine_run 30 cmd /c 'dir /x C:\windows\inf\vt_Receipt.inf' 2>/dev/null | tr -d '\r' |
  awk '$NF == "vt_Receipt.inf" && NF >= 5 { print $(NF - 1) }')"
case "$short" in *"~"*) pass "the INF copy's 8.3 name is $short" ;; *) fail "no 8.3 name for the INF copy: '$short'" ;; esac
run_command_line "$(remove_line "$short /package:$(sha256sum "$CASE_UNIX/v2.0.0.0.7z" | cut -d' ' -f1)")"
expect_exit 0
expect_no_reg_key "$key"
expect_no_path "$E2E_INF_UNIX/vt_Receipt.inf" "the INF copy"
expect_event trace "INF: $short (kept as vt_Receipt.inf)" \
  "Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\vt_Receipt.inf deleted"

echo "-- a receipt whose INF copy is gone"
run_command_line "$(vantrel_line "$CASE_WIN\\v2.0.0.0.7z")"
expect_exit 0
rm -f "$E2E_INF_UNIX/vt_Receipt.inf"
run_command_line "$(remove_line vt_Receipt.inf)"
expect_exit 18
expect_no_reg_key "$key"
expect_event trace "deleted (its INF copy was gone)"
e2e_finish
