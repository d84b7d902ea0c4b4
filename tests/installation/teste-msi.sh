#!/usr/bin/env bash
# The MSI under Wine, in a prefix of its own (the end-to-end prefix is left as it was):
#   teste-msi.sh MSI SONDE DOSSIER [ANCIEN_MSI]
# installs it without anyone at the keyboard, checks the programs, the registry values and the
# bytes of the settings file, lets the installed launcher start a probe from CHEMIN, reads the
# event a run writes (WINEDEBUG=+eventlog: Wine's ReportEventW prints it and logs nothing), and
# uninstalls. DOSSIER holds the prefix and what each step leaves for a failure to show.
# Wine applies no permission: the rights on Tolvane.ini and on the record file are checked in the
# install log only; Wine's Task Scheduler keeps no trigger, principal or command, so the task is
# seen through the file it stores (its definition is checked by the unit tests).
set -uo pipefail
msi=$(readlink -f "$1")
sonde=$(readlink -f "$2")
dossier=$(readlink -f "$3")
# The 1.0.0 the fleets run (built from bdb7af6), upgraded in section 11.
ancien=$(readlink -f "${4:-$(dirname "$0")/paquets/Tolvane-1.0.0-bdb7af6-x64.msi}")
mkdir -p "$dossier"
export TOLVANE_WINEPREFIX="$dossier/prefixe"
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"

# shellcheck source=../verifications.sh
source "$(dirname "$0")/../verifications.sh"

# A run that stopped half-way leaves a product installed: start again from a fresh prefix.
if [ ! -f "$dossier/.propre" ]; then
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
fi
rm -f "$dossier/.propre"
tolvane_prepare_prefixe || { echo "teste-msi: préfixe Wine inutilisable" >&2; exit 1; }
tolvane_demarre_wineserver
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

c="$WINEPREFIX/drive_c"
programmes="$c/Program Files/Tolvane"
ini="$programmes/Tolvane.ini"
dernier="$programmes/Tolvane_Dernier.ini"
tache="$c/windows/system32/tasks/Tolvane"
msiwin=$(winepath -w "$msi" 2>/dev/null)

msiexec() {  # msiexec JOURNAL ARGUMENTS...: msiexec's exit code
  local journal=$1; shift
  timeout 300 wine msiexec "$@" /qn /l*v "$(winepath -w "$dossier/$journal" 2>/dev/null)" </dev/null >/dev/null 2>&1
}
valeur() {  # valeur KEY NAME: the data of a registry value, as reg query prints it
  wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^  /, ""); print }'
}
absente() { ! wine reg query "$1" /v "$2" </dev/null >/dev/null 2>&1; }
cle_absente() { ! wine reg query "$1" </dev/null >/dev/null 2>&1; }
# The bytes a save writes: CR LF, Windows-1252.
# The record file holding NAME.
record() { printf '[Dernier Fichier Execute]\r\nNom_Fich=%s\r\n' "$1"; }
reglages() {  # reglages CHEMIN OPTION NOM ACTIVEE TITRE INSTRUCTIONS
  printf '[Chemin]\r\nChemin_Demarrage=%s\r\n[Option]\r\nOption_Demarrage=%s\r\n[Dernier Fichier Execute]\r\nNom_Fich=%s\r\n[Instructions]\r\nActivee=%s\r\nTitre_Fenetre=%s\r\nInstructions=%s\r\n' "$@" |
    iconv -f UTF-8 -t WINDOWS-1252
}
memes_octets() {  # memes_octets FILE EXPECTED_FILE
  if cmp -s "$1" "$2"; then return 0; fi
  echo "  attendu :"; od -c "$2" | sed 's/^/    /'
  echo "  obtenu :"; od -c "$1" 2>&1 | sed 's/^/    /'
  return 1
}
echoue() {  # echoue COMMAND...: the command fails (run here, so that our functions are found)
  ! "$@"
}
attend() {  # attend COMMAND...: polls 50 ms, 10 s at most
  tolvane_attends "$@"
}
run="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
source_ev="HKLM\\SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Tolvane"
instructions_defaut="Entrez ici les instructions que vous voulez indiquez avant le lancement de l'exécutable ... ATTENTION sans 'ENTER'"

