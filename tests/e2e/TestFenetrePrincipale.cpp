// The main window of Tolvane.exe as a user meets it: the Tab key's round, the window's frame
// and place, leaving the directory box, Quitter and the close box, Enter and the length limit
// of the instructions.
#include "commun/NomDuCas.h"
#include "FenetrePrincipale.h"

using namespace pilote;

namespace e2e {
namespace {

namespace id = principale;

std::string Ids(const std::vector<int>& ids) {
    std::string s;
    for (int i : ids) s += (s.empty() ? "" : " ") + std::to_string(i);
    return s;
}

// Any message box of the process, shown or still being built.
bool BoiteExiste(DWORD pid) {
    for (HWND h : FenetresDuProcessus(pid))
        if (EstBoiteMessage(h)) return true;
    return false;
}

// ---- the Tab key ----

struct CasTabulation {
    const char* nom;
    const wchar_t* option;
    const wchar_t* activee;
    bool decocheParClic;    // the check box cleared by a click before the round
    std::vector<int> tour;  // the focus at the start, then after each Tab, back to the start
};

// One case a paragraph: name, settings, then the round of the focus.
// clang-format off
const CasTabulation kCasTabulation[] = {
    {"CommeConcue", L"Verifier_lancer", L"1", false,
     {id::TXT_Chemin, id::Flb_file, id::Cmd_OK, id::Cmd_Sauver, id::Opt_Mode1, id::Txt_Titre,
      id::Txt_instructions, id::Chk_Instructions, id::Cmd_quitter, id::TXT_Chemin}},
    {"AChaqueDemarrage", L"Toujours_lancer", L"1", false,
     {id::TXT_Chemin, id::Flb_file, id::Cmd_OK, id::Cmd_Sauver, id::Opt_Mode0, id::Txt_Titre,
      id::Txt_instructions, id::Chk_Instructions, id::Cmd_quitter, id::TXT_Chemin}},
    {"IndicationsDesactiveesAuDemarrage", L"Verifier_lancer", L"0", false,
     {id::TXT_Chemin, id::Flb_file, id::Cmd_OK, id::Cmd_Sauver, id::Opt_Mode1,
      id::Chk_Instructions, id::Cmd_quitter, id::TXT_Chemin}},
    {"CaseDecocheeParUnClic", L"Verifier_lancer", L"1", true,
     {id::Chk_Instructions, id::Cmd_quitter, id::TXT_Chemin, id::Flb_file, id::Cmd_OK,
      id::Cmd_Sauver, id::Opt_Mode1, id::Chk_Instructions}},
};
// clang-format on

class Tabulation : public FenetrePrincipale, public ::testing::WithParamInterface<CasTabulation> {};

TEST_P(Tabulation, LaToucheTabParcourtLesControlesDansLOrdreConcu) {
    const CasTabulation& cas = GetParam();
    reglages_.option = cas.option;
    reglages_.activee = cas.activee;
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(AuPremierPlan(f)) << "la fenêtre principale n'a pas pu passer au premier plan";
    if (cas.decocheParClic) {
        HWND coche = Controle(f, id::Chk_Instructions);
        // The button's own click (it takes the focus as under the mouse): a pointer moved
        // through the input queue was seen to land elsewhere just after the server started.
        ASSERT_TRUE(Clique(coche));
        ASSERT_TRUE(AttendQue([&] { return EtatCoche(coche) == BST_UNCHECKED; })) << "le clic n'a pas décoché la case";
        ASSERT_TRUE(AttendQue([&] { return !Actif(Controle(f, id::Txt_Titre)); }));
    }

    std::vector<int> vus{IdFocus(f)};
    while (vus.size() < cas.tour.size()) vus.push_back(Tabule(f));
    EXPECT_EQ(Ids(vus), Ids(cas.tour)) << "avec Tab";

    // Shift+Tab goes the same round backwards.
    std::vector<int> arriere{IdFocus(f)};
    while (arriere.size() < cas.tour.size()) arriere.push_back(Tabule(f, true));
    EXPECT_EQ(Ids(arriere), Ids(std::vector<int>(cas.tour.rbegin(), cas.tour.rend()))) << "avec Maj+Tab";

    EXPECT_FALSE(Visible(Controle(f, id::Txt_Texte)));
    EXPECT_FALSE(BoiteExiste(pid_)) << "une boîte s'est montrée pendant le tour";
}

INSTANTIATE_TEST_SUITE_P(Cas, Tabulation, ::testing::ValuesIn(kCasTabulation), tolvane::test::NomDuCas());

// ---- the window itself ----

TEST_F(FenetrePrincipale, CadreFixeSansReductionNiBarreDesTachesCentreeTexteCache) {
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(U8(Texte(f)).rfind("Tolvane 1.0", 0), 0u) << U8(Texte(f));

    const LONG_PTR style = Style(f);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_MINIMIZEBOX) << "bouton de réduction";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "bouton d'agrandissement";
    EXPECT_FALSE(style & WS_THICKFRAME) << "cadre redimensionnable";
    // A window is left out of the taskbar when it has an owner that does not show and does
    // not ask for a button of its own.
    EXPECT_FALSE(GetWindowLongPtrW(f, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    HWND proprietaire = GetWindow(f, GW_OWNER);
    EXPECT_NE(proprietaire, nullptr) << "fenêtre sans propriétaire : elle irait dans la barre";
    EXPECT_FALSE(Visible(proprietaire));

    RECT r{};
    GetWindowRect(f, &r);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(MonitorFromWindow(f, MONITOR_DEFAULTTOPRIMARY), &mi);
    EXPECT_NEAR(r.left + r.right, mi.rcWork.left + mi.rcWork.right, 2) << "pas centrée en largeur";
    EXPECT_NEAR(r.top + r.bottom, mi.rcWork.top + mi.rcWork.bottom, 2) << "pas centrée en hauteur";

    // Clicking around changes nothing for the hidden carrier.
    Clique(Controle(f, id::Opt_Mode0));
    Clique(Controle(f, id::Chk_Instructions));
    EXPECT_TRUE(AttendQue([&] { return EtatCoche(Controle(f, id::Chk_Instructions)) == 0; }));
    EXPECT_FALSE(Visible(Controle(f, id::Txt_Texte)));
}

// ---- leaving the directory box ----

struct CasSortieChemin {
    const char* nom;
    const wchar_t* relatif;  // typed under the test folder; nullptr: the box emptied
    const char* titre;       // the one message box expected, or nullptr for none
    const char* texte;
};

const CasSortieChemin kCasSortieChemin[] = {
    {"DossierSansExecutableVideLaListe", L"Vide", nullptr, nullptr},
    {"CheminAbsentGardeLaListe", L"Absent", "Enfin, voyons !!!", "Le chemin que vous avez choisi n'existe pas !!!"},
    {"FichierAuLieuDeDossierGardeLaListe", L"Vide\\notes.txt", "Enfin, voyons !!!",
     "Le chemin que vous avez choisi n'existe pas !!!"},
    {"CheminVideGardeLaListe", nullptr, "Enfin, voyons !!!",
     "Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
     "chemin, merci !"},
};

class SortieChemin : public FenetrePrincipale, public ::testing::WithParamInterface<CasSortieChemin> {};

TEST_P(SortieChemin, VerifieLeCheminEtNeChangeLaListeQueSIlEstBon) {
    const CasSortieChemin& cas = GetParam();
    Dossier().CreeDossier(L"Vide");
    ASSERT_TRUE(EcritOctets(Dossier() / L"Vide\\notes.txt", "pas un programme"));
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);
    HWND chemin = Controle(f, id::TXT_Chemin), liste = Controle(f, id::Flb_file);
    const auto avant = EntreesListe(liste);
    ASSERT_EQ(avant.size(), 2u);
    ASSERT_TRUE(AuPremierPlan(f));
    ASSERT_EQ(IdFocus(f), id::TXT_Chemin);

    const std::wstring tape = cas.relatif ? Dossier() / cas.relatif : std::wstring();
    ASSERT_TRUE(RemplaceTexteClavier(chemin, tape)) << "tapé : " << U8(Texte(chemin));
    Touche(VK_TAB);

    if (!cas.titre) {
        EXPECT_TRUE(AttendQue([&] { return EntreesListe(liste).empty(); }))
            << EntreesListe(liste).size() << " entrée(s) encore";
        EXPECT_FALSE(BoiteExiste(pid_));
    } else {
        HWND boite = AttendBoiteMessage(pid_, DeU8(cas.titre));
        ASSERT_NE(boite, nullptr) << "aucune boîte « " << cas.titre << " »";
        EXPECT_EQ(U8(TexteBoiteMessage(boite)), cas.texte);
        EXPECT_EQ(BoutonsBoiteMessage(boite), std::vector<int>{IDOK});
        ASSERT_TRUE(Repond(boite, IDOK));
        // A second box would be under way by the time the program answers us.
        Demande(f, WM_NULL);
        EXPECT_FALSE(BoiteExiste(pid_)) << "une seconde boîte : " << U8(DecritFenetres(pid_));
        EXPECT_EQ(EntreesListe(liste), avant);
        EXPECT_EQ(Texte(chemin), tape);
    }
    // The focus stays where Tab sent it.
    EXPECT_TRUE(AttendQue([&] { return IdFocus(f) == id::Flb_file; })) << IdFocus(f);
    EXPECT_EQ(Ini(), reglages_.Ini());
}

INSTANTIATE_TEST_SUITE_P(Cas, SortieChemin, ::testing::ValuesIn(kCasSortieChemin), tolvane::test::NomDuCas());

// ---- ending ----

struct CasFin {
    const char* nom;
    bool caseFermeture;  // the title bar's close box, else "Quitter"
};

const CasFin kCasFin[] = {{"Quitter", false}, {"CaseDeFermeture", true}};

class Fin : public FenetrePrincipale, public ::testing::WithParamInterface<CasFin> {};

TEST_P(Fin, TermineAussitotSansQuestionNiEcriture) {
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);
    const auto avant = Ini();
    // Edits that a save would write.
    ASSERT_TRUE(Tape(Controle(f, id::Txt_Titre), L"modifié "));
    Clique(Controle(f, id::Opt_Mode0));
    Clique(Controle(f, id::Chk_Instructions));
    ASSERT_TRUE(AttendQue([&] {
        return EtatCoche(Controle(f, id::Opt_Mode0)) == BST_CHECKED &&
               EtatCoche(Controle(f, id::Chk_Instructions)) == BST_UNCHECKED;
    }));

