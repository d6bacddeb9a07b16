#!/usr/bin/env bash
# The main job, end to end: sets the machine up, builds, makes the sample
# package with the package builder, installs it under Wine with the real
# 7-Zip console and the real INF engine from the unpacked release bundle,
# and shows what happened.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash scripts/setup.sh
# shellcheck source=wine-env.sh
source scripts/wine-env.sh
wine_arch_note
bash scripts/build.sh

demo="$root/build/demo"
trap wine_stop EXIT
echo "== a fresh Wine prefix"
fresh_install_prefix "$demo"
drive_c="$DRIVE_C"
cp "$VANTREL_BUILD/tests/tools/launch.exe" "$demo/launch.exe"

echo "== the release bundle, unpacked into C:\\Program Files\\Vantrel"
bundle="$(ls "$VANTREL_BUILD"/vantrel-*-"$VANTREL_WINE_ARCH".zip)"
unzip -q "$bundle" -d "$demo/unpacked"
mkdir -p "$drive_c/Program Files"
mv "$demo/unpacked"/vantrel-* "$drive_c/Program Files/Vantrel"
(cd "$drive_c/Program Files/Vantrel" && sha256sum -c --quiet SHA256SUMS && ls -l)

echo "== the sample package, made by vantrel-pack.exe (scripts/make-package.sh)"
mkdir -p "$drive_c/Packages"
scripts/make-package.sh samples/sample-package "$drive_c/Packages/Sample Package.7z"
7z l "$drive_c/Packages/Sample Package.7z" | sed -n '/^---/,/^---/p'

command_line='"C:\Program Files\Vantrel\vantrel.exe" "C:\Packages\Sample Package.7z"'
printf '%s' "$command_line" >"$demo/command-line.txt"
echo "== running: $command_line"
start=$(date +%s.%N)
set +e
# What the hidden console programs print reaches Wine's own output; it is
# kept in a log rather than mixed into this account.
# Wine's eventlog channel shows the event the run writes.
WINEDEBUG=-all,+eventlog wine_run 180 "$demo/launch.exe" 'Z:'"${demo//\//\\}"'\command-line.txt' \
  >"$demo/wine-output.log" 2>&1
code=$?
set -e
end=$(date +%s.%N)
printf "exit code: %s (0 = installed), %s s\n" "$code" "$(awk -v a="$start" -v b="$end" "BEGIN { printf \"%.1f\", b - a }")"

echo "== the event the run wrote into the Application event log"
sed -n 's/^[0-9a-f]*:[a-z]*:eventlog:ReportEventW L"\(.*\)"$/\1/p' "$demo/wine-output.log" |
  sed '/^$/d; s/\\\\/\\/g'
echo "== what the INF's DefaultInstall did"
wine_run 30 reg query 'HKLM\Software\Vantrel Sample' | tr -d '\r' | sed '/^$/d'
echo "system32\\vantrel-sample.txt: $(tr -d '\r' <"$drive_c/windows/system32/vantrel-sample.txt")"
echo "== the INF copy in C:\\windows\\inf"
ls -l "$drive_c/windows/inf/vantrel-sample.inf"
echo "== the work folder C:\\windows\\Temp\\Vantrel"
if [ -e "$drive_c/windows/temp/Vantrel" ] || [ -e "$drive_c/windows/Temp/Vantrel" ]; then
  echo "still there (unexpected)"
  exit 1
fi
echo "gone"

remove_line='"C:\Program Files\Vantrel\vantrel-remove.exe" vantrel-sample.inf'
printf '%s' "$remove_line" >"$demo/remove-line.txt"
echo "== removing it again: $remove_line"
set +e
WINEDEBUG=-all,+eventlog wine_run 180 "$demo/launch.exe" 'Z:'"${demo//\//\\}"'\remove-line.txt' \
  >"$demo/wine-remove.log" 2>&1
removal=$?
set -e
echo "exit code: $removal (0 = removed)"
echo "== the event the removal wrote"
sed -n 's/^[0-9a-f]*:[a-z]*:eventlog:ReportEventW L"\(.*\)"$/\1/p' "$demo/wine-remove.log" |
  sed '/^$/d; s/\\\\/\\/g'
echo "== what the INF's DefaultUninstall undid"
if wine_run 30 reg query 'HKLM\Software\Vantrel Sample' >/dev/null 2>&1; then
  echo "HKLM\Software\Vantrel Sample: still there (unexpected)"
  exit 1
fi
echo "HKLM\Software\Vantrel Sample: gone"
for left in "windows/system32/vantrel-sample.txt" "windows/inf/vantrel-sample.inf"; do
  if [ -e "$drive_c/$left" ]; then
    echo "C:\\${left//\//\\}: still there (unexpected)"
    exit 1
  fi
  echo "C:\\${left//\//\\}: gone"
done
[ "$code" -eq 0 ] && [ "$removal" -eq 0 ]
