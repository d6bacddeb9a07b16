#!/usr/bin/env bash
# What ships: a program of the right machine type and subsystem that imports
# only system DLLs and carries its manifest (supported systems; administrator
# rights for the GUI programs, which change the system, the invoker's for the
# console package builder) and its version resource under its own file name.
# The GUI programs write the run's event and carry its message table.
# Usage: check-binary.sh <vantrel.exe> <i686|x86_64> [console]
set -uo pipefail
exe=$1 arch=$2 subsystem=${3:-GUI}
failures=0
check() {  # <what> <command...>
  local what=$1
  shift
  if "$@"; then echo "ok:   $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

kind="$(file -b "$exe")"
echo "file: $kind"
if [ "$arch" = i686 ]; then
  check "PE32 $subsystem executable for Intel 80386" grep -q "^PE32 executable ($subsystem) Intel 80386" <<<"$kind"
  objdump=i686-w64-mingw32-objdump
else
  check "PE32+ $subsystem executable for x86-64" grep -q "^PE32+ executable ($subsystem) x86-64" <<<"$kind"
  objdump=x86_64-w64-mingw32-objdump
fi

imports="$("$objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort -u | tr '\n' ' ')"
echo "imports: $imports"
check "imports only system DLLs" bash -c '
  for dll in $1; do
    case "${dll,,}" in kernel32.dll|user32.dll|msvcrt.dll) ;; *) exit 1 ;; esac
  done' _ "$imports"
# The installer's declared path call is bound on its first use, as its other
# libraries' entries are, not imported.
check "GetShortPathNameW bound at run time, not imported" \
  bash -c '! "$1" -p "$2" | grep -qw GetShortPathNameW' _ "$objdump" "$exe"

if [ "$subsystem" = console ]; then level=asInvoker; else level=requireAdministrator; fi
check "manifest asks for $level" grep -q "level=\"$level\"" "$exe"
check "manifest lists Windows 10 among the supported systems" \
  grep -q '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' "$exe"
# The version strings are UTF-16: each key is followed by its value.
check "version resource names the product Vantrel" \
  bash -c 'strings -el "$1" | grep -A1 -x ProductName | grep -qx Vantrel' _ "$exe"
check "version resource names the file $(basename "$exe")" \
  bash -c 'strings -el "$1" | grep -A1 -x OriginalFilename | grep -qx "$(basename "$1")"' _ "$exe"
check "version resource carries the project's version $VANTREL_VERSION" \
  bash -c 'strings -el "$1" | grep -A1 -x ProductVersion | grep -qx "$2"' _ "$exe" "$VANTREL_VERSION"

if [ "$subsystem" = GUI ]; then
  # Event Viewer reads the text of each run's event from here: one message
  # for each exit code of both programs (0 to 9, 11 to 16, 3010), each
  # showing all 32 strings of an event.
  check "message table with a text for each exit code" \
    bash -c '[ "$(strings -el "$1" | grep -c "^%1%n%2.*%n%32")" -ge 17 ]' _ "$exe"
fi

echo "$failures failed"
[ "$failures" -eq 0 ]
