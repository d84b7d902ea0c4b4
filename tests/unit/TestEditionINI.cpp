// The profile writer's rule on every encoding a settings file may come in: only the key's line
// changes, or lines are added; every other byte stays; the reader reads the value back.
#include <gtest/gtest.h>

#include <tuple>

#include "Faux.h"
#include "platform/EditionINI.h"
#include "platform/Encodage.h"
#include "settings/Mod_FichierINI.h"

using namespace tolvane;

namespace {

struct CasEcriture {
    const char* nom;
    const wchar_t *avant, *section, *cle, *valeur, *apres;
};

// Each file holds a letter beyond ASCII, so that UTF-8 without a mark is told from the code page.
const CasEcriture casEcriture[] = {
    {"RemplaceSeulementLaValeur",
     L"[Chemin]\r\nChemin_Demarrage=D:\\Mises à jour\r\n[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n",
     L"Dernier Fichier Execute", L"Nom_Fich", L"  mise à jour 2.exe ",
     L"[Chemin]\r\nChemin_Demarrage=D:\\Mises à jour\r\n[Dernier Fichier Execute]\r\nNom_Fich=  mise à jour 2.exe "
     L"\r\n"},
    {"GardeCommentairesBlancsEtEspacement",
     L"; réglages\r\n\r\n[Chemin]  \r\nChemin_Demarrage = ancien\r\n\r\n[Option]\r\n", L"Chemin", L"Chemin_Demarrage",
     L"D:\\Mises à jour", L"; réglages\r\n\r\n[Chemin]  \r\nChemin_Demarrage=D:\\Mises à jour\r\n\r\n[Option]\r\n"},
    {"AjouteLaCleApresLaDerniereLigneDeSaSection",
     L"[Instructions]\r\nActivee=1\r\n\r\n[Option]\r\nOption_Demarrage=é\r\n", L"Instructions", L"Titre_Fenetre",
     L"Très important",
     L"[Instructions]\r\nActivee=1\r\nTitre_Fenetre=Très important\r\n\r\n[Option]\r\nOption_Demarrage=é\r\n"},
    {"AjouteLaSectionALaFin", L"[Chemin]\r\nChemin_Demarrage=é\r\n", L"Option", L"Option_Demarrage", L"Toujours_lancer",
     L"[Chemin]\r\nChemin_Demarrage=é\r\n[Option]\r\nOption_Demarrage=Toujours_lancer\r\n"},
    {"TermineUneDerniereLigneSansFin", L"[Chemin]\r\nChemin_Demarrage=é", L"Option", L"Option_Demarrage",
     L"Verifier_lancer", L"[Chemin]\r\nChemin_Demarrage=é\r\n[Option]\r\nOption_Demarrage=Verifier_lancer\r\n"},
    {"GardeLesLFSeuls", L"[Chemin]\nChemin_Demarrage=é\n[Option]\n", L"Chemin", L"Chemin_Demarrage", L"C:\\X",
     L"[Chemin]\nChemin_Demarrage=C:\\X\n[Option]\n"},
    // The reader takes the first line whose text from the second character begins with the
    // section name: the writer writes where the reader will read.
    {"EcritOuLeLecteurLit", L"[Chemin2]\r\nX=é\r\n[Chemin]\r\n", L"Chemin", L"Chemin_Demarrage", L"v",
     L"[Chemin2]\r\nX=é\r\nChemin_Demarrage=v\r\n[Chemin]\r\n"},
    // Blank first: UTF-16 without a mark is still told by its zero bytes.
    {"UnBlancEnTete", L" \r\n[Chemin]\r\nChemin_Demarrage=é\r\n", L"Chemin", L"Chemin_Demarrage", L"v",
     L" \r\n[Chemin]\r\nChemin_Demarrage=v\r\n"},
    // A blank before the bracket: not a header, for the reader as for the writer.
    {"UneLigneVideEnTete", L"\r\n\t[Chemin]\r\nChemin_Demarrage=é\r\n", L"Chemin", L"Chemin_Demarrage", L"v",
     L"\r\n\t[Chemin]\r\nChemin_Demarrage=é\r\n[Chemin]\r\nChemin_Demarrage=v\r\n"},
    {"UneLigneDeTabulations", L"[Chemin]\r\n\t\t\r\nChemin_Demarrage=é\r\n", L"Chemin", L"Chemin_Demarrage", L"v",
     L"[Chemin]\r\n\t\t\r\nChemin_Demarrage=v\r\n"},
    {"LFSeulsEtLignesVides", L"[Chemin]\n\nChemin_Demarrage=é\n\n[Option]\n", L"Chemin", L"Autre", L"v",
     L"[Chemin]\n\nChemin_Demarrage=é\nAutre=v\n\n[Option]\n"},
    {"CompleteUnEnTeteEnDerniereLigne", L"[Option]\r\nChemin_Demarrage=é\r\n[Chemin]", L"Chemin", L"Chemin_Demarrage",
     L"v", L"[Option]\r\nChemin_Demarrage=é\r\n[Chemin]\r\nChemin_Demarrage=v\r\n"},
};

struct EncodageNomme {
    const char* nom;
    Encodage encodage;
};

const EncodageNomme encodages[] = {
    {"PageCode", {Encodage::PageCode, 0}},     {"Utf8", {Encodage::Utf8, 0}},
    {"Utf8Marque", {Encodage::Utf8, 3}},       {"Utf16LEMarque", {Encodage::Utf16LE, 2}},
    {"Utf16BEMarque", {Encodage::Utf16BE, 2}}, {"Utf16LESansMarque", {Encodage::Utf16LE, 0}},
};

class EcritureINI : public testing::TestWithParam<std::tuple<CasEcriture, EncodageNomme>> {};

TEST_P(EcritureINI, NeChangeQueLaLigneDeLaCleEtSeRelit) {
    const auto& [cas, encodage] = GetParam();
    const std::string avant = EnOctets(cas.avant, encodage.encodage);
    ASSERT_EQ(DetecteEncodage(avant), encodage.encodage);
    const std::string apres = EditionINI::EcritEntree(avant, cas.section, cas.cle, cas.valeur);
    EXPECT_EQ(apres, EnOctets(cas.apres, encodage.encodage));

    test::Banc banc;
    banc.EcritINI(apres);
    std::wstring lu;
    ASSERT_TRUE(Mod_FichierINI::LitDansINI(banc.services, cas.section, cas.cle, lu, banc.CheminINI()));
    EXPECT_EQ(lu, cas.valeur);
}

INSTANTIATE_TEST_SUITE_P(Cas, EcritureINI,
                         testing::Combine(testing::ValuesIn(casEcriture), testing::ValuesIn(encodages)),
                         [](const auto& i) {
                             return std::string(std::get<0>(i.param).nom) + "_" + std::get<1>(i.param).nom;
                         });

}  // namespace

