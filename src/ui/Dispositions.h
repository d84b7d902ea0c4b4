// The designed layout of the three windows, in twips, rows in stacking order from back to
// front (a frame's children follow it). Control IDs are 100 + TabIndex. Each window's rows are
// named by its enum; TableDe leads Lie from a row to its table.
#pragma once

#include <array>

#include "platform/Fenetre.h"

namespace tolvane::Dispositions {

inline constexpr std::int32_t Saumon = RGB_(255, 224, 192);
inline constexpr std::int32_t Cyan = RGB_(0, 255, 255);
inline constexpr std::uint32_t Bandeau = BordureSimple | TexteCentre | ArialGras12;

inline constexpr wchar_t Credit[] = L"Tolvane 1.0 - Logiciel de mise à jour automatique";
inline constexpr wchar_t InstructionsDessin[] =
    L"Entrez ici les instructions que vous voulez indiquez \r\navant le lancement de "
    L"l'exécutable ...\r\n";

// Each window's rows are listed once, in a macro that gives both its enum and the names the
// rows are checked against.
#define TOLVANE_ENUM(ligne) ligne,
#define TOLVANE_NOM(ligne) #ligne,
#define TOLVANE_ENUM_ET_NOMS(LIGNES)                  \
    enum Ligne { LIGNES(TOLVANE_ENUM) NombreLignes }; \
    inline constexpr const char* NomsLignes[] = {LIGNES(TOLVANE_NOM)};

// One row per line, as the designer lists the controls: not rewrapped by the formatter.
// clang-format off
namespace Principale {
#define TOLVANE_LIGNES(X)                                                                       \
    X(Cmd_quitter) X(Chk_Instructions) X(Fra_indication) X(Txt_instructions) X(Txt_Titre)       \
    X(Lbl_instructions) X(Lbl_titre) X(Fra_Option) X(Opt_Mode1) X(Opt_Mode0) X(Cmd_Sauver)      \
    X(Cmd_OK) X(Flb_file) X(TXT_Chemin) X(Txt_Texte) X(Label3) X(Line3) X(Line2) X(Line1)       \
    X(Label2) X(Label1)
TOLVANE_ENUM_ET_NOMS(TOLVANE_LIGNES)
#undef TOLVANE_LIGNES
inline constexpr auto Controles = std::to_array<DescriptionControle>({
    {L"Cmd_quitter", Genre::CommandButton, L"Quitter", 5820, 4560, 1035, 555, 17, -1, AucunStyle, SansCouleur, 0},
    {L"Chk_Instructions", Genre::CheckBox, L"Afficher des indications au démarrage", 180, 2880, 4335, 315, 14, -1, Coche, SansCouleur, 0},
    {L"Fra_indication", Genre::Frame, L"Indications au démarrage ... ", 120, 3240, 4395, 3075, 9, -1, AucunStyle, SansCouleur, 0},
    {L"Txt_instructions", Genre::TextBox, InstructionsDessin, 240, 1440, 4035, 1515, 13, Fra_indication, Multiligne | EntreeNouvelleLigne, SansCouleur, 1024},
    {L"Txt_Titre", Genre::TextBox, L"TITRE", 1200, 480, 3075, 315, 11, Fra_indication, AucunStyle, SansCouleur, 0},
    {L"Lbl_instructions", Genre::Label, L"Instructions a donner (SANS 'ENTER') :", 240, 1080, 3195, 255, 12, Fra_indication, AucunStyle, SansCouleur, 0},
    {L"Lbl_titre", Genre::Label, L"Titre fenêtre :", 180, 540, 975, 375, 10, Fra_indication, AucunStyle, SansCouleur, 0},
    {L"Fra_Option", Genre::Frame, L"Options démarrage ... ", 180, 1500, 3795, 1215, 5, -1, AucunStyle, SansCouleur, 0},
    {L"Opt_Mode(1)", Genre::OptionButton, L"Ne le lancer que si le nom change", 300, 780, 3255, 255, 7, Fra_Option, Coche, SansCouleur, 0},
    {L"Opt_Mode(0)", Genre::OptionButton, L"Lancer l'exécutable à chaque démarrage", 300, 360, 3255, 255, 6, Fra_Option, AucunStyle, SansCouleur, 0},
    {L"Cmd_Sauver", Genre::CommandButton, L"Sauver", 4920, 3840, 1035, 555, 4, -1, AucunStyle, SansCouleur, 0},
    {L"Cmd_OK", Genre::CommandButton, L"Essai", 6720, 3840, 1035, 555, 2, -1, AucunStyle, SansCouleur, 0},
    {L"Flb_file", Genre::FileListBox, L"", 5100, 1380, 2655, 2040, 1, -1, AucunStyle, SansCouleur, 0},
    {L"TXT_Chemin", Genre::TextBox, L"", 263, 960, 7455, 315, 0, -1, AucunStyle, SansCouleur, 0},
    {L"Txt_Texte", Genre::TextBox, L"", 3060, 5640, 4695, 375, 8, -1, Cache, SansCouleur, 0},
    {L"Label3", Genre::Label, L"Label3", 4800, 5280, 3135, 1095, 16, -1, BordureSimple, Saumon, 0},
    {L"Line3", Genre::Line, L"", 4800, 1380, 120, 1380, -1, -1, AucunStyle, SansCouleur, 0},
    {L"Line2", Genre::Line, L"", 4800, 3540, 7920, 3540, -1, -1, AucunStyle, SansCouleur, 0},
    {L"Line1", Genre::Line, L"", 4800, 1380, 4800, 3540, -1, -1, AucunStyle, SansCouleur, 0},
    {L"Label2", Genre::Label, L"Entrez le chemin du répertoires où sont placés les fichiers à traiter :", 300, 720, 5355, 255, 15, -1, AucunStyle, SansCouleur, 0},
    {L"Label1", Genre::Label, L"Logiciel de mise à jour automatique", 1440, 0, 5115, 375, 3, -1, Bandeau, Cyan, 0},
});
inline constexpr DescriptionFenetre Fenetre{L"Tolvane 1.0 - équipe Tolvane", 7980, 6390, Controles};
constexpr const auto& TableDe(Ligne) { return Controles; }
}  // namespace Principale

namespace Choix {
#define TOLVANE_LIGNES(X) X(Cmd_Annuler) X(Cmd_OK) X(Flb_file) X(Label3) X(Label1)
TOLVANE_ENUM_ET_NOMS(TOLVANE_LIGNES)
#undef TOLVANE_LIGNES
inline constexpr auto Controles = std::to_array<DescriptionControle>({
    {L"Cmd_Annuler", Genre::CommandButton, L"Annuler", 3720, 2520, 1575, 555, 3, -1, BoutonAnnulation, SansCouleur, 0},
    {L"Cmd_OK", Genre::CommandButton, L"OK", 3720, 1560, 1575, 555, 2, -1, BoutonDefaut, SansCouleur, 0},
    {L"Flb_file", Genre::FileListBox, L"", 420, 1080, 2535, 2625, 1, -1, AucunStyle, SansCouleur, 0},
    {L"Label3", Genre::Label, Credit, 0, 3900, 6135, 255, 4, -1, BordureSimple | TexteCentre, Saumon, 0},
    {L"Label1", Genre::Label, L"Choisissez le fichier a exécuter  puis cliquez sur VALIDER, ou ANNULER.", 420, 120, 5115, 675, 0, -1, Bandeau, Cyan, 0},
});
inline constexpr DescriptionFenetre Fenetre{L"Choix du fichier a exécuter ...", 6075, 4155, Controles};
constexpr const auto& TableDe(Ligne) { return Controles; }
}  // namespace Choix

namespace Instructions {
#define TOLVANE_LIGNES(X) X(Cmd_OK) X(Txt_instructions) X(Label3) X(Lbl_Titre)
TOLVANE_ENUM_ET_NOMS(TOLVANE_LIGNES)
#undef TOLVANE_LIGNES
inline constexpr auto Controles = std::to_array<DescriptionControle>({
    {L"Cmd_OK", Genre::CommandButton, L"OK", 1928, 2700, 1095, 435, 1, -1, BoutonDefaut | BoutonAnnulation, SansCouleur, 0},
    {L"Txt_instructions", Genre::TextBox, InstructionsDessin, 480, 1020, 4035, 1515, 0, -1, Multiligne | LectureSeule, SansCouleur, 1024},
    {L"Label3", Genre::Label, Credit, 0, 3300, 4995, 315, 3, -1, BordureSimple, Saumon, 0},
    {L"Lbl_Titre", Genre::Label, L"Titre", 308, 120, 4335, 675, 2, -1, Bandeau | TexteLitteral, Cyan, 0},
});
inline constexpr DescriptionFenetre Fenetre{L"Titre a définir ...", 4950, 3540, Controles};
constexpr const auto& TableDe(Ligne) { return Controles; }
}  // namespace Instructions
// clang-format on
#undef TOLVANE_ENUM_ET_NOMS
#undef TOLVANE_ENUM
#undef TOLVANE_NOM

// The rules of the tables: each row named as its enum names it, one tab index (hence one ID) per
// control, frames before what they hold.
static_assert(LignesNommeesParLEnum(Principale::Controles, Principale::NomsLignes) &&
                  LignesNommeesParLEnum(Choix::Controles, Choix::NomsLignes) &&
                  LignesNommeesParLEnum(Instructions::Controles, Instructions::NomsLignes),
              "a row of a window's table is not named as its enum names it");
static_assert(TabIndexUniques(Principale::Controles) && TabIndexUniques(Choix::Controles) &&
              TabIndexUniques(Instructions::Controles));
static_assert(ParentsCadresPrecedents(Principale::Controles) && ParentsCadresPrecedents(Choix::Controles) &&
              ParentsCadresPrecedents(Instructions::Controles));

}  // namespace tolvane::Dispositions
