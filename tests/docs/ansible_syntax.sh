#!/usr/bin/env bash
# The Ansible recipe of the deployment guide, exactly as administrators copy
# it, passes ansible-playbook's syntax check with the real ansible.windows
# collection: every module it names exists and the play parses.
# Usage: ansible_syntax.sh <deploy.md>
set -uo pipefail
guide=$1
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
awk '/^```yaml$/ { inside = 1; next } /^```$/ { inside = 0 } inside' "$guide" >"$work/playbook.yml"
[ -s "$work/playbook.yml" ] || { echo "FAIL: no yaml block in $guide"; exit 1; }
# What the play copies must exist for the check to look at the tasks.
mkdir -p "$work/vantrel" && touch "$work/mypackage.7z"
cat "$work/playbook.yml"
if (cd "$work" && ANSIBLE_LOCALHOST_WARNING=false ansible-playbook --syntax-check \
      -i 'windows-host,' playbook.yml); then
  echo "ok:   the Ansible recipe passes the syntax check"
else
  echo "FAIL: the Ansible recipe in $guide fails the syntax check"
  exit 1
fi