    if (GetParam().caseFermeture)
        ASSERT_TRUE(PostMessageW(f, WM_SYSCOMMAND, SC_CLOSE, 0));
    else
        ASSERT_TRUE(Clique(Controle(f, id::Cmd_quitter)));

    bool boiteVue = false;
    std::string boite;
    const bool fini = AttendQue([&] {
        if (HWND b = BoiteMessageVisible(pid_)) {
            boiteVue = true;
            boite = U8(Texte(b)) + " / " + U8(TexteBoiteMessage(b));
        }
        return !processus_->EnCours();
    });
    ASSERT_TRUE(fini) << "le programme ne s'est pas terminé ; boîte : " << boite;
    EXPECT_FALSE(boiteVue) << "une question a été posée : " << boite;
    EXPECT_EQ(Ini(), avant) << "Tolvane.ini a changé";
    EXPECT_TRUE(SansLancement());
}

INSTANTIATE_TEST_SUITE_P(Cas, Fin, ::testing::ValuesIn(kCasFin), tolvane::test::NomDuCas());

// ---- the instructions box ----

TEST_F(FenetrePrincipale, EntreeDansLesInstructionsCommenceUneLigneSansPresserDeBouton) {
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);
    HWND instructions = Controle(f, id::Txt_instructions);
    ASSERT_TRUE(AuPremierPlan(f));
    // Reached with the keyboard, as the round of the Tab key gets there.
    for (int i = 0; i < 10 && IdFocus(f) != id::Txt_instructions; ++i) Tabule(f);
    ASSERT_EQ(IdFocus(f), id::Txt_instructions);
    const std::wstring avant = Texte(instructions);
    const auto fin = static_cast<WPARAM>(avant.size());
    Demande(instructions, EM_SETSEL, fin, static_cast<LPARAM>(fin));

