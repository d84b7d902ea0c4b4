// The program launcher against real files: what starts, and what each failure answers.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include <thread>

#include "OutilsTest.h"
#include "platform/Texte.h"
#include "platform/win32/ServicesWin32.h"

namespace tolvane::win32 {
namespace {

using test::DossierTemporaire;

// Copies the helper program, which records its command line beside itself when started.
void CopieAide(const std::wstring& vers) {
    ASSERT_TRUE(CopyFileW((test::DossierDuTest() + L"\\tolvane_aide_lancement.exe").c_str(), vers.c_str(), FALSE));
}

std::wstring LitTexte(const std::wstring& chemin) {
    const std::string octets = test::LitOctets(chemin).value_or("");
    return std::wstring(reinterpret_cast<const wchar_t*>(octets.data()), octets.size() / sizeof(wchar_t));
}

// The command line the copy at `programme` was started with, once it has written it (10 s at most).
std::wstring LigneDeCommande(const std::wstring& programme) {
    for (int i = 0; i < 200; ++i) {
        const std::wstring ligne = LitTexte(programme + L".lance");
        if (!ligne.empty()) return ligne;
        Sleep(50);
    }
    return {};
}

// Its working directory, known once its command line is.
std::wstring DossierDeTravail(const std::wstring& programme) { return LitTexte(programme + L".dossier"); }

TEST(Lanceur, LeFichierExactEstLanceAvecUneLigneEntreGuillemets) {
    DossierTemporaire d;
    d.CreeDossier(L"mon dossier");
    const std::wstring cible = d / L"mon dossier\\mon app.exe";
    const std::wstring leurre = d / L"mon dossier\\mon.exe";
    CopieAide(cible);
    CopieAide(leurre);
    LanceurWin32 lanceur;
    EXPECT_GT(lanceur.Lance(cible, d / L"mon dossier", SW_SHOWNORMAL), 30u);
    EXPECT_EQ(LigneDeCommande(cible), L"\"" + cible + L"\"");
    EXPECT_EQ(DossierDeTravail(cible), d / L"mon dossier");
    // An unquoted line would have started "mon.exe" instead.
    EXPECT_EQ(test::LitOctets(leurre + L".lance").value_or(""), "");
}

TEST(Lanceur, LesEchecsRendentLesCodesDeWinExec) {
    DossierTemporaire d;
    d.Fichier(L"bad.exe", "ceci n'est pas un programme\r\n");
    LanceurWin32 lanceur;
    EXPECT_EQ(lanceur.Lance(d / L"absent.exe", d.Chemin(), SW_SHOWNORMAL), 2u);
    EXPECT_EQ(lanceur.DerniereErreur(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(lanceur.Lance(d / L"dossier absent\\absent.exe", d / L"dossier absent", SW_SHOWNORMAL), 3u);
    EXPECT_EQ(lanceur.DerniereErreur(), static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    const unsigned mauvais = lanceur.Lance(d / L"bad.exe", d.Chemin(), SW_SHOWNORMAL);
    EXPECT_LE(mauvais, 30u);
    EXPECT_EQ(mauvais, 11u);
}

// Wine never refuses a start for want of elevation: the shell's way is tried directly.
TEST(Lanceur, ParLeShellLeFichierExactDemarreDansSonDossier) {
    DossierTemporaire d;
    d.CreeDossier(L"maj 2");
    const std::wstring cible = d / L"maj 2\\setup 2.exe";
    CopieAide(cible);
    LanceurWin32 lanceur([] { return HWND{}; }, [] { return true; });
    // The working directory it gives is the one asked for, not ours.
    ASSERT_NE(GetCurrentDirectoryW(0, nullptr), 0u);
    EXPECT_GT(lanceur.LanceAvecElevation(cible, d / L"maj 2", SW_SHOWNORMAL), 30u);
    EXPECT_EQ(lanceur.DerniereErreur(), 0u);
    const std::wstring ligne = LigneDeCommande(cible);
    EXPECT_NE(ligne.find(cible), std::wstring::npos) << std::string(ligne.begin(), ligne.end());
    EXPECT_EQ(DossierDeTravail(cible), d / L"maj 2");

    EXPECT_LE(lanceur.LanceAvecElevation(d / L"absent.exe", d.Chemin(), SW_SHOWNORMAL), 30u);
    EXPECT_EQ(lanceur.DerniereErreur(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
}

// The update held from its check to its start: another process can neither write, rename nor
// delete it, and it still starts.
TEST(Lanceur, LaMiseAJourTenueNeChangePasEtDemarreQuandMeme) {
    DossierTemporaire d;
    const std::wstring cible = d / L"maj.exe", autre = d / L"autre.exe";
    CopieAide(cible);
    CopieAide(autre);
    LanceurWin32 lanceur;
    const std::unique_ptr<IMiseAJourTenue> tenue = lanceur.Tiens(cible);
    ASSERT_TRUE(tenue);
    // What an elevated start is given: the plain form, not "\\?\C:\…".
    EXPECT_EQ(tenue->CheminFinal(), cible);
    for (const wchar_t* action : {L"ecrit", L"renomme", L"supprime"}) {
        std::wstring ligne = L"\"" + autre + L"\" " + action + L" \"" + cible + L"\"";
        STARTUPINFOW si{sizeof si};
        PROCESS_INFORMATION pi{};
        ASSERT_TRUE(
            CreateProcessW(autre.c_str(), ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
        const ProcessusCree processus(pi);
        ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(code, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << std::string(action, action + wcslen(action));
    }
    EXPECT_GT(lanceur.Lance(cible, d.Chemin(), SW_SHOWNORMAL), 30u);
    EXPECT_EQ(LigneDeCommande(cible), L"\"" + cible + L"\"");
    // A file that cannot be held (missing) says why.
    EXPECT_FALSE(lanceur.Tiens(d / L"absent.exe"));
    EXPECT_EQ(lanceur.DerniereErreur(), static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
}

// The lock of a settings file, seen from two threads (a thread holds a mutex recursively).
TEST(Verrou, UnSeulDetenteurParFichierQuelleQueSoitLaCasse) {
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini";
    VerrouReglagesWin32 premier;
    ASSERT_TRUE(premier.Prend(ini, 0));
    ASSERT_TRUE(premier.Prend(ini, 0)) << "taken again by its holder";

    bool autre = true, autreFichier = false;
    unsigned long erreur = 0;
    std::thread([&] {
        VerrouReglagesWin32 second;
        std::wstring majuscules = ini;
        CharUpperW(majuscules.data());
        autre = second.Prend(majuscules, 200);
        erreur = second.DerniereErreur();
        VerrouReglagesWin32 troisieme;
        autreFichier = troisieme.Prend(d / L"Autre.ini", 0);
    }).join();
    EXPECT_FALSE(autre);
    EXPECT_EQ(erreur, static_cast<unsigned long>(WAIT_TIMEOUT));
    EXPECT_TRUE(autreFichier);

    premier.Rend();
    premier.Rend();
    std::thread([&] {
        VerrouReglagesWin32 second;
        autre = second.Prend(ini, 0);
    }).join();
    EXPECT_TRUE(autre) << "free once given back as often as taken";
}

TEST(Verrou, ListeDAccesExplicitePourToutesLesSessions) {
    // Another session's launcher, or the system account's, must be able to wait on it: a mutex
    // made with no descriptor would take its creator's default list.
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini";
    VerrouReglagesWin32 verrou;
    ASSERT_TRUE(verrou.Prend(ini, 0));
    PoigneeNoyau h(OpenMutexW(READ_CONTROL, FALSE, (L"Global\\" + NomVerrouReglages(CheminComplet(ini))).c_str()));
    ASSERT_TRUE(h);
    PSECURITY_DESCRIPTOR sd = nullptr;
    ASSERT_EQ(
        GetSecurityInfo(h.get(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr, &sd),
        static_cast<DWORD>(ERROR_SUCCESS));
    wchar_t* texte = nullptr;
    ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(sd, SDDL_REVISION_1, DACL_SECURITY_INFORMATION,
                                                                     &texte, nullptr));
    // Authenticated Users: SYNCHRONIZE | MUTEX_MODIFY_STATE; SYSTEM and Administrators: all.
    EXPECT_EQ(std::wstring(texte), L"D:(A;;0x100001;;;AU)(A;;0x1f0001;;;SY)(A;;0x1f0001;;;BA)");
    LocalFree(texte);
    LocalFree(sd);
    verrou.Rend();
}

// The machine-start lock: only SYSTEM and the Administrators may take it, and one a user made
// first is not waited on.
TEST(Verrou, CeluiDuPosteAuxSeulsAdministrateursEtPasCeluiDUnUtilisateur) {
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini", autre = d / L"Autre.ini";
    VerrouReglagesWin32 verrou({}, true);
    ASSERT_TRUE(verrou.Prend(ini, 0));
    PoigneeNoyau h(
        OpenMutexW(READ_CONTROL, FALSE, (L"Global\\" + NomVerrouReglages(CheminComplet(ini), true)).c_str()));
    ASSERT_TRUE(h);
    constexpr SECURITY_INFORMATION quoi = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    MemoireLocale<void> sd;
    ASSERT_EQ(GetSecurityInfo(h.get(), SE_KERNEL_OBJECT, quoi, nullptr, nullptr, nullptr, nullptr, sd.put()),
              static_cast<DWORD>(ERROR_SUCCESS));
    MemoireLocale<wchar_t> texte;
    ASSERT_TRUE(
        ConvertSecurityDescriptorToStringSecurityDescriptorW(sd.get(), SDDL_REVISION_1, quoi, texte.put(), nullptr));
    EXPECT_EQ(std::wstring(texte.get()), L"O:BAD:(A;;0x1f0001;;;SY)(A;;0x1f0001;;;BA)");
    verrou.Rend();

    // Made first by Authenticated Users, open to all: not trusted, and said why.
    MemoireLocale<void> sdUtilisateur;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:AUD:(A;;GA;;;WD)", SDDL_REVISION_1,
                                                                     sdUtilisateur.put(), nullptr));
    SECURITY_ATTRIBUTES sa{sizeof sa, sdUtilisateur.get(), FALSE};
    PoigneeNoyau pris(CreateMutexW(&sa, FALSE, (L"Global\\" + NomVerrouReglages(CheminComplet(autre), true)).c_str()));
    ASSERT_TRUE(pris);
    VerrouReglagesWin32 refuse({}, true);
    EXPECT_FALSE(refuse.Prend(autre, 0));
    EXPECT_EQ(refuse.DerniereErreur(), VerrouNonFiable);
    EXPECT_EQ(refuse.ProprietaireRefuse(), L"S-1-5-11");
}

TEST(Verrou, UnDetenteurDisparuLeLaisseAuSuivant) {
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini";
    // The thread ends holding the lock, as a launcher ends its process; the mutex lives on
    // through the handle still open.
    VerrouReglagesWin32 disparu;
    std::thread([&] { ASSERT_TRUE(disparu.Prend(ini, 0)); }).join();
    VerrouReglagesWin32 suivant;
    EXPECT_TRUE(suivant.Prend(ini, 1000));
}

}  // namespace
}  // namespace tolvane::win32