echo "== 0. les tables du paquet suivent les règles de Windows Installer"
table() { msiinfo export "$msi" "$1" | tr -d '\r'; }
ligne_de() { table "$1" | awk -F '\t' -v c="$2" '$1 == c'; }
version=$(table Property | awk -F '\t' '$1 == "ProductVersion" { print $2 }')
verifie "un seul numéro de version : celui du nom du paquet ($version)" test "$(basename "$msi")" = "Tolvane-$version-x64.msi"
verifie "page de code 1252 déclarée" bash -c 'msiinfo export "$1" _ForceCodepage | tr -d "\r" | grep -q "^1252	_ForceCodepage$"' _ "$msi"
verifie "modèle x64;1036 et sujet en ASCII" bash -c 'msiinfo suminfo "$1" | grep -q "^Template: x64;1036$" &&
  msiinfo suminfo "$1" | grep "^Subject:" | LC_ALL=C grep -qv "[^ -~]"' _ "$msi"
verifie "actions immédiates sans « no impersonate » (ICE68)" bash -c '
  table() { msiinfo export "$1" CustomAction | tr -d "\r" | tail -n +4; }
  ! table "$1" | awk -F "\t" '"'"'and($2, 1024) == 0 && and($2, 2048) != 0'"'"' | grep -q .' _ "$msi"
verifie "versions des programmes dans la table File" test "$(ligne_de File Tolvane_Lanceur.exe | cut -f5)" = "$version.0"
verifie "nom court à côté du nom long (ICE03)" test "$(ligne_de File Tolvane_Lanceur.exe | cut -f3)" = 'TOLVAN~1.EXE|Tolvane_Lanceur.exe'
verifie "une reconstruction de la même version remplace l'installée (maximum inclus, 513)" \
  bash -c 'msiinfo export "$1" Upgrade | tr -d "\r" | grep -q "	$2		513		WIX_UPGRADE_DETECTED$"' _ "$msi" "$version"
sequence_de() { ligne_de InstallExecuteSequence "$1" | cut -f3; }
verifie "l'ancien produit retiré dans la transaction : InstallInitialize < RemoveExistingProducts < actions immédiates < ProcessComponents" \
  test "$(sequence_de InstallInitialize)" -lt "$(sequence_de RemoveExistingProducts)" -a \
  "$(sequence_de RemoveExistingProducts)" -lt "$(sequence_de GardeMaintenance)" -a \
  "$(sequence_de VerifieDossier)" -lt "$(sequence_de ProcessComponents)"
verifie "une reconstruction remplace les fichiers de même version (REINSTALLMODE=emus)" \
  test "$(ligne_de Property REINSTALLMODE | cut -f2)" = emus
verifie "le dossier d'une version qui ne le retenait pas, par son composant (CompLocator)" \
  test "$(ligne_de CompLocator RechercheComposant)" = "$(printf 'RechercheComposant\t%s\t1' "$(ligne_de Component Programmes | cut -f2)")" -a \
  "$(ligne_de AppSearch TolvaneDossierComposant | cut -f2)" = RechercheComposant
verifie "la version a bougé depuis 1.0.0 ($version)" test "$version" != 1.0.0
verifie "OPTION sans valeur par défaut" bash -c '! msiinfo export "$1" Property | tr -d "\r" | grep -q "^OPTION	"' _ "$msi"
verifie "le dossier des programmes aux seuls administrateurs, liste protégée (MsiLockPermissionsEx)" test \
  "$(ligne_de MsiLockPermissionsEx DossierAuxAdministrateurs)" = \
  "$(printf 'DossierAuxAdministrateurs\tINSTALLDIR\tCreateFolder\tO:BAG:SYD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)\t')"
verifie "sur la ligne CreateFolder d'INSTALLDIR, appliquée par CreateFolders" bash -c '
  msiinfo export "$1" CreateFolder | tr -d "\r" | grep -q "^INSTALLDIR	Programmes$" &&
  msiinfo export "$1" InstallExecuteSequence | tr -d "\r" | grep -q "^CreateFolders	"' _ "$msi"
verifie "jamais de table LockPermissions à côté (erreur 1941)" bash -c '! msiinfo tables "$1" | grep -qx LockPermissions' _ "$msi"

