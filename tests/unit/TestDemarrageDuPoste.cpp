// What the launcher meets at logon on a real workstation: a share that answers only after a
// while, windows that must come forward by themselves, and windows that cannot be created.
#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "Programme.h"
#include "UneSeuleBoite.h"
#include "launcher/Textes.h"
#include "ui/Dispositions.h"
#include "ui/Frm_principale.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

constexpr unsigned long ERROR_PATH_NOT_FOUND = 3, ERROR_ACCESS_DENIED = 5, ERROR_BAD_NETPATH = 53;

class DemarrageDuPoste : public AvecProgramme {
protected:
    DemarrageDuPoste() {
        banc.fso.lecteurs[L"D:"] = true;
        banc.fso.lecteurs[L"N:"] = true;
        banc.fso.lecteursReseau = {L"N:", L"\\\\serveur\\maj"};
        reglages.chemin = L"\\\\serveur\\maj";
    }
    void Echoue(const std::wstring& repertoire, unsigned long erreur, int fois = -1) {
        banc.listeur.echecs[repertoire] = {erreur, fois};
    }
    unsigned MsAttendues() const {
        return std::accumulate(banc.horloge.attentes.begin(), banc.horloge.attentes.end(), 0u);
    }
    static std::wstring Illisible(const std::wstring& repertoire, unsigned long erreur) {
        return L"Impossible de lire le répertoire : \r\n" + repertoire + L"\r\nerreur " + std::to_wstring(erreur) +
               L"\r\nVeuillez paramètrer le logiciel avec un répertoire contenant au moins un "
               L"exécutable !!!";
    }
};

}  // namespace

TEST_F(DemarrageDuPoste, UnPartageJoignableApresQuelquesEssaisEstLanceCommeDHabitude) {
    // A share answering "network path not found", and a mapped drive not reconnected yet.
    for (const auto& [repertoire, erreur] :
         {std::pair<std::wstring, unsigned long>{L"\\\\serveur\\maj", ERROR_BAD_NETPATH},
          {L"N:\\Maj", ERROR_PATH_NOT_FOUND}}) {
        SCOPED_TRACE(std::string(repertoire.begin(), repertoire.end()));
        banc.horloge.attentes.clear();
        banc.lanceur.lances.clear();
        banc.listeur.appels.clear();
        reglages.chemin = repertoire;
        banc.AjouteRepertoire(repertoire, {L"maj2.exe"});
        Echoue(repertoire, erreur, 3);
        EXPECT_TRUE(Demarre(true));
        EXPECT_EQ(banc.horloge.attentes, (std::vector<unsigned>{2000, 2000, 2000}));
        EXPECT_EQ(banc.listeur.appels.size(), 4u);
        EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{repertoire + L"\\maj2.exe"});
        EXPECT_TRUE(banc.messages.vus.empty());
    }
}

TEST_F(DemarrageDuPoste, UnPartageJamaisJoignableFinitApresTroisMinutesUneBoiteRienDeNote) {
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    Echoue(reglages.chemin, ERROR_BAD_NETPATH);
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(MsAttendues(), 180000u);
    EXPECT_EQ(banc.horloge.attentes.size(), 90u) << "one try every 2 s";
    EXPECT_EQ(banc.listeur.appels.size(), 91u);
    EXPECT_TRUE(
        UneSeuleBoite(banc.messages,
                      L"Le répertoire des exécutables n'est pas accessible pour le moment : \r\n\\\\serveur\\maj\r\n"
                      L"erreur 53\r\nLa mise à jour sera tentée au prochain démarrage du poste ...",
                      vbInformation, std::nullopt));
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_TRUE(banc.profil.ecritures.empty());
    EXPECT_TRUE(banc.fenetres.affichees.empty()) << "no main window";
    EXPECT_EQ(banc.journal.vus,
              (std::vector<EvenementVu>{{Evenement::RepertoireInaccessible, {L"\\\\serveur\\maj", L"erreur 53"}}}));
}

TEST_F(DemarrageDuPoste, ChaqueErreurDUnReseauPasEncorePretEstAttendueEtAucuneAutre) {
    // Each code literally: a code dropped from the list, or mistyped, shows here.
    const unsigned long attendues[] = {3,    51,   53,   54,   55,   58,   59,   64,   67,   121,  240, 1201,
                                       1203, 1222, 1225, 1231, 1232, 1236, 1265, 1311, 1355, 1908, 2250};
    const unsigned long immediates[] = {2, 5, 1326};
    for (const auto& [codes, attend] :
         {std::pair{std::vector<unsigned long>(std::begin(attendues), std::end(attendues)), true},
          std::pair{std::vector<unsigned long>(std::begin(immediates), std::end(immediates)), false}})
        for (const unsigned long erreur : codes) {
            SCOPED_TRACE(erreur);
            banc.horloge.attentes.clear();
            banc.lanceur.lances.clear();
            banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
            Echoue(reglages.chemin, erreur, 1);
            Demarre(true);
            EXPECT_EQ(banc.horloge.attentes, attend ? std::vector<unsigned>{2000} : std::vector<unsigned>{});
            EXPECT_EQ(banc.lanceur.lances.size(), attend ? 1u : 0u);
        }
}

