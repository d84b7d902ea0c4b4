// The save command of the configuration program.
#include <windows.h>

#include "commun/NomDuCas.h"
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

// A drive letter that names no drive of this prefix, from Q: on.
std::wstring LecteurInexistant() {
    const DWORD lecteurs = GetLogicalDrives();
    for (wchar_t l = L'Q'; l <= L'Y'; ++l)
        if (!(lecteurs & (1u << (l - L'A')))) return std::wstring(1, l) + L":";
    return L"";
}

// The file one save writes on a fresh folder, written out in full rather than built from the
// fixture's helper, so that both cannot share a fault.
std::string FichierDeReference(const std::wstring& chemin, const char* option) {
    return "[Chemin]\r\nChemin_Demarrage=" + EnAnsi(chemin) + "\r\n[Option]\r\nOption_Demarrage=" + option +
           "\r\n[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n[Instructions]\r\nActivee=0\r\n"
           "Titre_Fenetre=TITRE\r\nInstructions=" +
           EnAnsi(DeU8(kInstructionsParDefaut)) + "\r\n";
}

class Sauvegarde : public TestE2E {
protected:
    // Replaces the text of TXT_Chemin as typed, then leaves the box with a real Tab, which runs
    // the path check.
    void SaisitCheminEtQuitte(HWND principale, const std::wstring& chemin) {
        HWND saisie = Controle(principale, principale::TXT_Chemin);
        Demande(saisie, EM_SETSEL, 0, -1);
        ASSERT_TRUE(Tape(saisie, chemin.empty() ? std::wstring(L"\b") : chemin));
        ASSERT_EQ(Texte(saisie), chemin);
        ASSERT_TRUE(MetAuPremierPlan(principale));
        ASSERT_EQ(Focus(principale), saisie);
        ASSERT_TRUE(Touche(VK_TAB));
    }

    // Ticks an option button or toggles the check box, and waits for the new state.
    static void CliqueEtAttend(HWND principale, int id, int etat) {
        HWND b = Controle(principale, id);
        ASSERT_TRUE(Clique(b));
        ASSERT_TRUE(AttendQue([&] { return EtatCoche(b) == etat; })) << "contrôle " << id;
    }

    // The next message box: its title and prompt, answered with OK.
    Boite BoiteSuivante(const Processus& p) {
        HWND b = nullptr;
        AttendQue([&] { return (b = BoiteMessageVisible(p.Pid())) != nullptr; });
        if (!b) return {"(aucune)", ""};
        Boite vue{U8(Texte(b)), U8(TexteBoiteMessage(b))};
        EXPECT_EQ(BoutonsBoiteMessage(b), std::vector<int>{IDOK}) << vue.titre;
        Repond(b, IDOK);
        return vue;
    }

    // Proves that the handler before has shown all its boxes: Essai's question must come
    // alone. Answered "Non"; Maj holds no executable, so the run command ends on its
    // warning.
    void VerifieQueLaSuiteEstEssai(const Processus& p, HWND principale) {
        HWND question = EssaiEtQuestion(p, principale);
        ASSERT_NE(question, nullptr);
        ASSERT_TRUE(Repond(question, IDNO));
        EXPECT_EQ(BoiteSuivante(p).titre, "Attention !!!");
    }
};

struct CasOption {
    const char* nom;
    int avant, choisie;  // clicked first, then the one that is saved
    const char* valeur;
};

constexpr CasOption kCasOption[] = {
    {"NeLeLancerQueSiLeNomChange", principale::Opt_Mode0, principale::Opt_Mode1, "Verifier_lancer"},
    {"LancerAChaqueDemarrage", principale::Opt_Mode1, principale::Opt_Mode0, "Toujours_lancer"},
};

void PrintTo(const CasOption& cas, std::ostream* os) { *os << cas.nom; }

class SauvegardeOption : public Sauvegarde, public ::testing::WithParamInterface<CasOption> {};

TEST_P(SauvegardeOption, SansFichierEcritLeFichierDeReferencePuisRemplaceEnPlace) {
    const CasOption& cas = GetParam();
    AjouteSonde(L"Maj\\setup.exe");
    const Processus& p = Lance(Build::Configuration);
    HWND merci = AttendBoiteMessage(p.Pid(), L"Merci !!!");
    ASSERT_NE(merci, nullptr);
    ASSERT_TRUE(Repond(merci, IDOK));
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;

    SaisitCheminEtQuitte(f, Maj());
    // A valid path: no message, and the list now shows that folder.
    EXPECT_TRUE(AttendQue([&] {
        return EntreesListe(Controle(f, principale::Flb_file)) == std::vector<std::wstring>{L"setup.exe"};
    })) << "la liste n'a pas suivi le chemin saisi";
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);

    CliqueEtAttend(f, cas.avant, BST_CHECKED);
    CliqueEtAttend(f, cas.choisie, BST_CHECKED);
    EXPECT_EQ(EtatCoche(Controle(f, cas.avant)), BST_UNCHECKED);
    // A title typed and then switched off: the fixed texts are saved, not the boxes'.
    ASSERT_TRUE(Tape(Controle(f, principale::Txt_Titre), L" du poste"));
    CliqueEtAttend(f, principale::Chk_Instructions, BST_UNCHECKED);
    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));

    const std::string attendu = FichierDeReference(Maj(), cas.valeur);
    EXPECT_TRUE(AttendQue([&] { return Ini() == attendu; })) << "attendu :\n" << U8(DeAnsi(attendu));
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);

    // A launch recorded since: the second save puts every key back in its place.
    std::string lance = attendu;
    lance.replace(lance.find("Nom_Fich=aucun"), 14, "Nom_Fich=setup.exe");
    EcritIni(lance);
    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));
    EXPECT_TRUE(AttendQue([&] { return Ini() == attendu; })) << "la seconde sauvegarde diffère";
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);
    EXPECT_TRUE(SansLancement());
}

