# Shared by the end-to-end cases: runs the real vantrel.exe under Wine in a
# throwaway prefix and checks what it leaves on the machine.
#
# The CMake side passes, through the environment:
#   VANTREL_BUNDLE      the release bundle (zip) the cases install from
#   VANTREL_LAUNCH, VANTREL_SYSSETUP, VANTREL_PLANTED, VANTREL_HOLD  the test tools
#   VANTREL_WINE_ARCH   win32|win64, the architecture those files were built for
#   VANTREL_E2E_DIR     where the prefix lives (under the build folder)
# shellcheck shell=bash

set -uo pipefail

E2E_SOURCE_DIR="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
VANTREL_ROOT="${VANTREL_ROOT:-$(cd "$E2E_SOURCE_DIR/../.." && pwd)}"
export VANTREL_ROOT

E2E_FAILURES=0
E2E_CHECKS=0

e2e_die() { echo "ERROR: $*" >&2; exit 2; }
e2e_skip() { echo "SKIPPED: $*"; exit 77; }

for var in VANTREL_BUNDLE VANTREL_LAUNCH VANTREL_SYSSETUP VANTREL_PLANTED VANTREL_HOLD \
           VANTREL_E2E_DIR VANTREL_WINE_ARCH; do
  [ -n "${!var:-}" ] || e2e_die "$var is not set (run the cases through ctest)"
done

# The files under test decide the architecture; the probe in wine-env.sh only
# tells whether that architecture can run here at all.
_e2e_wanted_arch="$VANTREL_WINE_ARCH"
unset VANTREL_WINE_ARCH VANTREL_WINE_ARCH_WHY
# shellcheck source=../../scripts/wine-env.sh
. "$VANTREL_ROOT/scripts/wine-env.sh"
if [ "$_e2e_wanted_arch" = win32 ] && [ "$VANTREL_WINE_ARCH" != win32 ]; then
  e2e_skip "this is the 32-bit build, but $VANTREL_WINE_ARCH_WHY; use the 64-bit twin (build/win64)"
fi
VANTREL_WINE_ARCH="$_e2e_wanted_arch"
export VANTREL_WINE_ARCH
wine_select "$VANTREL_WINE_ARCH" || e2e_die "no Wine for $VANTREL_WINE_ARCH"

export WINEPREFIX="$VANTREL_E2E_DIR/prefix"
E2E_DRIVE_C="$WINEPREFIX/drive_c"
E2E_INSTALL_WIN='C:\Program Files\Vantrel Test'
E2E_INSTALL_UNIX="$E2E_DRIVE_C/Program Files/Vantrel Test"
E2E_PATHS_FILE="$WINEPREFIX/e2e-paths.sh"
# Each Wine call is bounded: a missing INF source makes setupapi prompt for
# the disk for ever, and nothing else would stop it.
E2E_RUN_TIMEOUT="${E2E_RUN_TIMEOUT:-90}"

# ---- reporting -------------------------------------------------------------

pass() { E2E_CHECKS=$((E2E_CHECKS + 1)); echo "ok:   $*"; }
fail() { E2E_CHECKS=$((E2E_CHECKS + 1)); E2E_FAILURES=$((E2E_FAILURES + 1)); echo "FAIL: $*"; }

expect_eq() {  # <what> <actual> <expected>
  if [ "$2" = "$3" ]; then pass "$1 = $3"; else fail "$1: expected '$3', got '$2'"; fi
}

expect_file() {  # <unix path> <what>
  if [ -f "$1" ]; then pass "$2 present ($1)"; else fail "$2 missing ($1)"; fi
}

expect_no_path() {  # <unix path> <what>
  if [ -e "$1" ]; then fail "$2 should not exist ($1)"; else pass "$2 absent ($1)"; fi
}

expect_same_file() {  # <unix path> <unix path> <what>
  if cmp -s "$1" "$2"; then pass "$3 identical"; else fail "$3 differ ($1 vs $2)"; fi
}

expect_exit() {  # <expected code>
  expect_eq "exit code" "$E2E_RC" "$1"
}

e2e_finish() {
  echo "--- $E2E_CHECKS checks, $E2E_FAILURES failed"
  [ "$E2E_CHECKS" -gt 0 ] || { echo "FAIL: the case checked nothing"; exit 1; }
  [ "$E2E_FAILURES" -eq 0 ]
  exit $?
}

