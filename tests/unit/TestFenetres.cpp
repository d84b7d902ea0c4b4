// Handlers of the three windows that concern only the user interface.
#include <gtest/gtest.h>

#include "Exemple.h"
#include "Faux.h"
#include "launcher/Textes.h"
#include "ui/Dispositions.h"
#include "ui/Frm_principale.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
class Fenetres : public ::testing::Test {
protected:
    Banc banc;
    std::unique_ptr<Frm_principale> frm;
    void Ouvre(bool modeAuto, const std::string& ini) {
        if (!ini.empty()) banc.EcritINI(ini);
        frm = std::make_unique<Frm_principale>(banc.services, modeAuto);
        frm->Charge();
        banc.messages.vus.clear();
    }
};
}  // namespace

TEST_F(Fenetres, LaCaseActiveLesChampsDesInstructionsQuiQueCeSoitQuiLaCoche) {
    Ouvre(false, "");
    for (int v : {0, 1, 2, 1, 0}) {
        frm->Chk_Instructions.SetValue(v);
        EXPECT_EQ(frm->Fra_indication.Enabled(), v == 1) << v;
        EXPECT_EQ(frm->Txt_instructions.Enabled(), v == 1) << v;
        EXPECT_EQ(frm->Txt_Titre.Enabled(), v == 1) << v;
        EXPECT_TRUE(frm->Lbl_titre.Enabled()) << "the labels follow their frame, untouched";
    }
    EXPECT_FALSE(frm->Chk_Instructions.SetValue(3));
    EXPECT_EQ(frm->Chk_Instructions.Value(), 0);
}

TEST_F(Fenetres, QuitterLaZoneDuCheminNeRepointeLaListeQueSIlEstValide) {
    banc.AjouteRepertoire(L"C:\\Maj", {L"a.exe", L"b.exe"});
    banc.AjouteRepertoire(L"C:\\Vide", {L"lisezmoi.txt"});
    Reglages r;
    r.chemin = L"C:\\Maj";
    Ouvre(false, r.Fichier());
    EXPECT_EQ(frm->Flb_file.ListCount(), 2);

    frm->TXT_Chemin.SetText(L"C:\\Absent");
    frm->TXT_Chemin.LostFocus();
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte, Textes::CheminAbsent);
    EXPECT_EQ(frm->Flb_file.Path(), L"C:\\Maj");
    EXPECT_EQ(frm->Flb_file.ListCount(), 2);
    EXPECT_EQ(frm->TXT_Chemin.Text(), L"C:\\Absent");

    banc.messages.vus.clear();
    frm->TXT_Chemin.SetText(L"");
    frm->TXT_Chemin.LostFocus();
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte, Textes::LecteurAbsent);

    banc.messages.vus.clear();
    const auto appels = banc.listeur.appels.size();
    frm->TXT_Chemin.SetText(L"C:\\Vide");
    frm->TXT_Chemin.LostFocus();
    EXPECT_TRUE(banc.messages.vus.empty());
    EXPECT_EQ(frm->Flb_file.ListCount(), 0);
    EXPECT_EQ(frm->Flb_file.Pattern(), L"*.exe");
    EXPECT_EQ(banc.listeur.appels.size(), appels + 1) << "directory then pattern: one listing";
}

TEST_F(Fenetres, QuitterEtLaCaseDeFermetureFinissentAussitotSansRienSauver) {
    Ouvre(false, Reglages{}.Fichier());
    const std::string avant = banc.LitINI();
    frm->TXT_Chemin.SetText(L"C:\\Autre");
    EXPECT_THROW(frm->Cmd_quitter.Presse(), FinDuProcessus);
    EXPECT_THROW(frm->SurCaseFermeture(), FinDuProcessus);
    EXPECT_TRUE(banc.messages.vus.empty());
    EXPECT_TRUE(banc.profil.ecritures.empty());
    EXPECT_EQ(banc.LitINI(), avant);
}

namespace {
class Choix : public Fenetres {
protected:
    Frm_Choix& fenetre() { return frm->Choix; }
    void Prepare(bool modeAuto) {
        banc.AjouteRepertoire(L"C:\\Maj", {L"b.exe", L"a.exe", L"C.EXE", L"note.txt"});
        Reglages r;
        r.chemin = L"C:\\Maj";
        r.nomFich = L"ancien.exe";
        Ouvre(modeAuto, r.Fichier());
        frm->Txt_Texte.SetText(L"ancien.exe");
    }
};
}  // namespace

TEST_F(Choix, LeChargementListeLeCheminPrincipalEtSelectionneLaPremiereEntree) {
    Prepare(false);
    Mod_principal::ChoixAnnule = true;
    fenetre().Charge();
    EXPECT_FALSE(Mod_principal::ChoixAnnule);
    EXPECT_EQ(fenetre().Flb_file.Entrees(), (std::vector<std::wstring>{L"a.exe", L"b.exe", L"C.EXE"}));
    EXPECT_EQ(fenetre().Flb_file.ListIndex(), 0);
    EXPECT_EQ(fenetre().Caption(), L"Choix du fichier a exécuter ...");
    // OK untouched chooses the first entry.
    fenetre().Cmd_OK.Presse();
    EXPECT_FALSE(fenetre().EstChargee());
    EXPECT_EQ(frm->Txt_Texte.Text(), L"a.exe");
    EXPECT_FALSE(Mod_principal::ChoixAnnule);
}

