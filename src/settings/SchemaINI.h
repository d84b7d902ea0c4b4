// Names and fixed values of the settings file Tolvane.ini. Written and compared exactly as
// here: the blanks in "Dernier Fichier Execute" and the missing accents are part of the format.
#pragma once

namespace tolvane::SchemaINI {

inline constexpr wchar_t NomFichier[] = L"Tolvane.ini";

inline constexpr wchar_t SectionChemin[] = L"Chemin";
inline constexpr wchar_t CleCheminDemarrage[] = L"Chemin_Demarrage";

inline constexpr wchar_t SectionOption[] = L"Option";
inline constexpr wchar_t CleOptionDemarrage[] = L"Option_Demarrage";
inline constexpr wchar_t ToujoursLancer[] = L"Toujours_lancer";
inline constexpr wchar_t VerifierLancer[] = L"Verifier_lancer";

inline constexpr wchar_t SectionDernierFichier[] = L"Dernier Fichier Execute";
inline constexpr wchar_t CleNomFich[] = L"Nom_Fich";
inline constexpr wchar_t Aucun[] = L"aucun";

inline constexpr wchar_t SectionInstructions[] = L"Instructions";
inline constexpr wchar_t CleActivee[] = L"Activee";
inline constexpr wchar_t CleTitreFenetre[] = L"Titre_Fenetre";
inline constexpr wchar_t CleInstructions[] = L"Instructions";
inline constexpr wchar_t TitreParDefaut[] = L"TITRE";
inline constexpr wchar_t InstructionsParDefaut[] =
    L"Entrez ici les instructions que vous voulez indiquez avant le lancement de l'exécutable"
    L" ... ATTENTION sans 'ENTER'";

}  // namespace tolvane::SchemaINI
