#!/usr/bin/env bash
# Fixture end: stops the prefix's wineserver and throws the prefix away.
# VANTREL_E2E_KEEP=1 keeps it for a look after a failure.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
owner="$(e2e_prefix_owner)"
if e2e_owner_alive "$owner"; then
  echo "left $WINEPREFIX to the ctest run that owns it (pid $owner)"
  exit 0
fi
wine_stop
if [ "${VANTREL_E2E_KEEP:-0}" = 1 ]; then
  echo "kept $WINEPREFIX"
  exit 0
fi
rm -rf "$WINEPREFIX"
rm -f "$E2E_OWNER_FILE"
if [ -e "$WINEPREFIX" ]; then echo "FAIL: could not remove $WINEPREFIX"; exit 1; fi
echo "ok:   removed $WINEPREFIX"
