// Trust in the update: the allowed publishers' signature, then, where nobody is at the screen,
// the rights on the update and its folder. What is refused is neither launched nor recorded.
#include <gtest/gtest.h>

#include <functional>

#include "Programme.h"
#include "commun/NomDuCas.h"
#include "launcher/Textes.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {

const std::wstring sha1 = L"3B7E0C11A24F9D0123456789ABCDEF0123456789";
const std::wstring signe = L" Signataire : CN=Editeur, " + sha1 + L".";

// An object a broad group may write: Wine's 0777 folder, an SMB share granted to Everyone.
Acces::Objet Ouvert(Acces::Genre genre, const wchar_t* sid = Acces::SidToutLeMonde) {
    return {L"D:\\Maj", genre, Acces::SidAdministrateurs, true, {{sid, Acces::EcritureDonnees}}};
}

struct CasConfiance {
    const char* nom;
    bool personne;         // nobody at the screen
    const char* editeurs;  // the "Editeurs" line, or nullptr for none
    std::function<void(FauxLanceur::Tenue&)> tenue;
    std::vector<EvenementVu> evenements;
    bool lance;
    int verifications;
};

const std::wstring refus = L"D:\\Maj : S-1-1-0 peut écrire";

const CasConfiance casConfiance[] = {
    {"SansListeRienNEstVerifie", false, nullptr, {}, {{Evenement::Lance, {L"maj2.exe", L"D:\\Maj", L""}}}, true, 0},
    {"EditeurAutorise",
     false,
     "3b 7e 0c 11 a2 4f 9d 01 23 45 67 89 ab cd ef 01 23 45 67 89",
     {},
     {{Evenement::Lance, {L"maj2.exe", L"D:\\Maj", signe}}},
     true,
     1},
    {"NonSigneeRefusee",
     false,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789",
     [](auto& t) { t.verdict = VerdictSignature::NonSignee; },
     {{Evenement::MiseAJourRefusee, {L"maj2.exe", L"D:\\Maj", L"elle n'est pas signée", L"", L""}}},
     false,
     1},
    {"AltereeRefusee",
     true,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789",
     [](auto& t) { t.verdict = VerdictSignature::Alteree; },
     {{Evenement::MiseAJourRefusee,
       {L"maj2.exe", L"D:\\Maj", L"elle a été modifiée depuis sa signature", L"CN=Editeur", sha1}}},
     false,
     1},
    {"RacineInconnueOuCertificatExpireRefuse",
     true,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789",
     [](auto& t) { t.verdict = VerdictSignature::NonApprouvee; },
     {{Evenement::MiseAJourRefusee,
       {L"maj2.exe", L"D:\\Maj",
        L"sa signature n'est pas approuvée sur ce poste (autorité inconnue, certificat expiré ou révoqué)",
        L"CN=Editeur", sha1}}},
     false,
     1},
    {"AutreEditeurRefuse",
     false,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789",
     [](auto& t) { t.verdict = VerdictSignature::EditeurNonAutorise; },
     {{Evenement::MiseAJourRefusee, {L"maj2.exe", L"D:\\Maj", L"son éditeur n'est pas autorisé", L"CN=Editeur", sha1}}},
     false,
     1},
    {"ListeInvalideRienNEstLance",
     true,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789; 12 34",
     {},
     {{Evenement::EditeursInvalides, {L"C:\\Prog\\Tolvane.ini", L" 12 34"}}},
     false,
     0},
    {"FichierEnCoursDeCopie",
     true,
     nullptr,
     [](auto& t) { t.refus = 32; },
     {{Evenement::EchecLancement, {L"maj2.exe", L"D:\\Maj", L"erreur 32"}}},
     false,
     0},
    {"SansPersonneNonSigneLeDit",
     true,
     nullptr,
     [](auto& t) { t.signee = false; },
     {{Evenement::Reussie, {L"maj2.exe", L"D:\\Maj", L" Signataire : non signé."}}},
     true,
     0},
    {"SansPersonneDossierOuvertRefuse",
     true,
     nullptr,
     [](auto& t) { t.dossier = Ouvert(Acces::Genre::Dossier); },
     {{Evenement::DossierModifiable, {L"maj2.exe", L"D:\\Maj", refus}}},
     false,
     0},
    {"SansPersonneDossierOuvertRefuseMemeSigne",
     true,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789",
     [](auto& t) { t.dossier = Ouvert(Acces::Genre::Dossier, L"S-1-5-21-1-2-3-513"); },
     {{Evenement::DossierModifiable, {L"maj2.exe", L"D:\\Maj", L"D:\\Maj : S-1-5-21-1-2-3-513 peut écrire"}}},
     false,
     1},
    {"SansPersonneFichierOuvertRefuse",
     true,
     nullptr,
     [](auto& t) { t.fichier = Ouvert(Acces::Genre::Fichier); },
     {{Evenement::DossierModifiable, {L"maj2.exe", L"D:\\Maj", refus}}},
     false,
     0},
    {"SansPersonneFichierOuvertMaisSigneLance",
     true,
     "3B7E0C11A24F9D0123456789ABCDEF0123456789",
     [](auto& t) { t.fichier = Ouvert(Acces::Genre::Fichier); },
     {{Evenement::Reussie, {L"maj2.exe", L"D:\\Maj", signe}}},
     true,
     1},
    {"QuelquUnALEcranDossierOuvertLanceEtAverti",
     false,
     nullptr,
     [](auto& t) { t.dossier = Ouvert(Acces::Genre::Dossier); },
     {{Evenement::LanceDossierModifiable, {L"maj2.exe", L"D:\\Maj", refus}},
      {Evenement::Lance, {L"maj2.exe", L"D:\\Maj", L""}}},
     true,
     0},
};