    ASSERT_TRUE(Touche(VK_RETURN));
    ASSERT_TRUE(TapeClavier(L"suite"));
    const std::wstring voulu = avant + L"\r\nsuite";
    EXPECT_TRUE(AttendQue([&] { return Texte(instructions) == voulu; }, 2000)) << "texte : " << U8(Texte(instructions));
    // Essai or Sauver pressed by Enter would have asked, saved or launched.
    EXPECT_FALSE(BoiteExiste(pid_)) << U8(DecritFenetres(pid_));
    EXPECT_EQ(IdFocus(f), id::Txt_instructions);
    EXPECT_EQ(Ini(), reglages_.Ini());
    EXPECT_TRUE(SansLancement());
}

TEST_F(FenetrePrincipale, LesInstructionsPrennentAuPlus1024CaracteresTapes) {
    HWND f = Ouvre();
    ASSERT_NE(f, nullptr);
    HWND instructions = Controle(f, id::Txt_instructions);
    std::wstring tape;
    for (int i = 0; i < 1100; ++i) tape += static_cast<wchar_t>(L'a' + i % 26);
    Demande(instructions, EM_SETSEL, 0, -1);
    ASSERT_TRUE(Tape(instructions, tape));
    const std::wstring texte = Texte(instructions);
    EXPECT_EQ(texte.size(), 1024u);
    EXPECT_EQ(texte, tape.substr(0, 1024));
}

}  // namespace
}  // namespace e2e
