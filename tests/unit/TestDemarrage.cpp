// The load of the main window in both builds: the settings path, the six reads into the fields,
// and the launch the launcher build starts by itself.
#include <gtest/gtest.h>

#include "Exemple.h"
#include "Faux.h"
#include "UneSeuleBoite.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "ui/Dispositions.h"
#include "ui/Frm_principale.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
class Demarrage : public ::testing::TestWithParam<bool> {
protected:
    Banc banc;
    Frm_principale frm{banc.services, GetParam()};

    // Loads the window; true when the load ended the process.
    bool Charge() {
        try {
            frm.Charge();
            return false;
        } catch (const FinDuProcessus&) {
            return true;
        }
    }
    std::vector<std::wstring> Vus() const {
        std::vector<std::wstring> t;
        for (const auto& m : banc.messages.vus) t.push_back(m.texte);
        return t;
    }
    void AttendEtatDessine() {
        EXPECT_EQ(frm.TXT_Chemin.Text(), L"");
        EXPECT_TRUE(frm.Opt_Mode[1].Value());
        EXPECT_FALSE(frm.Opt_Mode[0].Value());
        EXPECT_EQ(frm.Chk_Instructions.Value(), 1);
        EXPECT_TRUE(frm.Fra_indication.Enabled());
        EXPECT_TRUE(frm.Txt_Titre.Enabled());
        EXPECT_TRUE(frm.Txt_instructions.Enabled());
        EXPECT_EQ(frm.Txt_Titre.Text(), L"TITRE");
        EXPECT_EQ(
            frm.Txt_instructions.Text(),
            L"Entrez ici les instructions que vous voulez indiquez \r\navant le lancement de l'exécutable ...\r\n");
        EXPECT_FALSE(frm.Txt_Texte.Visible());
    }
};
}  // namespace

TEST_P(Demarrage, SansFichierDeParametresUnMessageEtLesChampsConcus) {
    EXPECT_FALSE(Charge());
    EXPECT_TRUE(UneSeuleBoite(banc.messages,
                              L"Le fichier 'Tolvane.ini' n'existe pas, veuillez le créer en entrant les paramètres "
                              L"nécessaire et en cliquant sur SAUVER !!!",
                              vbInformation, L"Merci !!!"));
    AttendEtatDessine();
    EXPECT_EQ(Mod_principal::DernierFichier, L"");
    EXPECT_EQ(Mod_principal::NomFichierINI, L"Tolvane.ini");
    EXPECT_EQ(Mod_principal::CheminFichierINI, L"C:\\Prog\\Tolvane.ini");
    EXPECT_EQ(Mod_principal::ModeAuto, GetParam());
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_TRUE(banc.listeur.appels.empty());
    EXPECT_EQ(frm.Label3.Caption(), Textes::APropos);
    EXPECT_EQ(frm.Caption().rfind(L"Tolvane 1.0", 0), 0u);
}

TEST_P(Demarrage, UnFichierDeParametresAbsentEstNoteAvantLaBoiteQuiPeutAttendreDesHeures) {
    // The events already written when the box is answered.
    std::size_t evenementsPendantLaBoite = 0;
    banc.messages.avantReponse = [&] { evenementsPendantLaBoite = banc.journal.vus.size(); };
    Charge();
    EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{{Evenement::FichierINIAbsent, {L"C:\\Prog\\Tolvane.ini"}}}));
    EXPECT_EQ(evenementsPendantLaBoite, 1u);
    EXPECT_EQ(banc.messages.vus.size(), 1u);
}

