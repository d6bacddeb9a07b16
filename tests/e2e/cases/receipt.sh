#!/usr/bin/env bash
# The receipt a good install writes for the detection rules: version 1 of an
# INF, then version 2 of the same INF (the receipt's Version and
# PackageSHA256 follow, the event says what it replaced), a version 3 that
# fails (version 2's receipt stays as it was), and the removal (the receipt
# goes with the INF copy).
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

echo "-- version 3 fails"
make_version 3.0.0.0 --broken
run_command_line "$(vantrel_line "$CASE_WIN\\v3.0.0.0.7z")"
expect_exit 8
expect_receipt 2.0.0.0 "$CASE_UNIX/v2.0.0.0.7z"

echo "-- removed"
run_command_line "\"$E2E_INSTALL_WIN\\vantrel-remove.exe\" vt_Receipt.inf"
expect_exit 0
expect_no_reg_key "$key"
expect_event trace "Receipt: HKLM\\SOFTWARE\\Vantrel\\Packages\\vt_Receipt.inf deleted"
e2e_finish
