// Where nobody is at the screen, the update is waited for within a bound, its exit code decides
// whether its name is recorded, a failed name is tried again up to three runs, and the load is
// spread by a random wait. The settings lock is given back for every wait.
#include <gtest/gtest.h>

#include "Programme.h"
#include "commun/NomDuCas.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

class Suivi : public AvecMaj {
protected:
    Suivi() {
        banc.processus.personne = true;
        banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    }
    // The settings, with section "Poste" when given.
    void Ecrit(const std::string& poste = "") {
        banc.EcritINI(reglages.Fichier() + (poste.empty() ? "" : "[Poste]\r\n" + poste));
    }
    bool Tourne() { return Redemarre(true); }
    std::vector<Evenement> Codes() const {
        std::vector<Evenement> codes;
        for (const EvenementVu& e : banc.journal.vus) codes.push_back(e.evenement);
        return codes;
    }
};

const std::wstring signe = L" Signataire : CN=Editeur, 3B7E0C11A24F9D0123456789ABCDEF0123456789 (non vérifié).";

struct CasIssue {
    const char* nom;
    unsigned long code;
    EvenementVu evenement;
    bool note;
};

const CasIssue casIssue[] = {
    {"Succes", 0, {Evenement::Reussie, {L"maj2.exe", L"D:\\Maj", signe}}, true},
    {"SuccesLuParLesOutilsDeDeploiement1707", 1707, {Evenement::Reussie, {L"maj2.exe", L"D:\\Maj", signe}}, true},
    {"RedemarrageNecessaire3010", 3010, {Evenement::RedemarrageNecessaire, {L"maj2.exe", L"D:\\Maj", signe}}, true},
    {"RedemarreeParElle1641", 1641, {Evenement::RedemarreeParElle, {L"maj2.exe", L"D:\\Maj", signe}}, true},
    {"EchecDeWindowsInstallerAvecSonTexte1603",
     1603,
     {Evenement::EchecMiseAJour, {L"maj2.exe", L"D:\\Maj", L"1603", L"erreur 1603"}},
     false},
    {"CodePropreALInstallateurSansTexte", 2, {Evenement::EchecMiseAJour, {L"maj2.exe", L"D:\\Maj", L"2", L""}}, false},
};

class IssueMiseAJour : public Suivi, public testing::WithParamInterface<CasIssue> {};

}  // namespace

TEST_P(IssueMiseAJour, LeCodeDeSortieDecide) {
    const CasIssue& c = GetParam();
    Ecrit();
    banc.lanceur.sorties = {{1000, c.code}};
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(banc.lanceur.suivis, 1);
    EXPECT_EQ(banc.journal.vus, std::vector<EvenementVu>{c.evenement});
    EXPECT_EQ(NomFich(), c.note ? L"maj2.exe" : L"maj1.exe");
    EXPECT_EQ(banc.lanceur.delaisAttente, std::vector<std::uint64_t>{60 * 60 * 1000}) << "an hour by default";
}

INSTANTIATE_TEST_SUITE_P(Cas, IssueMiseAJour, testing::ValuesIn(casIssue), NomDuCas{});

TEST_F(Suivi, TroisEchecsDeSuiteAbandonnentLeNomJusquAUnAutre) {
    Ecrit();
    for (int run = 1; run <= 3; ++run) {
        banc.lanceur.sorties = {{0, 1603}};
        EXPECT_TRUE(Tourne());
    }
    EXPECT_EQ(banc.lanceur.lances.size(), 3u) << "a failed name is launched again";
    EXPECT_NE(banc.LitINI().find("Nom_Echec=maj2.exe\r\nEchecs=3\r\n"), std::string::npos) << banc.LitINI();
    banc.journal.vus.clear();
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(banc.lanceur.lances.size(), 3u) << "given up";
    EXPECT_EQ(banc.journal.vus, (std::vector<EvenementVu>{{Evenement::Abandonnee, {L"maj2.exe", L"D:\\Maj", L"3"}}}));
    // Another name starts afresh; a start that fails counts for nothing.
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj3.exe"});
    banc.lanceur.tenue.refus = 32;
    EXPECT_TRUE(Tourne());
    banc.lanceur.tenue.refus = 0;
    banc.lanceur.sorties = {{0, 0}};
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(NomFich(), L"maj3.exe");
    EXPECT_EQ(banc.lanceur.lances.back(), L"D:\\Maj\\maj3.exe");
    // With "Toujours_lancer" every run launches, the given-up name too.
    reglages.option = L"Toujours_lancer";
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    Ecrit();
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(banc.lanceur.lances.back(), L"D:\\Maj\\maj2.exe");
}

