// Line reading, code-page conversion and the name rules shared by both builds.
#include <gtest/gtest.h>

#include "Faux.h"
#include "platform/FichierTexte.h"
#include "platform/PageCode.h"
#include "platform/Texte.h"

using namespace tolvane;
using namespace tolvane::test;

namespace {
std::vector<std::wstring> Lignes(const std::string& octets) {
    FauxSourceFichiers source;
    source.contenus[L"f"] = octets;
    auto fichier = FichierTexte::Ouvre(source, L"f");
    std::vector<std::wstring> lignes;
    while (!fichier->FinDeFichier()) lignes.push_back(fichier->LineInput());
    return lignes;
}
using V = std::vector<std::wstring>;
}  // namespace

TEST(FichierTexte, AccepteToutesLesFinsDeLigne) {
    EXPECT_EQ(Lignes("a\r\nb\r\n"), (V{L"a", L"b"}));
    EXPECT_EQ(Lignes("a\nb\n"), (V{L"a", L"b"}));
    EXPECT_EQ(Lignes("a\rb\r"), (V{L"a", L"b"}));
    EXPECT_EQ(Lignes("a\r\n\r\nb"), (V{L"a", L"", L"b"}));  // blank line kept, last without end
    EXPECT_EQ(Lignes("a\n\rb"), (V{L"a", L"", L"b"}));      // LF then CR: two ends
    EXPECT_EQ(Lignes(""), V{});
    // CR LF split across two reads of the fake's 7-byte pieces is still one line end.
    EXPECT_EQ(Lignes("123456\r\nx"), (V{L"123456", L"x"}));
}

TEST(FichierTexte, ConvertitDepuisLaPageDeCodeSaufMarqueUtf8) {
    EXPECT_EQ(Lignes("caf\xe9 \x80"), V{L"café €"});
    EXPECT_EQ(Lignes("\xEF\xBB\xBF[Chemin]\r\nx=caf\xC3\xA9"), (V{L"[Chemin]", L"x=café"}));
    // Only a mark at the very start counts.
    EXPECT_EQ(Lignes("a\xEF\xBB\xBF"), V{L"aï»¿"});
    // NUL bytes are characters like any other, past the first two bytes that tell UTF-16.
    EXPECT_EQ(Lignes(std::string("ab\0c", 4)), V{std::wstring(L"ab\0c", 4)});
}

TEST(FichierTexte, UnFichierQuiNeSOuvrePasNeDonneRien) {
    FauxSourceFichiers source;
    source.contenus[L"f"] = "x";
    source.verrouilles.insert(L"f");
    EXPECT_FALSE(FichierTexte::Ouvre(source, L"f").has_value());
    EXPECT_FALSE(FichierTexte::Ouvre(source, L"absent").has_value());
}

TEST(PageCode, AllerRetourWindows1252EtIntraduisibles) {
    const std::wstring texte = L"éüçŒ’";
    EXPECT_EQ(VersPageCode(texte), "\xe9\xfc\xe7\x8c\x92");
    EXPECT_EQ(DepuisPageCode(VersPageCode(texte)), texte);
    EXPECT_EQ(VersPageCode(L"中"), "?");
}

