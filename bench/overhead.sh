#!/usr/bin/env bash
# Vantrel's own overhead per install, under Wine. Each round installs the
# sample package with vantrel.exe and runs the same four child commands
# directly, then deletes the work folder as vantrel.exe does; the round's
# difference is the overhead of that round. The rounds alternate the order of
# their sides, so that drift of the machine falls on both alike. Prints the
# median of the differences with their spread, the figure per child, the
# program's size and its peak working set.
#
#   bench/overhead.sh [N]      (N rounds, default 20)
#
# BENCH_SEVENZIP=<folder> runs it with the 7-Zip console in that folder
# (7z.exe, and 7z.dll where it has one) in place of the bundle's, e.g. to
# compare two 7-Zip releases in one sitting.
# BENCH_OTHER=<folder> adds another build's vantrel.exe from that folder as a
# side of each round (e.g. the build of an older commit) and prints the
# median of the paired differences between the two builds.
set -euo pipefail

runs="${1:-20}"
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
if [ -n "${BENCH_OTHER:-}" ]; then
  mkdir -p "$drive_c/Other"
  cp "$BENCH_OTHER/vantrel.exe" "$drive_c/Vantrel"/7z.* "$drive_c/Other/"
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
} >"$bench/install.txt"
{ cat "$bench/install.txt"; printf '%s\n' "delete $work"; } >"$bench/direct.txt"
printf '%s\n' '"C:\Other\vantrel.exe" C:\Packages\sample.7z' >"$bench/other.txt"

# timer <commands> <results>: the results file gets one line per command.
winbench="Z:${bench//\//\\}"
# A command that failed is in its line's code (counted below); only a results
# file short of a line, which would pair one round with another, stops the run.
timer() {
  local before=0 after
  [ -e "$bench/$2" ] && before="$(wc -l <"$bench/$2")"
  wine_run 300 "$bench/timer.exe" "$winbench\\$1" "$winbench\\$2" >"$bench/timer.log" 2>&1 || true
  after="$(wc -l <"$bench/$2")"
  if [ "$((after - before))" -ne "$(wc -l <"$bench/$1")" ]; then
    echo "timer.exe gave $((after - before)) results for the $(wc -l <"$bench/$1") commands of $1:" >&2
    cat "$bench/timer.log" >&2
    exit 1
  fi
}

sides=(start vantrel direct)
[ -n "${BENCH_OTHER:-}" ] && sides+=(other)
# A warm-up of each, so that all sides start from the same caches.
for side in "${sides[@]}"; do
  timer "$side.txt" warmup.times
  rm -rf "$work_unix"
done

