// The allowed publishers' thumbprints as administrators paste them.
#include <gtest/gtest.h>

#include "commun/NomDuCas.h"
#include "settings/Editeurs.h"

using namespace tolvane;

namespace {

const std::wstring sha1 = L"3B7E0C11A24F9D0123456789ABCDEF0123456789";
const std::wstring sha256 = L"00112233445566778899AABBCCDDEEFF00112233445566778899AABBCCDDEEFF";

struct CasEditeurs {
    const char* nom;
    std::wstring texte;
    std::vector<std::wstring> empreintes;
    std::wstring fautive;
};

const CasEditeurs casEditeurs[] = {
    {"Vide", L"", {}, L""},
    {"Sha1CommeWindowsLaMontre", sha1, {sha1}, L""},
    {"CopieeDuDialogueAvecMarqueEtBlancs",
     L"\x200E"
     L"3b 7e 0c 11 a2 4f 9d 01 23 45 67 89 ab cd ef 01 23 45 67 89",
     {sha1},
     L""},
    {"DeuxPointsEspacesInsecablesEtMarques",
     L"\xFEFF"
     L"3B:7E:0C:11:A2:4F:9D:01:23:45:67:89:AB:CD:EF:01:23:45:67:89\x00A0\x200F",
     {sha1},
     L""},
    {"PlusieursEtPointVirguleFinal", sha1 + L" ; " + sha256 + L";", {sha1, sha256}, L""},
    {"EntreeVideIgnoree", L";;" + sha1, {sha1}, L""},
    {"TropCourte", sha1.substr(1), {}, sha1.substr(1)},
    {"PasHexadecimale", L"3B7E0C11A24F9D0123456789ABCDEF012345678G", {}, L"3B7E0C11A24F9D0123456789ABCDEF012345678G"},
    {"LaFautiveTelleQuEcrite", sha1 + L"; 12 34 ", {sha1}, L" 12 34 "},
};

class ListeEditeurs : public testing::TestWithParam<CasEditeurs> {};

}  // namespace

TEST_P(ListeEditeurs, Lecture) {
    const CasEditeurs& c = GetParam();
    const Editeurs::Liste liste = Editeurs::Lit(c.texte);
    EXPECT_EQ(liste.empreintes, c.empreintes);
    EXPECT_EQ(liste.fautive, c.fautive);
}

INSTANTIATE_TEST_SUITE_P(Cas, ListeEditeurs, testing::ValuesIn(casEditeurs), test::NomDuCas{});

TEST(ListeEditeurs, UnCertificatDeLaChaineSuffitEtLePaquetEcritLaFormeNormale) {
    const Editeurs::Liste liste = Editeurs::Lit(
        L"\x200E"
        L"3b7e0c11a24f9d0123456789abcdef0123456789; " +
        sha256);
    EXPECT_EQ(Editeurs::Normalise(liste), sha1 + L";" + sha256);
    // The signer's own certificate, then its CA: pinning the enterprise CA allows what it signs.
    EXPECT_TRUE(Editeurs::Autorise(liste, {L"AAAA", sha1}));
    EXPECT_TRUE(Editeurs::Autorise(liste, {sha256}));
    EXPECT_FALSE(Editeurs::Autorise(liste, {L"AAAA", L"BBBB"}));
    EXPECT_FALSE(Editeurs::Autorise(Editeurs::Lit(L""), {sha1}));
}