echo "== 1. installation avec CHEMIN, puis lancement par le lanceur installé"
rm -rf "$c/maj" && mkdir -p "$c/maj" && cp "$sonde" "$c/maj/maj1.exe"
verifie "msiexec /i CHEMIN=C:\\maj /qn réussit" msiexec installation.log /i "$msiwin" 'CHEMIN=C:\maj'
verifie "les deux programmes installés" test -f "$programmes/Tolvane.exe" -a -f "$programmes/Tolvane_Lanceur.exe"
verifie "valeur Run : chemin complet du lanceur, entre guillemets" \
  test "$(valeur "$run" Tolvane)" = '"C:\Program Files\Tolvane\Tolvane_Lanceur.exe"'
verifie "source d'événements : EventMessageFile" \
  test "$(valeur "$source_ev" EventMessageFile)" = 'C:\Program Files\Tolvane\Tolvane_Lanceur.exe'
verifie "source d'événements : TypesSupported = 7" test "$(valeur "$source_ev" TypesSupported)" = 0x7
reglages 'C:\maj' Verifier_lancer aucun 0 TITRE "$instructions_defaut" >"$dossier/attendu-1.ini"
verifie "Tolvane.ini octet par octet comme une sauvegarde" memes_octets "$ini" "$dossier/attendu-1.ini"
# Wine's log mixes encodings; the lines looked for are ASCII. The custom actions log each command
# and its answer (under Wine icacls is a stub that answers 0 and changes nothing).
verifie "le journal montre le droit de 1.0.0 des Utilisateurs retiré de Tolvane.ini" \
  grep -a -q 'icacls.exe" "C:\\Program Files\\Tolvane\\Tolvane.ini" /remove:g \*S-1-5-32-545' "$dossier/installation.log"
record aucun >"$dossier/dernier-aucun.ini"
verifie "Tolvane_Dernier.ini créé, avec le dernier nom de Tolvane.ini" memes_octets "$dernier" "$dossier/dernier-aucun.ini"
verifie "lecture et écriture des données pour les Utilisateurs, sur lui seul" \
  grep -a -q 'icacls.exe" "C:\\Program Files\\Tolvane\\Tolvane_Dernier.ini" /grant \*S-1-5-32-545:(RX,WD)' "$dossier/installation.log"
verifie "et la réponse d'icacls" env LC_ALL=C grep -a -q 'Tolvane : icacls.exe a r.pondu 0' "$dossier/installation.log"
verifie "aucun autre droit donné" \
  bash -c '! grep -a "/grant" "$1" | grep -a -v -q "Tolvane_Dernier.ini\" /grant"' _ "$dossier/installation.log"
verifie "pas de tâche planifiée" test ! -e "$tache"
WINEDEBUG=+eventlog timeout 30 wine 'C:\Program Files\Tolvane\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>"$dossier/trace-1.txt"
verifie "le lanceur installé démarre la sonde de CHEMIN" attend grep -s -q 'C:\\maj\\maj1.exe' "$c/maj/sonde.log"
verifie "événement 1 (lancé), type information" grep -q 'ReportEventW.*,0x0004,0x0000,0x00000001,' "$dossier/trace-1.txt"
verifie "sa première chaîne : le fichier" grep -q ':eventlog:ReportEventW L"maj1.exe"' "$dossier/trace-1.txt"
verifie "sa seconde : le répertoire" grep -q ':eventlog:ReportEventW L"C:\\\\maj"' "$dossier/trace-1.txt"
record maj1.exe >"$dossier/dernier-maj1.ini"
verifie "le lanceur a noté maj1.exe dans Tolvane_Dernier.ini" attend cmp -s "$dernier" "$dossier/dernier-maj1.ini"
verifie "Tolvane.ini inchangé" memes_octets "$ini" "$dossier/attendu-1.ini"

echo "== 2. désinstallation : programmes, valeur Run, source d'événements et Tolvane.ini écrit partis"
verifie "msiexec /x /qn réussit" msiexec desinstallation.log /x "$msiwin"
verifie "programmes supprimés" test ! -e "$programmes/Tolvane.exe" -a ! -e "$programmes/Tolvane_Lanceur.exe"
verifie "Tolvane.ini écrit par l'installation supprimé" test ! -e "$ini"
verifie "Tolvane_Dernier.ini supprimé" test ! -e "$dernier"
verifie "valeur Run supprimée" absente "$run" Tolvane
verifie "source d'événements supprimée" cle_absente "$source_ev"

