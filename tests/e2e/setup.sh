#!/usr/bin/env bash
# Fixture: a fresh Wine prefix for one ctest run, with the syssetup stand-in
# and the test install folder in place.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

wine_arch_note
for tool in gcab 7z timeout unzip; do
  command -v "$tool" >/dev/null 2>&1 || e2e_die "'$tool' is missing (scripts/setup.sh installs it)"
done
for file in "$VANTREL_BUNDLE" "$VANTREL_LAUNCH" "$VANTREL_SYSSETUP" "$VANTREL_PLANTED" "$VANTREL_HOLD"; do
  [ -f "$file" ] || e2e_die "missing $file"
done

owner="$(e2e_prefix_owner)"
if e2e_owner_alive "$owner"; then
  e2e_die "another ctest run (pid $owner) is using $WINEPREFIX; wait for it to end"
fi
# Claimed before the prefix is made, so that no other run throws it away
# half-made.
echo "$PPID" >"$E2E_OWNER_FILE"
# A machine that keeps a ready-made prefix (the emulated one, where a
# wineboot takes half a minute) names it; a copy is the same fresh prefix.
template_var="VANTREL_PREFIX_TEMPLATE_$VANTREL_WINE_ARCH"
if [ -n "${!template_var:-}" ]; then
  echo "copying prefix ${!template_var} to $WINEPREFIX"
else
  echo "creating prefix $WINEPREFIX"
fi
wine_settled_prefix "$WINEPREFIX" || e2e_die "could not make the prefix $WINEPREFIX"
wine_keep_server

sys32="$(winepath_u 'C:\windows\system32')"
[ -d "$sys32" ] || e2e_die "winepath gave no system32 folder ('$sys32')"
cp "$VANTREL_SYSSETUP" "$sys32/syssetup.dll"
mkdir -p "$E2E_DRIVE_C/e2e-tools" "$E2E_DRIVE_C/e2e"
cp "$VANTREL_LAUNCH" "$VANTREL_PLANTED" "$VANTREL_HOLD" "$E2E_DRIVE_C/e2e-tools/"
make_install_folder "$E2E_INSTALL_UNIX"

# The program builds its work folder from %SystemRoot%; ask Wine where that is.
systemroot="$(wine_run 30 cmd.exe /c 'echo %SystemRoot%' | tr -d '\r')"
[ -n "$systemroot" ] || e2e_die "could not read %SystemRoot% in the prefix"
work="$(winepath_u "$systemroot\\Temp\\Vantrel")"
inf="$(winepath_u "$systemroot\\inf")"
[ -n "$work" ] && [ -d "$inf" ] || e2e_die "could not map the work or INF folder ('$work', '$inf')"
cat >"$E2E_PATHS_FILE" <<PATHS
E2E_SYSTEMROOT_WIN='$systemroot'
E2E_WORK_UNIX='$work'
E2E_INF_UNIX='$inf'
E2E_SYSTEM32_UNIX='$sys32'
PATHS
cat "$E2E_PATHS_FILE"

# Proves the stand-in answers before any case relies on it: an INF installed
# through it must reach the registry.
. "$E2E_PATHS_FILE"
case_dir fixture
write_inf "$CASE_UNIX/fixture.inf" Fixture
wine_run 60 rundll32.exe syssetup,SetupInfObjectInstallAction DefaultInstall 128 "$CASE_WIN\\fixture.inf"
if [ "$(reg_value 'HKLM\Software\VantrelTest\Fixture' Installed)" = Fixture ]; then
  pass "the syssetup stand-in installs INFs"
else
  fail "the syssetup stand-in did not install $CASE_WIN\\fixture.inf"
fi
reg_delete_key 'HKLM\Software\VantrelTest\Fixture'
e2e_finish
