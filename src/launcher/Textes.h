// The texts the launcher logic shows, exactly as users know them (spelling included).
#pragma once

#include "platform/Services.h"

namespace tolvane::Textes {

inline constexpr wchar_t TitreMerci[] = L"Merci !!!";
inline constexpr wchar_t FichierINIAbsent[] =
    L"Le fichier 'Tolvane.ini' n'existe pas, veuillez le créer en entrant les paramètres "
    L"nécessaire et en cliquant sur SAUVER !!!";
inline constexpr wchar_t EchecLecture[] = L"echec de LitDansINI";
inline constexpr wchar_t EchecEcriture[] = L"echec de WritePrivateProfilesstring";
// After the reason of a write refused to the configuration program.
// A letter mapped by a script under an administrator's full token lives in the elevated session
// only, unseen by the user's (EnableLinkedConnections off, as by default): what mends it.
inline constexpr wchar_t LettreSessionElevee[] = L"est connecté seulement dans la session administrateur élevée : ";
inline constexpr wchar_t LettrePeutEtreSessionElevee[] =
    L"est peut-être connecté seulement dans la session administrateur élevée : ";
inline constexpr wchar_t RemedeSessionElevee[] =
    L"utilisez un chemin UNC (\\\\serveur\\partage) ou activez EnableLinkedConnections";
// Why a protected settings file is not written: set on purpose, so nothing else is to change.
inline constexpr wchar_t LectureSeule[] = L"fichier en lecture seule";
inline constexpr wchar_t EnAdministrateur[] = L"Tolvane.exe doit être exécuté en tant qu'administrateur.";
inline constexpr wchar_t EchecLancement[] = L"Echec de WinExec !!!";

inline constexpr wchar_t TitreSauver[] = L"Voulez vous sauver ?";
inline constexpr wchar_t QuestionSauver[] =
    L"Attention, un fois exécuté le programme se terminera (c'est une vraie simulation "
    L"!!!)\r\n\r\nVoulez vous sauver les paramètres avant d'essayer le programme ???";

inline constexpr wchar_t TitreAttention[] = L"Attention !!!";
inline constexpr wchar_t AucunExecutable[] = L"Aucun fichier exécutable dans le répertoire : ";
inline constexpr wchar_t ParametrerRepertoire[] =
    L"Veuillez paramètrer le logiciel avec un répertoire contenant au moins un "
    L"exécutable !!!";

// A directory that cannot be read at all (missing, refused…): the settings need the user.
inline constexpr wchar_t RepertoireIllisible[] = L"Impossible de lire le répertoire : ";
// A share or network drive still out of reach after the wait at start-up: nothing is wrong
// with the settings, the next start will try again.
inline constexpr wchar_t RepertoireInjoignable[] =
    L"Le répertoire des exécutables n'est pas accessible pour le moment : ";
inline constexpr wchar_t EssaiAuProchainDemarrage[] = L"La mise à jour sera tentée au prochain démarrage du poste ...";

// The reason event 12 gives for a machine-start lock whose name another account took first,
// before that account's SID.
inline constexpr wchar_t VerrouNonFiable[] = L"verrou créé par un autre compte que SYSTEM ou Administrateurs : ";

// An update the allowed publishers' list refuses, and why.
inline constexpr wchar_t EditeursInvalides[] =
    L"La liste des éditeurs autorisés de Tolvane.ini (section « Signature », clé « Editeurs ») n'est pas "
    L"valide : aucune mise à jour n'est lancée. Entrée en cause :";
inline constexpr wchar_t MiseAJourRefusee[] = L"Mise à jour refusée : ";
inline constexpr wchar_t Signataire[] = L"Signataire : ";
inline constexpr wchar_t NonSigne[] = L"non signé";
inline constexpr wchar_t NonVerifie[] = L"non vérifié";
constexpr const wchar_t* RaisonRefus(VerdictSignature verdict) {
    switch (verdict) {
    case VerdictSignature::NonSignee: return L"elle n'est pas signée";
    case VerdictSignature::Alteree: return L"elle a été modifiée depuis sa signature";
    case VerdictSignature::NonApprouvee:
        return L"sa signature n'est pas approuvée sur ce poste (autorité inconnue, certificat expiré ou révoqué)";
    case VerdictSignature::EditeurNonAutorise: return L"son éditeur n'est pas autorisé";
    case VerdictSignature::Autorisee: break;
    }
    return L"";
}

inline constexpr wchar_t TitreEnfin[] = L"Enfin, voyons !!!";
inline constexpr wchar_t LecteurAbsent[] =
    L"Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
    L"chemin, merci !";
inline constexpr wchar_t LecteurPasPret[] = L"Le lecteur que vous avez choisi n'est pas prêt !!!";
inline constexpr wchar_t CheminAbsent[] = L"Le chemin que vous avez choisi n'existe pas !!!";
inline constexpr wchar_t SauvegardeAnnulee[] =
    L"Le chemin Entré n'est pas valide, sauvegarde dans le fichier INI annulée ...";

// What the about label says: the product, its version, what it does.
inline constexpr wchar_t APropos[] =
    L"Tolvane 1.0 - Logiciel de mise à jour automatique : au démarrage du poste, lance "
    L"l'exécutable placé dans le répertoire choisi, à chaque fois ou seulement "
    L"quand son nom change.";

}  // namespace tolvane::Textes
