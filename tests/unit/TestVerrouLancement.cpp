// The settings lock around a run: the launcher holds it from its first read to its end, the
// configuration program only around its writes, and neither writes without it.
#include <gtest/gtest.h>

#include "Programme.h"
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
                                        {Evenement::Lance, {L"maj2.exe", L"D:\\Maj"}}}));
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
