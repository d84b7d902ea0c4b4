// The path check and the save command.
#include <gtest/gtest.h>

#include "Exemple.h"
#include "commun/NomDuCas.h"
#include "Faux.h"
#include "UneSeuleBoite.h"
#include "launcher/Mod_principal.h"
#include "launcher/Textes.h"
#include "ui/Frm_principale.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
struct CasChemin {
    const char* nom;
    const wchar_t* chemin;
    const wchar_t* message;  // nullptr: accepted
};
class VerifieChemin : public ::testing::TestWithParam<CasChemin> {};
}  // namespace

TEST_P(VerifieChemin, RefuseAvecUnMessageOuAccepteSansRienDire) {
    Banc banc;
    banc.fso.lecteurs[L"E:"] = false;  // removable drive without a medium
    banc.fso.lecteurs[L"\\\\srv\\maj"] = true;
    banc.fso.dossiers = {L"C:\\Maj", L"\\\\srv\\maj\\postes", L"E:\\Maj"};
    banc.fso.fichiers = {L"C:\\Maj\\setup.exe"};
    const CasChemin c = GetParam();
    const bool ok = Mod_principal::VerifieChemin(banc.services, c.chemin);
    EXPECT_EQ(ok, c.message == nullptr);
    if (c.message == nullptr) {
        EXPECT_TRUE(banc.messages.vus.empty());
        return;
    }
    EXPECT_TRUE(UneSeuleBoite(banc.messages, c.message, vbInformation, L"Enfin, voyons !!!"));
}

INSTANTIATE_TEST_SUITE_P(
    Cas, VerifieChemin,
    ::testing::Values(CasChemin{"Vide", L"", Textes::LecteurAbsent},
                      CasChemin{"Relatif", L"Maj", Textes::LecteurAbsent},
                      CasChemin{"SansLecteur", L"\\Maj", Textes::LecteurAbsent},
                      CasChemin{"LettreInconnue", L"Q:\\Maj", Textes::LecteurAbsent},
                      CasChemin{"LecteurPasPret", L"E:\\Maj", Textes::LecteurPasPret},
                      CasChemin{"FichierPasDossier", L"C:\\Maj\\setup.exe", Textes::CheminAbsent},
                      CasChemin{"DossierAbsent", L"C:\\Absent", Textes::CheminAbsent},
                      CasChemin{"Dossier", L"C:\\Maj", nullptr},
                      CasChemin{"DossierAvecSeparateur", L"C:\\Maj\\", nullptr},
                      CasChemin{"DossierDePartage", L"\\\\srv\\maj\\postes", nullptr},
                      CasChemin{"PartageInconnu", L"\\\\srv\\autre\\postes", Textes::LecteurAbsent},
                      CasChemin{"DossierDePartageAbsent", L"\\\\srv\\maj\\absent", Textes::CheminAbsent}),
    NomDuCas());

TEST(VerifieCheminTextes, LUtilisateurLitCesMotsExacts) {
    // The program's constants would follow a misspelling: the texts users see, written out.
    Banc banc;
    banc.fso.lecteurs[L"E:"] = false;
    EXPECT_FALSE(Mod_principal::VerifieChemin(banc.services, L"E:\\Maj"));
    EXPECT_FALSE(Mod_principal::VerifieChemin(banc.services, L"C:\\Absent"));
    ASSERT_EQ(banc.messages.vus.size(), 2u);
    EXPECT_EQ(banc.messages.vus[0].texte, L"Le lecteur que vous avez choisi n'est pas prêt !!!");
    EXPECT_EQ(banc.messages.vus[1].texte, L"Le chemin que vous avez choisi n'existe pas !!!");
}

namespace {
class Sauvegarde : public ::testing::Test {
protected:
    Banc banc;
    Frm_principale frm{banc.services, false};
    Sauvegarde() {
        banc.AjouteRepertoire(L"C:\\Maj", {});
        frm.Charge();  // no settings file: one message
        banc.messages.vus.clear();
        frm.TXT_Chemin.SetText(L"C:\\Maj");
    }
    std::vector<std::wstring> Valeurs() const {
        std::vector<std::wstring> v;
        for (const auto& e : banc.profil.ecritures) v.push_back(e.valeur);
        return v;
    }
};
using V = std::vector<std::wstring>;
}  // namespace

TEST_F(Sauvegarde, EcritLesSixEntreesDansLOrdre) {
    frm.Opt_Mode[1].SetValue(true);
    frm.Chk_Instructions.SetValue(0);
    EXPECT_TRUE(frm.Cmd_Sauver.Click ? (frm.Cmd_Sauver.Presse(), true) : false);
    const std::vector<std::pair<std::wstring, std::wstring>> cles = {
        {L"Chemin", L"Chemin_Demarrage"},          {L"Option", L"Option_Demarrage"},
        {L"Dernier Fichier Execute", L"Nom_Fich"}, {L"Instructions", L"Activee"},
        {L"Instructions", L"Titre_Fenetre"},       {L"Instructions", L"Instructions"}};
    ASSERT_EQ(banc.profil.ecritures.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(banc.profil.ecritures[i].section, cles[i].first);
        EXPECT_EQ(banc.profil.ecritures[i].cle, cles[i].second);
        EXPECT_EQ(banc.profil.ecritures[i].fichier, L"C:\\Prog\\Tolvane.ini");
    }
    EXPECT_TRUE(banc.messages.vus.empty()) << "a successful save shows nothing";
    // Byte for byte the file one save writes.
    Reglages attendu;
    attendu.chemin = L"C:\\Maj";
    EXPECT_EQ(banc.LitINI(), attendu.Fichier());
    // Saving twice gives the same file.
    frm.Cmd_Sauver.Presse();
    EXPECT_EQ(banc.LitINI(), attendu.Fichier());
}

