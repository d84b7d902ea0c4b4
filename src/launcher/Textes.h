// The texts the launcher logic shows, exactly as users know them (spelling included).
#pragma once

namespace tolvane::Textes {

inline constexpr wchar_t TitreMerci[] = L"Merci !!!";
inline constexpr wchar_t FichierINIAbsent[] =
    L"Le fichier 'Tolvane.ini' n'existe pas, veuillez le cr\u00e9er en entrant les param\u00e8tres "
    L"n\u00e9cessaire et en cliquant sur SAUVER !!!";
inline constexpr wchar_t EchecLecture[] = L"echec de LitDansINI";
inline constexpr wchar_t EchecEcriture[] = L"echec de WritePrivateProfilesstring";
inline constexpr wchar_t EchecLancement[] = L"Echec de WinExec !!!";

inline constexpr wchar_t TitreSauver[] = L"Voulez vous sauver ?";
inline constexpr wchar_t QuestionSauver[] =
    L"Attention, un fois ex\u00e9cut\u00e9 le programme se terminera (c'est une vraie simulation "
    L"!!!)\r\n\r\nVoulez vous sauver les param\u00e8tres avant d'essayer le programme ???";

inline constexpr wchar_t TitreAttention[] = L"Attention !!!";
inline constexpr wchar_t AucunExecutable[] = L"Aucun fichier ex\u00e9cutable dans le r\u00e9pertoire : ";
inline constexpr wchar_t ParametrerRepertoire[] =
    L"Veuillez param\u00e8trer le logiciel avec un r\u00e9pertoire contenant au moins un "
    L"ex\u00e9cutable !!!";

// A directory that cannot be read at all (missing, refused…): the settings need the user.
inline constexpr wchar_t RepertoireIllisible[] = L"Impossible de lire le r\u00e9pertoire : ";
// A share or network drive still out of reach after the wait at start-up: nothing is wrong
// with the settings, the next start will try again.
inline constexpr wchar_t RepertoireInjoignable[] =
    L"Le r\u00e9pertoire des ex\u00e9cutables n'est pas accessible pour le moment : ";
inline constexpr wchar_t EssaiAuProchainDemarrage[] =
    L"La mise \u00e0 jour sera tent\u00e9e au prochain d\u00e9marrage du poste ...";

inline constexpr wchar_t TitreEnfin[] = L"Enfin, voyons !!!";
inline constexpr wchar_t LecteurAbsent[] =
    L"Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
    L"chemin, merci !";
inline constexpr wchar_t LecteurPasPret[] = L"Le lecteur que vous avez choisi n'est pas pr\u00eat !!!";
inline constexpr wchar_t CheminAbsent[] = L"Le chemin que vous avez choisi n'existe pas !!!";
inline constexpr wchar_t SauvegardeAnnulee[] =
    L"Le chemin Entr\u00e9 n'est pas valide, sauvegarde dans le fichier INI annul\u00e9e ...";

// What the about label says: the product, its version, what it does.
inline constexpr wchar_t APropos[] =
    L"Tolvane 1.0 - Logiciel de mise \u00e0 jour automatique : au d\u00e9marrage du poste, lance "
    L"l'ex\u00e9cutable plac\u00e9 dans le r\u00e9pertoire choisi, \u00e0 chaque fois ou seulement "
    L"quand son nom change.";

}  // namespace tolvane::Textes