echo "== 3. indications, OPTION, accents"
verifie "msiexec /i avec OPTION, TITRE et INSTRUCTIONS réussit" msiexec installation-3.log /i "$msiwin" \
  'CHEMIN=\\serveur\maj' OPTION=toujours_LANCER 'TITRE=Mise à jour' 'INSTRUCTIONS=Ne pas éteindre le poste'
reglages '\\serveur\maj' Toujours_lancer aucun 1 'Mise à jour' 'Ne pas éteindre le poste' >"$dossier/attendu-3.ini"
verifie "Activee=1, titre et texte donnés, en Windows-1252" memes_octets "$ini" "$dossier/attendu-3.ini"
verifie "OPTION inconnue : installation refusée" echoue msiexec installation-3b.log /i "$msiwin" 'CHEMIN=C:\maj' OPTION=Parfois
verifie "même sans CHEMIN" echoue msiexec installation-3c.log /i "$msiwin" OPTION=Parfois
verifie "EDITEURS mal formé : installation refusée" echoue msiexec installation-3d.log /i "$msiwin" \
  'CHEMIN=\\serveur\maj' 'EDITEURS=3B7E0C11A24F9D0123456789ABCDEF0123456789;12 34'
verifie "le journal nomme l'entrée" env LC_ALL=C grep -a -q 'EDITEURS : .* 12 34 ' "$dossier/installation-3d.log"
verifie "EDITEURS écrit sous sa forme normale, à la suite" msiexec installation-3e.log /i "$msiwin" \
  'CHEMIN=\\serveur\maj' 'EDITEURS=3b:7e 0c 11 a2 4f 9d 01 23 45 67 89 ab cd ef 01 23 45 67 89;'
{ cat "$dossier/attendu-3.ini"; printf '[Signature]\r\nEditeurs=3B7E0C11A24F9D0123456789ABCDEF0123456789\r\n'; } >"$dossier/attendu-3e.ini"
verifie "Tolvane.ini : [Signature] Editeurs=3B7E…" memes_octets "$ini" "$dossier/attendu-3e.ini"
verifie "EDITEURS=- retire la vérification" msiexec installation-3f.log /i "$msiwin" 'CHEMIN=\\serveur\maj' EDITEURS=-
verifie "Editeurs vide" grep -q $'^Editeurs=\r$' "$ini"
verifie "DUREE_MAXIMALE hors bornes : installation refusée" echoue msiexec installation-3g.log /i "$msiwin" \
  'CHEMIN=\\serveur\maj' DUREE_MAXIMALE=241
verifie "DELAI_ALEATOIRE et DUREE_MAXIMALE donnés" msiexec installation-3h.log /i "$msiwin" 'CHEMIN=\\serveur\maj' \
  DELAI_ALEATOIRE=15 DUREE_MAXIMALE=90
verifie "écrits dans [Poste]" grep -q $'^\\[Poste\\]\r$' "$ini"
verifie "Delai_Aleatoire=15" grep -q $'^Delai_Aleatoire=15\r$' "$ini"
verifie "Duree_Maximale=90" grep -q $'^Duree_Maximale=90\r$' "$ini"
verifie "msiexec /x /qn réussit" msiexec desinstallation-3.log /x "$msiwin"

echo "== 4. sans CHEMIN : aucun fichier écrit ; le premier démarrage le signale dans le journal"
verifie "msiexec /i sans CHEMIN réussit" msiexec installation-4.log /i "$msiwin"
verifie "pas de Tolvane.ini" test ! -e "$ini"
WINEDEBUG=+eventlog wine 'C:\Program Files\Tolvane\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>"$dossier/trace.txt" &
lanceur=$!
# Wine prints the call (source, type, ID) and then each insertion string (a warning).
verifie "événement 8 (fichier de paramètres absent), type avertissement" \
  attend grep -q 'ReportEventW.*,0x0002,0x0000,0x00000008,' "$dossier/trace.txt"
