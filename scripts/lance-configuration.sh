#!/usr/bin/env bash
# Builds the Windows programs and starts the configuration program Tolvane.exe under Wine, on
# the current display or, when there is none, on a virtual one (Xvfb). The program runs from a
# folder of its own (build/essai) so that the Tolvane.ini it saves lies beside it.
#   TOLVANE_DPI=144 bash scripts/lance-configuration.sh   # as on a high-DPI screen
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/installe-prerequis.sh
cmake --preset windows
cmake --build --preset windows --target Tolvane Tolvane_Lanceur

# shellcheck source=wine-env.sh
source scripts/wine-env.sh
trap tolvane_wine_nettoie EXIT

essai="$racine/build/essai"
mkdir -p "$essai"
for programme in Tolvane Tolvane_Lanceur; do
  exe=$(find build/windows -name "$programme.exe" -not -path '*/wineprefix/*' | head -n 1)
  [ -n "$exe" ] || { echo "lance-configuration: $programme.exe introuvable" >&2; exit 1; }
  cp "$exe" "$essai/"
done

if [ -n "${TOLVANE_XVFB_PID:-}" ]; then
  echo "lance-configuration: pas d'écran, Tolvane.exe tourne sur l'écran virtuel $DISPLAY"
  echo "  (capture : import -display $DISPLAY -window root capture.png ; arrêt : Ctrl+C)"
fi
cd "$essai"
wine "$essai/Tolvane.exe"
