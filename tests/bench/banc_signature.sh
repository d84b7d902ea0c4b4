#!/usr/bin/env bash
# The cost of the signature check on a 100 MB update, under Wine (not a pass/fail test):
#   bash tests/bench/banc_signature.sh [rounds, 11 by default]
# Times the launcher from its start to its end, "Toujours_lancer", with the same signed update
# of 100 MB, without "Editeurs" then with the publisher's thumbprint, interleaved; prints the
# medians and their ratio. The update is the test probe padded to 100 MB and signed with the
# throwaway CA of the end-to-end tests, put in the prefix's Root store by those tests.
set -euo pipefail
cd "$(dirname "$0")/../.."
tours=${1:-11}
bin=${TOLVANE_BUILD_DIR:-build/windows}
set +e
source scripts/wine-env.sh
set -e
trap tolvane_wine_nettoie EXIT
signatures=$bin/tests/e2e/signatures
[ -f "$signatures/ac.der" ] || bash tests/e2e/signatures.sh "$bin/tests/e2e/sonde.exe" "$signatures" >/dev/null
d=$WINEPREFIX/drive_c/banc-signature
rm -rf "$d" && mkdir -p "$d/maj"
cp "$bin/src/builds/Tolvane_Lanceur.exe" "$d/"
head -c 104857600 /dev/zero | cat "$bin/tests/e2e/sonde.exe" - >"$d/grand.exe"
osslsigncode sign -certs "$signatures/autorise.pem" -key "$signatures/autorise.key" -h sha256 \
  -in "$d/grand.exe" -out "$d/maj/maj.exe" >/dev/null
rm "$d/grand.exe"
ini() {  # ini [THUMBPRINT]
  printf '[Chemin]\r\nChemin_Demarrage=C:\\banc-signature\\maj\r\n[Option]\r\nOption_Demarrage=Toujours_lancer\r\n'
  printf '[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n[Instructions]\r\nActivee=0\r\nTitre_Fenetre=T\r\nInstructions=I\r\n'
  [ -n "${1:-}" ] && printf '[Signature]\r\nEditeurs=%s\r\n' "$1"
  return 0
}
# The CA in the Root store: the end-to-end signature tests put it there.
[ -n "$(ls "$WINEPREFIX"/system.reg 2>/dev/null)" ] || { echo "préfixe Wine absent" >&2; exit 1; }
empreinte=$(cat "$signatures/editeur.sha1")
mesure() {  # mesure [THUMBPRINT]: milliseconds of one run
  ini "${1:-}" >"$d/Tolvane.ini"
  local t0 t1
  t0=$(date +%s%N)
  wine 'C:\banc-signature\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000000))
}
mesure >/dev/null
mesure "$empreinte" >/dev/null
sans=() avec=()
for ((i = 0; i < tours; i++)); do
  sans+=("$(mesure)")
  avec+=("$(mesure "$empreinte")")
done
mediane() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms=$(mediane "${sans[@]}") ma=$(mediane "${avec[@]}")
echo "Wine $(wine --version), $(nproc) cœurs, $tours tours alternés, mise à jour signée de 100 Mo"
echo "sans « Editeurs » : médiane $ms ms (${sans[*]})"
echo "avec « Editeurs » : médiane $ma ms (${avec[*]})"
awk -v a="$ma" -v s="$ms" 'BEGIN { printf "rapport avec / sans : %.2f\n", a / s }'