verifie "sa chaîne : le chemin de Tolvane.ini" \
  attend grep -q 'warn:eventlog:ReportEventW L"C:\\\\Program Files\\\\Tolvane\\\\Tolvane.ini"' "$dossier/trace.txt"
verifie "source Tolvane" grep -q 'RegisterEventSourceW.*L"Tolvane"' "$dossier/trace.txt"
kill "$lanceur" 2>/dev/null; wait "$lanceur" 2>/dev/null
printf '[Chemin]\r\nChemin_Demarrage=D:\\fait main\r\n' >"$ini"
cp "$ini" "$dossier/fait-main.ini"
verifie "msiexec /x /qn réussit" msiexec desinstallation-4.log /x "$msiwin"
verifie "un Tolvane.ini que l'installation n'a pas écrit reste" cmp -s "$ini" "$dossier/fait-main.ini"
verifie "programmes supprimés" test ! -e "$programmes/Tolvane_Lanceur.exe"
rm -f "$ini"

echo "== 5. une version plus récente remplace celle-ci : les paramètres du poste restent"
# Windows removes the older version with UPGRADINGPRODUCTCODE set; Wine's RemoveExistingProducts
# runs "msiexec /i {product} REMOVE=ALL" without it, so the removal an upgrade makes is played
# here as Windows plays it.
produit=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }')
verifie "installée avec CHEMIN" msiexec installation-5.log /i "$msiwin" 'CHEMIN=C:\maj'
timeout 30 wine 'C:\Program Files\Tolvane\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>&1
verifie "le lanceur a noté maj1.exe" attend cmp -s "$dernier" "$dossier/dernier-maj1.ini"
verifie "retirée comme par une version plus récente" msiexec desinstallation-5.log /x "$produit" \
  'UPGRADINGPRODUCTCODE={5B0E2C1A-7D3F-4E59-9A61-0C8F3B2D4E71}'
verifie "programmes supprimés" test ! -e "$programmes/Tolvane_Lanceur.exe"
verifie "Tolvane.ini du poste gardé" cmp -s "$ini" "$dossier/attendu-1.ini"
verifie "Tolvane_Dernier.ini gardé, dernier nom lancé compris" cmp -s "$dernier" "$dossier/dernier-maj1.ini"
verifie "la nouvelle version sans CHEMIN les garde tels quels" msiexec installation-5b.log /i "$msiwin"
verifie "Tolvane.ini inchangé" cmp -s "$ini" "$dossier/attendu-1.ini"
verifie "Tolvane_Dernier.ini inchangé" cmp -s "$dernier" "$dossier/dernier-maj1.ini"
verifie "msiexec /x /qn réussit" msiexec desinstallation-5b.log /x "$msiwin"
verifie "Tolvane.ini écrit par la version précédente supprimé" test ! -e "$ini"

echo "== 6. DEMARRAGE=POSTE : la tâche planifiée, ni valeur Run ni fichier que les utilisateurs écrivent"
verifie "DEMARRAGE inconnu : installation refusée" echoue msiexec installation-6a.log /i "$msiwin" DEMARRAGE=Parfois
verifie "msiexec /i DEMARRAGE=poste réussit" msiexec installation-6.log /i "$msiwin" 'CHEMIN=C:\maj' DEMARRAGE=poste
verifie "tâche \\Tolvane inscrite" test -f "$tache"
verifie "pas de valeur Run" absente "$run" Tolvane
verifie "pas de Tolvane_Dernier.ini" test ! -e "$dernier"
verifie "retirée comme par une version plus récente" msiexec desinstallation-6.log /x "$produit" \
  'UPGRADINGPRODUCTCODE={5B0E2C1A-7D3F-4E59-9A61-0C8F3B2D4E71}'
verifie "la version suivante sans DEMARRAGE garde la tâche" msiexec installation-6b.log /i "$msiwin"
verifie "tâche toujours là" test -f "$tache"
verifie "toujours pas de valeur Run" absente "$run" Tolvane
verifie "msiexec /x /qn réussit" msiexec desinstallation-6b.log /x "$msiwin"
verifie "la désinstallation retire la tâche" test ! -e "$tache"
rm -f "$ini"

