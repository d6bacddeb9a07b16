#!/usr/bin/env bash
# The shipped 32-bit program on 64-bit Windows (a win64 prefix, WoW64):
# installs the sample package and checks where its effects land. The
# expectations are what Wine 8's WoW64 was seen to do: the 32-bit rundll32
# runs (the one 32-bit processes find through the redirected system folder),
# so the INF engine is the 32-bit one; its HKLM\Software value goes to
# HKLM\Software\Wow6432Node and its system-folder (11) file to syswow64.
# Nothing lands in the 64-bit places, but Vantrel's own receipt. A package
# whose INF has a section for 64-bit Windows is refused (8).
. "$(dirname "${BASH_SOURCE[0]}")/../lib.sh"
[ "$VANTREL_WINE_ARCH" = win32 ] || e2e_die "this case runs the 32-bit build, not $VANTREL_WINE_ARCH"
[ -x /usr/lib/wine/wine64 ] || e2e_die "64-bit Wine is missing (scripts/setup.sh installs it)"

# A prefix of its own: the shared one is 32-bit.
wine_select win64
export WINEPREFIX="$VANTREL_E2E_DIR/wow64/prefix"
E2E_DRIVE_C="$WINEPREFIX/drive_c"
trap wine_stop EXIT
wine_stop
rm -rf "$VANTREL_E2E_DIR/wow64"
wine_settled_prefix "$WINEPREFIX" || e2e_die "could not make a win64 prefix"
wine_keep_server
windows="$E2E_DRIVE_C/windows"
[ -d "$windows/syswow64" ] || e2e_die "the win64 prefix has no syswow64 folder: no WoW64 here"

# The only INF engine offered is 32-bit, in the 32-bit system folder; a 64-bit
# rundll32 could not load it.
cp "$VANTREL_SYSSETUP" "$windows/syswow64/syssetup.dll"
mkdir -p "$E2E_DRIVE_C/e2e-tools"
cp "$VANTREL_LAUNCH" "$E2E_DRIVE_C/e2e-tools/launch.exe"
# shellcheck disable=SC2034  # read by vantrel_line in lib.sh
E2E_INSTALL_WIN='C:\Program Files (x86)\Vantrel'
make_install_folder "$E2E_DRIVE_C/Program Files (x86)/Vantrel"
case_dir wow64
# The bundle's own vantrel-pack.exe makes the package, in this win64 prefix
# as the program runs. The sample's INF installs in a blink; the test INF
# engine holds it a second, so that the watcher below, which samples every
# 10 ms beside the rest of the machine's work, cannot miss the rundll32.
cp -r "$VANTREL_ROOT/samples/sample-package" "$CASE_UNIX/sample-source"
printf '\r\n[Vantrel.Test]\r\nDelaySeconds=1\r\n' >>"$CASE_UNIX/sample-source/vantrel-sample.inf"
(VANTREL_WINE_ARCH=win64 make_package "$CASE_UNIX/sample-source" "$CASE_UNIX/sample.7z")

# Which rundll32 ran is read off the running process: the Unix loader that
# executes it and the rundll32.exe it maps.
watch_rundll32() {  # <report file> <stop file>
  local pid exe maps
  while [ ! -e "$2" ]; do
    for pid in $(prefix_pids 'rundll32 syssetup'); do
      # Followed until it has mapped its rundll32.exe or ended: caught early,
      # a process has not mapped it yet. A process caught while it ends has
      # no loader any more; that sighting is dropped.
      while exe="$(readlink "/proc/$pid/exe" 2>/dev/null)"; do
        echo "loader $exe"
        maps="$(grep -i -o '[^ ]*rundll32\.exe$' "/proc/$pid/maps" 2>/dev/null)"
        if [ -n "$maps" ]; then
          echo "$maps" | sed 's/^/mapped /'
          break
        fi
      done
    done
    sleep 0.01
  done | sort -u >"$1"
}
watch_rundll32 "$CASE_UNIX/rundll32.txt" "$CASE_UNIX/stop" &
watcher=$!
run_command_line "$(vantrel_line "$CASE_WIN\\sample.7z")"
touch "$CASE_UNIX/stop"
wait "$watcher"
for view in 64 32; do
  echo "the receipt, as reg query /reg:$view prints it:"
  wine_run 30 reg query 'HKLM\SOFTWARE\Vantrel\Packages\vantrel-sample.inf' "/reg:$view" 2>&1 |
    tr -d '\r' | sed 's/^/      /'
done
# The server writes the registry to its files when it ends.
wine_stop
trap - EXIT

