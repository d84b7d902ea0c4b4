// The run command and the launch: which file starts, when nothing starts, what is recorded,
// and that every launch path ends the process while the run command's own exits do not.
#include <gtest/gtest.h>

#include "Programme.h"
#include "UneSeuleBoite.h"
#include "commun/NomDuCas.h"
#include "launcher/Textes.h"
#include "platform/PageCode.h"
#include "platform/Texte.h"
#include "ui/Dispositions.h"
#include "ui/Frm_principale.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
class Lancement : public AvecMaj {
protected:
    void ChoisitAuClavier(int rang) {
        banc.fenetres.scripts[&Dispositions::Choix::Fenetre] = [rang](Fenetre& f) {
            auto& choix = static_cast<Frm_Choix&>(f);
            EXPECT_EQ(choix.Flb_file.ListIndex(), 0) << "entry 0 selected at load";
            choix.Flb_file.SetListIndex(rang);
            choix.Cmd_OK.Presse();
        };
    }
};
}  // namespace

struct CasNom {
    const char* nom;
    const wchar_t* fichier;
    const wchar_t* option;
    bool lance;
};
class LancementSelonLeNom : public Lancement, public ::testing::WithParamInterface<CasNom> {};

TEST_P(LancementSelonLeNom, SiLeNomChangeCompareSansCasseAuNomNote) {
    const CasNom c = GetParam();
    banc.AjouteRepertoire(L"D:\\Maj", {c.fichier});
    reglages.option = c.option;
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.lanceur.lances.size(), c.lance ? 1u : 0u);
    EXPECT_EQ(NomFich(), c.lance ? std::wstring(c.fichier) : L"maj1.exe");
    EXPECT_TRUE(banc.messages.vus.empty());
    EXPECT_EQ(Mod_principal::DernierFichier, L"maj1.exe") << "a run never changes it";
}

INSTANTIATE_TEST_SUITE_P(Cas, LancementSelonLeNom,
                         ::testing::Values(CasNom{"MemeNom", L"maj1.exe", L"Verifier_lancer", false},
                                           CasNom{"MemeNomAutreCasse", L"MAJ1.EXE", L"Verifier_lancer", false},
                                           CasNom{"NouveauNom", L"maj2.exe", L"Verifier_lancer", true},
                                           CasNom{"ToujoursMemeNom", L"maj1.exe", L"Toujours_lancer", true},
                                           CasNom{"ToujoursAutreCasse", L"MAJ1.exe", L"Toujours_lancer", true}),
                         NomDuCas());

TEST_F(Lancement, LeNomEstCompareTelQueLeFichierLeGarde) {
    // "Łódź.exe" is stored as "?ód?.exe" in Windows-1252; read back, that is the same name and
    // must not be launched again at every start. Case is ignored, z included.
    struct Cas {
        const wchar_t* fichier;
        const wchar_t* stocke;
        bool lance;
    };
    for (const Cas& c : {Cas{L"Łódź.exe", L"?ód?.exe", false}, Cas{L"ŁÓDŹ.EXE", L"?ód?.exe", false},
                         Cas{L"ZIP.EXE", L"zip.exe", false}, Cas{L"zip.exe", L"ZIP.EXE", false},
                         Cas{L"zip2.exe", L"zip.exe", true}, Cas{L"Łódź.exe", L"Lódz.exe", true}}) {
        banc.lanceur.lances.clear();
        banc.AjouteRepertoire(L"D:\\Maj", {c.fichier});
        reglages.nomFich = c.stocke;
        EXPECT_TRUE(Demarre(true));
        EXPECT_EQ(banc.lanceur.lances.size(), c.lance ? 1u : 0u) << testing::PrintToString(std::wstring(c.fichier));
    }
}

