#!/usr/bin/env bash
# docs/security.md shows the process trees of an install and a removal: they
# must be what the command builders make, character for character. (Its
# filters are checked against the same builders by security_sigma.py.)
#   security_commands.sh <source root> <command_lines program>
set -uo pipefail
doc="$1/docs/security.md"
built="$("$2")" || { echo "security: $2 failed"; exit 1; }

# The fenced block after each "<!-- process tree -->" line, "--" between them.
shown="$(awk '
  /^<!-- process tree -->$/ { want = 1; next }
  want && /^```/ { if (inside) { want = 0; inside = 0 } else { if (blocks++) print "--"; inside = 1 }; next }
  inside { print }
' "$doc")"

bad=0
if [ "$shown" != "$built" ]; then
  echo "security: the process trees in docs/security.md differ from the command builders:"
  diff <(printf '%s\n' "$shown") <(printf '%s\n' "$built") | sed 's/^/  /'
  bad=1
fi
[ "$bad" -eq 0 ] && echo "security: the process trees are the builders'"
exit "$bad"