echo "== 7. mises à jour dans l'ordre de Windows : ce que le poste a noté et choisi reste"
produit=$(msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }')
mise_a_jour() {  # mise_a_jour JOURNAL ARGUMENTS...: the older version removed as Windows does, then this one
  msiexec "$1-x.log" /x "$produit" 'UPGRADINGPRODUCTCODE={5B0E2C1A-7D3F-4E59-9A61-0C8F3B2D4E71}' &&
    msiexec "$1.log" /i "$msiwin" "${@:2}"
}
autre="$c/Outils/Tolvane"
verifie "installée dans un dossier choisi, Toujours_lancer" msiexec installation-7.log /i "$msiwin" 'CHEMIN=C:\maj' \
  'INSTALLDIR=C:\Outils\Tolvane\' OPTION=Toujours_lancer
timeout 30 wine 'C:\Outils\Tolvane\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>&1
verifie "le lanceur a noté maj1.exe" attend cmp -s "$autre/Tolvane_Dernier.ini" "$dossier/dernier-maj1.ini"
cp "$autre/Tolvane.ini" "$dossier/avant-7.ini"
verifie "mise à jour avec le même CHEMIN (chemin final sans séparateur ou avec)" mise_a_jour installation-7b 'CHEMIN=C:\maj\'
verifie "dans le dossier choisi, retenu" test -f "$autre/Tolvane_Lanceur.exe" -a ! -e "$programmes/Tolvane_Lanceur.exe"
verifie "dernier nom lancé gardé" cmp -s "$autre/Tolvane_Dernier.ini" "$dossier/dernier-maj1.ini"
verifie "OPTION non redonnée : celle du poste reste" grep -q 'Option_Demarrage=Toujours_lancer' "$autre/Tolvane.ini"
verifie "mise à jour avec un autre CHEMIN" mise_a_jour installation-7c 'CHEMIN=C:\autre'
verifie "dernier nom lancé remis à aucun" cmp -s "$autre/Tolvane_Dernier.ini" "$dossier/dernier-aucun.ini"
verifie "mise à jour en POSTE" mise_a_jour installation-7d DEMARRAGE=POSTE
verifie "tâche inscrite, pas de valeur Run" bash -c 'test -f "$1" && ! wine reg query "$2" /v Tolvane >/dev/null 2>&1' _ "$tache" "$run"
verifie "le mode redonné l'emporte sur le mode retenu" mise_a_jour installation-7e DEMARRAGE=SESSION
verifie "valeur Run, plus de tâche" bash -c 'test ! -e "$1" && wine reg query "$2" /v Tolvane >/dev/null 2>&1' _ "$tache" "$run"

echo "== 8. une installation qui échoue laisse les paramètres comme avant"
cp "$autre/Tolvane.ini" "$dossier/avant-8.ini"
icacls="$c/windows/system32/icacls.exe"
mv "$icacls" "$icacls.cache"
verifie "sans icacls, l'installation échoue" echoue msiexec installation-8.log /i "$msiwin" 'CHEMIN=C:\encore'
mv "$icacls.cache" "$icacls"
verifie "Tolvane.ini octet pour octet comme avant" memes_octets "$autre/Tolvane.ini" "$dossier/avant-8.ini"
verifie "rien n'est resté de côté" test ! -e "$autre/Tolvane.ini.avant-installation"
verifie "msiexec /x /qn réussit" msiexec desinstallation-8.log /x "$msiwin"
verifie "le dossier choisi, vidé, est supprimé" test ! -e "$autre"

echo "== 9. une reconstruction de la même version remplace le produit installé"
msiexec installation-9.log /i "$msiwin" >/dev/null
cp "$msi" "$dossier/reconstruit.msi"
msibuild "$dossier/reconstruit.msi" -q "UPDATE \`Property\` SET \`Value\` = '{0C1D2E3F-4A5B-4C6D-8E7F-9A0B1C2D3E4F}' WHERE \`Property\` = 'ProductCode'"
verifie "la reconstruction s'installe" msiexec installation-9b.log /i "$(winepath -w "$dossier/reconstruit.msi" 2>/dev/null)"
produits=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*REG_SZ.*Tolvane$')
verifie "un seul produit Tolvane inscrit ($produits)" test "$produits" = 1
verifie "les deux programmes en place" test -f "$programmes/Tolvane.exe" -a -f "$programmes/Tolvane_Lanceur.exe"
msiexec desinstallation-9.log /x "$(winepath -w "$dossier/reconstruit.msi" 2>/dev/null)" >/dev/null

