#!/usr/bin/env bash
# Builds the Windows programs and starts the configuration program Tolvane.exe under Wine, on
# the current display or, when there is none, on a virtual one (Xvfb). The program runs from a
# folder of its own (build/essai) so that the Tolvane.ini it saves lies beside it. Without a
# screen it runs in Wine's virtual desktop, which draws the title bars no window manager draws on
# Xvfb, and a screenshot is written once its window is up.
#   TOLVANE_DPI=144 bash scripts/lance-configuration.sh   # as on a high-DPI screen
set -euo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/installe-prerequis.sh
cmake --preset windows
cmake --build --preset windows --target Tolvane Tolvane_Lanceur tolvane_msi attend_fenetre

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

cd "$essai"
if [ -z "${TOLVANE_XVFB_PID:-}" ]; then
  wine "$essai/Tolvane.exe"
  exit 0
fi

# No screen: a virtual desktop the size of the Xvfb screen, the program inside it.
bureau="explorer /desktop=Tolvane,1280x1024"
wine $bureau "$essai/Tolvane.exe" &
programme=$!
attend=$(find "$racine/build/windows" -name attend-fenetre.exe -not -path '*/wineprefix/*' | head -n 1)
capture="$essai/capture.png"
# The main window, or the box a first start shows before it (no Tolvane.ini yet).
if wine "$attend" Tolvane "Tolvane 1.0" "Merci !!!" </dev/null >/dev/null 2>&1; then
  # The window is shown; give it the moment it takes to paint its controls.
  sleep 1
  import -display "$DISPLAY" -window root "$capture"
  echo "lance-configuration: pas d'écran, Tolvane.exe tourne dans le bureau virtuel de Wine sur $DISPLAY"
  echo "lance-configuration: capture d'écran : $capture"
else
  echo "lance-configuration: aucune fenêtre de Tolvane.exe en 10 s" >&2
fi
echo "  (arrêt : Ctrl+C)"
wait "$programme"
