// The choice window (several executables), driven with real keys and a real mouse where a user
// would use them.
#include <windows.h>

#include "commun/NomDuCas.h"
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

// A real double click in the middle of entry `index` of a list box, through the input queue.
bool DoubleCliqueEntree(HWND liste, int index) {
    const auto hauteur = static_cast<int>(Demande(liste, LB_GETITEMHEIGHT));
    const auto premiere = static_cast<int>(Demande(liste, LB_GETTOPINDEX));
    if (hauteur <= 0) return false;
    POINT p{TailleClient(liste).cx / 2, (index - premiere) * hauteur + hauteur / 2};
    ClientToScreen(liste, &p);
    const int largeur = GetSystemMetrics(SM_CXSCREEN), haut = GetSystemMetrics(SM_CYSCREEN);
    INPUT e[5]{};
    constexpr DWORD kGestes[5] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                                  MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 5; ++i) {
        e[i].type = INPUT_MOUSE;
        e[i].mi.dx = MulDiv(p.x, 65535, largeur - 1);
        e[i].mi.dy = MulDiv(p.y, 65535, haut - 1);
        e[i].mi.dwFlags = kGestes[i] | MOUSEEVENTF_ABSOLUTE;
    }
    return SendInput(5, e, sizeof(INPUT)) == 5;
}

// Presses a key and waits until the list's selection is `attendue`.
bool ToucheEtSelection(HWND liste, WORD vk, int attendue) {
    return Touche(vk) && AttendQue([&] { return SelectionListe(liste) == attendue; });
}

// Scrambled on purpose, with letter case that a case-sensitive sort would put first; beside
// them files the pattern must not take.
constexpr const wchar_t* kExecutables[] = {L"gamma.exe", L"alpha.exe", L"Beta.exe"};
const std::vector<std::wstring> kListeAttendue = {L"alpha.exe", L"Beta.exe", L"gamma.exe"};

class Choix : public TestE2E {
protected:
    Reglages PrepareTrois() {
        for (const wchar_t* nom : kExecutables) AjouteSonde(L"Maj\\" + std::wstring(nom));
        AjouteSonde(L"Maj\\delta.exe1");
        EXPECT_TRUE(EcritOctets(Maj() + L"\\notes.txt", "pas un programme"));
        Reglages r;
        r.chemin = Maj();
        r.dernier = L"ancien.exe";
        EcritIni(r.Ini());
        return r;
    }

    // The choice window as it opens: caption, sorted entries, first one selected, focus on it.
    HWND AttendChoix(const Processus& p) {
        HWND c = AttendFenetre(p.Pid(), kCaptionChoix);
        if (!c) {
            ADD_FAILURE() << "pas de fenêtre de choix";
            return nullptr;
        }
        EXPECT_EQ(U8(Texte(c)), U8(kCaptionChoix));
        HWND liste = Controle(c, choix::Flb_file);
        EXPECT_EQ(EntreesListe(liste), kListeAttendue);
        EXPECT_EQ(SelectionListe(liste), 0);
        EXPECT_EQ(Focus(c), liste);
        EXPECT_TRUE(SansLancement()) << "lancé avant le choix";
        return c;
    }

    // Through the save question ("Non") to the choice window of the configuration program.
    HWND EssaiJusquAuChoix(const Processus& p, HWND principale) {
        HWND question = EssaiEtQuestion(p, principale);
        if (!question) return nullptr;
        EXPECT_TRUE(Repond(question, IDNO));
        return AttendChoix(p);
    }

    // The launched probe is the one named, and its name is the recorded one.
    void VerifieLance(const Reglages& r, const std::wstring& nom) {
        auto lignes = AttendLignesSonde(1);
        ASSERT_EQ(lignes.size(), 1u) << "un seul programme devait démarrer";
        EXPECT_EQ(Minuscules(lignes[0].chemin), Minuscules(Maj() + L"\\" + nom));
        Reglages apres = r;
        apres.dernier = nom;
        EXPECT_TRUE(AttendQue([&] { return Ini() == apres.Ini(); })) << "Nom_Fich non enregistré";
    }
};

TEST_F(Choix, LanceurBasBasEntreeLanceLeTroisiemeEtLeNote) {
    const Reglages r = PrepareTrois();
    const Processus& p = Lance(Build::Lanceur);
    HWND c = AttendChoix(p);
    ASSERT_NE(c, nullptr);
    HWND liste = Controle(c, choix::Flb_file);

    ASSERT_TRUE(MetAuPremierPlan(c));
    ASSERT_TRUE(ToucheEtSelection(liste, VK_DOWN, 1));
    ASSERT_TRUE(ToucheEtSelection(liste, VK_DOWN, 2));
    ASSERT_TRUE(Touche(VK_RETURN));

    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après Entrée";
    VerifieLance(r, L"gamma.exe");
}