TEST_F(Sauvegarde, LesValeursSuiventLesOptionsEtLaCase) {
    frm.Txt_Titre.SetText(L"Mise à jour");
    frm.Txt_instructions.SetText(L"Patientez");
    struct Cas {
        int option;
        int coche;
        V valeurs;
    };
    const std::wstring def = SchemaINI::InstructionsParDefaut;
    for (const Cas& c : {Cas{0, 1, V{L"C:\\Maj", L"Toujours_lancer", L"aucun", L"1", L"Mise à jour", L"Patientez"}},
                         Cas{1, 1, V{L"C:\\Maj", L"Verifier_lancer", L"aucun", L"1", L"Mise à jour", L"Patientez"}},
                         Cas{0, 0, V{L"C:\\Maj", L"Toujours_lancer", L"aucun", L"0", L"TITRE", def}},
                         Cas{1, 2, V{L"C:\\Maj", L"Verifier_lancer", L"aucun", L"2", L"TITRE", def}}}) {
        banc.profil.ecritures.clear();
        frm.Opt_Mode[c.option].SetValue(true);
        frm.Chk_Instructions.SetValue(c.coche);
        frm.Cmd_Sauver.Presse();
        EXPECT_EQ(Valeurs(), c.valeurs) << "option " << c.option << ", check box " << c.coche;
        // The boxes keep their texts whatever was written.
        EXPECT_EQ(frm.Txt_Titre.Text(), L"Mise à jour");
    }
    banc.profil.ecritures.clear();
    frm.Chk_Instructions.SetValue(1);
    frm.Txt_Titre.SetText(L"");
    frm.Cmd_Sauver.Presse();
    EXPECT_EQ(Valeurs()[4], L"");
}

TEST_F(Sauvegarde, UneEcritureEchoueeEstSignaleeEtLesAutresSontTenteesQuandMeme) {
    // Access denied (5) tells who may save; any other reason stands alone.
    banc.profil.echecs = {2, 4};
    frm.Cmd_Sauver.Presse();
    EXPECT_EQ(banc.profil.ecritures.size(), 6u);
    ASSERT_EQ(banc.messages.vus.size(), 2u);
    for (const auto& m : banc.messages.vus) {
        EXPECT_EQ(m.texte,
                  L"echec de WritePrivateProfilesstring\r\nerreur 5 (C:\\Prog\\Tolvane.ini) Tolvane.exe doit "
                  L"être exécuté en tant qu'administrateur.");
        EXPECT_EQ(m.boutons, vbOKOnly);
        EXPECT_EQ(m.titre, std::nullopt);
    }
    banc.messages.vus.clear();
    banc.profil.echecs = {6};
    banc.profil.erreur = 32;
    frm.Cmd_Sauver.Presse();
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte, L"echec de WritePrivateProfilesstring\r\nerreur 32 (C:\\Prog\\Tolvane.ini)");
    // Read-only: set on purpose, so no rights are asked for.
    banc.messages.vus.clear();
    banc.profil.echecs = {12};
    banc.profil.erreur = 6009;
    frm.Cmd_Sauver.Presse();
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte,
              L"echec de WritePrivateProfilesstring\r\nfichier en lecture seule (C:\\Prog\\Tolvane.ini)");
}

TEST_F(Sauvegarde, UnRepertoireRefuseNEcritRien) {
    banc.EcritINI("[Chemin]\r\nChemin_Demarrage=C:\\Maj\r\n");
    frm.TXT_Chemin.SetText(L"Q:\\Maj");
    frm.Cmd_Sauver.Presse();
    EXPECT_TRUE(banc.profil.ecritures.empty());
    ASSERT_EQ(banc.messages.vus.size(), 2u);
    EXPECT_EQ(
        banc.messages.vus[0].texte,
        L"Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre chemin, merci !");
    EXPECT_EQ(banc.messages.vus[1].texte,
              L"Le chemin Entré n'est pas valide, sauvegarde dans le fichier INI annulée ...");
    EXPECT_EQ(banc.messages.vus[1].titre, std::nullopt);
    EXPECT_EQ(banc.LitINI(), "[Chemin]\r\nChemin_Demarrage=C:\\Maj\r\n");
    // The path is checked before the lock is asked for: a launcher waiting for it must not
    // wait on a save that writes nothing.
    EXPECT_TRUE(banc.verrou.prises.empty());
    EXPECT_EQ(banc.verrou.tenu, 0);
}

TEST_F(Sauvegarde, LesSautsDeLigneSontStockesEnBlancsEtRelusEntiers) {
    frm.Chk_Instructions.SetValue(1);
    frm.Txt_Titre.SetText(L"Titre\r\nsur deux lignes");
    // The designed text holds two line breaks.
    frm.Cmd_Sauver.Presse();
    EXPECT_EQ(Valeurs()[4], L"Titre sur deux lignes");
    EXPECT_EQ(Valeurs()[5],
              L"Entrez ici les instructions que vous voulez indiquez  avant le lancement de l'exécutable ... ");

    Frm_principale relu(banc.services, false);
    relu.Charge();
    EXPECT_EQ(relu.Txt_Titre.Text(), L"Titre sur deux lignes");
    EXPECT_EQ(relu.Txt_instructions.Text(), Valeurs()[5]);
    EXPECT_EQ(relu.Chk_Instructions.Value(), 1);
}
