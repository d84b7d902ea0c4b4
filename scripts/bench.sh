#!/usr/bin/env bash
# Launcher benchmark under Wine (not a pass/fail test), in one command:
#   bash scripts/bench.sh [rounds, 21 by default]
# Times Tolvane_Lanceur.exe ("Toujours_lancer", instructions off) against the floor
# (plancher.exe: FindFirstFileExW + CreateProcessW) and a cmd.exe batch file, interleaved
# A B C A B C..., with 10 and 100,000 files in the directory, in two ways:
#   - started by a Windows program (banc_lancement.exe), from its start to the start of the
#     program it launches;
#   - started directly by `wine` from Linux (banc_direct.py), to its end and to the launched
#     program's start.
# Then what does not depend on the machine's load: Wine server requests, system calls and DLLs
# of one run of the launcher and of the floor; and the programs' sizes and imports.
set -euo pipefail
cd "$(dirname "$0")/.."
tours=${1:-21}
bash scripts/installe-prerequis.sh >/dev/null
# The windows preset's build; TOLVANE_BUILD_DIR: another build folder for it, if wanted.
bin=${TOLVANE_BUILD_DIR:-build/windows}
cmake --preset windows -B "$bin" >/dev/null
cmake --build "$bin" --target Tolvane Tolvane_Lanceur plancher chrono_sonde banc_lancement >/dev/null
# "wineserver -p" answers non-zero when a server already runs for the prefix: not a failure.
set +e
source scripts/wine-env.sh
set -e
trap tolvane_wine_nettoie EXIT

w() { winepath -w "$1" 2>/dev/null; }
# TOLVANE_LANCEUR: another build of the launcher to measure (an older one, say), same folder
# layout otherwise.
lanceur=$(w "${TOLVANE_LANCEUR:-$bin/src/builds/Tolvane_Lanceur.exe}")
plancher=$(w "$bin/tests/bench/plancher.exe")
sonde=$(w "$bin/tests/bench/chrono_sonde.exe")
banc=$bin/tests/bench/banc_lancement.exe

echo "Wine $(wine --version), $(nproc) cœurs, $(date -u +%Y-%m-%d)"
# TOLVANE_BANC_FICHIERS: the directory sizes to time ("10 100000" by default).
for fichiers in ${TOLVANE_BANC_FICHIERS:-10 100000}; do
  # The filler files are made from the Linux side: creating 100,000 files through Wine takes
  # minutes. The driver adds the probe and skips what exists.
  maj="$WINEPREFIX/drive_c/banc-tolvane-$fichiers/maj"
  mkdir -p "$maj"
  (cd "$maj" && seq -f 'fichier%06g.txt' 1 $((fichiers - 1)) | xargs touch)
  echo
  echo "### Répertoire de $fichiers fichiers (un seul .exe), $((tours - 1)) tours après un tour de chauffe"
  echo
  wine "$banc" "C:\\banc-tolvane-$fichiers" "$fichiers" "$tours" "$lanceur" "$plancher" "$sonde"
  echo
  echo "### Répertoire de $fichiers fichiers, chaque programme lancé par wine depuis Linux"
  echo
  python3 tests/bench/banc_direct.py "$WINEPREFIX/drive_c/banc-tolvane-$fichiers" "$tours" \
    "$WINEPREFIX/drive_c/banc-tolvane-$fichiers/lanceur/Tolvane_Lanceur.exe" "$bin/tests/bench/plancher.exe"
done

# One run of a program started by wine from Linux, in the 10-file folder, traced by a Wine
# server started for it: "requests syscalls dlls" of the program's own process.
trace=$(mktemp)
compte() {
  local dossier=$WINEPREFIX/drive_c/banc-tolvane-10 n0 tid requetes appels dll
  rm -f "$dossier/sonde.t"
  n0=$(wc -l <"$trace")
  # strace follows neither threads nor children: the program's own process only.
  WINEDEBUG=+loaddll strace -c -o "$trace.strace" wine "$@" 2>"$trace.dll" >/dev/null
  for _ in $(seq 200); do [ -e "$dossier/sonde.t" ] && break; sleep 0.05; done
  sleep 0.5  # the program may still be ending (the record) when the probe has started
  tail -n +"$((n0 + 1))" "$trace" >"$trace.run"
  tid=$(grep -m1 -o '^[0-9a-f]*: init_first_thread' "$trace.run" | cut -d: -f1)
  requetes=$(grep -c "^$tid: [a-z_]*( " "$trace.run" || true)
  appels=$(awk '$NF == "total" {print $4}' "$trace.strace")
  dll=$(grep -c "^$tid:trace:loaddll:.*Loaded" "$trace.dll" || true)
  echo "$requetes $appels $dll"
}
wineserver -k
wineserver -p -f -d1 2>"$trace" &
sleep 1
tolvane_demarre_wineserver
echo
echo "### Ce qui ne dépend pas de la charge : une exécution, répertoire de 10 fichiers"
echo
echo "| programme | requêtes au serveur Wine | appels système | DLL chargées (exécutable compris) |"
echo "|---|---:|---:|---:|"
export CHRONO_SONDE='C:\banc-tolvane-10\sonde.t'
for programme in Tolvane_Lanceur plancher; do
  # The folder of the 10-file timing: absent when only other sizes were timed.
  [ -d "$WINEPREFIX/drive_c/banc-tolvane-10/lanceur" ] || break
  if [ $programme = plancher ]; then ligne=("$bin/tests/bench/plancher.exe" 'C:\banc-tolvane-10\maj')
  else ligne=("$WINEPREFIX/drive_c/banc-tolvane-10/lanceur/Tolvane_Lanceur.exe"); fi
  compte "${ligne[@]}" >/dev/null  # first run: caches
  read -r requetes appels dll < <(compte "${ligne[@]}")
  echo "| $programme | $requetes | $appels | $dll |"
done
rm -f "$trace" "$trace".*

echo
echo "### Taille et importations"
echo
echo "| programme | taille (octets) | DLL importées au démarrage (user32, gdi32, shell32, ole32, advapi32 : chargement différé) |"
echo "|---|---:|---|"
for exe in Tolvane Tolvane_Lanceur; do
  f="$bin/src/builds/$exe.exe"
  dll=$(LC_ALL=C x86_64-w64-mingw32-objdump -p "$f" | sed -n 's/^\s*DLL Name: //p' | sort | paste -sd ' ')
  echo "| $exe.exe | $(stat -c %s "$f") | $dll |"
done