for side in "${sides[@]}"; do : >"$bench/$side.times"; done
for ((i = 1; i <= runs; i++)); do
  order=("${sides[@]}")
  if ((i % 2 == 0)); then
    order=()
    for ((k = ${#sides[@]} - 1; k >= 0; k--)); do order+=("${sides[k]}"); done
  fi
  for side in "${order[@]}"; do
    rm -f "$bench/one.times"
    timer "$side.txt" one.times
    if [ "$side" = direct ]; then
      # One line for the round: the total, and the first failing code if any.
      awk '{ ms += $1; if ($2 != 0 && !code) code = $2 } END { print ms, code + 0, 0 }' \
        "$bench/one.times" >>"$bench/direct.times"
    else
      cat "$bench/one.times" >>"$bench/$side.times"
    fi
    if [ "$side" != start ] && [ -e "$work_unix" ]; then
      echo "the work folder survived round $i of $side" >&2
      exit 1
    fi
  done
done
# The check vantrel.exe makes after the INF installer, on its own, on what
# the direct commands just installed (its sources still unpacked).
timer install.txt check.times
check="$(wine_run 120 "$bench/install_check.exe" "$work\\vantrel-sample.inf" 21 2>&1 | tr -d '\r')"
rm -rf "$work_unix"
read -r check_first check_median check_missing check_waiting <<<"$check" ||
  { echo "install_check.exe: $check" >&2; exit 1; }
# The receipt hashes the package as given: its cost grows with the package.
hash_mib=64
head -c $((hash_mib * 1024 * 1024)) /dev/urandom >"$drive_c/Packages/large.bin"
hash="$(wine_run 120 "$bench/file_hash.exe" 'C:\Packages\large.bin' 5 2>&1 | tr -d '\r')"
read -r hash_first hash_median <<<"$hash" || { echo "file_hash.exe: $hash" >&2; exit 1; }
rm -f "$drive_c/Packages/large.bin"

# stats: the median, the quartiles and the extremes of the numbers read, one
# a line (quartiles interpolated between the nearest ranks).
stats() {
  sort -n | awk '{ v[NR] = $1 }
    function at(p,   r, k) { r = 1 + p * (NR - 1); k = int(r); return v[k] + (r - k) * (v[k + 1] - v[k]) }
    END { printf "%.1f %.1f %.1f %.1f %.1f\n", at(0.5), at(0.25), at(0.75), v[1], v[NR] }'
}
# column <side> <n>: field n of each round's line of that side.
column() { cut -d' ' -f"$2" "$bench/$1.times"; }
# What vantrel.exe costs beyond the direct commands, round by round; and
# beyond them, its own start and the 100 ms pause, per awaited child.
paste -d' ' <(column vantrel 1) <(column direct 1) <(column start 1) |
  awk '{ print $1 - $2, ($1 - $2 - $3 - 100) / 4 }' >"$bench/rounds"
read -r v_med _ <<<"$(column vantrel 1 | stats)"
read -r d_med _ <<<"$(column direct 1 | stats)"
read -r s_med _ <<<"$(column start 1 | stats)"
read -r o_med o_q1 o_q3 o_min o_max <<<"$(cut -d' ' -f1 "$bench/rounds" | stats)"
read -r c_med c_q1 c_q3 _ <<<"$(cut -d' ' -f2 "$bench/rounds" | stats)"
failed_installs="$(awk '$2 != 0' "$bench/vantrel.times" "$bench/direct.times" | wc -l)"
peak="$(column vantrel 3 | sort -n | tail -n 1)"
if [ -n "${BENCH_OTHER:-}" ]; then
  read -r n_med n_q1 n_q3 n_min n_max <<<"$(paste -d' ' <(column vantrel 1) <(column other 1) |
    awk '{ print $1 - $2 }' | stats)"
  failed_installs=$((failed_installs + $(awk '$2 != 0' "$bench/other.times" | wc -l)))
fi

shipped="$root/build/win32/vantrel.exe"
awk -v n="$runs" -v v="$v_med" -v d="$d_med" -v s="$s_med" -v bad="$failed_installs" -v peak="$peak" \
    -v o="$o_med" -v oq1="$o_q1" -v oq3="$o_q3" -v omin="$o_min" -v omax="$o_max" \
    -v c="$c_med" -v cq1="$c_q1" -v cq3="$c_q3" -v other="${BENCH_OTHER:-}" \
    -v nm="${n_med:-0}" -v nq1="${n_q1:-0}" -v nq3="${n_q3:-0}" -v nmin="${n_min:-0}" -v nmax="${n_max:-0}" \
    -v size32="$(stat -c %s "$shipped")" -v sizerun="$(stat -c %s "$drive_c/Vantrel/vantrel.exe")" \
    -v arch="$VANTREL_WINE_ARCH" -v banner="$sevenzip_banner" -v cf="$check_first" -v cm="$check_median" \
    -v cmiss="$check_missing" -v cwait="$check_waiting" -v hmib="$hash_mib" -v hf="$hash_first" \
    -v hm="$hash_median" 'BEGIN {
  printf "rounds                       %d (%s Wine, sides alternated), runs not ending in 0: %d\n", n, arch, bad
  printf "7-Zip                        %s\n", banner
  printf "vantrel.exe install, median  %8.1f ms\n", v
  printf "same 4 commands + delete     %8.1f ms   (direct, median)\n", d
  printf "overhead per install         %8.1f ms   (median of the rounds; quartiles %.1f .. %.1f, all %.1f .. %.1f; goal: at most 350 ms)  %s\n", o, oq1, oq3, omin, omax, (o <= 350) ? "met" : "MISSED"
  printf "  starting vantrel.exe       %8.1f ms   (vantrel.exe without argument, median)\n", s
  printf "  pause before the clean-up  %8.1f ms\n", 100
  printf "overhead per child           %8.1f ms   (the rest over 4 children, median of the rounds; quartiles %.1f .. %.1f; goal: at most 30 ms)  %s\n", c, cq1, cq3, (c <= 30) ? "met" : "MISSED"
  printf "  check after the installer  %8.1f ms   (first; median of 20 more %.1f ms; goal: at most 20 ms)  %s\n", cf, cm, (cf <= 20) ? "met" : "MISSED"
  printf "    it found                 %d missing, %d waiting for a restart (the sample: 0, 0)\n", cmiss, cwait
  printf "  receipt: SHA-256 of a package %8.1f ms per MiB (%d MiB: first %.0f ms, median %.0f ms; %.0f MiB/s; goal: at least 40 MiB/s under Wine)  %s\n", hm / hmib, hmib, hf, hm, hmib * 1000 / hm, (hmib * 1000 / hm >= 40) ? "met" : "MISSED"
  if (other != "")
    printf "this build less %s  %+8.1f ms   (median of the rounds; quartiles %+.1f .. %+.1f, all %+.1f .. %+.1f)\n", other, nm, nq1, nq3, nmin, nmax
  printf "vantrel.exe size             %8d bytes (shipped 32-bit); %d bytes (the %s build run here)\n", size32, sizerun, arch
  printf "vantrel.exe peak working set %8.1f KiB\n", peak / 1024
}'
