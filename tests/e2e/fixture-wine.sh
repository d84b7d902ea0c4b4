#!/usr/bin/env bash
# ctest fixture of the end-to-end tests, on the Linux side.
#   fixture-wine.sh demarre ETAT   Xvfb on a free display (or on $TOLVANE_DISPLAY when set, used
#                                  as it is when something answers there), booted Wine prefix
#                                  ($TOLVANE_WINEPREFIX) at $TOLVANE_DPI, persistent server
#   fixture-wine.sh arrete ETAT    stops the Wine server (and with it every Wine process left)
#                                  and the Xvfb we started
# ETAT is a folder that keeps, between the two, the display (read by tests/sous-wine.sh --etat
# for the tests in between) and the pid of our Xvfb.
set -euo pipefail
action=$1
etat=$2
mkdir -p "$etat"
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"

case "$action" in
  demarre)
    rm -f "$etat/xvfb.pid" "$etat/display"
    tolvane_demarre_xvfb "${TOLVANE_DISPLAY:-}"
    if [ -n "$TOLVANE_XVFB_PID" ]; then echo "$TOLVANE_XVFB_PID" >"$etat/xvfb.pid"; fi
    echo "$DISPLAY" >"$etat/display"
    tolvane_prepare_prefixe
    tolvane_demarre_wineserver
    echo "fixture: display $DISPLAY${TOLVANE_XVFB_PID:+ (Xvfb $TOLVANE_XVFB_PID)}, préfixe $WINEPREFIX"
    ;;
  arrete)
    wineserver -k >/dev/null 2>&1 || true
    if [ -f "$etat/xvfb.pid" ]; then
      pid=$(cat "$etat/xvfb.pid")
      # Only if that pid is still our Xvfb and not a process that reused the number.
      if [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ]; then
        kill "$pid" 2>/dev/null || true
        tolvane_attends bash -c "! kill -0 $pid 2>/dev/null" || kill -9 "$pid" 2>/dev/null || true
      fi
      rm -f "$etat/xvfb.pid"
    fi
    rm -f "$etat/display"
    ;;
  *)
    echo "usage: $0 demarre|arrete ETAT" >&2
    exit 2
    ;;
esac
