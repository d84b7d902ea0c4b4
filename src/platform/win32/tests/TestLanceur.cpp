// The program launcher against real files: what starts, and what each failure answers.
#include <gtest/gtest.h>

#include "OutilsTest.h"
#include "platform/win32/ServicesWin32.h"

namespace tolvane::win32 {
namespace {

using test::DossierTemporaire;

// Copies the helper program, which records its command line beside itself when started.
void CopieAide(const std::wstring& vers) {
    ASSERT_TRUE(CopyFileW((test::DossierDuTest() + L"\\tolvane_aide_lancement.exe").c_str(), vers.c_str(), FALSE));
}

// The command line the copy at `programme` was started with, once it has written it (10 s at most).
std::wstring LigneDeCommande(const std::wstring& programme) {
    for (int i = 0; i < 200; ++i) {
        const std::string octets = test::LitOctets(programme + L".lance");
        if (!octets.empty())
            return std::wstring(reinterpret_cast<const wchar_t*>(octets.data()), octets.size() / sizeof(wchar_t));
        Sleep(50);
    }
    return {};
}

TEST(Lanceur, LeFichierExactEstLanceAvecUneLigneEntreGuillemets) {
    DossierTemporaire d;
    d.Dossier(L"mon dossier");
    const std::wstring cible = d / L"mon dossier\\mon app.exe";
    const std::wstring leurre = d / L"mon dossier\\mon.exe";
    CopieAide(cible);
    CopieAide(leurre);
    LanceurWin32 lanceur;
    EXPECT_GT(lanceur.Lance(cible, SW_SHOWNORMAL), 30u);
    EXPECT_EQ(LigneDeCommande(cible), L"\"" + cible + L"\"");
    // An unquoted line would have started "mon.exe" instead.
    EXPECT_EQ(test::LitOctets(leurre + L".lance"), "");
}

TEST(Lanceur, LesEchecsRendentLesCodesDeWinExec) {
    DossierTemporaire d;
    d.Fichier(L"bad.exe", "ceci n'est pas un programme\r\n");
    LanceurWin32 lanceur;
    EXPECT_EQ(lanceur.Lance(d / L"absent.exe", SW_SHOWNORMAL), 2u);
    EXPECT_EQ(lanceur.Lance(d / L"dossier absent\\absent.exe", SW_SHOWNORMAL), 3u);
    const unsigned mauvais = lanceur.Lance(d / L"bad.exe", SW_SHOWNORMAL);
    EXPECT_LE(mauvais, 30u);
    EXPECT_EQ(mauvais, 11u);
}

}  // namespace
}  // namespace tolvane::win32