TEST_F(DemarrageDuPoste, UneLettrePasEncoreAssocieeEstAttendueSixMinutesSansRienMontrer) {
    // A letter a logon script maps later: no such drive at first, nor a network one.
    reglages.chemin = L"M:\\Maj";
    banc.fso.lettresEnAttente = {L"M:"};
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    Echoue(reglages.chemin, ERROR_PATH_NOT_FOUND, 100);
    banc.messages.avantReponse = [&] { EXPECT_EQ(MsAttendues(), 200000u) << "a box while waiting"; };
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{L"M:\\Maj\\maj2.exe"});

    // Never mapped: after 6 minutes, the next start will try again.
    banc.messages.avantReponse = nullptr;
    banc.horloge.attentes.clear();
    banc.lanceur.lances.clear();
    Echoue(reglages.chemin, ERROR_PATH_NOT_FOUND);
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(MsAttendues(), 360000u);
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_EQ(banc.journal.vus.back(), (EvenementVu{Evenement::RepertoireInaccessible, {L"M:\\Maj", L"erreur 3"}}));
    EXPECT_TRUE(banc.fenetres.affichees.empty());
}

TEST_F(DemarrageDuPoste, UnServeurQuiRepondVeutDireDossierAbsentSansAttendre) {
    // 3 on a share whose root answers (even to refuse): the folder is gone. 67 where the
    // server answers: the share is gone. A letter whose server says it has no such share. All
    // take the designed "cannot read" path, asked at the first failure; a server that does not
    // answer is waited for, and asked again.
    struct Cas {
        const wchar_t* chemin;
        unsigned long erreur;
        const wchar_t* sonde;
        unsigned long reponse;
        bool partageSupprime;
        unsigned attente;
        Evenement evenement;
    };
    for (const Cas& c : {
             Cas{L"\\\\serveur\\maj", 3, L"\\\\serveur\\maj\\", 0, false, 0, Evenement::RepertoireIllisible},
             Cas{L"\\\\serveur\\maj", 3, L"\\\\serveur\\maj\\", 5, false, 0, Evenement::RepertoireIllisible},
             Cas{L"\\\\serveur\\maj", 3, L"\\\\serveur\\maj\\", 53, false, 180000, Evenement::RepertoireInaccessible},
             Cas{L"\\\\serveur\\maj", 67, L"\\\\serveur\\IPC$", 0, false, 0, Evenement::RepertoireIllisible},
             Cas{L"\\\\serveur\\maj", 67, L"\\\\serveur\\IPC$", 53, false, 180000, Evenement::RepertoireInaccessible},
             Cas{L"\\\\serveur\\maj", 59, L"\\\\serveur\\maj\\", 0, false, 0, Evenement::RepertoireIllisible},
             // 53 is never said for good: waited for, then asked.
             Cas{L"\\\\serveur\\maj", 53, L"\\\\serveur\\maj\\", 0, false, 180000, Evenement::RepertoireIllisible},
             Cas{L"N:\\Maj", 67, L"N:\\", 67, true, 0, Evenement::RepertoireIllisible},
             Cas{L"N:\\Maj", 3, L"N:\\", 0, false, 360000, Evenement::RepertoireIllisible},
             Cas{L"N:\\Maj", 67, L"N:\\", 67, false, 360000, Evenement::RepertoireInaccessible},
         }) {
        SCOPED_TRACE(testing::Message() << c.erreur << " " << c.reponse << " " << c.partageSupprime);
        banc.journal.vus.clear();
        banc.horloge.attentes.clear();
        reglages.chemin = c.chemin;
        banc.fso.sondes = {{c.sonde, c.reponse}};
        banc.fso.partagesSupprimes.clear();
        if (c.partageSupprime) banc.fso.partagesSupprimes = {L"N:"};
        banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
        Echoue(reglages.chemin, c.erreur);
        Demarre(true);
        EXPECT_EQ(MsAttendues(), c.attente);
        EXPECT_EQ(banc.journal.vus.back().evenement, c.evenement);
    }
}

