#!/usr/bin/env bash
# Runs a command in the Wine environment of scripts/wine-env.sh (prefix $TOLVANE_WINEPREFIX,
# French locale, quiet Wine); how ctest runs every Windows test.
#   sous-wine.sh COMMANDE...              no screen of its own
#   sous-wine.sh --ecran COMMANDE...      on a private Xvfb, stopped afterwards
#   sous-wine.sh --etat ETAT COMMANDE...  on the display that tests/e2e/fixture-wine.sh started
#                                         and recorded in the folder ETAT
set -uo pipefail
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../scripts/wine-env.sh
source "$(dirname "$0")/../scripts/wine-env.sh"

case "${1:-}" in
  --ecran)
    shift
    tolvane_demarre_xvfb || exit 1
    trap tolvane_arrete_xvfb EXIT
    ;;
  --etat)
    etat=$2
    shift 2
    display=$(cat "$etat/display" 2>/dev/null) ||
      { echo "sous-wine: pas de display dans $etat (la préparation a-t-elle tourné ?)" >&2; exit 1; }
    export DISPLAY="$display"
    ;;
esac
# Not exec: with --ecran, Xvfb is stopped once the command is done.
"$@"
