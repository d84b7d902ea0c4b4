#!/usr/bin/env bash
# ctest fixture of the end-to-end tests, on the Linux side.
#   fixture-wine.sh demarre ETAT   X display (Xvfb when nothing answers on $DISPLAY), booted
#                                  Wine prefix ($TOLVANE_WINEPREFIX) at 96 dpi, persistent server
#   fixture-wine.sh arrete ETAT    stops the Wine server (and with it every Wine process left)
#                                  and the Xvfb we started
# ETAT is a folder where the pid of our Xvfb is kept between the two.
set -euo pipefail
action=$1
etat=$2
mkdir -p "$etat"
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"

case "$action" in
  demarre)
    : "${DISPLAY:?DISPLAY must name the display of the tests}"
    rm -f "$etat/xvfb.pid"
    tolvane_demarre_xvfb "$DISPLAY"
    if [ -n "$TOLVANE_XVFB_PID" ]; then echo "$TOLVANE_XVFB_PID" >"$etat/xvfb.pid"; fi
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
    ;;
  *)
    echo "usage: $0 demarre|arrete ETAT" >&2
    exit 2
    ;;
esac
