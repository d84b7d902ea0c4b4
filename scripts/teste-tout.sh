#!/usr/bin/env bash
# Checks the formatting of every C and C++ file, then builds and runs every test: the native
# unit tests, the same under AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows
# build with its tests under Wine (end-to-end tests included), then each fuzz target for 20 s.
# Installs what is missing first. Exits non-zero when anything fails; the last line is the
# summary, "teste-tout: N passed, N failed", counting the tests of the three ctest runs (a
# failed stage that ran no test, the formatting check included, counts as one failure).
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
reussis=0
echoues=0
junit=$(mktemp)

# "passed failed" of a ctest JUnit file, counted as ctest's own summary counts: a test that
# did not run (its fixture failed, say) is a failure, a disabled one is not counted.
bilan_junit() {
  python3 - "$1" <<'PY'
import sys, xml.etree.ElementTree as ET
cas = ET.parse(sys.argv[1]).getroot().iter("testcase")
statuts = [c.get("status") for c in cas if c.get("status") != "disabled"]
reussis = statuts.count("run")
print(reussis, len(statuts) - reussis)
PY
}

# Runs one stage (configure, build, test), records its outcome and adds up the tests that
# ctest ran (from its JUnit file); a stage that failed before any test ran counts as one
# failure.
etape() {
  local nom=$1
  shift
  local t0=$SECONDS code r=0 f=0
  echo "==== $nom"
  rm -f "$junit"
  "$@"
  code=$?
  if [ -s "$junit" ]; then
    read -r r f < <(bilan_junit "$junit") || { r=0; f=0; }
    reussis=$((reussis + r))
    echoues=$((echoues + f))
  fi
  if [ "$code" -eq 0 ]; then
    resultats+=("$nom : réussi ($((SECONDS - t0)) s)")
  else
    resultats+=("$nom : ÉCHEC ($((SECONDS - t0)) s)")
    if [ "$f" -eq 0 ]; then echoues=$((echoues + 1)); fi
  fi
}

natif() {
  local preset=$1
  cmake --preset "$preset" && cmake --build --preset "$preset" &&
    ctest --preset "$preset" --output-junit "$junit"
}

windows() {
  cmake --preset windows -DTOLVANE_E2E_DISPLAY="$DISPLAY" -DTOLVANE_E2E_WINEPREFIX="$WINEPREFIX" &&
    cmake --build --preset windows && ctest --preset windows --output-junit "$junit"
}

etape "mise en forme (clang-format)" bash scripts/verifie-format.sh
etape "tests unitaires (linux)" natif linux
etape "tests unitaires sous ASan+UBSan (linux-asan)" natif linux-asan
etape "build Windows et tests sous Wine (windows)" windows
etape "fuzzing libFuzzer, 20 s par cible (fuzz)" bash scripts/fuzz.sh 20
rm -f "$junit"

echo "==== résumé ($((SECONDS - debut)) s)"
printf '  %s\n' "${resultats[@]}"
echo "teste-tout: $reussis passed, $echoues failed"
[ "$echoues" -eq 0 ]