TEST(Utf8, LesOctetsMalFormesDeviennentDesCaracteresDeRemplacement) {
    EXPECT_EQ(DepuisUtf8("a\xC3"), L"a\uFFFD");
    EXPECT_EQ(DepuisUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(DepuisUtf8(VersUtf8(L"é€")), L"é€");
}

TEST(Noms, LaCasseEstIgnoreePourLesLettresLatines) {
    EXPECT_TRUE(EgalSansCasse(L"SETUP.EXE", L"setup.exe"));
    // Every letter of the alphabet, z and a at the ends of the range included.
    EXPECT_TRUE(EgalSansCasse(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ", L"abcdefghijklmnopqrstuvwxyz"));
    EXPECT_TRUE(EgalSansCasse(L"ZIP.EXE", L"zip.exe"));
    EXPECT_FALSE(EgalSansCasse(L"z", L"{"));
    EXPECT_FALSE(EgalSansCasse(L"Z", L"["));
    EXPECT_FALSE(EgalSansCasse(L"a", L"`"));
    EXPECT_TRUE(EgalSansCasse(L"Été.exe", L"éTÉ.EXE"));
    EXPECT_TRUE(EgalSansCasse(L"Œuvre", L"œUVRE"));
    EXPECT_FALSE(EgalSansCasse(L"setup.exe", L"setup.ex"));
    EXPECT_FALSE(EgalSansCasse(L"×", L"÷"));  // × and ÷ are no pair
    EXPECT_LT(CompareSansCasse(L"a.exe", L"B.EXE"), 0);
}

TEST(Noms, LatinEtenduAReplieParPairesJusquAuxBoutsDeChaqueSerie) {
    // The first and last pair of each run the fold covers, and the letters between runs.
    for (const auto& [majuscule, minuscule] : {std::pair{L'Ā', L'ā'},
                                               {L'Ķ', L'ķ'},
                                               {L'Ĺ', L'ĺ'},
                                               {L'Ň', L'ň'},
                                               {L'Ŋ', L'ŋ'},
                                               {L'Ŷ', L'ŷ'},
                                               {L'Ź', L'ź'},
                                               {L'Ž', L'ž'},
                                               {L'Ÿ', L'ÿ'},
                                               {L'İ', L'ı'}}) {
        EXPECT_EQ(MajusculeSimple(minuscule), majuscule) << static_cast<int>(minuscule);
        EXPECT_EQ(MajusculeSimple(majuscule), majuscule) << static_cast<int>(majuscule);
    }
    for (wchar_t seule : {L'ĸ', L'ŉ', L'ſ'}) EXPECT_EQ(MajusculeSimple(seule), seule) << static_cast<int>(seule);
    EXPECT_FALSE(EgalSansCasse(L"ĸ", L"Ķ"));
    EXPECT_FALSE(EgalSansCasse(L"ŉ", L"Ň"));
    EXPECT_FALSE(EgalSansCasse(L"ſ", L"S"));
}

TEST(Noms, LeModeleNeCorrespondQuAuxNomsLongs) {
    EXPECT_TRUE(CorrespondMotif(L"a.exe", L"*.exe"));
    EXPECT_TRUE(CorrespondMotif(L"B.EXE", L"*.exe"));
    EXPECT_TRUE(CorrespondMotif(L"maj 2.exe", L"*.exe"));
    EXPECT_TRUE(CorrespondMotif(L".exe", L"*.exe"));
    EXPECT_FALSE(CorrespondMotif(L"c.exe1", L"*.exe"));
    EXPECT_FALSE(CorrespondMotif(L"c.exe~", L"*.exe"));
    EXPECT_FALSE(CorrespondMotif(L"d.exe.bak", L"*.exe"));
    EXPECT_TRUE(CorrespondMotif(L"readme", L"*.*"));
    EXPECT_TRUE(CorrespondMotif(L"ab", L"a?"));
    EXPECT_FALSE(CorrespondMotif(L"a", L"a?"));
}

TEST(Valeurs, ChaqueSautDeLigneDevientUnBlanc) {
    EXPECT_EQ(SurUneLigne(L"a\r\nb\rc\nd"), L"a b c d");
    EXPECT_EQ(SurUneLigne(L"a\r\n\r\n"), L"a  ");
    EXPECT_EQ(SurUneLigne(L"\n\r"), L"  ");
}

TEST(FichierTexte, Utf8SansMarqueDeNotepadSeLitCommeLaPageDeCode) {
    // "D:\Mises à jour" and "Activée", as Notepad saves them since Windows 10 1903 and as the
    // system writes them: the same lines. Lines split across the fake's 7-byte reads too.
    const V attendu{L"[Chemin]", L"Chemin_Demarrage=D:\\Mises à jour", L"Titre_Fenetre=Activée"};
    EXPECT_EQ(Lignes("[Chemin]\r\nChemin_Demarrage=D:\\Mises \xC3\xA0 jour\r\nTitre_Fenetre=Activ\xC3\xA9"
                     "e\r\n"),
              attendu);
    EXPECT_EQ(Lignes("[Chemin]\r\nChemin_Demarrage=D:\\Mises \xE0 jour\r\nTitre_Fenetre=Activ\xE9"
                     "e\r\n"),
              attendu);
    // The decision is for the whole file: a code-page byte far after a UTF-8 sequence makes
    // every line code page, the first included.
    std::string melange = "a=\xC3\xA0\r\n" + std::string(100000, 'x') + "\r\nb=\xE0\r\n";
    const V lignes = Lignes(melange);
    ASSERT_EQ(lignes.size(), 3u);
    EXPECT_EQ(lignes[0], L"a=Ã\u00a0");
    EXPECT_EQ(lignes[2], L"b=à");
}

TEST(Utf8, SeulUnTexteBienFormeAuDelaDAsciiCompteCommeUtf8) {
    EXPECT_TRUE(EstUtf8Etendu("Mises \xC3\xA0 jour"));
    EXPECT_TRUE(EstUtf8Etendu("\xE2\x82\xAC \xF0\x9F\x98\x80 \xC5\x81\xC3\xB3\x64\xC5\xBA"));  // € 😀 Łódź
    EXPECT_FALSE(EstUtf8Etendu("ascii only\r\n"));
    EXPECT_FALSE(EstUtf8Etendu(""));
    // What the system writes in Windows-1252: a lone lead byte, or one followed by a letter.
    EXPECT_FALSE(EstUtf8Etendu("Mises \xE0 jour"));
    EXPECT_FALSE(EstUtf8Etendu("caf\xE9"));
    EXPECT_FALSE(EstUtf8Etendu("\xC9t\xE9"));
    // Malformed forms: overlong, surrogate, beyond U+10FFFF, cut short, lone continuation.
    for (const char* mauvais : {"\xC0\xAF", "\xC1\xBF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                                "\xF5\x80\x80\x80", "\xE2\x82", "\x80", "\xC3\xA9\xA9"})
        EXPECT_FALSE(EstUtf8Etendu(mauvais)) << testing::PrintToString(std::string(mauvais));
    // The last code points of each length are still well-formed.
    EXPECT_TRUE(EstUtf8Etendu("\xDF\xBF\xEF\xBF\xBF\xF4\x8F\xBF\xBF\xED\x9F\xBF"));
}

TEST(PageCode, LesNomsReviennentTelsQueLeFichierLesGarde) {
    EXPECT_EQ(ParLaPageCode(L"mise à jour.exe"), L"mise à jour.exe");
    EXPECT_EQ(ParLaPageCode(L"Łódź.exe"), L"?ód?.exe");  // Łódź: no Ł nor ź in 1252
}

TEST(Noms, LeNomDuVerrouEstStableEtIgnoreCasseEtBarres) {
    // Programs of different versions must agree on it: the value is fixed, not just consistent.
    EXPECT_EQ(NomVerrouReglages(L"C:\\Prog\\Tolvane.ini"), L"Tolvane-6ecb51e76c89b5d5");
    EXPECT_EQ(NomVerrouReglages(L"c:/PROG/tolvane.INI"), L"Tolvane-6ecb51e76c89b5d5");
    EXPECT_EQ(NomVerrouReglages(L"C:\\Été\\Tolvane.ini"), NomVerrouReglages(L"C:\\éTÉ\\TOLVANE.INI"));
    EXPECT_NE(NomVerrouReglages(L"C:\\Prog2\\Tolvane.ini"), NomVerrouReglages(L"C:\\Prog\\Tolvane.ini"));
    // Far within the 260 characters of an object name, however long the path.
    EXPECT_EQ(NomVerrouReglages(std::wstring(32000, L'a')).size(), 24u);
}
