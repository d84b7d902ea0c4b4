#!/usr/bin/env bash
# Launcher benchmark under Wine (not a pass/fail test):
#   bash scripts/bench.sh [rounds, 21 by default]
# Times Tolvane_Lanceur.exe ("Toujours_lancer", instructions off) from its start to the start of
# the program it launches, against the floor (plancher.exe: FindFirstFileExW + CreateProcessW)
# and a cmd.exe batch file, interleaved A B C A B C..., with 10 and 100,000 files in the
# directory. Then the programs' sizes and imports.
set -euo pipefail
cd "$(dirname "$0")/.."
tours=${1:-21}
bash scripts/installe-prerequis.sh >/dev/null
# TOLVANE_BUILD_DIR: another build folder than the windows preset's, if wanted.
bin=${TOLVANE_BUILD_DIR:-build/windows}
cmake -S . -B "$bin" -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$bin" --target Tolvane Tolvane_Lanceur plancher chrono_sonde banc_lancement >/dev/null
# "wineserver -p" answers non-zero when a server already runs for the prefix: not a failure.
set +e
source scripts/wine-env.sh
set -e
trap tolvane_wine_nettoie EXIT

w() { winepath -w "$1" 2>/dev/null; }
lanceur=$(w "$bin/src/builds/Tolvane_Lanceur.exe")
plancher=$(w "$bin/tests/bench/plancher.exe")
sonde=$(w "$bin/tests/bench/chrono_sonde.exe")
banc=$bin/tests/bench/banc_lancement.exe

echo "Wine $(wine --version), $(nproc) cœurs, $(date -u +%Y-%m-%d)"
for fichiers in 10 100000; do
  # The filler files are made from the Linux side: creating 100,000 files through Wine takes
  # minutes. The driver adds the probe and skips what exists.
  maj="$WINEPREFIX/drive_c/banc-tolvane-$fichiers/maj"
  mkdir -p "$maj"
  (cd "$maj" && seq -f 'fichier%06g.txt' 1 $((fichiers - 1)) | xargs touch)
  echo
  echo "### Répertoire de $fichiers fichiers (un seul .exe), $((tours - 1)) tours après un tour de chauffe"
  echo
  wine "$banc" "C:\\banc-tolvane-$fichiers" "$fichiers" "$tours" "$lanceur" "$plancher" "$sonde"
done

echo
echo "### Taille et importations"
echo
echo "| programme | taille (octets) | DLL importées au démarrage (user32 et gdi32 : chargement différé) |"
echo "|---|---:|---|"
for exe in Tolvane Tolvane_Lanceur; do
  f="$bin/src/builds/$exe.exe"
  dll=$(LC_ALL=C x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | sort | paste -sd ' ')
  echo "| $exe.exe | $(stat -c %s "$f") | $dll |"
done
