# Sourced by the scripts and the end-to-end tests: one place that decides how
# Wine is run here. Prints nothing; call wine_arch_note for a one-line account.
#
# The shipped program is 32-bit, so 32-bit Wine is preferred. Some kernels
# cannot execute 32-bit code at all (no IA-32 emulation), and there the 32-bit
# loader fails before Wine starts; the 64-bit twin of the build runs instead.

VANTREL_ROOT="${VANTREL_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export VANTREL_ROOT

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8

_vantrel_7zip_bin="${VANTREL_7ZIP_BIN:-$VANTREL_ROOT/.tools/7zip-bin-5.2.0}"

# The 32-bit loader printing its version is proof enough that the kernel runs
# 32-bit code: it is an i386 ELF, so it fails with "Exec format error" (and the
# shell then tries it as a script) wherever IA-32 execution is missing.
_vantrel_probe_32bit() {
  [ -x /usr/lib/wine/wine ] || { _vantrel_arch_why="no 32-bit Wine loader installed"; return 1; }
  local out
  out="$(timeout 20 /usr/lib/wine/wine --version 2>/dev/null)" || true
  case "$out" in
    wine-*) _vantrel_arch_why="32-bit Wine runs ($out)"; return 0 ;;
  esac
  _vantrel_arch_why="this kernel cannot execute the 32-bit Wine loader"
  return 1
}

if [ -n "${VANTREL_WINE_ARCH:-}" ]; then
  # Chosen by the caller (or a parent script that already probed).
  _vantrel_arch_why="${VANTREL_WINE_ARCH_WHY:-VANTREL_WINE_ARCH set by the caller}"
elif _vantrel_probe_32bit; then
  VANTREL_WINE_ARCH=win32
else
  VANTREL_WINE_ARCH=win64
fi
VANTREL_WINE_ARCH_WHY="$_vantrel_arch_why"
export VANTREL_WINE_ARCH VANTREL_WINE_ARCH_WHY

case "$VANTREL_WINE_ARCH" in
  win32)
    WINE=/usr/lib/wine/wine
    WINESERVER=/usr/lib/wine/wineserver32
    [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
    SEVENZA="$_vantrel_7zip_bin/win/ia32/7za.exe"
    export WINEARCH=win32
    unset WINELOADER
    ;;
  win64)
    WINE=/usr/lib/wine/wine64
    WINESERVER=/usr/lib/wine/wineserver64
    [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
    SEVENZA="$_vantrel_7zip_bin/win/x64/7za.exe"
    export WINEARCH=win64
    # Without it the 64-bit loader looks for the 32-bit one to start helpers.
    export WINELOADER=/usr/lib/wine/wine64
    ;;
  *)
    echo "wine-env.sh: VANTREL_WINE_ARCH must be win32 or win64, not '$VANTREL_WINE_ARCH'" >&2
    return 1 2>/dev/null || exit 1
    ;;
esac
VANTREL_BUILD="${VANTREL_BUILD:-$VANTREL_ROOT/build/$VANTREL_WINE_ARCH}"
export WINE WINESERVER SEVENZA VANTREL_BUILD

wine_arch_note() {
  echo "wine: $VANTREL_WINE_ARCH ($VANTREL_WINE_ARCH_WHY), loader $WINE, build $VANTREL_BUILD"
}

# wine_run <seconds> <args...>: a Wine command that cannot hang the caller.
wine_run() { timeout -k 5 "$1" "$WINE" "${@:2}"; }
wine_stop() { timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true; }

# fresh_install_prefix <folder>: empties <folder> and makes a new prefix in
# <folder>/prefix that can install INFs (Wine has no syssetup.dll; the test
# stand-in hands the INF to setupapi). Sets WINEPREFIX and DRIVE_C.
fresh_install_prefix() {
  export WINEPREFIX="$1/prefix"
  DRIVE_C="$WINEPREFIX/drive_c"
  wine_stop
  rm -rf "$1"
  mkdir -p "$1"
  wine_run 300 wineboot -i >/dev/null 2>&1
  cp "$VANTREL_BUILD/tests/tools/syssetup.dll" "$DRIVE_C/windows/system32/syssetup.dll"
}
