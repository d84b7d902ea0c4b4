// The drive part and the folder of a path, read as text: the rules the programs and the fakes
// of these tests share.
#include <gtest/gtest.h>

#include <utility>

#include "platform/Chemins.h"

using namespace tolvane;

namespace {
using Cas = std::pair<const wchar_t*, const wchar_t*>;  // path, expected answer
}  // namespace

TEST(NomLecteur, LettresEtPartagesSeulementAvecToutesLeursParties) {
    const Cas cas[] = {
        // A letter drive, whatever follows it.
        {L"C:\\x", L"C:"},
        {L"c:\\Program Files\\y.exe", L"c:"},
        {L"C:", L"C:"},
        {L"C:relatif", L"C:"},
        // Only a letter names a drive: no drive at all, rather than a drive "1:" that never exists.
        {L"1:\\x", L""},
        {L"é:\\Maj", L""},
        // A share, with either separator, kept as written.
        {L"\\\\srv\\share\\x", L"\\\\srv\\share"},
        {L"\\\\srv\\share", L"\\\\srv\\share"},
        {L"//srv/share/x", L"//srv/share"},
        {L"\\\\srv/share\\x", L"\\\\srv/share"},
        // A server alone, or an empty server or share, is no drive.
        {L"\\\\srv", L""},
        {L"\\\\srv\\", L""},
        {L"\\\\\\share\\x", L""},
        {L"\\\\srv\\\\x", L""},
        // Relative and rooted paths have none.
        {L"relative", L""},
        {L"\\dossier\\x", L""},
        {L"", L""},
    };
    for (const auto& [chemin, lecteur] : cas) EXPECT_EQ(NomLecteur(chemin), lecteur) << chemin;
}

TEST(RepertoireDe, OteLaDernierePartieMaisPasLaRacineDUnLecteur) {
    const Cas cas[] = {
        {L"C:\\Program Files\\Tolvane\\Tolvane_Lanceur.exe", L"C:\\Program Files\\Tolvane"},
        {L"C:\\Tolvane.exe", L"C:\\"},
        {L"C:/Outils/Tolvane.exe", L"C:/Outils"},
        {L"\\\\srv\\share\\Tolvane.exe", L"\\\\srv\\share"},
        {L"Tolvane.exe", L""},
    };
    for (const auto& [chemin, repertoire] : cas) EXPECT_EQ(RepertoireDe(chemin), repertoire) << chemin;
}

TEST(SansPrefixeEtendu, LaFormeQueLeShellComprend) {
    for (const auto& [etendu, court] : {
             std::pair{L"\\\\?\\UNC\\srv\\maj\\a.exe", L"\\\\srv\\maj\\a.exe"},
             {L"\\\\?\\C:\\Depot\\a.exe", L"C:\\Depot\\a.exe"},
             {L"\\\\?\\Volume{0b1c}\\a.exe", L"\\\\?\\Volume{0b1c}\\a.exe"},
             {L"C:\\a.exe", L"C:\\a.exe"},
         })
        EXPECT_EQ(SansPrefixeEtendu(etendu), court);
}

TEST(Separateurs, LesDeuxBarresEtLesSeulesLettresAscii) {
    EXPECT_TRUE(EstSeparateur(L'\\') && EstSeparateur(L'/'));
    EXPECT_FALSE(EstSeparateur(L':'));
    EXPECT_TRUE(EstLettreLecteur(L'a') && EstLettreLecteur(L'Z'));
    EXPECT_FALSE(EstLettreLecteur(L'@') || EstLettreLecteur(L'[') || EstLettreLecteur(L'`') || EstLettreLecteur(L'{'));
}