TEST_F(Lancement, UnNomNoteDansToutEncodageEstReluEntierEtPasRelance) {
    // Leading blanks included: a name read back trimmed would be launched at every
    // start. In UTF-8 and UTF-16 a letter the code page lacks is kept too.
    for (const Encodage e : {Encodage{Encodage::PageCode, 0}, Encodage{Encodage::Utf8, 0}, Encodage{Encodage::Utf8, 3},
                             Encodage{Encodage::Utf16LE, 2}}) {
        reglages.encodage = e;
        reglages.chemin = L"D:\\Mises à jour";
        banc.lanceur.lances.clear();
        banc.AjouteRepertoire(reglages.chemin, {L"  Łódź 2.exe"});
        EXPECT_TRUE(Demarre(true));
        EXPECT_TRUE(Redemarre(true));
        EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{L"D:\\Mises à jour\\  Łódź 2.exe"}) << e.texte;
        EXPECT_EQ(DetecteEncodage(banc.LitINI()), e);
        EXPECT_TRUE(banc.messages.vus.empty());
    }
}

TEST_F(Lancement, LanceLeFichierExactFenetreNormaleDansSonRepertoireEtLeNote) {
    reglages.chemin = L"D:\\Mises a jour";
    banc.AjouteRepertoire(L"D:\\Mises a jour", {L"maj 2.exe"});
    EXPECT_TRUE(Demarre(true));
    const std::vector<Depart> depart{{L"D:\\Mises a jour\\maj 2.exe", L"D:\\Mises a jour", false}};
    EXPECT_EQ(banc.lanceur.departs, depart);
    const std::vector<EvenementVu> lance{{Evenement::Lance, {L"maj 2.exe", L"D:\\Mises a jour", L""}}};
    EXPECT_EQ(banc.journal.vus, lance);
    EXPECT_EQ(banc.lanceur.dernierEtat, 1);
    ASSERT_EQ(banc.profil.ecritures.size(), 1u);
    EXPECT_EQ(banc.profil.ecritures[0],
              (Ecriture{L"Dernier Fichier Execute", L"Nom_Fich", L"maj 2.exe", L"C:\\Prog\\Tolvane.ini"}));
    EXPECT_EQ(banc.processus.fins, 1);
}

TEST_F(Lancement, ToutResultatAuDessusDe30EstUnSucces) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    for (unsigned resultat : {31u, 32u, 33u, 42u}) {
        banc.lanceur.resultat = resultat;
        banc.profil.ecritures.clear();
        EXPECT_TRUE(Demarre(true));
        EXPECT_TRUE(banc.messages.vus.empty()) << resultat;
        EXPECT_EQ(NomFich(), L"maj2.exe") << resultat;
        EXPECT_EQ(banc.profil.ecritures.size(), 1u) << resultat;
    }
}

TEST_F(Lancement, UnLancementEchoueEstSignaleEtRienNEstNote) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"bad.exe"});
    for (unsigned resultat : {0u, 2u, 3u, 11u, 30u}) {
        banc.lanceur.resultat = resultat;
        banc.messages.vus.clear();
        banc.processus.fins = 0;
        EXPECT_TRUE(Demarre(true));
        EXPECT_TRUE(UneSeuleBoite(banc.messages, L"Echec de WinExec !!!", vbOKOnly, std::nullopt));
        EXPECT_TRUE(banc.profil.ecritures.empty());
        EXPECT_EQ(banc.processus.fins, 1);
    }
}

TEST_F(Lancement, UnEnregistrementEchoueEstSignaleApresLeLancementAvecLaRaisonEtLeFichier) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.profil.echecs = {0};
    banc.profil.erreur = 32;
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.lanceur.lances.size(), 1u);
    EXPECT_TRUE(UneSeuleBoite(banc.messages,
                              L"echec de WritePrivateProfilesstring\r\nerreur 32 (C:\\Prog\\Tolvane.ini)", vbOKOnly,
                              std::nullopt));
    EXPECT_EQ(NomFich(), L"maj1.exe");
}

TEST_F(Lancement, UnRepertoireVideEstSignaleEtLaCommandeRevient) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"lisezmoi.txt"});
    EXPECT_FALSE(Demarre(true));
    EXPECT_TRUE(UneSeuleBoite(banc.messages,
                              L"Aucun fichier exécutable dans le répertoire : \r\nD:\\Maj\r\nVeuillez paramètrer le "
                              L"logiciel avec un répertoire contenant au moins un exécutable !!!",
                              vbCritical, L"Attention !!!"));
    EXPECT_EQ(banc.processus.fins, 0);
}

