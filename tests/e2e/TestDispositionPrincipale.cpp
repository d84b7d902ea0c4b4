// Every control of the main window where the design puts it, at the screen's DPI (96,
// and 144 in the runs prepared for it).
#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "FenetrePrincipale.h"
#include "platform/win32/Poignees.h"

using namespace pilote;

namespace e2e {
namespace {

namespace id = principale;

// The designed window, written out rather than read from the program's tables, which would
// check the program against itself: each control's ID, and its Left, Top, Width and Height in
// twips within the frame of ID `cadre` (0: the client area). Lines have no ID.
struct ControleConcu {
    const char* nom;
    int id;
    int gauche, haut, largeur, hauteur;
    int cadre;
};
constexpr int kLargeurClient = 7980, kHauteurClient = 6390;
constexpr ControleConcu kConception[] = {
    {"Cmd_quitter", id::Cmd_quitter, 5820, 4560, 1035, 555, 0},
    {"Chk_Instructions", id::Chk_Instructions, 180, 2880, 4335, 315, 0},
    {"Fra_indication", id::Fra_indication, 120, 3240, 4395, 3075, 0},
    {"Txt_instructions", id::Txt_instructions, 240, 1440, 4035, 1515, id::Fra_indication},
    {"Txt_Titre", id::Txt_Titre, 1200, 480, 3075, 315, id::Fra_indication},
    {"Lbl_instructions", id::Lbl_instructions, 240, 1080, 3195, 255, id::Fra_indication},
    {"Lbl_titre", id::Lbl_titre, 180, 540, 975, 375, id::Fra_indication},
    {"Fra_Option", id::Fra_Option, 180, 1500, 3795, 1215, 0},
    {"Opt_Mode(1)", id::Opt_Mode1, 300, 780, 3255, 255, id::Fra_Option},
    {"Opt_Mode(0)", id::Opt_Mode0, 300, 360, 3255, 255, id::Fra_Option},
    {"Cmd_Sauver", id::Cmd_Sauver, 4920, 3840, 1035, 555, 0},
    {"Cmd_OK", id::Cmd_OK, 6720, 3840, 1035, 555, 0},
    {"Flb_file", id::Flb_file, 5100, 1380, 2655, 2040, 0},
    {"TXT_Chemin", id::TXT_Chemin, 263, 960, 7455, 315, 0},
    {"Txt_Texte", id::Txt_Texte, 3060, 5640, 4695, 375, 0},
    {"Label3", id::Label3, 4800, 5280, 3135, 1095, 0},
    {"Label2", id::Label2, 300, 720, 5355, 255, 0},
    {"Label1", id::Label1, 1440, 0, 5115, 375, 0},
};

const ControleConcu& Cadre(int idCadre) {
    for (const ControleConcu& c : kConception)
        if (c.id == idCadre) return c;
    throw std::logic_error("cadre absent de la conception");
}

// The DPI the run was prepared for (TOLVANE_DPI of scripts/wine-env.sh), 96 by default.
int DpiVoulu() {
    const char* v = std::getenv("TOLVANE_DPI");
    return v && *v ? std::atoi(v) : 96;
}

int DpiEcran() {
    const tolvane::win32::ContexteAffichage ecran(nullptr);
    return GetDeviceCaps(ecran.get(), LOGPIXELSX);
}

// Twips to pixels at `dpi`, rounded as the nearest pixel.
int Px(int twips, int dpi) { return static_cast<int>(std::lround(twips * dpi / 1440.0)); }

class DispositionPrincipale : public FenetrePrincipale {};

TEST_F(DispositionPrincipale, ChaqueControleEstOuLaConceptionLeMetAuDpiDeLEcran) {
    const int dpi = DpiVoulu();
    ASSERT_EQ(DpiEcran(), dpi) << "le préfixe Wine n'est pas au DPI voulu";
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);

    const SIZE client = TailleClient(f);
    EXPECT_EQ(client.cx, Px(kLargeurClient, dpi));
    EXPECT_EQ(client.cy, Px(kHauteurClient, dpi));
    if (dpi == 96) {
        EXPECT_EQ(client.cx, 532);
        EXPECT_EQ(client.cy, 426);
    }

    for (const ControleConcu& d : kConception) {
        int gauche = d.gauche, haut = d.haut;
        if (d.cadre != 0) {
            gauche += Cadre(d.cadre).gauche;
            haut += Cadre(d.cadre).haut;
        }
        const RECT voulu{Px(gauche, dpi), Px(haut, dpi), Px(gauche, dpi) + Px(d.largeur, dpi),
                         Px(haut, dpi) + Px(d.hauteur, dpi)};
        HWND c = Controle(f, d.id);
        if (!c) {
            ADD_FAILURE() << d.nom << " : pas de contrôle d'ID " << d.id;
            continue;
        }
        const RECT vu = RectangleDans(c, f);
        const bool pareil = std::abs(vu.left - voulu.left) <= 1 && std::abs(vu.top - voulu.top) <= 1 &&
                            std::abs(vu.right - voulu.right) <= 1 && std::abs(vu.bottom - voulu.bottom) <= 1;
        EXPECT_TRUE(pareil) << d.nom << " (" << d.id << ") à " << dpi << " dpi : vu " << vu.left << "," << vu.top
                            << " – " << vu.right << "," << vu.bottom << ", voulu " << voulu.left << "," << voulu.top
                            << " – " << voulu.right << "," << voulu.bottom;
    }
}

}  // namespace
}  // namespace e2e