echo "== 10. qui décide : la tâche sans fichier, le dossier des programmes, la maintenance d'un utilisateur"
verifie "aucun journal ne montre schtasks ni de fichier de définition de la tâche" \
  bash -c '! grep -a -l -i "schtasks\|Tolvane-tache.xml" "$1"/*.log' _ "$dossier"
verifie "la tâche passe par l'API du Planificateur de tâches" env LC_ALL=C \
  grep -a -q 'Tolvane : inscription de la t.che \\Tolvane : 0x00000000' "$dossier/installation-6.log"
ouvert="$c/Ouvert/Tolvane"
mkdir -p "$ouvert" && chmod 777 "$ouvert"
verifie "un INSTALLDIR que tout le monde peut écrire : installation refusée" \
  echoue msiexec installation-10a.log /i "$msiwin" 'INSTALLDIR=C:\Ouvert\Tolvane\'
verifie "le journal nomme le dossier et le droit" env LC_ALL=C \
  grep -a -q 'Tolvane :   C:\\Ouvert\\Tolvane : S-1-1-0 peut .crire' "$dossier/installation-10a.log"
verifie "rien n'y est installé" test ! -e "$ouvert/Tolvane_Lanceur.exe"
chmod 755 "$ouvert" && cp "$sonde" "$ouvert/mpr.dll"
verifie "une DLL déposée dans l'INSTALLDIR : installation refusée" \
  echoue msiexec installation-10b.log /i "$msiwin" 'INSTALLDIR=C:\Ouvert\Tolvane\'
verifie "le journal la nomme" \
  grep -a -q "Tolvane :   C:\\\\Ouvert\\\\Tolvane\\\\mpr.dll : n'est pas un fichier de Tolvane" "$dossier/installation-10b.log"
rm -rf "$c/Ouvert"
# Windows Installer sets RestrictedUserControl for a user who is not an administrator; Wine never
# does, upper-cases the names given on its command line and runs maintenance from the package it
# cached: the product is installed from a copy holding the property, which the first install
# ignores (nothing is installed yet).
cp "$msi" "$dossier/restreint.msi"
msibuild "$dossier/restreint.msi" -q "INSERT INTO \`Property\` (\`Property\`, \`Value\`) VALUES ('RestrictedUserControl', '1')"
msiwin=$(winepath -w "$dossier/restreint.msi" 2>/dev/null)
verifie "installée avec CHEMIN" msiexec installation-10c.log /i "$msiwin" 'CHEMIN=C:\maj'
verifie "Tolvane.ini écrit" grep -q 'Chemin_Demarrage=C:\\maj' "$ini"
cp "$ini" "$dossier/avant-10.ini"
verifie "une maintenance d'un utilisateur standard réussit" msiexec installation-10d.log /i "$msiwin" \
  'CHEMIN=C:\Users\Public\x' DEMARRAGE=POSTE
verifie "ses propriétés ignorées, et le journal le dit" env LC_ALL=C \
  grep -a -q 'Tolvane : maintenance .* ignor.es : CHEMIN, DEMARRAGE' "$dossier/installation-10d.log"
verifie "Tolvane.ini inchangé" memes_octets "$ini" "$dossier/avant-10.ini"
verifie "ni tâche ni changement de démarrage" bash -c 'test ! -e "$1" && wine reg query "$2" /v Tolvane >/dev/null 2>&1' _ "$tache" "$run"
msiexec desinstallation-10.log /x "$msiwin" >/dev/null

echo "== 11. depuis la 1.0.0 des postes : paramètres, dernier nom et dossier gardés ; jamais de retour en arrière"
msiwin=$(winepath -w "$msi" 2>/dev/null)
ancienwin=$(winepath -w "$ancien" 2>/dev/null)
ancien_produit=$(msiinfo export "$ancien" Property | tr -d '\r' | awk -F '\t' '$1 == "ProductCode" { print $2 }')
rm -f "$c/maj/sonde.log"
verifie "la 1.0.0 installée dans un dossier choisi" msiexec installation-11.log /i "$ancienwin" 'CHEMIN=C:\maj' \
  'INSTALLDIR=C:\Outils\Tolvane\'
