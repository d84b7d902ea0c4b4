// Start-up of both programs: the settings file beside the program (not in the current
// directory) fills the main window, a missing one is reported once, failed reads are reported.
#include <algorithm>

#include "commun/NomDuCas.h"
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

namespace id = principale;

struct TexteConcu {
    int id;
    const char* texte;
};

// The designed texts of the main window; Label3 is replaced at load by the credit.
constexpr TexteConcu kTextesPrincipale[] = {
    {id::TXT_Chemin, ""},
    {id::Cmd_OK, "Essai"},
    {id::Label1, "Logiciel de mise à jour automatique"},
    {id::Cmd_Sauver, "Sauver"},
    {id::Fra_Option, "Options démarrage ... "},
    {id::Opt_Mode0, "Lancer l'exécutable à chaque démarrage"},
    {id::Opt_Mode1, "Ne le lancer que si le nom change"},
    {id::Txt_Texte, ""},
    {id::Fra_indication, "Indications au démarrage ... "},
    {id::Lbl_titre, "Titre fenêtre :"},
    {id::Txt_Titre, "TITRE"},
    {id::Lbl_instructions, "Instructions a donner (SANS 'ENTER') :"},
    {id::Txt_instructions, kInstructionsDeConception},
    {id::Chk_Instructions, "Afficher des indications au démarrage"},
    {id::Label2, "Entrez le chemin du répertoires où sont placés les fichiers à traiter :"},
    {id::Cmd_quitter, "Quitter"},
};

class Demarrage : public TestE2E, public ::testing::WithParamInterface<Build> {};

TEST_P(Demarrage, SansFichierIniPrevientUneFoisPuisMontreLaFenetreCommeConcue) {
    const Processus& p = Lance(GetParam());
    ASSERT_TRUE(p.Valide());

    HWND boite = AttendBoiteMessage(p.Pid(), L"Merci !!!");
    ASSERT_NE(boite, nullptr) << "aucune boîte « Merci !!! » visible";
    EXPECT_EQ(U8(TexteBoiteMessage(boite)),
              "Le fichier 'Tolvane.ini' n'existe pas, veuillez le créer en entrant les paramètres "
              "nécessaire et en cliquant sur SAUVER !!!");
    EXPECT_EQ(BoutonsBoiteMessage(boite), std::vector<int>{IDOK});
    // The window shows only when the load handler has returned, after the box.
    EXPECT_EQ(AttendFenetre(p.Pid(), kCaptionPrincipale, 0), nullptr);
    ASSERT_TRUE(Repond(boite, IDOK));

    std::vector<Boite> autres;
    HWND f = FenetrePrincipaleApresBoites(p, autres);
    ASSERT_NE(f, nullptr) << "pas de fenêtre principale visible après « Merci !!! »";
    EXPECT_TRUE(autres.empty()) << autres.size() << " boîte(s) de plus, la première : " << autres[0].titre << " / "
                                << autres[0].texte;
    EXPECT_EQ(U8(Texte(f)).rfind("Tolvane 1.0", 0), 0u) << U8(Texte(f));

    for (const auto& [idControle, texte] : kTextesPrincipale) {
        HWND c = Controle(f, idControle);
        if (!c) {
            ADD_FAILURE() << "pas de contrôle d'ID " << idControle;
            continue;
        }
        EXPECT_EQ(U8(Texte(c)), texte) << "contrôle " << idControle;
        EXPECT_EQ(Visible(c), idControle != id::Txt_Texte) << "contrôle " << idControle;
    }
    EXPECT_TRUE(EntreesListe(Controle(f, id::Flb_file)).empty());
    EXPECT_EQ(EtatCoche(Controle(f, id::Opt_Mode0)), BST_UNCHECKED);
    EXPECT_EQ(EtatCoche(Controle(f, id::Opt_Mode1)), BST_CHECKED);
    EXPECT_EQ(EtatCoche(Controle(f, id::Chk_Instructions)), BST_CHECKED);
    for (int c : {id::Fra_indication, id::Txt_Titre, id::Txt_instructions})
        EXPECT_TRUE(Actif(Controle(f, c))) << "contrôle " << c;
    EXPECT_EQ(Focus(f), Controle(f, id::TXT_Chemin));
    // 7980 x 6390 twips at 96 dpi.
    SIZE client = TailleClient(f);
    EXPECT_EQ(client.cx, 532);
    EXPECT_EQ(client.cy, 426);

    // Nothing was written by merely starting, and nothing was launched.
    EXPECT_FALSE(Ini().has_value());
    EXPECT_TRUE(p.EnCours());
}

// The first thing shown may be a message box, before any window: it already has the common
// controls of version 6 (Wine loads them from its side-by-side folder), and so does the window.
TEST_P(Demarrage, ControlesCommunsVersion6DesLaPremiereBoite) {
    const Processus& p = Lance(GetParam());
    ASSERT_TRUE(p.Valide());
    auto version6 = [&p] {
        const std::wstring chemin = Minuscules(ModuleDuProcessus(p.Pid(), L"comctl32.dll"));
        return chemin.find(L"\\winsxs\\") != std::wstring::npos &&
               chemin.find(L"common-controls_6595b64144ccf1df_6.") != std::wstring::npos;
    };
    HWND boite = AttendBoiteMessage(p.Pid(), L"Merci !!!");
    ASSERT_NE(boite, nullptr);
    EXPECT_TRUE(version6()) << "comctl32 : " << U8(ModuleDuProcessus(p.Pid(), L"comctl32.dll"));
    ASSERT_TRUE(Repond(boite, IDOK));
    std::vector<Boite> autres;
    ASSERT_NE(FenetrePrincipaleApresBoites(p, autres), nullptr);
    EXPECT_TRUE(version6()) << "comctl32 : " << U8(ModuleDuProcessus(p.Pid(), L"comctl32.dll"));
}

