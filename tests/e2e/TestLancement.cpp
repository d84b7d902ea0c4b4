// The launcher at workstation start: it launches the one executable of the configured
// directory with its exact path, records its name and ends without showing its window; it
// leaves the program running; it respects "only if the name changed"; it reports an empty
// directory and then shows its window.
#include <algorithm>

#include "commun/NomDuCas.h"
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

// The program named at the head of a command line, quoted or not.
std::wstring TeteLigneCommande(const std::wstring& ligne) {
    if (!ligne.empty() && ligne[0] == L'"') return ligne.substr(1, ligne.find(L'"', 1) - 1);
    return ligne.substr(0, ligne.find(L' '));
}

class Lanceur : public TestE2E {};

TEST_F(Lanceur, LanceLeSeulExecutableAvecSonCheminExactEtLeNote) {
    // Blanks in the directory and the name: an unquoted command line would start the decoy
    // "Mises.exe" of the parent folder instead.
    const std::wstring rep = Dossier().CreeDossier(L"Mises à jour");
    const std::wstring cible = AjouteSonde(L"Mises à jour\\maj 2.exe");
    AjouteSonde(L"Mises.exe");
    Reglages r;
    r.chemin = rep;
    EcritIni(r.Ini());

    LanceurJusquALaFin();

    auto lignes = AttendLignesSonde(1);
    ASSERT_EQ(lignes.size(), 1u) << "un seul programme devait démarrer";
    EXPECT_EQ(Minuscules(lignes[0].chemin), Minuscules(cible));
    EXPECT_EQ(Minuscules(TeteLigneCommande(lignes[0].ligneCommande)), Minuscules(cible)) << U8(lignes[0].ligneCommande);
    Reglages apres = r;
    apres.dernier = L"maj 2.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

TEST_F(Lanceur, LeProgrammeLanceContinueApresLaFinDuLanceur) {
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());

    LanceurJusquALaFin({{L"SONDE_ATTENTE", L"5000"}});

    // The launcher has ended while the program it started is still in its wait.
    auto lignes = AttendLignesSonde(1);
    ASSERT_EQ(lignes.size(), 1u);
    EXPECT_EQ(lignes[0].evenement, L"debut");
    EXPECT_FALSE(ProcessusSous(Maj()).empty()) << "le programme lancé n'est plus là";
    lignes = AttendLignesSonde(2);
    ASSERT_EQ(lignes.size(), 2u) << "le programme lancé n'est pas allé au bout de son attente";
    EXPECT_EQ(lignes[1].evenement, L"fin");
}

struct CasNomInchange {
    const char* nom;
    const wchar_t* option;
    const wchar_t* dernier;
    bool lance;
};

constexpr CasNomInchange kCasNomInchange[] = {
    {"VerifierMemeNomAutreCasse", L"Verifier_lancer", L"SETUP.EXE", false},
    {"VerifierAutreNom", L"Verifier_lancer", L"setup-1.0.exe", true},
    {"ToujoursMemeNom", L"Toujours_lancer", L"setup.exe", true},
};

void PrintTo(const CasNomInchange& cas, std::ostream* os) { *os << cas.nom; }

class NomInchange : public Lanceur, public ::testing::WithParamInterface<CasNomInchange> {};

TEST_P(NomInchange, LanceSelonLOptionEtLeDernierNom) {
    const auto& cas = GetParam();
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r;
    r.chemin = Maj();
    r.option = cas.option;
    r.dernier = cas.dernier;
    EcritIni(r.Ini());

    LanceurJusquALaFin();

    if (cas.lance)
        EXPECT_EQ(AttendLignesSonde(1).size(), 1u);
    else
        EXPECT_TRUE(SansLancement());
    Reglages apres = r;
    if (cas.lance) apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

INSTANTIATE_TEST_SUITE_P(Cas, NomInchange, ::testing::ValuesIn(kCasNomInchange), tolvane::test::NomDuCas());

TEST_F(Lanceur, MontreLesInstructionsAvantDeLancer) {
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r;
    r.chemin = Maj();
    r.activee = L"1";
    r.titre = L"Mise à jour";
    r.instructions = L"Ne pas éteindre le poste";
    EcritIni(r.Ini());

    const Processus& p = Lance(Build::Lanceur);
    HWND f = AttendFenetre(p.Pid(), L"Mise à jour");
    ASSERT_NE(f, nullptr) << "pas de fenêtre d'instructions";
    EXPECT_EQ(U8(Texte(f)), "Mise à jour");
    EXPECT_EQ(U8(Texte(Controle(f, instructions::Lbl_Titre))), "Mise à jour");
    EXPECT_EQ(U8(Texte(Controle(f, instructions::Txt_instructions))), "Ne pas éteindre le poste");
    EXPECT_EQ(U8(Texte(Controle(f, instructions::Cmd_OK))), "OK");
    // The launch waits for the user.
    EXPECT_TRUE(SansLancement());
    EXPECT_TRUE(p.EnCours());

    ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK)));
    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après OK";
    EXPECT_EQ(AttendLignesSonde(1).size(), 1u);
}

TEST_F(Lanceur, SansExecutablePrevientPuisMontreLaFenetre) {
    AjouteSonde(L"Maj\\lisez-moi.txt");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());

    const Processus& p = Lance(Build::Lanceur);
    HWND boite = AttendBoiteMessage(p.Pid(), L"Attention !!!");
    ASSERT_NE(boite, nullptr);
    EXPECT_EQ(U8(TexteBoiteMessage(boite)),
              "Aucun fichier exécutable dans le répertoire : \r\n" + U8(Maj()) +
                  "\r\nVeuillez paramètrer le logiciel avec un répertoire contenant au moins un "
                  "exécutable !!!");
    ASSERT_TRUE(Repond(boite, IDOK));
    std::vector<Boite> autres;
    HWND f = FenetrePrincipaleApresBoites(p, autres);
    ASSERT_NE(f, nullptr) << "la fenêtre principale ne s'est pas montrée";
    EXPECT_TRUE(autres.empty());
    EXPECT_TRUE(p.EnCours());
    EXPECT_TRUE(SansLancement());
    EXPECT_EQ(Ini(), r.Ini());
}

}  // namespace
}  // namespace e2e