expect_exit 0
expect_event trace "WoW64: the 32-bit INF installer ran this INF on 64-bit Windows, so its registry values under HKLM\\Software went to HKLM\\Software\\Wow6432Node and its system files to SysWOW64; the 64-bit bundle installs into the 64-bit registry and System32."
echo "observed rundll32:"
sed 's/^/      /' "$CASE_UNIX/rundll32.txt"
# The 32-bit loader may be caught before or after it hands over to its
# preloader; a 64-bit one (wine64, wine64-preloader) must never be seen.
loaders="$(sed -n 's/^loader //p' "$CASE_UNIX/rundll32.txt" | paste -sd ' ')"
if [ -z "$loaders" ]; then
  fail "no Unix loader seen running rundll32"
elif grep -qvxE '/usr/lib/wine/wine(-preloader)?' < <(sed -n 's/^loader //p' "$CASE_UNIX/rundll32.txt"); then
  fail "rundll32 ran under a loader other than the 32-bit one: $loaders"
else
  pass "rundll32 ran under the 32-bit Wine loader ($loaders)"
fi
if grep -q '^mapped .*/i386-windows/rundll32\.exe$' "$CASE_UNIX/rundll32.txt"; then
  pass "the rundll32.exe that ran is the 32-bit one"
else
  fail "no 32-bit rundll32.exe seen mapped"
fi

# HKLM lives in system.reg; keys are written with doubled backslashes.
reg_file_value() {  # <key under HKLM, single backslashes> <value name>
  awk -v header="[${1//\\/\\\\\\\\}]" -v name="\"$2\"=" '
    index($0, "[") == 1 { inside = (index($0, header) == 1) }
    inside && index($0, name) == 1 { print substr($0, length(name) + 1); found = 1 }
    END { exit !found }' "$WINEPREFIX/system.reg"
}
expect_eq 'HKLM\Software\Wow6432Node\Vantrel Sample [Installed]' \
  "$(reg_file_value 'Software\Wow6432Node\Vantrel Sample' Installed)" '"yes"'
expect_eq 'HKLM\Software\Vantrel Sample [Installed] (64-bit view)' \
  "$(reg_file_value 'Software\Vantrel Sample' Installed)" ''
# The receipt is Vantrel's own, in the native view the tools' rules read,
# not where the 32-bit INF installer's values went.
expect_eq 'HKLM\Software\Vantrel\Packages\vantrel-sample.inf [Version] (64-bit view)' \
  "$(reg_file_value 'Software\Vantrel\Packages\vantrel-sample.inf' Version)" '"1.0.0.0"'
expect_eq 'HKLM\Software\Wow6432Node\Vantrel\Packages\vantrel-sample.inf [Version]' \
  "$(reg_file_value 'Software\Wow6432Node\Vantrel\Packages\vantrel-sample.inf' Version)" ''
expect_file "$windows/syswow64/vantrel-sample.txt" "payload in syswow64"
expect_no_path "$windows/system32/vantrel-sample.txt" "payload in system32 (64-bit)"
expect_file "$windows/inf/vantrel-sample.inf" "INF copy in C:\\windows\\inf"
expect_no_path "$windows/temp/Vantrel" "work folder C:\\windows\\Temp\\Vantrel"

echo "-- a package whose INF has a section for 64-bit Windows: the 32-bit bundle refuses it"
trap wine_stop EXIT
src="$CASE_UNIX/amd64"
mkdir -p "$src"
write_inf "$src/vt_Amd64.inf" Amd64
printf '\r\n[DefaultInstall.NTamd64]\r\nAddReg=Vt.AddReg\r\n' >>"$src/vt_Amd64.inf"
(VANTREL_WINE_ARCH=win64 make_package "$src" "$CASE_UNIX/amd64.7z")
run_command_line "$(vantrel_line "$CASE_WIN\\amd64.7z")"
expect_exit 8
expect_event err "Result: the INF has an install section for 64-bit Windows ([DefaultInstall.NTamd64]), which this 32-bit Vantrel cannot install: install the package with the 64-bit bundle, vantrel-$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$VANTREL_ROOT/CMakeLists.txt")-win64"
expect_no_path "$windows/inf/vt_Amd64.inf" "INF copy of the refused package"
wine_stop
trap - EXIT

# A passing run leaves no prefix behind (VANTREL_E2E_KEEP=1 keeps it).
if [ "$E2E_FAILURES" -eq 0 ] && [ "${VANTREL_E2E_KEEP:-0}" != 1 ]; then
  rm -rf "$VANTREL_E2E_DIR/wow64"
fi
e2e_finish