TEST_F(Lancement, LaConfigurationPoseDAbordLaQuestionDeLaSauvegarde) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj1.exe"});
    // No: nothing saved; the same name as last time is not launched, the process ends.
    EXPECT_TRUE(Demarre(false));
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].titre, L"Voulez vous sauver ?");
    EXPECT_EQ(banc.messages.vus[0].boutons, vbYesNoQuestion);
    EXPECT_EQ(banc.messages.vus[0].texte,
              L"Attention, un fois exécuté le programme se terminera (c'est une vraie simulation !!!)"
              L"\r\n\r\nVoulez vous sauver les paramètres avant d'essayer le programme ???");
    EXPECT_TRUE(banc.profil.ecritures.empty());
    EXPECT_TRUE(banc.lanceur.lances.empty());
}

TEST_F(Lancement, OuiSauveDAbordMaisCompareAuNomLuAuDemarrage) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj1.exe"});
    banc.messages.reponses = {vbYes};
    EXPECT_TRUE(Demarre(false));
    // The save wrote "aucun", yet maj1.exe is still the name of the last launch.
    EXPECT_EQ(banc.profil.ecritures.size(), 6u);
    EXPECT_EQ(NomFich(), L"aucun");
    EXPECT_TRUE(banc.lanceur.lances.empty());
}

TEST_F(Lancement, UneSauvegardeRefuseeArreteLEssai) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.messages.reponses = {vbYes};
    EXPECT_FALSE(Demarre(false, [](Frm_principale& f) { f.TXT_Chemin.SetText(L"Q:\\Nulle part"); }));
    ASSERT_EQ(banc.messages.vus.size(), 3u);
    EXPECT_EQ(banc.messages.vus[1].texte, Textes::LecteurAbsent);
    EXPECT_EQ(banc.messages.vus[2].texte, Textes::SauvegardeAnnulee);
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_EQ(banc.processus.fins, 0);
}

TEST_F(Lancement, PlusieursEntreesPassentParLaFenetreDeChoix) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"c.exe", L"A.exe", L"b.exe"});
    ChoisitAuClavier(2);
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.fenetres.affichees, std::vector<std::wstring>{L"Choix du fichier a exécuter ..."});
    EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{L"D:\\Maj\\c.exe"});
    EXPECT_EQ(NomFich(), L"c.exe");
}

TEST_F(Lancement, UnChoixAnnuleGardeLaConfigurationEtTermineLeLanceur) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"a.exe", L"b.exe"});
    const auto annule = [](Fenetre& f) { static_cast<Frm_Choix&>(f).Cmd_Annuler.Presse(); };
    banc.fenetres.scripts[&Dispositions::Choix::Fenetre] = annule;
    EXPECT_FALSE(Demarre(false));
    EXPECT_TRUE(Mod_principal::ChoixAnnule);
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_EQ(banc.processus.fins, 0);

    EXPECT_TRUE(Demarre(true));
    EXPECT_TRUE(banc.lanceur.lances.empty());
    EXPECT_EQ(banc.LitINI(), reglages.Fichier()) << "the settings file is unchanged";
}

TEST_F(Lancement, LesInstructionsSontMontreesAvantLeLancementSeulementSiCochees) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    for (const wchar_t* activee : {L"1", L"0", L"2"}) {
        banc.fenetres.affichees.clear();
        banc.lanceur.lances.clear();
        reglages.activee = activee;
        reglages.titre = L"TITRE";
        reglages.instructions = L"Ne pas éteindre le poste.";
        bool lanceAvant = false;
        banc.fenetres.scripts[&Dispositions::Instructions::Fenetre] = [&](Fenetre& f) {
            auto& ins = static_cast<Frm_Instructions&>(f);
            EXPECT_EQ(f.Caption(), L"TITRE");
            EXPECT_EQ(ins.Lbl_Titre.Caption(), L"TITRE");
            EXPECT_EQ(ins.Txt_instructions.Text(), L"Ne pas éteindre le poste.");
            lanceAvant = !banc.lanceur.lances.empty();
            ins.Cmd_OK.Presse();
        };
        EXPECT_TRUE(Demarre(true));
        const bool montre = std::wstring(activee) == L"1";
        EXPECT_EQ(banc.fenetres.affichees.size(), montre ? 1u : 0u) << testing::PrintToString(std::wstring(activee));
        EXPECT_FALSE(lanceAvant);
        EXPECT_EQ(banc.lanceur.lances.size(), 1u);
    }
}