# ---- Wine ------------------------------------------------------------------
# wine_run and wine_stop come from scripts/wine-env.sh.

winepath_u() { wine_run 30 winepath.exe -u "$1" 2>/dev/null | tr -d '\r'; }
winepath_w() { wine_run 30 winepath.exe -w "$1" 2>/dev/null | tr -d '\r'; }

# Files under drive_c map without asking Wine; anything else goes to winepath.
win_path() {
  case "$1" in
    "$E2E_DRIVE_C"/*) local rest="${1#"$E2E_DRIVE_C"/}"; echo "C:\\${rest//\//\\}" ;;
    *) winepath_w "$1" ;;
  esac
}

# ---- registry --------------------------------------------------------------

reg_value() {  # <key> <value name>: prints the data, fails if absent
  local out
  out="$(wine_run 30 reg query "$1" /v "$2" 2>"$VANTREL_E2E_DIR/reg-query.err" | tr -d '\r')" ||
    { echo "      reg query exited $? ($(tr -d '\r' <"$VANTREL_E2E_DIR/reg-query.err"))" >&2; return 1; }
  # "    Name    REG_SZ    Data": the data is whatever follows the type.
  printf '%s\n' "$out" | awk -v name="$2" '
    { line = $0; sub(/^ +/, "", line) }
    index(line, name " ") == 1 {
      rest = substr(line, length(name) + 1); sub(/^ +/, "", rest)
      sub(/^REG_[A-Z_]+ */, "", rest); print rest; found = 1; exit
    }
    END { exit !found }'
}

reg_key_exists() { wine_run 30 reg query "$1" >/dev/null 2>&1; }

expect_reg_value() {  # <key> <name> <expected data>
  local got
  if got="$(reg_value "$1" "$2")"; then
    expect_eq "registry $1 [$2]" "$got" "$3"
  else
    fail "registry value $1 [$2] missing"
    # A second look tells a value that is not there from a query that failed.
    echo "      a second look at the key:"
    wine_run 30 reg query "$1" 2>&1 | tr -d '\r' | sed 's/^/      /'
  fi
}

expect_no_reg_key() {  # <key>
  if reg_key_exists "$1"; then fail "registry key $1 should not exist"; else pass "registry key $1 absent"; fi
}

reg_delete_key() { wine_run 30 reg delete "$1" /f >/dev/null 2>&1 || true; }

# ---- paths the program uses ------------------------------------------------

# Where Wine really keeps the program's work folder and the INF folder;
# written by the fixture, which asks winepath once.
[ -f "$E2E_PATHS_FILE" ] && . "$E2E_PATHS_FILE"

# ctest's fixtures hold only within one ctest run; a second run on the same
# build folder would throw this prefix away under the first. The fixture
# notes which ctest owns the prefix, and the cases refuse anyone else's. The
# note lies beside the prefix: it must hold while the prefix is being made.
E2E_OWNER_FILE="$VANTREL_E2E_DIR/prefix-owner"

e2e_prefix_owner() { cat "$E2E_OWNER_FILE" 2>/dev/null; }

e2e_owner_alive() {  # <pid>
  [ -n "$1" ] && [ "$1" != "$PPID" ] && kill -0 "$1" 2>/dev/null &&
    grep -q ctest "/proc/$1/cmdline" 2>/dev/null
}

e2e_need_prefix() {
  [ -f "$E2E_PATHS_FILE" ] || e2e_die "no prefix at $WINEPREFIX (the e2e.setup fixture did not run or failed)"
  local owner; owner="$(e2e_prefix_owner)"
  if [ -n "$owner" ] && [ "$owner" != "$PPID" ]; then
    e2e_die "the prefix belongs to another ctest run (pid $owner), not this one (pid $PPID)"
  fi
  wine_keep_server
}

# The processes of this prefix whose command line matches the pattern
# (pgrep -f): another run's, in a prefix of its own, never count.
prefix_pids() {  # <pattern>
  local pid
  for pid in $(pgrep -f -- "$1"); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}