TEST_F(Suivi, UneAutreInstallationEnCoursEstReessayeeTroisFoisDansLaLimite) {
    Ecrit();
    banc.lanceur.sorties = {{60000, 1618}, {60000, 1618}, {60000, 0}};
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(Codes(),
              (std::vector<Evenement>{Evenement::AutreInstallation, Evenement::AutreInstallation, Evenement::Reussie}));
    EXPECT_EQ(banc.horloge.attentes, (std::vector<unsigned>{300000, 300000}));
    EXPECT_EQ(banc.lanceur.delaisAttente,
              (std::vector<std::uint64_t>{3600000, 3600000 - 360000, 3600000 - 2 * 360000}));
    EXPECT_EQ(NomFich(), L"maj2.exe");

    // Still busy after three more tries: a failure, with Windows Installer's text.
    banc.journal.vus.clear();
    reglages.nomFich = L"maj1.exe";
    Ecrit();
    banc.lanceur.sorties = {{0, 1618}, {0, 1618}, {0, 1618}, {0, 1618}};
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(banc.lanceur.suivis, 3 + 4);
    EXPECT_EQ(banc.journal.vus.back(),
              (EvenementVu{Evenement::EchecMiseAJour, {L"maj2.exe", L"D:\\Maj", L"1618", L"erreur 1618"}}));
    EXPECT_EQ(NomFich(), L"maj1.exe");
}

TEST_F(Suivi, LaLimiteArreteLaMiseAJourEtCompteUnEchec) {
    Ecrit("Duree_Maximale=1\r\n");
    banc.lanceur.sorties = {{120000, 0}};
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(banc.lanceur.delaisAttente, std::vector<std::uint64_t>{60000});
    EXPECT_EQ(banc.journal.vus,
              (std::vector<EvenementVu>{{Evenement::DureeDepassee, {L"maj2.exe", L"D:\\Maj", L"1"}}}));
    EXPECT_EQ(NomFich(), L"maj1.exe");
    EXPECT_NE(banc.LitINI().find("Echecs=1"), std::string::npos);
    // No room left for a pause: 1618 near the limit is a failure at once.
    banc.journal.vus.clear();
    banc.lanceur.sorties = {{50000, 1618}};
    EXPECT_TRUE(Tourne());
    EXPECT_EQ(Codes(), std::vector<Evenement>{Evenement::EchecMiseAJour});
}

TEST_F(Suivi, LeVerrouEstRenduPendantChaqueAttente) {
    Ecrit("Delai_Aleatoire=10\r\n");
    std::vector<int> tenus;
    banc.horloge.pendantAttente = [&] { tenus.push_back(banc.verrouPoste.tenu); };
    banc.lanceur.pendantAttente = [&] { tenus.push_back(banc.verrouPoste.tenu); };
    banc.lanceur.sorties = {{0, 1618}, {0, 0}};
    EXPECT_TRUE(Tourne());
    // The random delay, the wait for the update, the 1618 pause, the second wait.
    EXPECT_EQ(tenus, (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(NomFich(), L"maj2.exe") << "recorded once the lock is taken again";
}

TEST_F(Suivi, LeDelaiAleatoireDansSesBornes) {
    const struct {
        const char* valeur;
        std::vector<std::uint64_t> maxima;
        bool evenement;
    } cas[] = {
        {"", {}, false},  {"0", {}, false}, {" 10 ", {600000}, false}, {"60", {3600000}, false},
        {"61", {}, true}, {"-1", {}, true}, {"dix", {}, true},
    };
    for (const auto& c : cas) {
        banc.aleatoire.maxima.clear();
        banc.journal.vus.clear();
        banc.horloge.attentes.clear();
        banc.aleatoire.valeur = 123456;
        Ecrit(std::string("Delai_Aleatoire=") + c.valeur + "\r\n");
        EXPECT_TRUE(Tourne());
        EXPECT_EQ(banc.aleatoire.maxima, c.maxima) << c.valeur;
        EXPECT_EQ(banc.horloge.attentes, c.maxima.empty() ? std::vector<unsigned>{} : std::vector<unsigned>{123456})
            << c.valeur;
        EXPECT_EQ(banc.journal.vus.front().evenement == Evenement::ValeurHorsBornes, c.evenement) << c.valeur;
    }
    EXPECT_EQ(banc.journal.vus.front(),
              (EvenementVu{Evenement::ValeurHorsBornes, {L"C:\\Prog\\Tolvane.ini", L"Delai_Aleatoire", L"dix", L"0"}}));
}

TEST_F(AvecMaj, QuelquUnALEcranNiDelaiNiAttente) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.EcritINI(reglages.Fichier() + "[Poste]\r\nDelai_Aleatoire=10\r\nDuree_Maximale=1\r\n");
    EXPECT_TRUE(Redemarre(true));
    EXPECT_TRUE(banc.aleatoire.maxima.empty());
    EXPECT_EQ(banc.lanceur.suivis, 0);
    EXPECT_EQ(NomFich(), L"maj2.exe") << "recorded at launch, as designed";
}