INSTANTIATE_TEST_SUITE_P(LesDeux, Demarrage, ::testing::Values(Build::Configuration, Build::Lanceur),
                         [](const auto& info) { return NomBuild(info.param); });

// What the stored texts of "Option_Demarrage" and "Activee" do to the main window.
struct CasReglages {
    const char* nom;
    const wchar_t* option;
    const wchar_t* activee;
    bool optionChaqueDemarrage;  // Opt_Mode(0) selected, else Opt_Mode(1)
    int coche;
};

constexpr CasReglages kCasReglages[] = {
    {"VerifierEtSansInstructions", L"Verifier_lancer", L"0", false, BST_UNCHECKED},
    {"ToujoursEnCapitalesEtInstructions", L"TOUJOURS_LANCER", L"1", true, BST_CHECKED},
    {"ToujoursEnMinusculesEtUnEntoureDeBlancs", L"toujours_lancer", L" 1 ", true, BST_CHECKED},
    {"OptionInconnueGardeLaConceptionEtGrise", L"Jamais", L"2", false, BST_INDETERMINATE},
};

// Names the case in gtest's messages.
void PrintTo(const CasReglages& cas, std::ostream* os) { *os << cas.nom; }

class LectureReglages : public TestE2E, public ::testing::WithParamInterface<CasReglages> {};

TEST_P(LectureReglages, RemplitLaFenetreSansMessage) {
    const CasReglages& cas = GetParam();
    AjouteSonde(L"Maj\\b.exe");
    AjouteSonde(L"Maj\\a.exe");
    AjouteSonde(L"Maj\\c.exe1");
    ASSERT_TRUE(EcritOctets(Maj() + L"\\notes.txt", "pas un programme"));
    Dossier().CreeDossier(L"Maj\\d.exe");

    Reglages r;
    r.chemin = Maj();
    r.option = cas.option;
    r.dernier = L"ancienne version.exe";
    r.activee = cas.activee;
    r.titre = L"Mise à jour du poste";
    r.instructions = L"Fermez vos applications = merci";
    EcritIni(r.Ini());
    const std::string avant = r.Ini();

    const Processus& p = Lance(Build::Configuration);
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(boites.empty()) << boites.size() << " boîte(s), la première : " << boites[0].titre << " / "
                                << boites[0].texte;

    EXPECT_EQ(U8(Texte(Controle(f, id::TXT_Chemin))), U8(Maj()));
    EXPECT_EQ(EtatCoche(Controle(f, id::Opt_Mode0)), cas.optionChaqueDemarrage ? 1 : 0);
    EXPECT_EQ(EtatCoche(Controle(f, id::Opt_Mode1)), cas.optionChaqueDemarrage ? 0 : 1);
    EXPECT_EQ(EtatCoche(Controle(f, id::Chk_Instructions)), cas.coche);
    const bool actifs = cas.coche == BST_CHECKED;
    for (int c : {id::Fra_indication, id::Txt_Titre, id::Txt_instructions})
        EXPECT_EQ(Actif(Controle(f, c)), actifs) << "contrôle " << c;
    // Accented text crosses the ANSI code page of the file.
    EXPECT_EQ(U8(Texte(Controle(f, id::Txt_Titre))), "Mise à jour du poste");
    EXPECT_EQ(U8(Texte(Controle(f, id::Txt_instructions))), "Fermez vos applications = merci");
    // The hidden carrier ends the load holding the last launched name.
    EXPECT_EQ(U8(Texte(Controle(f, id::Txt_Texte))), "ancienne version.exe");
    EXPECT_FALSE(Visible(Controle(f, id::Txt_Texte)));

    // Only the *.exe files, no directory, no longer extension; the order is the program's.
    auto entrees = EntreesListe(Controle(f, id::Flb_file));
    std::sort(entrees.begin(), entrees.end());
    EXPECT_EQ(entrees, (std::vector<std::wstring>{L"a.exe", L"b.exe"}));

    EXPECT_EQ(Ini(), avant) << "le démarrage a modifié Tolvane.ini";
    EXPECT_TRUE(SansLancement()) << "le programme de configuration a lancé quelque chose";
}

INSTANTIATE_TEST_SUITE_P(Cas, LectureReglages, ::testing::ValuesIn(kCasReglages), tolvane::test::NomDuCas());

class LecturesEchouees : public TestE2E {};

TEST_F(LecturesEchouees, ChacuneEstSignaleeEtLesAutresContinuent) {
    // No [Dernier Fichier Execute] and no [Instructions]: four of the six reads fail.
    Reglages r;
    r.chemin = Maj();
    std::string ini = r.Ini();
    ini.erase(ini.find("[Dernier"));
    EcritIni(ini);

    const Processus& p = Lance(Build::Configuration);
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(boites.size(), 4u);
    for (const auto& b : boites) {
        EXPECT_EQ(b.titre, "Tolvane");
        EXPECT_EQ(b.texte, "echec de LitDansINI");
    }
    // The reads that worked still reached their fields.
    EXPECT_EQ(U8(Texte(Controle(f, id::TXT_Chemin))), U8(Maj()));
    EXPECT_EQ(EtatCoche(Controle(f, id::Opt_Mode0)), BST_CHECKED);
}

}  // namespace
}  // namespace e2e
