// The settings reader: exact names, prefix keys, the end of a section, and files that cannot
// be read.
#include <gtest/gtest.h>

#include "Faux.h"
#include "UneSeuleBoite.h"
#include "settings/Mod_FichierINI.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
class LitDansINI : public ::testing::Test {
protected:
    Banc banc;
    // The value read, or "<False>" when the call returned False (the variable then untouched).
    std::wstring Lit(const std::string& contenu, const std::wstring& section, const std::wstring& cle) {
        banc.EcritINI(contenu);
        std::wstring valeur = L"<inchangé>";
        const bool ok = Mod_FichierINI::LitDansINI(banc.services, section, cle, valeur, banc.CheminINI());
        EXPECT_EQ(banc.fichiers.ouverts, 0) << "the file must be closed within the call";
        if (!ok) {
            EXPECT_EQ(valeur, L"<inchangé>") << "a False result must leave the value as it was";
            return L"<False>";
        }
        return valeur;
    }
};
}  // namespace

TEST_F(LitDansINI, LitLesValeursExactementCommeStockees) {
    EXPECT_EQ(Lit("[Chemin]\r\nChemin_Demarrage=C:\\X\r\n", L"Chemin", L"Chemin_Demarrage"), L"C:\\X");
    EXPECT_EQ(Lit("[Instructions]\r\nInstructions=a=b\r\n", L"Instructions", L"Instructions"), L"a=b");
    // Blanks kept: the character after the key is skipped unexamined.
    EXPECT_EQ(Lit("[Dernier Fichier Execute]\r\nNom_Fich = x.exe\r\n", L"Dernier Fichier Execute", L"Nom_Fich"),
              L"= x.exe");
    EXPECT_EQ(Lit("[Option]\r\nOption_Demarrage=  Toujours_lancer  \r\n", L"Option", L"Option_Demarrage"),
              L"  Toujours_lancer  ");
    // A line holding only the key gives the empty string.
    EXPECT_EQ(Lit("[Option]\r\nOption_Demarrage\r\n", L"Option", L"Option_Demarrage"), L"");
    EXPECT_EQ(Lit("[Option]\r\nOption_Demarrage=\r\n", L"Option", L"Option_Demarrage"), L"");
}

TEST_F(LitDansINI, LesNomsRespectentLaCasseEtLesClesSontDesPrefixes) {
    EXPECT_EQ(Lit("[chemin]\r\nChemin_Demarrage=C:\\X\r\n", L"Chemin", L"Chemin_Demarrage"), L"<False>");
    EXPECT_EQ(Lit("[Chemin]\r\nchemin_demarrage=C:\\X\r\n", L"Chemin", L"Chemin_Demarrage"), L"<False>");
    // The first line that begins with the key wins, and the character after the key is
    // skipped whatever it is.
    EXPECT_EQ(Lit("[Chemin]\r\nChemin2=Y\r\nChemin=Z\r\n", L"Chemin", L"Chemin"), L"=Y");
    // The header of Chemin2 also matches section "Chemin": only the characters from the
    // second one, over the section's length, are compared.
    EXPECT_EQ(Lit("[Chemin2]\r\nChemin_Demarrage=D\r\n", L"Chemin", L"Chemin_Demarrage"), L"D");
    EXPECT_EQ(Lit("xChemin\r\nChemin_Demarrage=D\r\n", L"Chemin", L"Chemin_Demarrage"), L"D");
}

TEST_F(LitDansINI, LeNomDeSectionNEstChercheQuEnDebutDeLigne) {
    // A value naming a folder "Option" comes before the [Option] header: found there, the
    // section would end at once on the header and the option be lost.
    const std::string f = "[Chemin]\r\nChemin_Demarrage=D:\\Option\r\n[Option]\r\nOption_Demarrage=Toujours_lancer\r\n";
    EXPECT_EQ(Lit(f, L"Option", L"Option_Demarrage"), L"Toujours_lancer");
    EXPECT_EQ(Lit("Titre=[Chemin]\r\nChemin_Demarrage=X\r\n", L"Chemin", L"Chemin_Demarrage"), L"<False>");
}

TEST_F(LitDansINI, LaRechercheSArreteALaSectionSuivante) {
    EXPECT_EQ(Lit("[Option]\r\n[Chemin]\r\nChemin_Demarrage=C:\\X\r\n", L"Option", L"Chemin_Demarrage"), L"<False>");
    EXPECT_EQ(Lit("[Option]\r\nx=1\r\n[Chemin]\r\nOption_Demarrage=T\r\n", L"Option", L"Option_Demarrage"), L"<False>");
    EXPECT_EQ(Lit("[Chemin]\r\n", L"Chemin", L"Chemin_Demarrage"), L"<False>");
    EXPECT_EQ(Lit("", L"Chemin", L"Chemin_Demarrage"), L"<False>");
    // Lines before the section and comments inside it are passed over.
    EXPECT_EQ(Lit("; note\r\n\r\n[Option]\r\n; x\r\n\r\nOption_Demarrage=T\r\n", L"Option", L"Option_Demarrage"), L"T");
    // A repeated section: the first one decides.
    EXPECT_EQ(Lit("[Option]\r\n[Option]\r\nOption_Demarrage=T\r\n", L"Option", L"Option_Demarrage"), L"<False>");
}