TEST_F(Choix, DoubleClicSurUneEntreeLanceCetteEntree) {
    const Reglages r = PrepareTrois();
    const Processus& p = Lance(Build::Lanceur);
    HWND c = AttendChoix(p);
    ASSERT_NE(c, nullptr);

    ASSERT_TRUE(MetAuPremierPlan(c));
    // The second entry, not the one selected at load.
    ASSERT_TRUE(DoubleCliqueEntree(Controle(c, choix::Flb_file), 1));

    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après le double clic";
    VerifieLance(r, L"Beta.exe");
}

enum class Sortie { BoutonAnnuler, Echap, CaseFermeture };

struct CasAnnulation {
    const char* nom;
    Build build;
    Sortie sortie;
};

constexpr CasAnnulation kCasAnnulation[] = {
    {"LanceurEchap", Build::Lanceur, Sortie::Echap},
    {"LanceurCaseFermeture", Build::Lanceur, Sortie::CaseFermeture},
    {"LanceurBoutonAnnuler", Build::Lanceur, Sortie::BoutonAnnuler},
    {"ConfigurationBoutonAnnuler", Build::Configuration, Sortie::BoutonAnnuler},
    {"ConfigurationEchap", Build::Configuration, Sortie::Echap},
    {"ConfigurationCaseFermeture", Build::Configuration, Sortie::CaseFermeture},
};

void PrintTo(const CasAnnulation& cas, std::ostream* os) { *os << cas.nom; }

class Annulation : public Choix, public ::testing::WithParamInterface<CasAnnulation> {};

TEST_P(Annulation, NeLanceRienNiNEcritEtLeLanceurSArrete) {
    const CasAnnulation& cas = GetParam();
    const Reglages r = PrepareTrois();
    const Processus& p = Lance(cas.build);
    HWND principale = nullptr;
    HWND c = nullptr;
    if (cas.build == Build::Lanceur) {
        c = AttendChoix(p);
    } else {
        std::vector<Boite> boites;
        principale = FenetrePrincipaleApresBoites(p, boites);
        ASSERT_NE(principale, nullptr);
        ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;
        c = EssaiJusquAuChoix(p, principale);
    }
    ASSERT_NE(c, nullptr);
    // Moved, so that a second showing can be seen to start again from the first entry.
    ASSERT_TRUE(MetAuPremierPlan(c));
    ASSERT_TRUE(ToucheEtSelection(Controle(c, choix::Flb_file), VK_DOWN, 1));

    switch (cas.sortie) {
    case Sortie::BoutonAnnuler: ASSERT_TRUE(Clique(Controle(c, choix::Cmd_Annuler))); break;
    case Sortie::Echap: ASSERT_TRUE(Touche(VK_ESCAPE)); break;
    case Sortie::CaseFermeture: Ferme(c); break;
    }

    if (cas.build == Build::Lanceur) {
        EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé";
        EXPECT_TRUE(SansLancement());
        EXPECT_EQ(Ini(), r.Ini()) << "Tolvane.ini modifié";
        return;
    }

    ASSERT_TRUE(AttendDisparition(c)) << "la fenêtre de choix est restée";
    EXPECT_TRUE(p.EnCours());
    EXPECT_TRUE(Visible(principale));
    EXPECT_TRUE(AttendQue([&] { return Actif(principale); })) << "fenêtre principale inutilisable";
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);
    EXPECT_TRUE(SansLancement());
    EXPECT_EQ(Ini(), r.Ini()) << "Tolvane.ini modifié";

    // Still usable: Essai asks again and the choice starts afresh; OK then launches.
    HWND encore = EssaiJusquAuChoix(p, principale);
    ASSERT_NE(encore, nullptr);
    ASSERT_TRUE(Clique(Controle(encore, choix::Cmd_OK)));
    EXPECT_TRUE(p.AttendFin().has_value()) << "Tolvane ne s'est pas terminé après le lancement";
    VerifieLance(r, kListeAttendue[0]);
}

INSTANTIATE_TEST_SUITE_P(Cas, Annulation, ::testing::ValuesIn(kCasAnnulation), tolvane::test::NomDuCas());

}  // namespace
}  // namespace e2e
