#!/usr/bin/env bash
# A drive letter mapped after the launcher has started, as a logon script does minutes after
# logon: the launcher waits for it without showing anything, then launches the update.
#   lettre-tardive.sh LANCEUR SONDE DOSSIER
# Under Wine a letter is a link in the prefix's dosdevices/, seen at once by running programs.
set -uo pipefail
lanceur=$(readlink -f "$1")
sonde=$(readlink -f "$2")
dossier=$(readlink -f "$3")
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"

lien="$WINEPREFIX/dosdevices/m:"
rm -rf "$dossier" "$lien"
mkdir -p "$dossier/Programme" "$dossier/partage/Maj"
cp "$lanceur" "$dossier/Programme/Tolvane_Lanceur.exe"
cp "$sonde" "$dossier/partage/Maj/setup.exe"
printf '[Chemin]\r\nChemin_Demarrage=M:\\Maj\r\n[Option]\r\nOption_Demarrage=Toujours_lancer\r\n[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n[Instructions]\r\nActivee=0\r\nTitre_Fenetre=TITRE\r\nInstructions=x\r\n' >"$dossier/Programme/Tolvane.ini"

SONDE_JOURNAL=$(winepath -w "$dossier" 2>/dev/null) wine "$dossier/Programme/Tolvane_Lanceur.exe" </dev/null >/dev/null 2>&1 &
pid=$!
sleep 3
ln -s "$dossier/partage" "$lien"
# A window or a box would keep the launcher running: it must end by itself.
for _ in $(seq 1 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
code=0
if kill -0 "$pid" 2>/dev/null; then
  echo "ÉCHEC   le lanceur tourne encore 20 s après la connexion de M: (fenêtre ou boîte ?)"
  kill "$pid" 2>/dev/null
  code=1
fi
rm -f "$lien"
if grep -qi 'M:\\Maj\\setup.exe' "$dossier/sonde.log" 2>/dev/null; then
  echo "ok      M:\\Maj\\setup.exe lancé une fois la lettre connectée"
else
  echo "ÉCHEC   rien de lancé depuis M: (sonde.log : $(cat "$dossier/sonde.log" 2>/dev/null || echo absent))"
  code=1
fi
if grep -q 'Nom_Fich=setup.exe' "$dossier/Programme/Tolvane.ini"; then
  echo "ok      nom noté"
else
  echo "ÉCHEC   nom non noté"; code=1
fi
exit $code
