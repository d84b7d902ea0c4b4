#!/usr/bin/env bash
# Builds and runs every test: the native unit tests, the same under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the Windows build with its tests under Wine (end-to-end tests
# included). Installs what is missing first. Exits non-zero when anything fails; the last line
# is the summary.
set -uo pipefail
racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$racine"

bash scripts/installe-prerequis.sh || { echo "teste-tout: prérequis impossibles à installer"; exit 1; }

# Our own display and Wine server for the whole run, even on a desktop: the Windows tests
# then run at 96 dpi and take no one's focus.
unset DISPLAY
# shellcheck source=wine-env.sh
source scripts/wine-env.sh || { echo "teste-tout: environnement Wine impossible"; exit 1; }
trap tolvane_wine_nettoie EXIT

debut=$SECONDS
resultats=()
echecs=0

# Runs one stage (configure, build, test) and records its outcome.
etape() {
  local nom=$1
  shift
  local t0=$SECONDS
  echo "==== $nom"
  if "$@"; then
    resultats+=("$nom: réussi ($((SECONDS - t0)) s)")
  else
    resultats+=("$nom: ÉCHEC ($((SECONDS - t0)) s)")
    echecs=$((echecs + 1))
  fi
}

natif() {
  local preset=$1
  cmake --preset "$preset" && cmake --build --preset "$preset" && ctest --preset "$preset"
}

windows() {
  cmake --preset windows -DTOLVANE_E2E_DISPLAY="$DISPLAY" -DTOLVANE_E2E_WINEPREFIX="$WINEPREFIX" &&
    cmake --build --preset windows && ctest --preset windows
}

etape "tests unitaires (linux)" natif linux
etape "tests unitaires sous ASan+UBSan (linux-asan)" natif linux-asan
etape "build Windows et tests sous Wine (windows)" windows

echo "==== résumé"
printf '  %s\n' "${resultats[@]}"
if [ "$echecs" -eq 0 ]; then
  echo "teste-tout: tout a réussi (${#resultats[@]} étapes, $((SECONDS - debut)) s)"
  exit 0
fi
echo "teste-tout: $echecs étape(s) en échec sur ${#resultats[@]} ($((SECONDS - debut)) s)"
exit 1