TEST_F(Lancement, LeLancementPrendLeRepertoireTapeEtLesEntreesListees) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    // The user typed a path the check refused: the list still shows D:\Maj.
    EXPECT_TRUE(Demarre(false, [](Frm_principale& f) { f.TXT_Chemin.SetText(L"D:\\Autre"); }));
    EXPECT_EQ(banc.lanceur.lances, std::vector<std::wstring>{L"D:\\Autre\\maj2.exe"});
}

// ---- how the start is made, and what the administrator is told ----

struct CasElevation {
    const char* nom;
    unsigned resultat;
    unsigned long erreur;  // of the plain start
    unsigned resultatEleve;
    unsigned long erreurEleve;  // of the start through the shell
    bool parLeShell;
    bool lance;
    Evenement evenement;
    const wchar_t* raison;  // third string of a failure's event
};
class LancementElevation : public Lancement, public ::testing::WithParamInterface<CasElevation> {};

TEST_P(LancementElevation, SeuleLElevationRequisePasseParLeShellEtUnRefusEstUnEchec) {
    const CasElevation c = GetParam();
    banc.AjouteRepertoire(L"D:\\Maj", {L"setup.exe"});
    banc.lanceur.resultat = c.resultat;
    banc.lanceur.erreur = c.erreur;
    banc.lanceur.resultatEleve = c.resultatEleve;
    banc.lanceur.erreurEleve = c.erreurEleve;
    // The administrator learns the outcome even when the user leaves the last box on screen.
    std::size_t evenementsPendantLaBoite = 0;
    banc.messages.avantReponse = [&] { evenementsPendantLaBoite = banc.journal.vus.size(); };
    EXPECT_TRUE(Demarre(true));

    std::vector<Depart> attendus{{L"D:\\Maj\\setup.exe", L"D:\\Maj", false}};
    if (c.parLeShell) attendus.push_back({L"D:\\Maj\\setup.exe", L"D:\\Maj", true});
    EXPECT_EQ(banc.lanceur.departs, attendus);
    EXPECT_EQ(NomFich(), c.lance ? L"setup.exe" : L"maj1.exe");
    ASSERT_EQ(banc.messages.vus.size(), c.lance ? 0u : 1u);
    if (!c.lance) {
        EXPECT_EQ(banc.messages.vus[0].texte, L"Echec de WinExec !!!");
        EXPECT_EQ(evenementsPendantLaBoite, 1u);
    }
    std::vector<std::wstring> chaines{L"setup.exe", L"D:\\Maj"};
    chaines.push_back(c.raison ? c.raison : L"");
    const std::vector<EvenementVu> evenements{{c.evenement, chaines}};
    EXPECT_EQ(banc.journal.vus, evenements);
    EXPECT_EQ(banc.processus.fins, 1);
}

// ERROR_ELEVATION_REQUIRED is 740 and ERROR_CANCELLED 1223: written as numbers, since Wine never
// gives 740 and a constant mistyped in the code would be mistyped alike in a test that used it.
INSTANTIATE_TEST_SUITE_P(Cas, LancementElevation,
                         ::testing::Values(CasElevation{"EleveApresLaDemande", 0, 740, 33, 0, true, true,
                                                        Evenement::LanceApresElevation, nullptr},
                                           CasElevation{"DemandeRefusee", 0, 740, 0, 1223, true, false,
                                                        Evenement::EchecLancement, L"erreur 1223"},
                                           CasElevation{"AccesRefuse", 0, 5, 33, 0, false, false,
                                                        Evenement::EchecLancement, L"erreur 5"}),
                         NomDuCas());