TEST(EcritureINI, UnCaractereAuDelaDeFFFFSeRelitEntier) {
    // U+1F600, a UTF-16 pair on Windows: in UTF-8, four bytes, never two halves.
    const std::wstring valeur = L"maj \U0001F600.exe";
    for (const Encodage e : {Encodage{Encodage::Utf8, 0}, Encodage{Encodage::Utf8, 3}, Encodage{Encodage::Utf16LE, 2},
                             Encodage{Encodage::Utf16BE, 2}}) {
        SCOPED_TRACE(static_cast<int>(e.texte));
        const std::string apres = EditionINI::EcritEntree(EnOctets(L"[Dernier Fichier Execute]\r\nNom_Fich=é\r\n", e),
                                                          L"Dernier Fichier Execute", L"Nom_Fich", valeur);
        if (e.texte == Encodage::Utf8) EXPECT_NE(apres.find("maj \xF0\x9F\x98\x80.exe"), std::string::npos);
        test::Banc banc;
        banc.EcritINI(apres);
        std::wstring lu;
        ASSERT_TRUE(
            Mod_FichierINI::LitDansINI(banc.services, L"Dernier Fichier Execute", L"Nom_Fich", lu, banc.CheminINI()));
        EXPECT_EQ(lu, valeur);
    }
}

TEST(EcritureINI, UnNouveauFichierEstDansLaPageDeCodeCommeLeSystemeLEcrit) {
    EXPECT_EQ(EditionINI::EcritEntree("", L"Dernier Fichier Execute", L"Nom_Fich", L"été.exe"),
              "[Dernier Fichier Execute]\r\nNom_Fich=\xE9t\xE9.exe\r\n");
    // A UTF-8 mark alone is a file in UTF-8.
    EXPECT_EQ(EditionINI::EcritEntree("\xEF\xBB\xBF", L"Chemin", L"Chemin_Demarrage", L"é"),
              "\xEF\xBB\xBF[Chemin]\r\nChemin_Demarrage=\xC3\xA9\r\n");
}

TEST(EcritureINI, DesOctetsDeLaPageDeCodeQuiSeLiraientEnUtf8SontEcritsEnUtf8) {
    // "Ã©" in Windows-1252 is C3 A9, which a file otherwise in ASCII would read back as "é".
    EXPECT_EQ(EditionINI::EcritEntree("[T]\r\n", L"T", L"k", L"Ã©"), "[T]\r\nk=\xC3\x83\xC2\xA9\r\n");
    // With a byte elsewhere that is no UTF-8, the code page holds.
    EXPECT_EQ(EditionINI::EcritEntree("[T]\r\nx=\xE9\r\n", L"T", L"k", L"Ã©"), "[T]\r\nx=\xE9\r\nk=\xC3\xA9\r\n");
}

TEST(EcritureINI, UnDernierOctetImpairDUtf16ResteLeDernier) {
    const std::string avant = std::string("\xFF\xFE[\0T\0]\0", 8) + "!";
    EXPECT_EQ(EditionINI::EcritEntree(avant, L"T", L"k", L"v"),
              std::string("\xFF\xFE[\0T\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0", 22) + "!");
}
