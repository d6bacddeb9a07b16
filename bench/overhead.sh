#!/usr/bin/env bash
# Vantrel's own overhead per install, under Wine: installs the sample package
# N times with vantrel.exe and, in the same run, runs the same four child
# commands directly one after another; prints the medians, their difference,
# the figure per child, the program's size and its peak working set.
#
#   bench/overhead.sh [N]      (default 10)
#
# BENCH_SEVENZIP=<folder> runs it with the 7-Zip console in that folder
# (7z.exe, and 7z.dll where it has one) in place of the bundle's, e.g. to
# compare two 7-Zip releases in one sitting.
set -euo pipefail

runs="${1:-10}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh >/dev/null
# shellcheck source=../scripts/wine-env.sh
source scripts/wine-env.sh
bash scripts/build.sh >/dev/null

bench="$root/build/bench"
trap wine_stop EXIT
fresh_install_prefix "$bench"
drive_c="$DRIVE_C"
# Paths without blanks: their short forms are the paths themselves, so the
# direct commands are character for character the ones the program issues.
mkdir -p "$drive_c/Vantrel" "$drive_c/Packages"
unzip -q -j "$(ls "$VANTREL_BUILD"/vantrel-*-"$VANTREL_WINE_ARCH".zip)" -d "$drive_c/Vantrel"
if [ -n "${BENCH_SEVENZIP:-}" ]; then
  rm -f "$drive_c/Vantrel/7z.exe" "$drive_c/Vantrel/7z.dll"
  cp "$BENCH_SEVENZIP"/7z.* "$drive_c/Vantrel/"
fi
sevenzip_banner="$(wine_run 60 "$drive_c/Vantrel/7z.exe" 2>/dev/null | tr -d '\r' | grep -m1 '^7-Zip' || true)"
cp "$VANTREL_BUILD/bench/timer.exe" "$VANTREL_BUILD/bench/install_check.exe" \
  "$VANTREL_BUILD/bench/file_hash.exe" "$bench/"
scripts/make-package.sh samples/sample-package "$drive_c/Packages/sample.7z" >/dev/null

work='C:\windows\Temp\Vantrel'
work_unix="$drive_c/windows/temp/Vantrel"
printf '%s\n' '"C:\Vantrel\vantrel.exe" C:\Packages\sample.7z' >"$bench/vantrel.txt"
# Without an argument the program ends at once: what starting it costs.
printf '%s\n' '"C:\Vantrel\vantrel.exe"' >"$bench/start.txt"
{
  printf '%s\n' "\"C:\\Vantrel\\7z\" x -y -aoa \"C:\\Packages\\sample.7z\" -o\"$work\""
  printf '%s\n' "\"C:\\Vantrel\\7z\" x -y -aoa $work\\*.cab -o\"$work\\i386\""
  printf '%s\n' "\"C:\\Vantrel\\7z\" x -y -aoa $work\\*.in_ -o\"$work\""
  printf '%s\n' "rundll32 syssetup,SetupInfObjectInstallAction DefaultInstall 128 $work\\vantrel-sample.inf"
} >"$bench/direct.txt"

# timer <commands> <results>: the results file gets one line per command.
winbench="Z:${bench//\//\\}"
timer() { wine_run 300 "$bench/timer.exe" "$winbench\\$1" "$winbench\\$2" >/dev/null 2>&1; }

# A warm-up of each, so that both sides start from the same caches.
timer vantrel.txt warmup.times
rm -rf "$work_unix"
timer direct.txt warmup.times
rm -rf "$work_unix"

: >"$bench/vantrel.times"
: >"$bench/direct.times"
: >"$bench/start.times"
for ((i = 1; i <= runs; i++)); do
  timer start.txt start.times
  timer vantrel.txt vantrel.times
  [ -e "$work_unix" ] && { echo "the work folder survived run $i" >&2; exit 1; }
  rm -f "$bench/one.times"
  timer direct.txt one.times
  awk '{ ms += $1 } END { print ms }' "$bench/one.times" >>"$bench/direct.times"
  # The check vantrel.exe makes after the INF installer, on its own, on what
  # the direct commands just installed (its sources still unpacked).
  if [ "$i" -eq "$runs" ]; then
    check="$(wine_run 120 "$bench/install_check.exe" "$work\\vantrel-sample.inf" 21 2>&1 | tr -d '\r')"
  fi
  rm -rf "$work_unix"
