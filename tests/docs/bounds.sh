#!/usr/bin/env bash
# The bounds on children as the README's table gives them are those of the
# programs' constants, the worst case of a run the documents state follows
# from them and the lock wait, and every time limit the deployment guide
# sets lies above it.
#   bounds.sh <source root>
set -uo pipefail
root=$1
constant() {  # <header> <name>: the first number it is set to
  sed -n -E "s/.*$2 = ([0-9]+).*/\1/p" "$root/$1" | head -n 1
}
installer=$(constant src/form/child_bounds.h kInfInstallerBoundMinutes)
sevenZip=$(constant src/form/child_bounds.h kSevenZipBoundMinutes)
uninstall=$(constant src/remove/uninstall_bound.h kUninstallBoundMinutes)
# Written as minutes * 60 * 1000.
lock=$(constant src/run/install_lock.h kInstallLockWaitMilliseconds)
# Under a minute of a run's own steps on top.
worst=$((lock + 3 * sevenZip + installer + 1)) removal=$((lock + uninstall + 1))
# With somebody at the screen, each child's questions hold its bound for
# the ceiling in all: four children in a run, one in a removal.
hold=$(constant src/child/question_watch.h kHoldCeilingMinutes)
attended=$((worst + 4 * hold)) attendedRemoval=$((removal + hold))
bad=0
expect() {  # <what> <found> <wanted>
  if [ "$2" = "$3" ]; then echo "ok:   $1: $3"; else echo "FAIL: $1: '$2', not '$3'"; bad=1; fi
}
table="$(awk '/^\| child \| program \| bound \|/ { inside = 1; next }
  inside && /^\|---/ { next }
  inside && /^\|/ { split($0, cell, "|"); print cell[4]; next }
  { inside = 0 }' "$root/README.md" | sed -E 's/ *([0-9]+) minutes */\1/' | tr '\n' ' ')"
expect "README's bounds (installer, 7-Zip, uninstall)" "$table" "$installer $sevenZip $uninstall "
for doc in README.md docs/ADMIN.txt docs/deploy.md; do
  expect "$doc: a run's worst case" "$(grep -o -E 'about [0-9]+ minutes' "$root/$doc" | sort -u)" \
    "about $worst minutes"
done
expect "README: an attended run's worst case" \
  "$(grep -o -E 'screen within [0-9]+ minutes' "$root/README.md" | grep -o -E '[0-9]+')" "$attended"
expect "README: an attended removal's worst case" \
  "$(grep -o -E 'a removal within [0-9]+' "$root/README.md" | grep -o -E '[0-9]+$')" "$attendedRemoval"
for doc in docs/ADMIN.txt docs/deploy.md; do
  found="$(grep -o -E "removal's (is )?about [0-9]+" "$root/$doc" | grep -o -E '[0-9]+$')"
  expect "$doc: a removal's worst case" "$found" "$removal"
done
# Intune's and Configuration Manager's in minutes, Group Policy's and
# Ansible's in seconds.
limits="$(sed -n -E 's/.*(\(mins\): |run time )([0-9]+).*/\2/p
                    s/.*to ([0-9]+) seconds.*/\1/p; s/.*timeout: ([0-9]+)$/\1/p' \
  "$root/docs/deploy.md" | awk '$1 > 300 { $1 = $1 / 60 } { print $1 }')"
expect "deploy.md's time limits found" "$(wc -l <<<"$limits" | tr -d ' ')" 5
for limit in $limits; do
  above=$([ "$limit" -gt "$worst" ] && echo yes)
  expect "deploy.md: a limit of $limit minutes above $worst" "$above" yes
done
exit "$bad"