TEST_P(Demarrage, UnFichierSauveRemplitChaqueChampSansMessage) {
    Reglages r;
    r.nomFich = L"maj1.exe";
    banc.EcritINI(r.Fichier());
    banc.AjouteRepertoire(L"D:\\Maj", {});
    banc.fso.lecteurs[L"D:"] = true;
    Charge();
    EXPECT_EQ(frm.TXT_Chemin.Text(), L"D:\\Maj");
    EXPECT_TRUE(frm.Opt_Mode[1].Value());
    EXPECT_EQ(frm.Chk_Instructions.Value(), 0);
    EXPECT_FALSE(frm.Fra_indication.Enabled());
    EXPECT_FALSE(frm.Txt_Titre.Enabled());
    EXPECT_FALSE(frm.Txt_instructions.Enabled());
    EXPECT_EQ(frm.Txt_Titre.Text(), L"TITRE");
    EXPECT_EQ(frm.Txt_instructions.Text(), SchemaINI::InstructionsParDefaut);
    EXPECT_EQ(Mod_principal::DernierFichier, L"maj1.exe");
    EXPECT_EQ(frm.Flb_file.Path(), L"D:\\Maj");
    EXPECT_EQ(frm.Flb_file.Pattern(), L"*.exe");
    // The launcher build then finds no executable and says so; the configuration build is silent.
    if (GetParam())
        EXPECT_EQ(Vus(), std::vector<std::wstring>{std::wstring(Textes::AucunExecutable) + L"\r\nD:\\Maj\r\n" +
                                                   Textes::ParametrerRepertoire});
    else
        EXPECT_TRUE(banc.messages.vus.empty());
    for (const EvenementVu& e : banc.journal.vus) EXPECT_NE(e.evenement, Evenement::FichierINIAbsent);
}

TEST_P(Demarrage, LeTexteDeLOptionEstCompareSansEgardALaCasse) {
    struct Cas {
        const wchar_t* texte;
        bool opt0;
        bool opt1;
    };
    for (const Cas c : {Cas{L"TOUJOURS_LANCER", true, false}, Cas{L"toujours_Lancer", true, false},
                        Cas{L"VERIFIER_LANCER", false, true}, Cas{L"Jamais", false, true},
                        Cas{L" Toujours_lancer", false, true}, Cas{L"", false, true}}) {
        Banc b;
        Reglages r;
        r.option = c.texte;
        b.EcritINI(r.Fichier());
        Frm_principale f(b.services, false);
        f.Charge();
        EXPECT_EQ(f.Opt_Mode[0].Value(), c.opt0) << testing::PrintToString(std::wstring(c.texte));
        EXPECT_EQ(f.Opt_Mode[1].Value(), c.opt1) << testing::PrintToString(std::wstring(c.texte));
        EXPECT_TRUE(b.messages.vus.empty());
    }
}

TEST_P(Demarrage, ActiveeRegleLaCaseEtLesChampsDesInstructions) {
    struct Cas {
        const wchar_t* texte;
        int valeur;
    };
    for (const Cas c : {Cas{L"1", 1}, Cas{L"0", 0}, Cas{L" 1 ", 1}, Cas{L"2", 2}, Cas{L"7", 1}, Cas{L"-1", 1},
                        Cas{L"abc", 0}, Cas{L"", 0}, Cas{L"1.4", 1}, Cas{L"1.5", 2}, Cas{L"0.5", 0}, Cas{L"2.5", 2},
                        Cas{L"1x", 1}, Cas{L"1e0", 1}, Cas{L"1e999", 1}}) {
        Banc b;
        Reglages r;
        r.activee = c.texte;
        r.chemin = L"";
        b.EcritINI(r.Fichier());
        Frm_principale f(b.services, false);
        f.Charge();
        const std::string cas = testing::PrintToString(std::wstring(c.texte));
        EXPECT_EQ(f.Chk_Instructions.Value(), c.valeur) << cas;
        EXPECT_EQ(f.Fra_indication.Enabled(), c.valeur == 1) << cas;
        EXPECT_EQ(f.Txt_Titre.Enabled(), c.valeur == 1) << cas;
        EXPECT_EQ(f.Txt_instructions.Enabled(), c.valeur == 1) << cas;
    }
}

