// Names and fixed values of the settings file Tolvane.ini. Written and compared exactly as
// here: the blanks in "Dernier Fichier Execute" and the missing accents are part of the format.
#pragma once

#include <cstddef>

namespace tolvane::SchemaINI {

inline constexpr wchar_t NomFichier[] = L"Tolvane.ini";
// Beside it, where the package makes it: the last launched name alone (the section "Dernier
// Fichier Execute", the key "Nom_Fich", the same format), so that a standard user's launcher
// records it without being able to write the settings.
inline constexpr wchar_t NomFichierDernier[] = L"Tolvane_Dernier.ini";

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

// The publishers allowed to sign an update (settings/Editeurs.h); none when empty or missing.
inline constexpr wchar_t SectionSignature[] = L"Signature";
inline constexpr wchar_t CleEditeurs[] = L"Editeurs";

// Where nobody is at the screen (a task at machine start): the bound, in whole minutes, of the
// random wait before the folder is first read, and how long the update is waited for.
inline constexpr wchar_t SectionPoste[] = L"Poste";
inline constexpr wchar_t CleDelaiAleatoire[] = L"Delai_Aleatoire";
inline constexpr wchar_t CleDureeMaximale[] = L"Duree_Maximale";
struct Bornes {
    int minimum, maximum;
};
inline constexpr Bornes BornesDelaiAleatoire{0, 60}, BornesDureeMaximale{1, 240};

// Beside "Nom_Fich", in the file that holds it: the name whose runs failed, and how many in a
// row.
inline constexpr wchar_t CleNomEchec[] = L"Nom_Echec";
inline constexpr wchar_t CleEchecs[] = L"Echecs";

// Each setting of the file, once. Every reader and writer of the file walks this table, in its
// order, which is the order a save writes them and so the order of a new file.
struct Reglage {
    const wchar_t* section;
    const wchar_t* cle;
    // What a save writes whatever the window holds; nullptr where it writes the window's value.
    const wchar_t* apresSauvegarde;
    // The value when none is given: what a save writes for the instructions' title and text
    // when they are off; nullptr where there is none.
    const wchar_t* defaut;
    // A setting the main window has no field for: the file may lack it, the start-up does not
    // read it and a save leaves it as it is. Only the package and the administrator write it.
    bool horsFenetre = false;
};

enum IndiceReglage : std::size_t {
    ICheminDemarrage,
    IOptionDemarrage,
    INomFich,
    IActivee,
    ITitreFenetre,
    IInstructions,
    IEditeurs,
    IDelaiAleatoire,
    IDureeMaximale
};

inline constexpr Reglage Reglages[] = {
    {SectionChemin, CleCheminDemarrage, nullptr, nullptr},
    {SectionOption, CleOptionDemarrage, nullptr, VerifierLancer},
    {SectionDernierFichier, CleNomFich, Aucun, Aucun},
    {SectionInstructions, CleActivee, nullptr, L"0"},
    {SectionInstructions, CleTitreFenetre, nullptr, TitreParDefaut},
    {SectionInstructions, CleInstructions, nullptr, InstructionsParDefaut},
    {SectionSignature, CleEditeurs, nullptr, L"", true},
    {SectionPoste, CleDelaiAleatoire, nullptr, L"0", true},
    {SectionPoste, CleDureeMaximale, nullptr, L"60", true},
};

// The settings of the main window's fields, the first ones of the table.
inline constexpr std::size_t NombreReglagesFenetre = [] {
    std::size_t n = 0;
    while (n < sizeof Reglages / sizeof Reglages[0] && !Reglages[n].horsFenetre) ++n;
    return n;
}();

}  // namespace tolvane::SchemaINI
