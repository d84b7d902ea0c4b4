#!/usr/bin/env bash
# Runs the end-to-end test program without root's file override, for the cases where a write
# must be refused: as root, Wine writes read-only files anyway. The Wine server opens files
# too, so it is restarted inside the reduced capability set, then restarted as before.
#   sans-privilege.sh WINE TEST.EXE [ARGUMENTS...]
set -uo pipefail
wine=$1
shift

wineserver -k >/dev/null 2>&1
wineserver -w
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"
export -f tolvane_demarre_wineserver
setpriv --bounding-set=-dac_override,-dac_read_search -- bash -c '
  tolvane_demarre_wineserver
  exec "$@"' _ "$wine" "$@"
code=$?
wineserver -k >/dev/null 2>&1
wineserver -w
tolvane_demarre_wineserver
exit $code