TEST_F(Lancement, UnDemarrageEleveDepuisUnLecteurReseauPrendLeNomDuPartage) {
    banc.fso.lecteurs[L"M:"] = true;
    banc.fso.partages[L"M:"] = L"\\\\serveur\\maj";
    reglages.chemin = L"M:\\Maj";
    banc.AjouteRepertoire(L"M:\\Maj", {L"setup.exe"});
    banc.lanceur.resultat = 0;
    banc.lanceur.erreur = 740;
    EXPECT_TRUE(Demarre(true));
    const std::vector<Depart> departs{{L"M:\\Maj\\setup.exe", L"M:\\Maj", false},
                                      {L"\\\\serveur\\maj\\Maj\\setup.exe", L"\\\\serveur\\maj\\Maj", true}};
    EXPECT_EQ(banc.lanceur.departs, departs);
    // The user's own names in the event: the ones the settings hold.
    EXPECT_EQ(banc.journal.vus,
              (std::vector<EvenementVu>{{Evenement::LanceApresElevation, {L"setup.exe", L"M:\\Maj", L""}}}));
    // The path the system resolved the held file to comes first: a SUBST letter's folder.
    banc.lanceur.departs.clear();
    banc.lanceur.tenue.cheminFinal = L"C:\\Depot\\Maj\\setup.exe";
    EXPECT_TRUE(Demarre(true));
    EXPECT_EQ(banc.lanceur.departs.back(), (Depart{L"C:\\Depot\\Maj\\setup.exe", L"C:\\Depot\\Maj", true}));
}

TEST_F(Lancement, MemeNomEtLancementNonNoteSontSignales) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj1.exe"});
    EXPECT_TRUE(Demarre(true));
    const std::vector<EvenementVu> inchange{{Evenement::NomInchange, {L"maj1.exe", L"D:\\Maj"}}};
    EXPECT_EQ(banc.journal.vus, inchange);

    banc.journal.vus.clear();
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.profil.echecs = {0};
    banc.profil.erreur = 32;
    std::size_t evenementsPendantLaBoite = 0;
    banc.messages.avantReponse = [&] { evenementsPendantLaBoite = banc.journal.vus.size(); };
    EXPECT_TRUE(Demarre(true));
    const std::vector<EvenementVu> nonNote{
        {Evenement::NomNonNote, {L"maj2.exe", L"C:\\Prog\\Tolvane.ini", L"erreur 32"}}};
    EXPECT_EQ(banc.journal.vus, nonNote);
    EXPECT_EQ(evenementsPendantLaBoite, 1u);
}

// ---- one program at a time on a settings file ----

TEST_F(Lancement, DesReglagesLaissesSousLeurNomDeSauvegardeSontRelusPuisRemis) {
    // A power cut between ReplaceFileW's two renames: only Tolvane.ini.ancien is left. Its last
    // name is still the one compared, whether this run may give it its name back or not.
    const std::wstring ini = banc.CheminINI(), ancien = ini + L".ancien";
    for (const bool refuse : {false, true})
        for (const bool modeAuto : {true, false}) {
            SCOPED_TRACE(testing::Message() << "refusé " << refuse << ", lanceur " << modeAuto);
            banc.journal.vus.clear();
            banc.fichiers.contenus.clear();
            banc.profil.renommageRefuse = refuse;
            reglages.nomFich = L"maj2.exe";
            banc.fichiers.contenus[ancien] = reglages.Fichier();
            banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
            EXPECT_TRUE(Redemarre(modeAuto, [](Frm_principale&) {}));
            EXPECT_TRUE(banc.lanceur.lances.empty());
            EXPECT_EQ(banc.journal.vus.back().evenement, Evenement::NomInchange);
            EXPECT_EQ(banc.fichiers.contenus.count(ini), refuse ? 0u : 1u);
            EXPECT_EQ(banc.fichiers.contenus.count(ancien), refuse ? 1u : 0u);
        }
}