class Confiance : public AvecMaj, public testing::WithParamInterface<CasConfiance> {};

}  // namespace

TEST_P(Confiance, VerifieAvantDeLancer) {
    const CasConfiance& c = GetParam();
    banc.processus.personne = c.personne;
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    if (c.tenue) c.tenue(banc.lanceur.tenue);
    std::string fichier = reglages.Fichier();
    if (c.editeurs) fichier += std::string("[Signature]\r\nEditeurs=") + c.editeurs + "\r\n";
    banc.EcritINI(fichier);
    EXPECT_TRUE(Redemarre(true));
    EXPECT_EQ(banc.journal.vus, c.evenements);
    EXPECT_EQ(banc.lanceur.lances.size(), c.lance ? 1u : 0u);
    EXPECT_EQ(NomFich(), c.lance ? L"maj2.exe" : L"maj1.exe") << "a refused update is not recorded";
    EXPECT_EQ(banc.lanceur.verifications.size(), static_cast<std::size_t>(c.verifications));
    if (c.verifications) {
        EXPECT_EQ(banc.lanceur.verifications[0], std::vector<std::wstring>{sha1});
    }
    for (const bool tenue : banc.lanceur.lanceesTenues) EXPECT_TRUE(tenue) << "started while held";
    EXPECT_EQ(banc.lanceur.tenuesOuvertes, 0);
    // Someone at the screen is told why nothing started; nobody at the screen sees nothing.
    const bool boite = !c.personne && !c.lance && c.evenements[0].evenement != Evenement::EchecLancement;
    EXPECT_EQ(banc.messages.vus.size(), boite ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Cas, Confiance, testing::ValuesIn(casConfiance), NomDuCas{});

TEST_F(Confiance, LaBoiteDitPourquoiEtQui) {
    banc.AjouteRepertoire(L"D:\\Maj", {L"maj2.exe"});
    banc.lanceur.tenue.verdict = VerdictSignature::EditeurNonAutorise;
    banc.EcritINI(reglages.Fichier() + "[Signature]\r\nEditeurs=" + std::string(sha1.begin(), sha1.end()) + "\r\n");
    EXPECT_TRUE(Redemarre(true));
    ASSERT_EQ(banc.messages.vus.size(), 1u);
    EXPECT_EQ(banc.messages.vus[0].texte,
              L"Mise à jour refusée : « maj2.exe » : son éditeur n'est pas autorisé\r\n"
              L"Signataire : CN=Editeur, " +
                  sha1);
    EXPECT_EQ(banc.messages.vus[0].boutons, vbCritical);
}