INSTANTIATE_TEST_SUITE_P(Cas, SauvegardeOption, ::testing::ValuesIn(kCasOption), tolvane::test::NomDuCas());

enum class Refus { LecteurAbsent, LecteurPasPret, DossierAbsent, Vide };

struct CasRefus {
    const char* nom;
    Refus refus;
    const char* raison;
};

constexpr CasRefus kCasRefus[] = {
    {"LecteurAbsent", Refus::LecteurAbsent,
     "Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
     "chemin, merci !"},
    {"LecteurPasPret", Refus::LecteurPasPret, "Le lecteur que vous avez choisi n'est pas prêt !!!"},
    {"DossierAbsent", Refus::DossierAbsent, "Le chemin que vous avez choisi n'existe pas !!!"},
    {"Vide", Refus::Vide,
     "Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
     "chemin, merci !"},
};

void PrintTo(const CasRefus& cas, std::ostream* os) { *os << cas.nom; }

class SauvegardeRefusee : public Sauvegarde, public ::testing::WithParamInterface<CasRefus> {};

TEST_P(SauvegardeRefusee, DeuxMessagesEtFichierIntact) {
    const CasRefus& cas = GetParam();
    std::wstring chemin;
    switch (cas.refus) {
    case Refus::LecteurAbsent:
        chemin = LecteurInexistant();
        ASSERT_FALSE(chemin.empty()) << "toutes les lettres de Q: à Y: sont prises";
        chemin += L"\\Maj";
        break;
    case Refus::LecteurPasPret:
        // The test prefix's D: is a CD drive without a medium (prepare-wine.sh).
        if (GetDriveTypeW(L"D:\\") != DRIVE_CDROM)
            GTEST_SKIP() << "pas de lecteur D: sans support dans ce préfixe (prepare-wine.sh)";
        chemin = L"D:\\Maj";
        break;
    case Refus::DossierAbsent: chemin = Maj() + L"\\absent"; break;
    case Refus::Vide: break;
    }
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    const std::string avant = r.Ini();

    const Processus& p = Lance(Build::Configuration);
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;

    // Leaving the box already checks the path: one message.
    SaisitCheminEtQuitte(f, chemin);
    Boite b = BoiteSuivante(p);
    EXPECT_EQ(b.titre, "Enfin, voyons !!!");
    EXPECT_EQ(b.texte, cas.raison);

    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));
    b = BoiteSuivante(p);
    EXPECT_EQ(b.titre, "Enfin, voyons !!!");
    EXPECT_EQ(b.texte, cas.raison);
    b = BoiteSuivante(p);
    EXPECT_EQ(b.titre, U8(kTitreParDefaut));
    EXPECT_EQ(b.texte, "Le chemin Entré n'est pas valide, sauvegarde dans le fichier INI annulée ...");

    VerifieQueLaSuiteEstEssai(p, f);
    EXPECT_EQ(Ini(), avant) << "Tolvane.ini modifié par une sauvegarde refusée";
    EXPECT_TRUE(SansLancement());
}

INSTANTIATE_TEST_SUITE_P(Cas, SauvegardeRefusee, ::testing::ValuesIn(kCasRefus), tolvane::test::NomDuCas());

// Refused writes need the run without root's file override (see TestSansPrivilege.cpp); the
// suite's name puts it in that run.
// The attribute is read, not the refusal: shown as root too, with no rights asked for.
TEST_F(Sauvegarde, FichierEnLectureSeuleUnMessageParEcriture) {
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    ASSERT_TRUE(MetLectureSeule(CheminIni(), true));

    const Processus& p = Lance(Build::Configuration);
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;

    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));
    for (int i = 1; i <= 6; ++i) {
        Boite b = BoiteSuivante(p);
        EXPECT_EQ(b.titre, U8(kTitreParDefaut)) << "écriture " << i;
        EXPECT_EQ(b.texte, EchecEcriture(CheminIni(), ERROR_FILE_READ_ONLY)) << "écriture " << i;
    }
    VerifieQueLaSuiteEstEssai(p, f);
    EXPECT_EQ(Ini(), r.Ini());
    MetLectureSeule(CheminIni(), false);
}

}  // namespace
}  // namespace e2e