TEST(ValeurCaseActivee, ConvertitLeNombreEnTeteEtRefuseLeHorsLimites) {
    EXPECT_EQ(ValeurCaseActivee(L"  2  "), 2);
    EXPECT_EQ(ValeurCaseActivee(L"+1"), 1);
    EXPECT_EQ(ValeurCaseActivee(L"-0.4"), 0);
    EXPECT_EQ(ValeurCaseActivee(L".9"), 1);
    EXPECT_EQ(ValeurCaseActivee(L"2.6"), std::nullopt);
    EXPECT_EQ(ValeurCaseActivee(L"-0.6"), std::nullopt);
    EXPECT_EQ(ValeurCaseActivee(std::wstring(5000, L'9')), std::nullopt);
    EXPECT_EQ(ValeurCaseActivee(L"1e-9999"), 0);
    EXPECT_EQ(ValeurCaseActivee(L"\t1"), 0);  // only blanks are trimmed
}

TEST_P(Demarrage, ChaqueCleAbsenteEstSignaleeEtLesAutresLecturesContinuent) {
    banc.EcritINI(
        "[Chemin]\r\nChemin_Demarrage=C:\\Maj\r\n"
        "[Instructions]\r\nTitre_Fenetre=Mise a jour\r\n");
    banc.AjouteRepertoire(L"C:\\Maj", {});
    Charge();
    const std::wstring echec = L"echec de LitDansINI";
    std::vector<std::wstring> attendus(4, echec);  // Option, Nom_Fich, Activee, Instructions
    if (GetParam())
        attendus.push_back(std::wstring(Textes::AucunExecutable) + L"\r\nC:\\Maj\r\n" + Textes::ParametrerRepertoire);
    EXPECT_EQ(Vus(), attendus);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(banc.messages.vus[i].boutons, vbOKOnly);
        EXPECT_EQ(banc.messages.vus[i].titre, std::nullopt);
    }
    // A failed read leaves its field as designed instead of taking the previous value.
    EXPECT_EQ(frm.TXT_Chemin.Text(), L"C:\\Maj");
    EXPECT_TRUE(frm.Opt_Mode[1].Value());
    EXPECT_EQ(Mod_principal::DernierFichier, L"");
    EXPECT_EQ(frm.Txt_Texte.Text(), L"");
    EXPECT_EQ(frm.Chk_Instructions.Value(), 1);
    EXPECT_EQ(frm.Txt_Titre.Text(), L"Mise a jour");
    EXPECT_EQ(frm.Txt_instructions.Text(), Dispositions::InstructionsDessin);
}

TEST_P(Demarrage, IllisibleOuNonListableNePlantePas) {
    Reglages r;
    r.chemin = L"Z:\\Absent";
    banc.EcritINI(r.Fichier());
    Charge();
    EXPECT_EQ(frm.TXT_Chemin.Text(), L"Z:\\Absent");
    EXPECT_EQ(frm.Flb_file.ListCount(), 0);

    Banc b;
    b.EcritINI(r.Fichier());
    b.fichiers.verrouilles.insert(b.CheminINI());
    Frm_principale f(b.services, false);
    f.Charge();
    EXPECT_EQ(b.messages.vus.size(), 6u) << "one 'echec de LitDansINI' per read";
    EXPECT_EQ(f.TXT_Chemin.Text(), L"");
}

INSTANTIATE_TEST_SUITE_P(LesDeuxBuilds, Demarrage, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Tolvane_Lanceur" : "Tolvane"; });

// The six settings of the window, then the allowed publishers' list before the launch.
TEST(DemarrageLanceur, UneExecutionListeLeRepertoireUneFoisEtLitLeFichierSeptFois) {
    Banc banc;
    Reglages r;
    r.option = L"Toujours_lancer";
    banc.EcritINI(r.Fichier());
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj.exe", L"lisezmoi.txt"});
    Frm_principale frm(banc.services, true);
    EXPECT_THROW(frm.Charge(), FinDuProcessus);
    EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{L"D:\\Maj\\maj.exe"});
    EXPECT_EQ(banc.listeur.appels.size(), 1u);
    EXPECT_EQ(banc.fichiers.ouvertures, 7);
    EXPECT_EQ(banc.fsoCrees, 1);
    EXPECT_TRUE(banc.fenetres.affichees.empty()) << "no window before the launch";
}
