#!/usr/bin/env bash
# teste-signature.sh SOURCES DOSSIER OBJDUMP NON_SIGNE: the build signed with a certificate made here, from a
# throwaway certification authority (openssl), in a build folder of its own under DOSSIER. The two
# programs, the package's action DLL, as the package holds it, and the package must verify against
# that authority; the signed programs keep their machine, imports, version and manifest; the
# password appears in no command line, cache or log. NON_SIGNE, a program of the default build,
# stays unsigned. No time stamp: there is no network here.
set -uo pipefail
sources=$(readlink -f "$1")
dossier=$(readlink -f "$2")
objdump=$3
non_signe=$(readlink -f "$4")
mkdir -p "$dossier"
# shellcheck source=../verifications.sh
source "$(dirname "$0")/../verifications.sh"

cert="$dossier/certificats"
rm -rf "$cert" && mkdir -p "$cert"
export TOLVANE_SIGNATURE_MOT_DE_PASSE="jetable-$RANDOM-$RANDOM"
{
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Autorite de test Tolvane" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
    -keyout "$cert/ac.key" -out "$cert/ac.crt" &&
    openssl req -newkey rsa:2048 -nodes -subj "/CN=Editeur de test Tolvane" \
      -keyout "$cert/editeur.key" -out "$cert/editeur.csr" &&
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' >"$cert/ext.cnf" &&
    openssl x509 -req -days 2 -in "$cert/editeur.csr" -CA "$cert/ac.crt" -CAkey "$cert/ac.key" -CAcreateserial \
      -extfile "$cert/ext.cnf" -out "$cert/editeur.crt" &&
    openssl pkcs12 -export -inkey "$cert/editeur.key" -in "$cert/editeur.crt" -certfile "$cert/ac.crt" \
      -passout env:TOLVANE_SIGNATURE_MOT_DE_PASSE -out "$cert/editeur.pfx"
} >"$dossier/certificats.log" 2>&1 || { echo "teste-signature: certificats impossibles à faire" >&2; exit 1; }

build="$dossier/build"
# A new certificate each run: what an earlier run signed is made again.
rm -f "$build"/src/builds/*.exe "$build"/src/builds/installateur/*.dll "$build"/Tolvane-*-x64.msi
verifie "construction signée" bash -c 'cd "$1" && { cmake --preset windows -B "$2" -DTOLVANE_SIGNATURE_PFX="$3" &&
  cmake --build "$2" --target Tolvane Tolvane_Lanceur tolvane_msi; } >"$4" 2>&1' _ "$sources" "$build" \
  "$cert/editeur.pfx" "$dossier/build.log"
msi=$(ls "$build"/Tolvane-*-x64.msi 2>/dev/null | head -n 1)
signe() { osslsigncode verify -CAfile "$cert/ac.crt" -in "$1" >"$dossier/verification-$(basename "$1").log" 2>&1; }
for fichier in "$build/src/builds/Tolvane.exe" "$build/src/builds/Tolvane_Lanceur.exe" "$msi"; do
  verifie "$(basename "$fichier") signé" signe "$fichier"
done
# What is installed: the files and the action DLL as the package holds them.
contenu="$dossier/contenu"
rm -rf "$contenu" && mkdir -p "$contenu"
(cd "$contenu" && msiextract "$msi" >/dev/null && msidump -s "$msi" >/dev/null)
for programme in Tolvane.exe Tolvane_Lanceur.exe; do
  installe=$(find "$contenu" -name "$programme" -path "*Tolvane*" | head -n 1)
  verifie "$programme extrait du paquet, signé" signe "${installe:-$contenu/absent-$programme}"
done
verifie "la DLL des actions dans le paquet, signée" signe "$contenu/_Streams/Binary.ActionsTolvane"
verifie "signé par l'éditeur, SHA-256" grep -q "Editeur de test Tolvane" "$dossier/verification-Tolvane_Lanceur.exe.log"
verifie "condensés SHA-256" grep -q -i "sha256" "$dossier/verification-Tolvane_Lanceur.exe.log"
# The signature is appended: headers, imports and resources stay as built.
lanceur="$build/src/builds/Tolvane_Lanceur.exe"
verifie "machine x86-64" bash -c '"$1" -f "$2" | grep -q "architecture: i386:x86-64"' _ "$objdump" "$lanceur"
verifie "imports au démarrage inchangés" bash "$sources/tests/imports-au-demarrage.sh" "$objdump" \
  "$build/src/builds/Tolvane.exe" "$lanceur" >/dev/null
verifie "ressource de version « 1.00 »" bash -c 'strings -el "$1" | grep -A1 -x FileVersion | grep -q -x "1.00"' _ "$lanceur"
verifie "manifeste" grep -a -q 'supportedOS Id="{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"' "$lanceur"
verifie "la construction par défaut reste non signée" bash -c '! osslsigncode verify -in "$1" >/dev/null 2>&1' _ "$non_signe"
verifie "le mot de passe n'est ni dans le cache ni dans le journal de construction" \
  bash -c '! grep -r -a -q -F "$1" "$2/CMakeCache.txt" "$3/build.log" "$2/build.ninja"' _ "$TOLVANE_SIGNATURE_MOT_DE_PASSE" "$build" "$dossier"

if [ "$echecs" -eq 0 ]; then
  echo "teste-signature: tout est bon"
  exit 0
fi
echo "teste-signature: $echecs échec(s) ; journaux dans $dossier"
exit 1