TEST_F(Choix, UnDoubleClicChoisitLEntreeSousLePointeur) {
    Prepare(false);
    fenetre().Charge();
    fenetre().Flb_file.SetListIndex(2);  // the click of a double click selects first
    fenetre().Flb_file.DblClick();
    EXPECT_EQ(frm->Txt_Texte.Text(), L"C.EXE");
    EXPECT_FALSE(fenetre().EstChargee());
}

TEST_F(Choix, AnnulerFermeDansLaConfigurationEtUnNouveauChargementRepartDeZero) {
    Prepare(false);
    fenetre().Charge();
    fenetre().Flb_file.SetListIndex(1);
    fenetre().Cmd_Annuler.Presse();
    EXPECT_TRUE(Mod_principal::ChoixAnnule);
    EXPECT_FALSE(fenetre().EstChargee());
    EXPECT_EQ(frm->Txt_Texte.Text(), L"ancien.exe");

    fenetre().Charge();
    EXPECT_FALSE(Mod_principal::ChoixAnnule);
    EXPECT_EQ(fenetre().Flb_file.ListIndex(), 0);
    // The close box counts as a cancel.
    fenetre().SurCaseFermeture();
    EXPECT_TRUE(Mod_principal::ChoixAnnule);
    EXPECT_FALSE(fenetre().EstChargee());
    EXPECT_EQ(frm->Txt_Texte.Text(), L"ancien.exe");
}

TEST_F(Choix, AnnulerTermineLeLanceur) {
    Prepare(false);
    Mod_principal::ModeAuto = true;
    fenetre().Charge();
    EXPECT_THROW(fenetre().Cmd_Annuler.Presse(), FinDuProcessus);
    fenetre().Charge();
    EXPECT_THROW(fenetre().SurCaseFermeture(), FinDuProcessus);
    EXPECT_TRUE(banc.profil.ecritures.empty());
    // One event per run: each of the two runs above ended with its own.
    const EvenementVu annule{Evenement::ChoixAnnule, {L"C:\\Maj"}};
    EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{annule, annule}));
}

TEST_F(Choix, SeulLeLanceurNoteUneAnnulation) {
    Prepare(false);
    fenetre().Charge();
    fenetre().Cmd_Annuler.Presse();
    fenetre().Charge();
    fenetre().SurCaseFermeture();
    EXPECT_TRUE(banc.journal.vus.empty()) << "the configuration program's run goes on";

    Mod_principal::ModeAuto = true;
    frm->TXT_Chemin.SetText(L"\\\\serveur\\maj");  // emptied since: OK is then a cancel too
    fenetre().Charge();
    EXPECT_THROW(fenetre().Cmd_OK.Presse(), FinDuProcessus);
    EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{{Evenement::ChoixAnnule, {L"\\\\serveur\\maj"}}}));
}

TEST_F(Choix, OKSansRienAChoisirVautUneAnnulation) {
    Prepare(false);
    frm->TXT_Chemin.SetText(L"C:\\Disparu");  // no longer listable
    fenetre().Charge();
    EXPECT_EQ(fenetre().Flb_file.ListCount(), 0);
    EXPECT_EQ(fenetre().Flb_file.ListIndex(), -1);
    fenetre().Cmd_OK.Presse();
    EXPECT_TRUE(Mod_principal::ChoixAnnule);
    EXPECT_FALSE(fenetre().EstChargee());
    EXPECT_EQ(frm->Txt_Texte.Text(), L"ancien.exe") << "never the stale name as a choice";
}

TEST_F(Fenetres, LesInstructionsCopientLesChampsPrincipauxEtLeurTexteNePeutEtreEnvoye) {
    Ouvre(false, "");
    frm->Txt_Titre.SetText(L"");
    frm->Txt_instructions.SetText(L"");
    frm->Instructions.Charge();
    EXPECT_EQ(frm->Instructions.Caption(), L"");
    EXPECT_EQ(frm->Instructions.Lbl_Titre.Caption(), L"");
    EXPECT_EQ(frm->Instructions.Txt_instructions.Text(), L"");
    frm->Instructions.SurCaseFermeture();
    EXPECT_FALSE(frm->Instructions.EstChargee());
    // Its only text box is read-only in the design.
    EXPECT_TRUE(Dispositions::Instructions::Controles[Dispositions::Instructions::Txt_instructions].style &
                LectureSeule);
}

TEST(Dispositions, LesIdentifiantsSuiventLOrdreDeTabulationEtSontUniques) {
    for (const auto* table :
         {&Dispositions::Principale::Fenetre, &Dispositions::Choix::Fenetre, &Dispositions::Instructions::Fenetre}) {
        std::set<int> ids;
        for (const auto& d : table->controles)
            if (d.genre != Genre::Line) {
                EXPECT_TRUE(ids.insert(IdControle(d)).second) << d.nom;
            }
        EXPECT_EQ(ids.size(), static_cast<std::size_t>(*ids.rbegin() - 99)) << "tab indexes without gaps";
    }
}
