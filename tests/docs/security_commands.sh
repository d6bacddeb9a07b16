#!/usr/bin/env bash
# docs/security.md shows the process trees of an install and a removal and
# an allow rule for the INF installer's command lines. The trees must be
# what the command builders make, character for character, and the rule's
# patterns must match the builders' rundll32 lines.
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
# rule_matches <CommandLine pattern number> <the builders' line starting with>
rule_matches() {
  local pattern line
  pattern="$(grep -o -E "CommandLine\|re\|i: '.*'$" "$doc" | sed -n "$1p" | sed -E "s/^[^']*'(.*)'$/\1/")"
  line="$(grep -m1 -E "^ +$2" <<<"$built" | sed -E 's/^ +//')"
  if [ -z "$pattern" ] || [ -z "$line" ] || ! grep -q -P -i -- "$pattern" <<<"$line"; then
    echo "security: the rule's pattern $1 [$pattern] does not match the builders' [$line]"
    bad=1
  fi
}
rule_matches 1 'rundll32 syssetup,'
rule_matches 2 'rundll32 setupapi,'
[ "$bad" -eq 0 ] && echo "security: the process trees and the rule's command lines are the builders'"
exit "$bad"
