// The launcher where nobody can see it: started on the desktop of a window station that is not
// visible, as a task at machine start runs unseen, it shows nothing and ends by itself.
#include "SansEcran.h"

using namespace pilote;

namespace e2e {
namespace {

TEST_F(SansEcran, IndicationsActiveesLanceEtNoteSansLesMontrer) {
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r;
    r.chemin = Maj();
    r.activee = L"1";
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_EQ(AttendLignesSonde(1).size(), 1u);
    Reglages apres = r;
    apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

TEST_F(SansEcran, DeuxExecutablesRienNEstLance) {
    AjouteSonde(L"Maj\\a.exe");
    AjouteSonde(L"Maj\\b.exe");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_TRUE(SansLancement());
    EXPECT_EQ(Ini(), r.Ini());
}

TEST_F(SansEcran, SansFichierDeParametres) {
    LanceSansEcran();
    EXPECT_FALSE(Ini().has_value());
}

TEST_F(SansEcran, RepertoireVide) {
    Dossier().CreeDossier(L"Maj");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_EQ(Ini(), r.Ini());
}

// Nobody at the screen: the launcher waits for the update and records it only on success.
TEST_F(SansEcran, UnEchecNEstPasNoteEtRelanceAuDemarrageSuivant) {
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r = ReglagesMaj();
    r.option = L"Verifier_lancer";
    EcritIni(r.Ini());
    LanceSansEcran({{L"SONDE_CODE", L"1603"}});
    LanceSansEcran({{L"SONDE_CODE", L"1603"}});
    EXPECT_EQ(LignesSonde().size(), 2u) << "relancée";
    const std::string ini = Ini().value_or("");
    // Beside the last launched name, which stays: the name that failed and how many times.
    EXPECT_NE(ini.find("Nom_Fich=aucun\r\nNom_Echec=setup.exe\r\nEchecs=2\r\n"), std::string::npos) << ini;
    LanceSansEcran({{L"SONDE_CODE", L"3010"}});
    EXPECT_NE(Ini().value_or("").find("Nom_Fich=setup.exe\r\nNom_Echec=setup.exe\r\nEchecs=0\r\n"), std::string::npos)
        << "3010 : réussie, notée\n"
        << Ini().value_or("");
}

TEST_F(SansEcran, AuDelaDeLaDureeMaximaleLaMiseAJourEtSonEnfantSontArretes) {
    AjouteSonde(L"Maj\\setup.exe");
    EcritIni(ReglagesMaj().Ini() + "[Poste]\r\nDuree_Maximale=1\r\n");
    LanceSansEcran({{L"SONDE_ATTENTE", L"120000"}, {L"SONDE_ENFANT", L"1"}}, 100000);
    const auto lignes = LignesSonde();
    EXPECT_EQ(lignes.size(), 2u) << "la mise à jour et son enfant ont démarré";
    for (const auto& l : lignes) EXPECT_EQ(l.evenement, L"debut") << "arrêtés avant leur fin";
    // Nothing of the update runs on: the launcher ended every process of its job.
    const auto restants = [&] { return pilote::ProcessusSous(Maj()); };
    EXPECT_TRUE(pilote::AttendQue([&] { return restants().empty(); })) << restants().size() << " encore en cours";
    EXPECT_NE(Ini().value_or("").find("Nom_Fich=aucun\r\nNom_Echec=setup.exe\r\nEchecs=1\r\n"), std::string::npos)
        << "nom non noté, un échec compté\n"
        << Ini().value_or("");
}

}  // namespace
}  // namespace e2e
