// The launcher where nobody can see it (a task as the system account at machine start): no
// window and no box, every run ends by itself with its event. And the record file that lets a
// standard user's launcher note the last name without writing the settings.
#include <gtest/gtest.h>

#include <functional>

#include "commun/NomDuCas.h"
#include "Programme.h"
#include "ui/Dispositions.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

class SansPersonne : public AvecProgramme {
protected:
    SansPersonne() {
        banc.processus.personne = true;
        banc.fso.lecteurs[L"D:"] = true;
        banc.fso.lecteursReseau = {L"\\\\serveur\\maj", L"M:"};
        reglages.chemin = L"\\\\serveur\\maj";
    }
    // The launcher's start, then its main window as the entry point shows it: true when the
    // process ended without anything shown.
    bool FinitSeul(bool avecReglages = true) {
        if (avecReglages) banc.EcritINI(reglages.Fichier());
        frm = std::make_unique<Frm_principale>(banc.services, true);
        try {
            frm->Charge();
            frm->AfficheEtAttend();
        } catch (const FinDuProcessus&) {
            return true;
        }
        return false;
    }
};

// Where nobody sees the update start, the event names its signer, unchecked without a list of
// publishers.
const std::wstring signeNonVerifie =
    L" Signataire : CN=Editeur, 3B7E0C11A24F9D0123456789ABCDEF0123456789 (non vérifié).";

struct CasSansPersonne {
    const char* nom;
    std::function<void(Banc&, Reglages&)> prepare;
    EvenementVu evenement;
    bool lance;
};

const CasSansPersonne casSansPersonne[] = {
    {"InstructionsActiveesSautees",
     [](Banc& b, Reglages& r) {
         r.activee = L"1";
         b.AjouteRepertoire(r.chemin, {L"maj2.exe"});
     },
     {Evenement::Reussie, {L"maj2.exe", L"D:\\Maj", signeNonVerifie}},
     true},
    {"PlusieursExecutablesRienLance",
     [](Banc& b, Reglages& r) {
         b.AjouteRepertoire(r.chemin, {L"a.exe", L"b.exe", L"c.exe"});
     },
     {Evenement::PlusieursExecutables, {L"D:\\Maj", L"3"}},
     false},
    {"SansFichierDeParametres",
     [](Banc&, Reglages&) {},
     {Evenement::FichierINIAbsent, {L"C:\\Prog\\Tolvane.ini"}},
     false},
    {"DossierVide",
     [](Banc& b, Reglages& r) { b.AjouteRepertoire(r.chemin, {}); },
     {Evenement::AucunExecutable, {L"D:\\Maj"}},
     false},
    {"DossierRefuse",
     [](Banc& b, Reglages& r) { b.listeur.echecs[r.chemin] = {2}; },
     {Evenement::RepertoireIllisible, {L"D:\\Maj", L"erreur 2"}},
     false},
    {"LancementEchoue",
     [](Banc& b, Reglages& r) {
         b.AjouteRepertoire(r.chemin, {L"maj2.exe"});
         b.lanceur.resultat = 2;
         b.lanceur.erreur = 2;
     },
     {Evenement::EchecLancement, {L"maj2.exe", L"D:\\Maj", L"erreur 2"}},
     true},
    {"NomNonNote",
     [](Banc& b, Reglages& r) {
         b.AjouteRepertoire(r.chemin, {L"maj2.exe"});
         b.profil.echecs = {0};
     },
     {Evenement::NomNonNote, {L"maj2.exe", L"C:\\Prog\\Tolvane.ini", L"erreur 5"}},
     true},
    // A drive letter never exists for the system account: told at once, no wait.
    {"LettreDeLecteurReglageACorriger",
     [](Banc& b, Reglages& r) {
         r.chemin = L"M:\\Maj";
         b.listeur.echecs[r.chemin] = {3};
     },
     {Evenement::LettreSansSession, {L"M:\\Maj"}},
     false},
    // Nor one a script has not made yet, which the system does not call a network drive.
    {"LettrePasEncoreFaite",
     [](Banc& b, Reglages& r) {
         r.chemin = L"P:\\Maj";
         b.fso.lettresEnAttente = {L"P:"};
         b.listeur.echecs[r.chemin] = {3};
     },
     {Evenement::LettreSansSession, {L"P:\\Maj"}},
     false},
};

class TableSansPersonne : public SansPersonne, public testing::WithParamInterface<CasSansPersonne> {};

TEST_P(TableSansPersonne, NiFenetreNiBoiteEtSonEvenement) {
    const CasSansPersonne& c = GetParam();
    reglages.chemin = L"D:\\Maj";
    c.prepare(banc, reglages);
    EXPECT_TRUE(FinitSeul(c.evenement.evenement != Evenement::FichierINIAbsent));
    EXPECT_TRUE(banc.messages.vus.empty()) << testing::PrintToString(banc.messages.vus.front().texte);
    EXPECT_TRUE(banc.fenetres.affichees.empty());
    EXPECT_TRUE(banc.horloge.attentes.empty());
    EXPECT_EQ(banc.lanceur.lances.size(), c.lance ? 1u : 0u);
    EXPECT_EQ(banc.journal.vus, std::vector<EvenementVu>{c.evenement});
}

