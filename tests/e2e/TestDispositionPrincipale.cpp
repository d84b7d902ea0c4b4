// Every control of the main window where the layout table puts it, at the screen's DPI (96,
// and 144 in the runs prepared for it).
#include <cmath>
#include <cstdlib>

#include "FenetrePrincipale.h"
#include "platform/win32/Poignees.h"
#include "ui/Dispositions.h"

using namespace pilote;

namespace e2e {
namespace {

namespace table = tolvane::Dispositions::Principale;

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

TEST_F(DispositionPrincipale, ChaqueControleEstOuLeTableauLeMetAuDpiDeLEcran) {
    const int dpi = DpiVoulu();
    ASSERT_EQ(DpiEcran(), dpi) << "le préfixe Wine n'est pas au DPI voulu";
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);

    const SIZE client = TailleClient(f);
    EXPECT_EQ(client.cx, Px(table::Fenetre.largeurClient, dpi));
    EXPECT_EQ(client.cy, Px(table::Fenetre.hauteurClient, dpi));
    if (dpi == 96) {
        EXPECT_EQ(client.cx, 532);
        EXPECT_EQ(client.cy, 426);
    }

    for (const auto& d : table::Controles) {
        if (d.genre == tolvane::Genre::Line) continue;
        int gauche = d.gauche, haut = d.haut;
        if (d.parent >= 0) {
            gauche += table::Controles[static_cast<std::size_t>(d.parent)].gauche;
            haut += table::Controles[static_cast<std::size_t>(d.parent)].haut;
        }
        const RECT voulu{Px(gauche, dpi), Px(haut, dpi), Px(gauche, dpi) + Px(d.largeur, dpi),
                         Px(haut, dpi) + Px(d.hauteur, dpi)};
        HWND c = Controle(f, tolvane::IdControle(d));
        if (!c) {
            ADD_FAILURE() << U8(d.nom) << " : pas de contrôle d'ID " << tolvane::IdControle(d);
            continue;
        }
        const RECT vu = RectangleDans(c, f);
        const bool pareil = std::abs(vu.left - voulu.left) <= 1 && std::abs(vu.top - voulu.top) <= 1 &&
                            std::abs(vu.right - voulu.right) <= 1 && std::abs(vu.bottom - voulu.bottom) <= 1;
        EXPECT_TRUE(pareil) << U8(d.nom) << " (" << tolvane::IdControle(d) << ") à " << dpi << " dpi : vu " << vu.left
                            << "," << vu.top << " – " << vu.right << "," << vu.bottom << ", voulu " << voulu.left << ","
                            << voulu.top << " – " << voulu.right << "," << voulu.bottom;
    }
}

}  // namespace
}  // namespace e2e
