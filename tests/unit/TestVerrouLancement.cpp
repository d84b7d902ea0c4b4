// The settings lock around a run: the launcher holds it from its first read to its end, the
// configuration program only around its writes, and neither writes without it.
#include <gtest/gtest.h>

#include "Programme.h"
#include "commun/NomDuCas.h"
#include "launcher/Textes.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
class VerrouLancement : public AvecMaj {};
}  // namespace

TEST_F(VerrouLancement, LeLanceurPrendLeVerrouAvantToutLectureEtLeGarde) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    EXPECT_TRUE(Demarre(true));
    ASSERT_FALSE(banc.verrou.prises.empty());
    const FauxVerrou::Prise& p = banc.verrou.prises.front();
    EXPECT_EQ(p.chemin, L"C:\\Prog\\Tolvane.ini");
    EXPECT_EQ(p.delaiMs, 120000u) << "two minutes: the first may be showing its instructions";
    EXPECT_EQ(p.fileExistsAvant, 0);
    EXPECT_EQ(p.ouverturesAvant, 0);
    EXPECT_EQ(banc.lanceur.lances.size(), 1u);
    EXPECT_EQ(banc.verrou.tenu, 1) << "held until the process ends";
}

TEST_F(VerrouLancement, UnLanceurQuiNeLanceRienRendLeVerrou) {
    // Its window stays open, maybe for hours: the configuration program must still be able to
    // save meanwhile. Without settings the lock is given back before the box is answered.
    banc.AjouteRepertoire(L"D:\\Maj", {});
    EXPECT_FALSE(Demarre(true));
    EXPECT_EQ(banc.verrou.prises.size(), 1u);
    EXPECT_EQ(banc.verrou.tenu, 0);

    banc.fichiers.contenus.clear();
    int tenuPendantLaBoite = -1;
    banc.messages.avantReponse = [&] { tenuPendantLaBoite = banc.verrou.tenu; };
    frm = std::make_unique<Frm_principale>(banc.services, true);
    frm->Charge();
    EXPECT_EQ(banc.messages.vus.back().texte, Textes::FichierINIAbsent);
    EXPECT_EQ(tenuPendantLaBoite, 0);
}

TEST_F(VerrouLancement, UnLanceurQuiNObtientPasLeVerrouFinitAvecSonSeulEvenement) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.verrou.libre = false;
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{{Evenement::VerrouOccupe, {L"C:\\Prog\\Tolvane.ini"}}}));
    EXPECT_EQ(banc.verrou.prises.size(), 1u);
    EXPECT_EQ(banc.fso.appelsFileExists, 0);
    EXPECT_EQ(banc.fichiers.ouvertures, 0);
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_TRUE(banc.profil.ecritures.empty());
    EXPECT_TRUE(banc.messages.vus.empty());
    EXPECT_TRUE(banc.fenetres.affichees.empty());
}

TEST_F(VerrouLancement, UnLanceurSansVerrouPossibleTourneSansLui) {
    // ERROR_INVALID_HANDLE: the lock's name is taken by an object of another kind.
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.verrou.libre = false;
    banc.verrou.refus = 6;
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.verrou.prises.size(), 1u) << "tried once, at start";
    EXPECT_EQ(banc.lanceur.lances.size(), 1u);
    EXPECT_EQ(NomFich(), L"maj2.exe");
    EXPECT_EQ(banc.journal.vus,
              (std::vector<EvenementVu>{{Evenement::SansVerrou, {L"C:\\Prog\\Tolvane.ini", L"erreur 6"}},
                                        {Evenement::Lance, {L"maj2.exe", L"D:\\Maj", L""}}}));
    EXPECT_TRUE(banc.messages.vus.empty());
}

TEST_F(VerrouLancement, LaConfigurationNePrendLeVerrouQuAutourDeSesEcritures) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.messages.reponses = {vbYes};
    EXPECT_TRUE(Demarre(false, [&](Frm_principale&) { EXPECT_TRUE(banc.verrou.prises.empty()) << "not at start"; }));
    // Around the six writes of the save, then around the record after the launch.
    ASSERT_EQ(banc.verrou.prises.size(), 2u);
    EXPECT_EQ(banc.verrou.prises[0].ecrituresAvant, 0);
    EXPECT_EQ(banc.verrou.prises[1].ecrituresAvant, 6);
    EXPECT_EQ(banc.verrou.prises[1].lancesAvant, 1);
    EXPECT_EQ(banc.verrou.tenu, 0);
    EXPECT_EQ(NomFich(), L"maj2.exe");
}

TEST_F(VerrouLancement, UnEssaiDontLaSauvegardeEstRefuseeNeGardeAucunVerrou) {
    reglages.chemin = L"Q:\\Maj";
    banc.messages.reponses = {vbYes};
    EXPECT_FALSE(Demarre(false));
    EXPECT_TRUE(banc.verrou.prises.empty());
    EXPECT_EQ(banc.verrou.tenu, 0);
    EXPECT_TRUE(banc.lanceur.lances.empty());
}

