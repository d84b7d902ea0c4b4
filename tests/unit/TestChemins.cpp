// The drive part and the folder of a path, read as text: the rules the programs and the fakes
// of these tests share.
#include <gtest/gtest.h>

#include "platform/Chemins.h"

using namespace tolvane;

TEST(NomLecteur, LetterDrivesWhateverFollows) {
    EXPECT_EQ(NomLecteur(L"D:\\Maj\\setup.exe"), L"D:");
    EXPECT_EQ(NomLecteur(L"d:relatif"), L"d:");
    EXPECT_EQ(NomLecteur(L"Z:"), L"Z:");
    // Only a letter names a drive: no drive at all, rather than a drive "1:" that never exists.
    EXPECT_EQ(NomLecteur(L"1:\\Maj"), L"");
    EXPECT_EQ(NomLecteur(L"é:\\Maj"), L"");
}

TEST(NomLecteur, SharesNeedAServerAndAShare) {
    EXPECT_EQ(NomLecteur(L"\\\\serveur\\maj\\postes\\setup.exe"), L"\\\\serveur\\maj");
    EXPECT_EQ(NomLecteur(L"\\\\serveur\\maj\\"), L"\\\\serveur\\maj");
    // Either separator, as Windows reads them, and kept as written.
    EXPECT_EQ(NomLecteur(L"//serveur/maj/postes"), L"//serveur/maj");
    EXPECT_EQ(NomLecteur(L"\\\\serveur/maj\\postes"), L"\\\\serveur/maj");
    // A server alone, or an empty part, is no drive.
    EXPECT_EQ(NomLecteur(L"\\\\serveur\\"), L"");
    EXPECT_EQ(NomLecteur(L"\\\\serveur"), L"");
    EXPECT_EQ(NomLecteur(L"\\\\\\maj\\postes"), L"");
    EXPECT_EQ(NomLecteur(L"\\\\serveur\\\\postes"), L"");
    EXPECT_EQ(NomLecteur(L"\\Maj"), L"");
    EXPECT_EQ(NomLecteur(L"Maj"), L"");
    EXPECT_EQ(NomLecteur(L""), L"");
}

TEST(RepertoireDe, DropsTheLastPartButNotTheRootOfADrive) {
    EXPECT_EQ(RepertoireDe(L"C:\\Program Files\\Tolvane\\Tolvane_Lanceur.exe"), L"C:\\Program Files\\Tolvane");
    EXPECT_EQ(RepertoireDe(L"C:\\Tolvane.exe"), L"C:\\");
    EXPECT_EQ(RepertoireDe(L"C:/Outils/Tolvane.exe"), L"C:/Outils");
    EXPECT_EQ(RepertoireDe(L"\\\\serveur\\maj\\Tolvane.exe"), L"\\\\serveur\\maj");
    EXPECT_EQ(RepertoireDe(L"Tolvane.exe"), L"");
}

TEST(Separateurs, BothSlashesAndOnlyThem) {
    EXPECT_TRUE(EstSeparateur(L'\\'));
    EXPECT_TRUE(EstSeparateur(L'/'));
    EXPECT_FALSE(EstSeparateur(L':'));
    EXPECT_TRUE(EstLettreLecteur(L'a') && EstLettreLecteur(L'Z'));
    EXPECT_FALSE(EstLettreLecteur(L'@') || EstLettreLecteur(L'[') || EstLettreLecteur(L'`') || EstLettreLecteur(L'{'));
}