done
read -r check_first check_median check_missing check_waiting <<<"$check" ||
  { echo "install_check.exe: $check" >&2; exit 1; }
# The receipt hashes the package as given: its cost grows with the package.
hash_mib=64
head -c $((hash_mib * 1024 * 1024)) /dev/urandom >"$drive_c/Packages/large.bin"
hash="$(wine_run 120 "$bench/file_hash.exe" 'C:\Packages\large.bin' 5 2>&1 | tr -d '\r')"
read -r hash_first hash_median <<<"$hash" || { echo "file_hash.exe: $hash" >&2; exit 1; }
rm -f "$drive_c/Packages/large.bin"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
vantrel_ms="$(cut -d' ' -f1 "$bench/vantrel.times" | median)"
direct_ms="$(cut -d' ' -f1 "$bench/direct.times" | median)"
start_ms="$(cut -d' ' -f1 "$bench/start.times" | median)"
failed_installs="$(awk '$2 != 0' "$bench/vantrel.times" | wc -l)"
peak="$(cut -d' ' -f3 "$bench/vantrel.times" | sort -n | tail -n 1)"

shipped="$root/build/win32/vantrel.exe"
awk -v n="$runs" -v v="$vantrel_ms" -v d="$direct_ms" -v s="$start_ms" -v bad="$failed_installs" -v peak="$peak" \
    -v size32="$(stat -c %s "$shipped")" -v sizerun="$(stat -c %s "$drive_c/Vantrel/vantrel.exe")" \
    -v arch="$VANTREL_WINE_ARCH" -v banner="$sevenzip_banner" -v cf="$check_first" -v cm="$check_median" \
    -v cmiss="$check_missing" -v cwait="$check_waiting" -v hmib="$hash_mib" -v hf="$hash_first" \
    -v hm="$hash_median" 'BEGIN {
  overhead = v - d
  # What each awaited child costs beyond its own run: the overhead less the
  # start of the program itself and the fixed 100 ms pause before the clean-up.
  per_child = (overhead - s - 100) / 4
  printf "runs                         %d (%s Wine), installs not ending in 0: %d\n", n, arch, bad
  printf "7-Zip                        %s\n", banner
  printf "vantrel.exe install, median  %8.1f ms\n", v
  printf "same 4 commands direct       %8.1f ms\n", d
  printf "overhead per install         %8.1f ms   (goal: at most 350 ms)  %s\n", overhead, overhead <= 350 ? "met" : "MISSED"
  printf "  starting vantrel.exe       %8.1f ms   (vantrel.exe without argument, median)\n", s
  printf "  pause before the clean-up  %8.1f ms\n", 100
  printf "overhead per child           %8.1f ms   (the rest over 4 children; goal: at most 30 ms)  %s\n", per_child, per_child <= 30 ? "met" : "MISSED"
  printf "  check after the installer  %8.1f ms   (first; median of 20 more %.1f ms; goal: at most 20 ms)  %s\n", cf, cm, cf <= 20 ? "met" : "MISSED"
  printf "    it found                 %d missing, %d waiting for a restart (the sample: 0, 0)\n", cmiss, cwait
  printf "  receipt: SHA-256 of a package %8.1f ms per MiB (%d MiB: first %.0f ms, median %.0f ms; %.0f MiB/s; goal: at least 40 MiB/s under Wine)  %s\n", hm / hmib, hmib, hf, hm, hmib * 1000 / hm, hmib * 1000 / hm >= 40 ? "met" : "MISSED"
  printf "vantrel.exe size             %8d bytes (shipped 32-bit); %d bytes (the %s build run here)\n", size32, sizerun, arch
  printf "vantrel.exe peak working set %8.1f KiB\n", peak / 1024
}'