timeout 30 wine 'C:\Outils\Tolvane\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>&1
verifie "son lanceur a noté maj1.exe" attend cmp -s "$autre/Tolvane_Dernier.ini" "$dossier/dernier-maj1.ini"
cp "$autre/Tolvane.ini" "$dossier/avant-11.ini"
verifie "retirée comme par la nouvelle version" msiexec desinstallation-11.log /x "$ancien_produit" \
  'UPGRADINGPRODUCTCODE={5B0E2C1A-7D3F-4E59-9A61-0C8F3B2D4E71}'
verifie "la nouvelle version s'installe sans propriété" msiexec installation-11b.log /i "$msiwin"
verifie "dans le même dossier" test -f "$autre/Tolvane_Lanceur.exe" -a ! -e "$programmes/Tolvane_Lanceur.exe"
verifie "Tolvane.ini gardé" memes_octets "$autre/Tolvane.ini" "$dossier/avant-11.ini"
verifie "dernier nom lancé gardé" cmp -s "$autre/Tolvane_Dernier.ini" "$dossier/dernier-maj1.ini"
verifie "la 1.0.0 ne s'installe plus par-dessus" echoue msiexec installation-11c.log /i "$ancienwin"
produits=$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s </dev/null 2>/dev/null | tr -d '\r' | grep -c 'DisplayName.*REG_SZ.*Tolvane$')
verifie "un seul produit Tolvane inscrit ($produits)" test "$produits" = 1
# A build that did not remember its folder: found through the installed component. A copy with its
# own product code stops right after the folder is resolved (an error action, 19); the log's
# property dump says which.
wine reg delete 'HKLM\Software\Tolvane' /v Dossier /f </dev/null >/dev/null 2>&1
cp "$msi" "$dossier/dossier.msi"
msibuild "$dossier/dossier.msi" -q "UPDATE \`Property\` SET \`Value\` = '{1E2F3A4B-5C6D-4E7F-8A9B-0C1D2E3F4A5B}' WHERE \`Property\` = 'ProductCode'" \
  -q "INSERT INTO \`CustomAction\` (\`Action\`, \`Type\`, \`Source\`, \`Target\`) VALUES ('Arret', 19, '', 'arret apres CostFinalize')" \
  -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Condition\`, \`Sequence\`) VALUES ('Arret', '', 1001)"
msiexec installation-11d.log /i "$(winepath -w "$dossier/dossier.msi" 2>/dev/null)"
verifie "sans valeur de registre, le dossier du composant installé" \
  grep -a -q -x 'Property(S): INSTALLDIR = C:\\Outils\\Tolvane\\' <(tr -d '\r' <"$dossier/installation-11d.log")
wine reg add 'HKLM\Software\Tolvane' /v Dossier /d 'C:\Outils\Tolvane\' /f </dev/null >/dev/null 2>&1
verifie "mise à jour de SESSION en POSTE" mise_a_jour installation-11e DEMARRAGE=POSTE
verifie "le dernier nom du fichier des utilisateurs porté dans Tolvane.ini" grep -q $'^Nom_Fich=maj1.exe\r$' "$autre/Tolvane.ini"
verifie "le fichier des utilisateurs mis de côté" test ! -e "$autre/Tolvane_Dernier.ini"
rm -f "$c/maj/sonde.log"
timeout 30 wine 'C:\Outils\Tolvane\Tolvane_Lanceur.exe' </dev/null >/dev/null 2>&1
verifie "le lanceur ne relance pas maj1.exe" test ! -s "$c/maj/sonde.log"
msiexec desinstallation-11.log /x "$msiwin" >/dev/null

if [ "$echecs" -eq 0 ]; then
  touch "$dossier/.propre"
  echo "teste-msi: tout est bon"
  exit 0
fi
echo "teste-msi: $echecs échec(s); journaux et fichiers dans $dossier"
exit 1
