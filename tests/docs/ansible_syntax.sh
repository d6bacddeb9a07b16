#!/usr/bin/env bash
# The Ansible recipe of the deployment guide, exactly as administrators copy
# it, passes ansible-playbook's syntax check with the real ansible.windows
# collection: every module it names exists and the plays parse; then
# deploy_recipes.py holds the plays and the tools' return codes to the guide.
# Usage: ansible_syntax.sh <deploy.md>
set -uo pipefail
guide=$1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
awk '/^```yaml$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$guide" >"$work/playbook.yml"
[ -s "$work/playbook.yml" ] || { echo "FAIL: no yaml block in $guide"; exit 1; }
# Each block is one play (install, removal): together one list of plays,
# every one of them checked.
plays=$(grep -c '^- name:' "$work/playbook.yml")
[ "$plays" -ge 2 ] || { echo "FAIL: $plays plays in $guide, not the install and the removal"; exit 1; }
# What the play copies must exist for the check to look at the tasks.
mkdir -p "$work/vantrel-win32" "$work/vantrel-win64" && touch "$work/mypackage.7z"
cat "$work/playbook.yml"
bad=0
if (cd "$work" && ANSIBLE_LOCALHOST_WARNING=false ansible-playbook --syntax-check \
      -i 'windows-host,' playbook.yml); then
  echo "ok:   the Ansible recipe ($plays plays) passes the syntax check"
else
  echo "FAIL: the Ansible recipe in $guide fails the syntax check"
  bad=1
fi
# What the plays do: every copied file has its folder, and the return codes
# are handled as the guide's tables say (for Intune and Configuration
# Manager too).
python3 "$(dirname "$0")/deploy_recipes.py" "$work/playbook.yml" "$guide" || bad=1
exit "$bad"
