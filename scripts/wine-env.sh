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

# wine_settled_prefix <folder>: a new prefix in <folder> (whatever was there
# goes) for the architecture wine_select chose, ready for use: made (or
# copied from the machine's ready-made one, VANTREL_PREFIX_TEMPLATE_<arch>),
# its first server session ended, and one trivial program run in it. Every
# prefix the tests, the demo and the benchmark use comes from here.
#
# Why each step (seen under Wine 8 in prefixes made moments before):
# - In the session wineboot started, a service that an INF creates with
#   CreateService in one process is not found by OpenService from another;
#   in every later session it is. So that session ends (wineserver -w)
#   before anything is installed.
# - The first program started in a new prefix can take about 10 s. The
#   warm-up run here takes that, under a limit meant for it, so that no
#   time limit on the program under test ever includes it.
# - A wineboot once failed on a machine where Wine had just been installed
#   and passed when run again (tests/README.md, "Wine on a fresh machine").
#   A boot that fails is made once more from nothing, after its server is
#   stopped and the half-made prefix deleted; a second failure fails, with
#   both logs on stderr. This covers making the test machine only: nothing
#   the product is asked to do is ever tried twice.
# Leaves the warm-up's server to end on its own; wine_keep_server keeps it.
# The prefix's last file, .vantrel-settled, tells wine_prefix_settled that all
# of this worked: a prefix an interrupted run left half-made lacks it.
wine_settled_prefix() {
  local prefix=$1 logs attempt shown template_var
  logs="$(mktemp -d)"
  template_var="VANTREL_PREFIX_TEMPLATE_$WINEARCH"
  _vantrel_drop_prefix "$prefix"
  if [ -n "${!template_var:-}" ]; then
    # Copied from a prefix whose sessions had all ended when it was saved.
    mkdir -p "$prefix"
    if ! cp -a "${!template_var}/." "$prefix/" 2>"$logs/copy.log"; then
      echo "wine_settled_prefix: could not copy ${!template_var} to $prefix:" >&2
      cat "$logs/copy.log" >&2
      rm -rf "$logs"
      return 1
    fi
  else
    for attempt in 1 2; do
      _vantrel_boot_prefix "$prefix" "$logs/boot$attempt.log" && break
      _vantrel_drop_prefix "$prefix"
      if [ "$attempt" = 1 ]; then
        echo "wine_settled_prefix: making $prefix failed; its server stopped and the half-made prefix deleted, making it once more. The failed wineboot:" >&2
        sed 's/^/  | /' "$logs/boot1.log" >&2
      else
        echo "wine_settled_prefix: making $prefix failed twice ($WINEARCH, $WINE)" >&2
        for shown in 1 2; do
          echo "--- wineboot, attempt $shown:" >&2
          cat "$logs/boot$shown.log" >&2
        done
        rm -rf "$logs"
        return 1
      fi
    done
  fi
  if ! WINEPREFIX="$prefix" timeout -k 5 300 "$WINE" cmd.exe /c exit 0 >"$logs/warm-up.log" 2>&1; then
    echo "wine_settled_prefix: the first program in $prefix (cmd.exe /c exit 0) failed:" >&2
    cat "$logs/warm-up.log" >&2
    rm -rf "$logs"
    return 1
  fi
  rm -rf "$logs"
  touch "$prefix/.vantrel-settled"
}

# wine_prefix_settled <folder>: true for a prefix that wine_settled_prefix
# made to the end, and so may be used again.
wine_prefix_settled() { [ -f "$1/.vantrel-settled" ]; }

# _vantrel_boot_prefix <folder> <log>: one wineboot, then the end of the
# server session it started. Fails unless both worked and the prefix holds
# its registry and system folder.
_vantrel_boot_prefix() {
  local rc
  mkdir -p "$(dirname "$1")"
  WINEPREFIX="$1" timeout -k 5 300 "$WINE" wineboot -i >"$2" 2>&1
  rc=$?
  echo "(wineboot -i exit $rc)" >>"$2"
  [ "$rc" -eq 0 ] || return 1
  WINEPREFIX="$1" timeout 120 "$WINESERVER" -w >>"$2" 2>&1
  rc=$?
  echo "(wineserver -w exit $rc)" >>"$2"
  [ "$rc" -eq 0 ] || return 1
  if [ ! -f "$1/system.reg" ] || [ ! -d "$1/drive_c/windows/system32" ]; then
    echo "(no system.reg or no drive_c/windows/system32 in $1)" >>"$2"
    return 1
  fi
}

# _vantrel_drop_prefix <folder>: ends whatever server still runs there and
# deletes the folder.
_vantrel_drop_prefix() {
  if [ -e "$1" ]; then
    WINEPREFIX="$1" timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
    WINEPREFIX="$1" timeout 30 "$WINESERVER" -w >/dev/null 2>&1 || true
  fi
  rm -rf "$1"
}

# A loader can print its version where every Windows process then dies (QEMU's
# TCG with SMAP kills 32-bit processes in the guest kernel), so the probe runs
# a real Windows program in a scratch prefix, made the way every other prefix
# is (wine_settled_prefix, above). That costs
# a wineboot (or a copy); the verdict is kept for the rest of this boot of
# this kernel and this Wine.
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
  # In a subshell: the caller's Wine selection is not made yet and must not
  # be made here. A settled prefix has run cmd.exe /c exit 0, the program
  # the verdict is about.
  if (wine_select win32 && wine_settled_prefix "$scratch/prefix") >/dev/null 2>&1; then
    verdict=yes _vantrel_arch_why="32-bit Wine runs cmd.exe"
  else
    verdict=no _vantrel_arch_why="32-bit Wine cannot run a Windows program here (no prefix made, or cmd /c exit 0 failed in it)"
  fi
  WINEPREFIX="$scratch/prefix" timeout 30 /usr/lib/wine/wineserver -k >/dev/null 2>&1
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

# fresh_install_prefix <folder>: empties <folder> and makes a new, settled
# prefix in <folder>/prefix that can install INFs (Wine has no syssetup.dll;
# the test stand-in hands the INF to setupapi). Sets WINEPREFIX and DRIVE_C.
fresh_install_prefix() {
  export WINEPREFIX="$1/prefix"
  DRIVE_C="$WINEPREFIX/drive_c"
  wine_stop
  rm -rf "$1"
  mkdir -p "$1"
  wine_settled_prefix "$WINEPREFIX" || return 1
  cp "$VANTREL_BUILD/tests/tools/syssetup.dll" "$DRIVE_C/windows/system32/syssetup.dll"
}