TEST_F(DemarrageDuPoste, UneLettreDeLaSessionEleveeEstNommeeCommeCause) {
    reglages.chemin = L"M:\\Maj";
    banc.fso.lettresEnAttente = {L"M:"};
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    Echoue(reglages.chemin, ERROR_PATH_NOT_FOUND);
    for (const auto& [session, raison] : {
             std::pair{AutreSession::Non, L"erreur 3"},
             {AutreSession::Possible,
              L"erreur 3 ; M: est peut-être connecté seulement dans la session administrateur élevée : utilisez un "
              L"chemin UNC (\\\\serveur\\partage) ou activez EnableLinkedConnections"},
             {AutreSession::Certaine,
              L"M: est connecté seulement dans la session administrateur élevée : utilisez un chemin UNC "
              L"(\\\\serveur\\partage) ou activez EnableLinkedConnections"},
         }) {
        banc.fso.autresSessions[L"M:"] = session;
        EXPECT_TRUE(Demarre(true));
        EXPECT_EQ(banc.journal.vus.back(), (EvenementVu{Evenement::RepertoireInaccessible, {L"M:\\Maj", raison}}));
    }
}

TEST_F(DemarrageDuPoste, DesListesLentesFinissentQuandMemeLAttenteATemps) {
    // Each failing listing takes 1.5 s: the last pause is cut short at the deadline.
    banc.listeur.horloge = &banc.horloge;
    banc.listeur.dureeMs = 1500;
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    Echoue(reglages.chemin, ERROR_BAD_NETPATH);
    const std::uint64_t debut = banc.horloge.Millisecondes();
    EXPECT_TRUE(Demarre(true));
    EXPECT_LE(banc.horloge.Millisecondes() - debut, 180000u + 1500u + 1500u) << "first listing, wait, last listing";
    EXPECT_GE(banc.horloge.Millisecondes() - debut, 180000u);
}

TEST_F(DemarrageDuPoste, UnPartageQuiArriveVideDonneLeMessageConcu) {
    banc.AjouteRepertoire(reglages.chemin, {L"lisezmoi.txt"});
    Echoue(reglages.chemin, ERROR_BAD_NETPATH, 2);
    EXPECT_FALSE(Demarre(true));
    EXPECT_EQ(banc.horloge.attentes.size(), 2u);
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte,
              std::wstring(Textes::AucunExecutable) + L"\r\n\\\\serveur\\maj\r\n" + Textes::ParametrerRepertoire);
    EXPECT_EQ(banc.messages.vus[0].titre, L"Attention !!!");
    EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{{Evenement::AucunExecutable, {L"\\\\serveur\\maj"}}}));
    EXPECT_EQ(banc.processus.fins, 0) << "the main window follows";
}

TEST_F(DemarrageDuPoste, LesEchecsQueLAttenteNeReparePasSontSignalesAvecLeurRaison) {
    // A local folder that does not exist; no rights on the share; a share that answers at
    // last, but to refuse. The run command ends and the main window follows.
    const FauxListeur::Echec local{ERROR_PATH_NOT_FOUND}, refuse{ERROR_ACCESS_DENIED},
        refuseEnfin{ERROR_BAD_NETPATH, 2, ERROR_ACCESS_DENIED};
    for (const auto& [repertoire, echec, essais] :
         {std::tuple{L"D:\\Maj", local, 0u}, std::tuple{L"\\\\serveur\\maj", refuse, 0u},
          std::tuple{L"\\\\serveur\\maj", refuseEnfin, 2u}}) {
        SCOPED_TRACE(essais);
        banc.horloge.attentes.clear();
        banc.messages.vus.clear();
        banc.listeur.echecs.clear();
        banc.journal.vus.clear();
        reglages.chemin = repertoire;
        banc.AjouteRepertoire(repertoire, {L"maj2.exe"});
        banc.listeur.echecs[repertoire] = echec;
        EXPECT_FALSE(Demarre(true));
        EXPECT_EQ(banc.horloge.attentes.size(), essais);
        EXPECT_TRUE(UneSeuleBoite(banc.messages, Illisible(repertoire, echec.puis ? echec.puis : echec.erreur),
                                  vbCritical, L"Attention !!!"));
        EXPECT_TRUE(banc.lanceur.lances.empty());
        const unsigned long raison = echec.puis ? echec.puis : echec.erreur;
        EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{{Evenement::RepertoireIllisible,
                                                               {repertoire, L"erreur " + std::to_wstring(raison)}}}));
    }
}