TEST_F(VerrouLancement, LaConfigurationNEcritRienSansLeVerrou) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.verrou.libre = false;
    banc.messages.reponses = {vbYes};
    // The save is refused as a whole, and the trial that asked for it stops.
    EXPECT_FALSE(Demarre(false));
    ASSERT_EQ(banc.messages.vus.size(), 2u);
    // The reason is the wait that ran out (WAIT_TIMEOUT).
    const std::wstring refus = L"echec de WritePrivateProfilesstring\r\nerreur 258 (C:\\Prog\\Tolvane.ini)";
    EXPECT_EQ(banc.messages.vus[1].texte, refus);
    EXPECT_TRUE(banc.profil.ecritures.empty());
    EXPECT_TRUE(banc.lanceur.lances.empty());

    // Without the save, the launch goes on but its name is not recorded, and the reason is told.
    banc.messages.vus.clear();
    banc.messages.reponses = {vbNo};
    EXPECT_TRUE(Demarre(false));
    EXPECT_EQ(banc.lanceur.lances.size(), 1u);
    EXPECT_TRUE(banc.profil.ecritures.empty());
    EXPECT_EQ(banc.messages.vus.back().texte, refus);
    EXPECT_EQ(banc.journal.vus.back(),
              (EvenementVu{Evenement::NomNonNote, {L"maj2.exe", L"C:\\Prog\\Tolvane.ini", L"erreur 258"}}));
}

namespace {

// Which lock a launcher takes, and what a machine-start lock it cannot trust does to the run.
struct CasVerrouDuLanceur {
    const char* nom;
    bool personne;
    unsigned long refusPoste;  // 0: free
    const wchar_t* proprietaire;
    bool poste;  // the machine-start lock taken, not the shared one
    std::vector<EvenementVu> evenements;
};

const std::wstring ini = L"C:\\Prog\\Tolvane.ini";
const EvenementVu lance{Evenement::Lance, {L"maj2.exe", L"D:\\Maj", L""}};
// Where nobody is at the screen, the update is waited for, and the event names its signer.
const EvenementVu lancePoste{
    Evenement::Reussie,
    {L"maj2.exe", L"D:\\Maj", L" Signataire : CN=Editeur, 3B7E0C11A24F9D0123456789ABCDEF0123456789 (non vérifié)."}};

const CasVerrouDuLanceur casVerrouDuLanceur[] = {
    {"SessionLeVerrouPartage", false, 0, L"", false, {lance}},
    {"PosteSonPropreVerrou", true, 0, L"", true, {lancePoste}},
    {"PosteVerrouDUnUtilisateurIgnore",
     true,
     1307,
     L"S-1-5-21-1-2-3-1001",
     true,
     {{Evenement::SansVerrou,
       {ini, L"verrou créé par un autre compte que SYSTEM ou Administrateurs : S-1-5-21-1-2-3-1001"}},
      lancePoste}},
    {"PosteVerrouIllisibleIgnore", true, 5, L"", true, {{Evenement::SansVerrou, {ini, L"erreur 5"}}, lancePoste}},
    {"PosteVerrouTenuRienLance", true, 258, L"", true, {{Evenement::VerrouOccupe, {ini}}}},
};

class VerrouDuLanceur : public AvecMaj, public testing::WithParamInterface<CasVerrouDuLanceur> {};

}  // namespace

TEST_P(VerrouDuLanceur, PosteOuSession) {
    const CasVerrouDuLanceur& c = GetParam();
    banc.processus.personne = c.personne;
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.verrouPoste.libre = c.refusPoste == 0;
    banc.verrouPoste.refus = c.refusPoste;
    banc.verrouPoste.proprietaire = c.proprietaire;
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.verrouPoste.prises.empty(), !c.poste);
    EXPECT_EQ(banc.verrou.prises.empty(), c.poste) << "a user holding the shared lock starves nothing";
    EXPECT_EQ(banc.journal.vus, c.evenements);
    EXPECT_EQ(banc.lanceur.lances.size(), c.evenements.back().evenement == Evenement::VerrouOccupe ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(Cas, VerrouDuLanceur, testing::ValuesIn(casVerrouDuLanceur), NomDuCas{});

TEST_F(VerrouLancement, LaConfigurationPrendLeVerrouDuPosteAvantLePartage) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.messages.reponses = {vbYes};
    EXPECT_TRUE(Demarre(false));
    ASSERT_EQ(banc.verrou.prises.size(), 2u);
    EXPECT_EQ(banc.verrouPoste.prises.size(), 2u);
    for (const FauxVerrou::Prise& p : banc.verrou.prises) EXPECT_EQ(p.posteTenu, 1);
    EXPECT_EQ(banc.verrouPoste.tenu + banc.verrou.tenu, 0);

    // Not an administrator: the machine-start lock is refused, the shared one still guards.
    banc.verrouPoste.libre = false;
    banc.verrouPoste.refus = 5;
    banc.messages.reponses = {vbYes};
    EXPECT_TRUE(Demarre(false));
    EXPECT_EQ(banc.verrou.prises.size(), 4u);
    EXPECT_EQ(NomFich(), L"maj2.exe");

    // A machine-start run holding it all along refuses the save.
    banc.verrouPoste.refus = 258;
    banc.messages.reponses = {vbYes};
    EXPECT_FALSE(Demarre(false));
    EXPECT_EQ(banc.verrou.prises.size(), 4u);
    EXPECT_EQ(banc.messages.vus.back().texte,
              L"echec de WritePrivateProfilesstring\r\nerreur 258 (C:\\Prog\\Tolvane.ini)");
}