INSTANTIATE_TEST_SUITE_P(Cas, TableSansPersonne, testing::ValuesIn(casSansPersonne), NomDuCas());

}  // namespace

TEST_F(SansPersonne, UnReseauPasEncorePretEstAttenduCinqMinutesUnPosteRefuseAussi) {
    // Access denied and logon failure: a machine account refused until a domain controller
    // has answered.
    for (const unsigned long erreur : {53ul, 5ul, 1326ul}) {
        SCOPED_TRACE(erreur);
        banc.horloge.attentes.clear();
        banc.listeur.echecs[reglages.chemin] = {erreur};
        EXPECT_TRUE(FinitSeul());
        EXPECT_EQ(banc.horloge.attentes.size(), 150u) << "5 minutes, every 2 s";
        EXPECT_EQ(banc.journal.vus.back().evenement, Evenement::RepertoireInaccessible);
    }
    EXPECT_TRUE(banc.messages.vus.empty());
}

TEST_F(SansPersonne, LeVerrouEstRenduPendantLAttenteEtLeNomRelu) {
    // A configuration program saves while the share is not up yet, and another launcher
    // records the update meanwhile: this one finds it and launches nothing.
    banc.processus.personne = false;
    reglages.nomFich = L"maj1.exe";
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    banc.listeur.echecs[reglages.chemin] = {53, 2};
    std::vector<int> tenuPendant;
    banc.horloge.pendantAttente = [&] {
        tenuPendant.push_back(banc.verrou.tenu);
        std::string f = reglages.Fichier();
        f.replace(f.find("maj1.exe"), 8, "maj2.exe");
        banc.EcritINI(f);
    };
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(tenuPendant, (std::vector<int>{0, 0}));
    EXPECT_EQ(banc.verrou.prises.size(), 2u) << "taken at start, and again after the wait";
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_EQ(banc.journal.vus.back(), (EvenementVu{Evenement::NomInchange, {L"maj2.exe", L"\\\\serveur\\maj"}}));
}

// ---- the record file ----

class FichierDernier : public SansPersonne {
protected:
    FichierDernier() {
        banc.processus.personne = false;
        reglages.chemin = L"D:\\Maj";
        reglages.nomFich = L"ancien.exe";
    }
    static constexpr wchar_t Chemin[] = L"C:\\Prog\\Tolvane_Dernier.ini";
    std::string& Dernier() { return banc.fichiers.contenus[Chemin]; }
};

TEST_F(FichierDernier, PresentLeNomYEstLuEtNoteSurPlace) {
    Dernier() = "[Dernier Fichier Execute]\r\nNom_Fich=maj1.exe\r\n";
    banc.AjouteRepertoire(reglages.chemin, {L"maj1.exe"});
    EXPECT_TRUE(Demarre(true));
    EXPECT_TRUE(banc.lanceur.lances.empty()) << "the record file's name, not the settings'";

    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(Dernier(), "[Dernier Fichier Execute]\r\nNom_Fich=maj2.exe\r\n");
    EXPECT_EQ(banc.LitINI(), reglages.Fichier()) << "the settings are not written";
    ASSERT_EQ(banc.profil.ecritures.size(), 1u);
    EXPECT_TRUE(banc.profil.ecritures[0].surPlace);
    EXPECT_EQ(banc.journal.vus.back(), (EvenementVu{Evenement::Lance, {L"maj2.exe", L"D:\\Maj", L""}}));
}

TEST_F(FichierDernier, SeulLeDernierNomYEstLu) {
    // Whatever else it holds, the folder and the options come from the settings.
    Dernier() = "[Chemin]\r\nChemin_Demarrage=E:\\Leurre\r\n[Dernier Fichier Execute]\r\nNom_Fich=maj1.exe\r\n";
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{L"D:\\Maj\\maj2.exe"});
}

TEST_F(FichierDernier, UneSauvegardeRemetLesDeuxFichiers) {
    Dernier() = "[Dernier Fichier Execute]\r\nNom_Fich=maj1.exe\r\n";
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    banc.messages.reponses = {vbYes};
    banc.lanceur.resultat = 2;  // the trial's launch fails: only the save writes
    EXPECT_TRUE(Demarre(false));
    EXPECT_EQ(Dernier(), "[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n");
    ASSERT_EQ(banc.profil.ecritures.size(), 7u);
    EXPECT_EQ(banc.profil.ecritures[6], (Ecriture{L"Dernier Fichier Execute", L"Nom_Fich", L"aucun", Chemin, true}));
    reglages.nomFich = L"aucun";
    reglages.option = L"Verifier_lancer";
    EXPECT_EQ(banc.LitINI(), reglages.Fichier());
}
