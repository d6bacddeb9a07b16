#!/usr/bin/env bash
# An INF that adds a service: the INF installer creates it, the check after
# the installer finds it (exit 0), and its registry entries are in place.
# In the server session wineboot starts, Wine's OpenService does not find a
# service another process created there, and this install ends with exit 9
# although it landed; the fixture's prefix is used only after that session,
# so this case also fails if the fixture stops settling its prefix.
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
e2e_need_prefix
case_dir service
key='HKLM\System\CurrentControlSet\Services\VtService'
# A service left by an earlier run of this case in the same prefix goes.
wine_run 30 sc.exe delete VtService >/dev/null 2>&1
forget_install Service vt_Service.inf vt_service.exe
expect_no_reg_key "$key"

src="$CASE_UNIX/src"
mkdir -p "$src"
sed 's/$/\r/' >"$src/vt_Service.inf" <<'INF'
[Version]
Signature="$Windows NT$"

[DefaultInstall]
CopyFiles=Vt.Files

[DefaultInstall.Services]
AddService=VtService,,Vt.Service

[DefaultUninstall]
DelFiles=Vt.Files

[DefaultUninstall.Services]
DelService=VtService

[Vt.Service]
DisplayName="Vantrel test service"
ServiceType=0x10
StartType=3
ErrorControl=1
ServiceBinary=%11%\vt_service.exe

[Vt.Files]
vt_service.exe

[DestinationDirs]
Vt.Files=11

[SourceDisksNames]
1="Vantrel test disk",,,i386

[SourceDisksFiles]
vt_service.exe=1
INF
# Any program serves as the service's binary: the service is never started.
cp "$VANTREL_HOLD" "$src/vt_service.exe"
make_package "$src" "$CASE_UNIX/service.7z"

clear_work_folder
run_command_line "$(vantrel_line "$CASE_WIN\\service.7z")"
expect_exit 0
expect_event trace "Vantrel 1.0.0: installed (exit code 0)." "Package: $CASE_WIN\\service.7z"
expect_reg_value "$key" ImagePath "$E2E_SYSTEMROOT_WIN\\system32\\vt_service.exe"
expect_reg_value "$key" Start 0x3
expect_same_file "$E2E_SYSTEM32_UNIX/vt_service.exe" "$src/vt_service.exe" "service binary in system32 and in the package"
expect_file "$E2E_INF_UNIX/vt_Service.inf" "INF copy in the INF folder"
expect_no_work_folder
e2e_finish
