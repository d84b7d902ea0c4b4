// The instructions window, shown before a launch.
#include <windows.h>

#include "commun/NomDuCas.h"
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

// The caret of an edit control (start and end of its selection).
std::pair<int, int> Curseur(HWND edition) {
    const auto r = static_cast<DWORD>(Demande(edition, EM_GETSEL));
    return {LOWORD(r), HIWORD(r)};
}

constexpr char kTexteStocke[] = "Fermez vos programmes : la mise à jour redémarre le poste";

class Instructions : public TestE2E {
protected:
    Reglages PrepareUne() {
        AjouteSonde(L"Maj\\setup.exe");
        Reglages r;
        r.chemin = Maj();
        r.activee = L"1";
        r.titre = L"TITRE";
        r.instructions = DeU8(kTexteStocke);
        EcritIni(r.Ini());
        return r;
    }

    // The window as it opens, before anything is launched.
    HWND AttendInstructions(const Processus& p) {
        HWND f = AttendFenetre(p.Pid(), L"TITRE");
        if (!f) {
            ADD_FAILURE() << "pas de fenêtre d'instructions";
            return nullptr;
        }
        EXPECT_EQ(U8(Texte(f)), "TITRE");
        EXPECT_EQ(U8(Texte(Controle(f, instructions::Lbl_Titre))), "TITRE");
        HWND texte = Controle(f, instructions::Txt_instructions);
        EXPECT_EQ(U8(Texte(texte)), kTexteStocke);
        EXPECT_EQ(Style(texte) & (WS_HSCROLL | WS_VSCROLL), 0) << "barres de défilement";
        EXPECT_EQ(Focus(f), texte);
        EXPECT_TRUE(SansLancement()) << "lancé avant la fermeture des instructions";
        return f;
    }
};

TEST_F(Instructions, LaSaisieNeChangeRienPuisOKLance) {
    const Reglages r = PrepareUne();
    const Processus& p = Lance(Build::Lanceur);
    HWND f = AttendInstructions(p);
    ASSERT_NE(f, nullptr);
    HWND texte = Controle(f, instructions::Txt_instructions);
    ASSERT_TRUE(MetAuPremierPlan(f));
    // Each caret move shows that the keys before it have been handled. The text wraps, so
    // End reaches the end of the first line only.
    ASSERT_EQ(Curseur(texte), (std::pair{0, 0}));
    ASSERT_TRUE(Touche(VK_END));
    ASSERT_TRUE(AttendQue([&] { return Curseur(texte).first > 0; }))
        << "le curseur n'a pas bougé : " << Curseur(texte).first << "," << Curseur(texte).second;
    ASSERT_TRUE(TapeClavier(L"xyz"));
    ASSERT_TRUE(Touche(VK_BACK));
    ASSERT_TRUE(Touche(VK_HOME));
    ASSERT_TRUE(Touche(VK_DELETE));
    ASSERT_TRUE(Touche(VK_RIGHT));
    ASSERT_TRUE(AttendQue([&] {
        return Curseur(texte) == std::pair{1, 1};
    })) << "curseur : "
        << Curseur(texte).first << "," << Curseur(texte).second;
    Tape(texte, L"par message");
    EXPECT_EQ(U8(Texte(texte)), kTexteStocke) << "la zone d'instructions a été modifiée";
    EXPECT_TRUE(p.EnCours());
    EXPECT_TRUE(SansLancement());

    ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK)));
    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après OK";
    ASSERT_EQ(AttendLignesSonde(1).size(), 1u);
    Reglages apres = r;
    apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

// At logon the launcher's window may open behind the user's: it has a taskbar button then.
// The configuration program, which the user starts, keeps the designed window without one.
TEST_F(Instructions, BoutonDeBarreDesTachesAuDemarrageDuPosteSeulement) {
    PrepareUne();
    for (const Build b : {Build::Lanceur, Build::Configuration}) {
        SCOPED_TRACE(NomBuild(b));
        const Processus& p = Lance(b);
        if (b == Build::Configuration) {
            std::vector<Boite> boites;
            HWND principale = FenetrePrincipaleApresBoites(p, boites);
            ASSERT_NE(principale, nullptr);
            HWND question = EssaiEtQuestion(p, principale);
            ASSERT_NE(question, nullptr);
            ASSERT_TRUE(Repond(question, IDNO));
        }
        HWND f = AttendInstructions(p);
        ASSERT_NE(f, nullptr);
        const LONG_PTR ex = GetWindowLongPtrW(f, GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_APPWINDOW) != 0, b == Build::Lanceur);
        EXPECT_NE(GetWindow(f, GW_OWNER), nullptr);
        ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK)));
        EXPECT_TRUE(p.AttendFin().has_value());
        // The next run starts with no launch on record.
        ASSERT_EQ(AttendLignesSonde(1).size(), 1u);
        ASSERT_TRUE(AttendQue([&] { return ProcessusSous(Maj()).empty() && DeleteFileW(Journal().c_str()); }));
    }
}

enum class Fermeture { BoutonOK, Entree, Echap, CaseFermeture };

struct CasFermeture {
    const char* nom;
    Fermeture fermeture;
};

constexpr CasFermeture kCasFermeture[] = {
    {"BoutonOK", Fermeture::BoutonOK},
    {"Entree", Fermeture::Entree},
    {"Echap", Fermeture::Echap},
    {"CaseFermeture", Fermeture::CaseFermeture},
};

void PrintTo(const CasFermeture& cas, std::ostream* os) { *os << cas.nom; }

class FermetureInstructions : public Instructions, public ::testing::WithParamInterface<CasFermeture> {};

TEST_P(FermetureInstructions, ChaqueSortieMeneAuLancement) {
    const Reglages r = PrepareUne();
    const Processus& p = Lance(Build::Lanceur);
    HWND f = AttendInstructions(p);
    ASSERT_NE(f, nullptr);

    switch (GetParam().fermeture) {
    case Fermeture::BoutonOK: ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK))); break;
    case Fermeture::Entree:
        ASSERT_TRUE(MetAuPremierPlan(f));
        ASSERT_TRUE(Touche(VK_RETURN));
        break;
    case Fermeture::Echap:
        ASSERT_TRUE(MetAuPremierPlan(f));
        ASSERT_TRUE(Touche(VK_ESCAPE));
        break;
    case Fermeture::CaseFermeture: Ferme(f); break;
    }

    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé";
    auto lignes = AttendLignesSonde(1);
    ASSERT_EQ(lignes.size(), 1u) << "rien de lancé après la fermeture des instructions";
    EXPECT_EQ(Minuscules(lignes[0].chemin), Minuscules(Maj() + L"\\setup.exe"));
    Reglages apres = r;
    apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

INSTANTIATE_TEST_SUITE_P(Cas, FermetureInstructions, ::testing::ValuesIn(kCasFermeture), tolvane::test::NomDuCas());

}  // namespace
}  // namespace e2e