TEST_F(LitDansINI, ToutesFinsDeLigneEtUneMarqueDOrdreDesOctets) {
    for (const char* fin : {"\r\n", "\n", "\r"}) {
        const std::string f = std::string("[Chemin]") + fin + "Chemin_Demarrage=D:\\Maj" + fin + "[Option]" + fin;
        EXPECT_EQ(Lit(f, L"Chemin", L"Chemin_Demarrage"), L"D:\\Maj") << "line end " << testing::PrintToString(fin);
    }
    EXPECT_EQ(Lit("[Chemin]\r\nChemin_Demarrage=D:\\Mises \xe0 jour", L"Chemin", L"Chemin_Demarrage"),
              L"D:\\Mises à jour");
    EXPECT_EQ(
        Lit("\xEF\xBB\xBF[Chemin]\r\nChemin_Demarrage=D:\\Mises \xC3\xA0 jour\r\n", L"Chemin", L"Chemin_Demarrage"),
        L"D:\\Mises à jour");
}

TEST_F(LitDansINI, UnFichierAbsentEstSignaleUnFichierIllisibleEstJusteFaux) {
    std::wstring valeur = L"v";
    EXPECT_FALSE(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, L"C:\\Prog\\x.ini"));
    EXPECT_EQ(valeur, L"v");
    EXPECT_TRUE(UneSeuleBoite(
        banc.messages,
        L"Le fichier 'C:\\Prog\\x.ini' n'existe pas, veuillez verifier le chemin avant d'appeler LitDansINI !!!",
        vbInformation, L"Merci !!!"));

    banc.EcritINI("[Chemin]\r\nChemin_Demarrage=C:\\X\r\n");
    banc.fichiers.verrouilles.insert(banc.CheminINI());
    EXPECT_FALSE(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, banc.CheminINI()));
    EXPECT_EQ(valeur, L"v");
    EXPECT_EQ(banc.messages.vus.size(), 1u) << "no message for a file that exists but cannot be read";
}

TEST_F(LitDansINI, UnFichierOccupeEstRetenteEnvironDeuxSecondes) {
    banc.EcritINI("[Chemin]\r\nChemin_Demarrage=C:\\X\r\n");
    std::wstring valeur;
    // An antivirus scan that ends within the wait: read, after 250 ms steps.
    banc.fichiers.occupes[banc.CheminINI()] = 3;
    EXPECT_TRUE(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, banc.CheminINI()));
    EXPECT_EQ(valeur, L"C:\\X");
    EXPECT_EQ(banc.horloge.attentes, (std::vector<unsigned>{250, 250, 250}));
    // One that does not: False after 2 s, as for any unreadable file.
    banc.horloge.attentes.clear();
    banc.fichiers.occupes[banc.CheminINI()] = 100;
    EXPECT_FALSE(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, banc.CheminINI()));
    EXPECT_EQ(banc.horloge.attentes.size(), 8u);
    // The run's other reads do not wait again.
    EXPECT_FALSE(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, banc.CheminINI()));
    EXPECT_EQ(banc.horloge.attentes.size(), 8u);
    // Access denied is not waited for.
    banc.services.attenteOuvertureEpuisee = false;
    banc.horloge.attentes.clear();
    banc.fichiers.verrouilles.insert(banc.CheminINI());
    EXPECT_FALSE(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, banc.CheminINI()));
    EXPECT_TRUE(banc.horloge.attentes.empty());
}

TEST_F(LitDansINI, ChaqueErreurDUnFichierOccupeEstRetenteEtAucuneAutre) {
    banc.EcritINI("[Chemin]\r\nChemin_Demarrage=C:\\X\r\n");
    std::wstring valeur;
    for (const auto& [erreur, attend] : {std::pair{32ul, true},
                                         {33ul, true},
                                         {362ul, true},
                                         {388ul, true},
                                         {391ul, true},
                                         {426ul, true},
                                         {1ul, false},
                                         {21ul, false}}) {
        SCOPED_TRACE(erreur);
        banc.horloge.attentes.clear();
        banc.fichiers.erreurOccupe = erreur;
        banc.fichiers.occupes[banc.CheminINI()] = 1;
        EXPECT_EQ(Mod_FichierINI::LitDansINI(banc.services, L"Chemin", L"Chemin_Demarrage", valeur, banc.CheminINI()),
                  attend);
        EXPECT_EQ(banc.horloge.attentes.size(), attend ? 1u : 0u);
        banc.fichiers.occupes.clear();
    }
}

TEST_F(LitDansINI, LesValeursEcritesRestentSurUneLigneEtSeRelisentEntieres) {
    banc.EcritINI("");
    ASSERT_TRUE(Mod_FichierINI::EcritDansINI(banc.services, L"Instructions", L"Instructions",
                                             L"ligne 1\r\nligne 2\nligne 3", banc.CheminINI()));
    EXPECT_EQ(banc.LitINI(), "[Instructions]\r\nInstructions=ligne 1 ligne 2 ligne 3\r\n");
    EXPECT_EQ(Lit(banc.LitINI(), L"Instructions", L"Instructions"), L"ligne 1 ligne 2 ligne 3");
    // In place too: the record file's writer.
    ASSERT_TRUE(
        Mod_FichierINI::EcritDansINI(banc.services, L"Instructions", L"Instructions", L"a\rb", banc.CheminINI(), true));
    EXPECT_EQ(banc.LitINI(), "[Instructions]\r\nInstructions=a b\r\n");
}