TEST_F(DemarrageDuPoste, EssaiDitPourquoiSansAttendre) {
    banc.AjouteRepertoire(reglages.chemin, {L"maj2.exe"});
    Echoue(reglages.chemin, ERROR_BAD_NETPATH);
    // The configuration program, after the save question.
    EXPECT_FALSE(Demarre(false));
    ASSERT_EQ(banc.messages.vus.size(), 2u);
    EXPECT_EQ(banc.messages.vus[1].texte, Illisible(L"\\\\serveur\\maj", ERROR_BAD_NETPATH));
    EXPECT_TRUE(banc.horloge.attentes.empty());

    // The launcher whose main window is on screen: its user pressed "Essai" too.
    banc.messages.vus.clear();
    frm = std::make_unique<Frm_principale>(banc.services, true);
    banc.fenetres.principaleVisible = true;
    EXPECT_NO_THROW(frm->Charge());
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte, Illisible(L"\\\\serveur\\maj", ERROR_BAD_NETPATH));
    EXPECT_TRUE(banc.horloge.attentes.empty());
}

TEST_F(DemarrageDuPoste, SeulLeLanceurAvantSaFenetrePrincipaleDemandeAPasserDevant) {
    reglages.chemin = L"D:\\Maj";
    reglages.activee = L"1";
    banc.AjouteRepertoire(L"D:\\Maj", {L"a.exe", L"b.exe"});
    banc.lanceur.resultat = 2;  // "Echec de WinExec !!!" follows the two windows
    banc.fenetres.scripts[&Dispositions::Choix::Fenetre] = [](Fenetre& f) {
        static_cast<Frm_Choix&>(f).Cmd_OK.Presse();
    };
    banc.fenetres.scripts[&Dispositions::Instructions::Fenetre] = [](Fenetre& f) {
        static_cast<Frm_Instructions&>(f).Cmd_OK.Presse();
    };
    for (const bool modeAuto : {true, false}) {
        SCOPED_TRACE(modeAuto);
        banc.fenetres.enAvant.clear();
        banc.messages.vus.clear();
        banc.messages.reponses = {vbNo};
        EXPECT_TRUE(Demarre(modeAuto));
        EXPECT_EQ(banc.fenetres.enAvant, (std::vector<bool>{modeAuto, modeAuto})) << "choice, then instructions";
        ASSERT_FALSE(banc.messages.vus.empty());
        EXPECT_EQ(banc.messages.vus.back().texte, Textes::EchecLancement);
        for (const Message& m : banc.messages.vus) EXPECT_EQ(m.enAvant, modeAuto) << testing::PrintToString(m.texte);
    }

    // The launcher's main window is on screen (nothing to launch at start, then "Essai"):
    // its windows belong to it, as designed.
    banc.fenetres.enAvant.clear();
    banc.messages.vus.clear();
    banc.fenetres.principaleVisible = true;
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.fenetres.enAvant, (std::vector<bool>{false, false}));
    EXPECT_FALSE(banc.messages.vus.back().enAvant);
}

TEST_F(DemarrageDuPoste, UneFenetreDeChoixImpossibleACreerVautUneAnnulation) {
    reglages.chemin = L"D:\\Maj";
    reglages.nomFich = L"ancien.exe";
    banc.AjouteRepertoire(L"D:\\Maj", {L"a.exe", L"b.exe"});
    banc.fenetres.echecs.insert(&Dispositions::Choix::Fenetre);
    // Configuration program: the run command ends quietly and the main window stays.
    EXPECT_FALSE(Demarre(false));
    EXPECT_TRUE(Mod_principal::ChoixAnnule);
    EXPECT_FALSE(frm->Choix.EstChargee());
    EXPECT_EQ(frm->Txt_Texte.Text(), L"ancien.exe");
    EXPECT_TRUE(banc.lanceur.lances.empty());
    // Launcher: the process ends, with nothing launched and nothing written.
    EXPECT_TRUE(Demarre(true));
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_TRUE(banc.profil.ecritures.empty());
}

TEST_F(DemarrageDuPoste, InstructionsOuFenetrePrincipaleImpossiblesACreerFinissentSansLancement) {
    reglages.chemin = L"D:\\Maj";
    reglages.activee = L"1";
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.fenetres.echecs.insert(&Dispositions::Instructions::Fenetre);
    for (const bool modeAuto : {true, false}) {
        EXPECT_TRUE(Demarre(modeAuto));
        EXPECT_TRUE(banc.lanceur.lances.empty());
        EXPECT_TRUE(banc.profil.ecritures.empty());
        EXPECT_FALSE(frm->Instructions.EstChargee());
    }

    banc.fenetres.echecs = {&Dispositions::Principale::Fenetre};
    reglages.chemin = L"D:\\Vide";
    EXPECT_FALSE(Demarre(false));
    EXPECT_THROW(frm->AfficheEtAttend(), FinDuProcessus);
}