# Ends those processes only (SIGTERM unless a signal is named).
end_prefix_processes() {  # [signal] <pattern>
  local signal=TERM pids
  [ $# -gt 1 ] && { signal=$1; shift; }
  pids="$(prefix_pids "$1")"
  # shellcheck disable=SC2086  # one word a process id
  [ -z "$pids" ] || kill -"$signal" $pids 2>/dev/null
  return 0
}

work_folder_gone() { [ ! -e "$E2E_WORK_UNIX" ]; }

expect_no_work_folder() { expect_no_path "$E2E_WORK_UNIX" "work folder C:\\windows\\Temp\\Vantrel"; }

list_inf_folder() { (cd "$E2E_INF_UNIX" && ls -1A | LC_ALL=C sort); }

# ---- building test material ------------------------------------------------

# A per-case scratch folder inside the prefix, fresh on every run of the case.
case_dir() {  # <case name>: sets CASE_UNIX and CASE_WIN
  CASE_UNIX="$E2E_DRIVE_C/e2e/$1"
  rm -rf "$CASE_UNIX"
  mkdir -p "$CASE_UNIX"
  CASE_WIN="$(win_path "$CASE_UNIX")"
}

# An INF whose DefaultInstall writes HKLM\Software\VantrelTest\<tag> and,
# given a payload name, copies it from the package's i386 folder to system32.
write_inf() {  # <file> <tag> [payload file name]
  local file="$1" tag="$2" payload="${3:-}"
  {
    printf '[Version]\r\nSignature="$Windows NT$"\r\n\r\n'
    printf '[DefaultInstall]\r\nAddReg=Vt.AddReg\r\n'
    [ -n "$payload" ] && printf 'CopyFiles=Vt.Files\r\n'
    printf '\r\n[Vt.AddReg]\r\n'
    printf 'HKLM,"Software\\VantrelTest\\%s","Installed",0,"%s"\r\n' "$tag" "$tag"
    printf 'HKLM,"Software\\VantrelTest\\%s","Answer",0x10001,42\r\n' "$tag"
    if [ -n "$payload" ]; then
      printf '\r\n[Vt.Files]\r\n%s\r\n' "$payload"
      printf '\r\n[DestinationDirs]\r\nVt.Files=11\r\n'
      printf '\r\n[SourceDisksNames]\r\n1="Vantrel test disk",,,i386\r\n'
      printf '\r\n[SourceDisksFiles]\r\n%s=1\r\n' "$payload"
    fi
  } >"$file"
}

# The checks that an INF written by write_inf was installed.
expect_installed() {  # <tag> [payload name]
  local key="HKLM\\Software\\VantrelTest\\$1"
  expect_reg_value "$key" Installed "$1"
  expect_reg_value "$key" Answer 0x2a
  if [ -n "${2:-}" ]; then
    expect_file "$E2E_SYSTEM32_UNIX/$2" "payload $2 in system32"
    [ -f "$E2E_SYSTEM32_UNIX/$2" ] &&
      expect_eq "content of $2 in system32" "$(cat "$E2E_SYSTEM32_UNIX/$2")" "payload of $1"
  fi
}

# Removes what an earlier run of the same case may have installed, so a pass
# always comes from this run.
forget_install() {  # <tag> <inf name> [payload name]
  reg_delete_key "HKLM\\Software\\VantrelTest\\$1"
  rm -f "$E2E_INF_UNIX/$2" "$E2E_INF_UNIX/${2%.*}.pnf"
  [ -n "${3:-}" ] && rm -f "$E2E_SYSTEM32_UNIX/$3"
  return 0
}

# A package folder with one INF (tag) and its payload, packed to <out.7z>.
make_simple_package() {  # <tag> <out.7z unix path>
  local tag="$1" out="$2" src
  src="$(mktemp -d "$CASE_UNIX/src.XXXX")"
  write_inf "$src/vt_$tag.inf" "$tag" "vt_$tag.txt"
  echo "payload of $tag" >"$src/vt_$tag.txt"
  make_package "$src" "$out"
}

make_package() {  # <folder> <out.7z>: with the shipped vantrel-pack.exe
  "$VANTREL_ROOT/scripts/make-package.sh" "$1" "$2" >/dev/null ||
    e2e_die "could not make the package $2"
}

# The same layout without vantrel-pack, for the broken packages it refuses to
# make: every INF as <name>.in_, every other file in payload.cab.
make_package_by_hand() {  # <folder> <out.7z>
  local stage name infs=() others=()
  stage="$(mktemp -d)"
  while IFS= read -r name; do
    case "${name,,}" in *.inf) infs+=("$name") ;; *) others+=("$name") ;; esac
  done < <(ls -A "$1")
  for name in "${infs[@]}"; do
    (cd "$1" && gcab -c -z -n "$stage/${name%?}_" "$name") || e2e_die "gcab failed for $name"
  done
  if [ ${#others[@]} -gt 0 ]; then
    (cd "$1" && gcab -c -z -n "$stage/payload.cab" "${others[@]}") || e2e_die "gcab failed in $1"
  fi
  rm -f "$2"
  (cd "$stage" && 7z a -t7z -bd -y "$2" ./* >/dev/null) || e2e_die "7z could not write $2"
  rm -rf "$stage"
}

# ---- running the program ---------------------------------------------------

# An install folder in the way the program is deployed: the release bundle
# unpacked, so that what ships is what is tested; in a path with blanks.
make_install_folder() {  # <unix folder> [--no-7z]
  mkdir -p "$1"
  unzip -q -o -j "$VANTREL_BUNDLE" -d "$1" || e2e_die "cannot unpack $VANTREL_BUNDLE"
  (cd "$1" && sha256sum --quiet -c SHA256SUMS) || e2e_die "the bundle's SHA256SUMS do not match"
  if [ "${2:-}" = --no-7z ]; then
    rm -f "$1/7z.exe"
  fi
}

# Runs the exact command line through launch.exe. Sets E2E_RC (124 when the
# time limit stopped it) and E2E_SECONDS. Extra words before the command line
# (e.g. "xvfb-run -a") wrap the Wine call. E2E_SERVICE_STATION=1 starts the
# program on a window station nobody sees, as a SYSTEM agent does.
run_command_line() {  # <exact Windows command line> [wrapper...]
  local line="$1"; shift
  local file="$CASE_UNIX/command-line.$RANDOM.txt"
  local options=(--print-exit-code)
  [ "${E2E_SERVICE_STATION:-0}" = 1 ] && options+=(--service-station)
  printf '%s' "$line" >"$file"
  echo "run:  $line${*:+   (via $*)}${options[1]:+   (${options[*]:1})}"
  local start=$SECONDS
  # The eventlog channel carries the text of the event the run writes.
  WINEDEBUG=-all,+eventlog "$@" timeout -k 5 "$E2E_RUN_TIMEOUT" "$WINE" \
    "$(win_path "$E2E_DRIVE_C/e2e-tools/launch.exe")" "${options[@]}" "$(win_path "$file")" \
    >"$CASE_UNIX/output.log" 2>&1
  E2E_RC=$?
  # The status a Unix process ends with holds 8 bits; launch.exe prints the
  # whole code (3010).
  local whole
  whole="$(tr -d '\r' <"$CASE_UNIX/output.log" | sed -n 's/^exit code \([0-9]*\)$/\1/p' | tail -n 1)"
  if [ -n "$whole" ] && [ "$((whole % 256))" = "$E2E_RC" ]; then E2E_RC=$whole; fi
  E2E_SECONDS=$((SECONDS - start))
  echo "      exit code $E2E_RC after ${E2E_SECONDS}s"
  if [ "$E2E_RC" = 124 ] || [ "$E2E_RC" = 137 ]; then
    echo "      (stopped after ${E2E_RUN_TIMEOUT}s: it hung)"
    sed 's/^/      | /' "$CASE_UNIX/output.log" | tail -20
  fi
}

# The lines of the event the last run wrote, as Wine's eventlog channel
# shows each of its strings (err: for an error, trace: for information),
# unescaped.
run_event() {  # <err|trace>
  sed -n "s/^[0-9a-f]*:$1:eventlog:ReportEventW L\"\(.*\)\"\$/\1/p" "$CASE_UNIX/output.log" |
    sed 's/\\\\/\x01/g; s/\\"/"/g; s/\x01/\\/g'
}

expect_event() {  # <err|trace> <text a line of the event holds>...
  local kind=$1 lines piece
  shift
  lines="$(run_event "$kind")"
  for piece in "$@"; do
    if grep -qF -- "$piece" <<<"$lines"; then
      pass "the run's event ($kind) says: $piece"
    else
      fail "the run's event ($kind) does not say: $piece; it holds: ${lines:-nothing}"
    fi
  done
}

vantrel_line() {  # <argument text>: the usual command line for the test install
  echo "\"$E2E_INSTALL_WIN\\vantrel.exe\" $1"
}

# Starts each case from a machine without the work folder, so an assertion
# that it is absent afterwards says something.
clear_work_folder() { rm -rf "$E2E_WORK_UNIX"; }
