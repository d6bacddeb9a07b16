# shellcheck shell=bash
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

# wine_select <win32|win64>: the loader, server and prefix kind for one
# architecture. A win64 prefix also runs 32-bit programs (WoW64) when 32-bit
# Wine works; WINELOADER is set only where it cannot, or the 64-bit loader
# would look for the 32-bit one to start its helpers.
wine_select() {
  case "$1" in
    win32)
      WINE=/usr/lib/wine/wine
      WINESERVER=/usr/lib/wine/wineserver32
      unset WINELOADER
      ;;
    win64)
      WINE=/usr/lib/wine/wine64
      WINESERVER=/usr/lib/wine/wineserver64
      if [ "${VANTREL_WINE_ARCH:-}" = win64 ]; then export WINELOADER=/usr/lib/wine/wine64; else unset WINELOADER; fi
      ;;
    *)
      echo "wine-env.sh: the architecture must be win32 or win64, not '$1'" >&2
      return 1
      ;;
  esac
  [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
  export WINEARCH="$1" WINE WINESERVER
}

# A loader can print its version where every Windows process then dies (QEMU's
# TCG with SMAP kills 32-bit processes in the guest kernel), so the probe runs
# a real Windows program in a scratch prefix. That costs a wineboot (or a
# copy); the verdict is kept for the rest of this boot of this kernel and
# this Wine.
_vantrel_probe_32bit() {
  [ -x /usr/lib/wine/wine ] || { _vantrel_arch_why="no 32-bit Wine loader installed"; return 1; }
  local cache stamp verdict scratch
  cache="${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/vantrel/wine32-probe"
  stamp="$(cat /proc/sys/kernel/random/boot_id 2>/dev/null) $(stat -c %Y.%s /usr/lib/wine/wine)"
  if [ -f "$cache" ] && [ "$(head -n 1 "$cache")" = "$stamp" ]; then
    verdict="$(sed -n 2p "$cache")"
    _vantrel_arch_why="$(sed -n 3p "$cache")"
    [ "$verdict" = yes ]
    return
  fi
  scratch="$(mktemp -d)"
  # A machine that keeps a ready-made win32 prefix saves the wineboot.
  if [ -n "${VANTREL_PREFIX_TEMPLATE_win32:-}" ]; then
    cp -a "$VANTREL_PREFIX_TEMPLATE_win32/." "$scratch/" 2>/dev/null
  fi
  if WINEPREFIX="$scratch" WINEARCH=win32 timeout -k 5 300 /usr/lib/wine/wine cmd /c exit 0 >/dev/null 2>&1; then
    verdict=yes _vantrel_arch_why="32-bit Wine runs cmd.exe"
  else
    verdict=no _vantrel_arch_why="32-bit Wine cannot run a Windows program here (cmd /c exit 0 failed)"
  fi
  WINEPREFIX="$scratch" timeout 30 /usr/lib/wine/wineserver -k >/dev/null 2>&1
  rm -rf "$scratch"
  mkdir -p "$(dirname "$cache")" && printf '%s\n%s\n%s\n' "$stamp" "$verdict" "$_vantrel_arch_why" >"$cache"
  [ "$verdict" = yes ]
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
wine_select "$VANTREL_WINE_ARCH" || { return 1 2>/dev/null || exit 1; }
VANTREL_BUILD="${VANTREL_BUILD:-$VANTREL_ROOT/build/$VANTREL_WINE_ARCH}"
export VANTREL_BUILD

wine_arch_note() {
  echo "wine: $VANTREL_WINE_ARCH ($VANTREL_WINE_ARCH_WHY), loader $WINE, build $VANTREL_BUILD"
}

# wine_run <seconds> <args...>: a Wine command that cannot hang the caller.
wine_run() { timeout -k 5 "$1" "$WINE" "${@:2}"; }
wine_stop() { timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true; }
# wine_keep_server: one server for the prefix, kept until wine_stop; each
# restart would cost seconds (many in an emulated machine). Does nothing when
# a server already runs there.
wine_keep_server() { timeout 30 "$WINESERVER" -p >/dev/null 2>&1 || true; }

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
