// The file-system, reading, profile, launcher, process and code-page services against the real
// system (Wine), in a fresh temporary folder.
#include <gtest/gtest.h>

#include "OutilsTest.h"
#include "platform/FichierTexte.h"
#include "platform/PageCode.h"
#include "platform/win32/Poignees.h"
#include "platform/win32/ServicesWin32.h"

namespace tolvane::win32 {
namespace {

using test::DossierTemporaire;

TEST(NomLecteur, PartieLecteurDesCheminsLocauxReseauEtRelatifs) {
    EXPECT_EQ(NomLecteur(L"C:\\x"), L"C:");
    EXPECT_EQ(NomLecteur(L"c:\\Program Files\\y.exe"), L"c:");
    EXPECT_EQ(NomLecteur(L"C:"), L"C:");
    EXPECT_EQ(NomLecteur(L"C:relatif"), L"C:");
    EXPECT_EQ(NomLecteur(L"\\\\srv\\share\\x"), L"\\\\srv\\share");
    EXPECT_EQ(NomLecteur(L"\\\\srv\\share"), L"\\\\srv\\share");
    EXPECT_EQ(NomLecteur(L"//srv/share/x"), L"//srv/share");
    EXPECT_EQ(NomLecteur(L"\\\\srv"), L"");
    EXPECT_EQ(NomLecteur(L"\\\\srv\\"), L"");
    EXPECT_EQ(NomLecteur(L"relative"), L"");
    EXPECT_EQ(NomLecteur(L"\\dossier\\x"), L"");
    EXPECT_EQ(NomLecteur(L"1:\\x"), L"");
    EXPECT_EQ(NomLecteur(L""), L"");
}

TEST(Lecteurs, ExistenceEtDisponibilite) {
    SystemeFichiersWin32 fso;
    EXPECT_TRUE(fso.DriveExists(L"C:"));
    EXPECT_TRUE(fso.DriveExists(L"c:"));
    EXPECT_TRUE(fso.IsReady(L"C:"));
    // The test prefix has C:, D: (a CD drive without medium) and Z:; Q: is none of them.
    EXPECT_FALSE(fso.DriveExists(L"Q:"));
    EXPECT_FALSE(fso.IsReady(L"Q:"));
    EXPECT_FALSE(fso.DriveExists(L""));
    EXPECT_FALSE(fso.IsReady(L""));
    EXPECT_FALSE(fso.DriveExists(L"\\\\serveur-absent\\partage"));
    EXPECT_FALSE(fso.IsReady(L"\\\\serveur-absent\\partage"));
}

TEST(Lecteurs, LecteurSansSupportPasPretEtSansBoiteSysteme) {
    SystemeFichiersWin32 fso;
    // Answering at all proves no "no disk" box waited for a user (ctest would time out).
    EXPECT_TRUE(fso.DriveExists(L"D:"));
    EXPECT_FALSE(fso.IsReady(L"D:"));
    // The probe leaves the thread's error mode as it found it.
    const UINT avant = GetErrorMode();
    fso.IsReady(L"D:");
    EXPECT_EQ(GetErrorMode(), avant);
}

TEST(FichiersEtDossiers, UnFichierNestPasUnDossier) {
    DossierTemporaire d;
    d.Fichier(L"f.txt");
    d.CreeDossier(L"sous dossier");
    SystemeFichiersWin32 fso;
    EXPECT_TRUE(fso.FileExists(d / L"f.txt"));
    EXPECT_FALSE(fso.FolderExists(d / L"f.txt"));
    EXPECT_TRUE(fso.FolderExists(d / L"sous dossier"));
    EXPECT_FALSE(fso.FileExists(d / L"sous dossier"));
    EXPECT_TRUE(fso.FolderExists(d.Chemin() + L"\\"));
    EXPECT_FALSE(fso.FileExists(d / L"absent.txt"));
    EXPECT_FALSE(fso.FolderExists(d / L"absent"));
    EXPECT_FALSE(fso.FileExists(L""));
    EXPECT_FALSE(fso.FolderExists(L""));
    EXPECT_TRUE(fso.FolderExists(L"C:\\"));
}

TEST(Listeur, SeulsLesFichiersOrdinairesDontLeNomLongCorrespond) {
    DossierTemporaire d;
    for (const wchar_t* nom : {L"B.EXE", L"a.exe", L"c.exe1", L"d.exe.bak", L"c.exe~", L"f.exe", L"s.exe"})
        d.Fichier(nom);
    d.CreeDossier(L"e.exe");
    ASSERT_TRUE(SetFileAttributesW((d / L"f.exe").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((d / L"s.exe").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ListeurWin32 listeur;
    const std::vector<std::wstring> attendu{L"a.exe", L"B.EXE"};
    EXPECT_EQ(listeur.ListeFichiers(d.Chemin(), L"*.exe"), attendu);
    EXPECT_EQ(listeur.ListeFichiers(d.Chemin() + L"\\", L"*.exe"), attendu);
    EXPECT_EQ(listeur.ListeFichiers(d.Chemin(), L"*.bak"), std::vector<std::wstring>{L"d.exe.bak"});
}

TEST(Listeur, RepertoireIllisibleOuVideDonneUneListeVide) {
    DossierTemporaire d;
    d.CreeDossier(L"vide");
    ListeurWin32 listeur;
    EXPECT_TRUE(listeur.ListeFichiers(d / L"vide", L"*.exe").empty());
    EXPECT_TRUE(listeur.ListeFichiers(d / L"absent", L"*.exe").empty());
    EXPECT_TRUE(listeur.ListeFichiers(L"Q:\\", L"*.exe").empty());
    EXPECT_TRUE(listeur.ListeFichiers(L"D:\\", L"*.exe").empty());
    EXPECT_TRUE(listeur.ListeFichiers(L"", L"*.exe").empty());
}

TEST(Listeur, DitPourquoiUnRepertoireNePeutEtreLu) {
    DossierTemporaire d;
    d.CreeDossier(L"vide");
    d.Fichier(L"a.exe");
    ListeurWin32 listeur;
    std::vector<std::wstring> noms{L"reste"};
    // Read, with nothing matching: no error.
    EXPECT_EQ(listeur.Liste(d / L"vide", L"*.exe", noms), 0u);
    EXPECT_TRUE(noms.empty());
    EXPECT_EQ(listeur.Liste(L"", L"*.exe", noms), 0u);
    EXPECT_EQ(listeur.Liste(d.Chemin(), L"*.exe", noms), 0u);
    EXPECT_EQ(noms, std::vector<std::wstring>{L"a.exe"});
    // Not read: the system's reason, and no names left over from before.
    EXPECT_EQ(listeur.Liste(d / L"absent", L"*.exe", noms), static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
    EXPECT_TRUE(noms.empty());
    EXPECT_NE(listeur.Liste(d / L"a.exe", L"*.exe", noms), 0u) << "a file is no directory";
    EXPECT_NE(listeur.Liste(L"Q:\\", L"*.exe", noms), 0u);
}

TEST(SystemeFichiers, UnPartageEstSurLeReseauUnDisqueLocalNon) {
    SystemeFichiersWin32 fso;
    EXPECT_TRUE(fso.EstLecteurReseau(L"\\\\serveur\\maj"));
    EXPECT_FALSE(fso.EstLecteurReseau(L"C:"));
    EXPECT_FALSE(fso.EstLecteurReseau(L"Q:"));
    EXPECT_FALSE(fso.EstLecteurReseau(L""));
}

TEST(SourceFichiers, LitLesOctetsEtRefuseCeQuiNeSOuvrePas) {
    DossierTemporaire d;
    const std::string contenu = "[Section]\r\nCle=\xE9t\xE9\r\n";
    d.Fichier(L"t.ini", contenu);
    d.CreeDossier(L"dossier");
    SourceFichiersWin32 source;

    auto flux = source.OuvreLecture(d / L"t.ini");
    ASSERT_NE(flux, nullptr);
    std::string lu;
    char tampon[5];
    for (std::size_t n; (n = flux->Lit(tampon, sizeof tampon)) > 0;) lu.append(tampon, n);
    EXPECT_EQ(lu, contenu);

    EXPECT_EQ(source.OuvreLecture(d / L"absent.ini"), nullptr);
    EXPECT_EQ(source.OuvreLecture(d / L"dossier"), nullptr);
    EXPECT_EQ(source.OuvreLecture(L""), nullptr);
}

TEST(SourceFichiers, FichierVerrouilleSansPartageEtFichierOuvertParUnAutreEnEcriture) {
    DossierTemporaire d;
    d.Fichier(L"verrou.ini");
    d.Fichier(L"partage.ini", "a\r\nb");
    SourceFichiersWin32 source;
    {
        PoigneeFichier verrou(CreateFileW((d / L"verrou.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(verrou);
        EXPECT_EQ(source.OuvreLecture(d / L"verrou.ini"), nullptr);
    }
    EXPECT_NE(source.OuvreLecture(d / L"verrou.ini"), nullptr);

    // An editor holding the file open for writing (sharing reads) does not stop the reader.
    PoigneeFichier editeur(
        CreateFileW((d / L"partage.ini").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(editeur);
    auto fichier = FichierTexte::Ouvre(source, d / L"partage.ini");
    ASSERT_TRUE(fichier.has_value());
    EXPECT_EQ(fichier->LineInput(), L"a");
    EXPECT_EQ(fichier->LineInput(), L"b");
    EXPECT_TRUE(fichier->FinDeFichier());
}

TEST(EcrivainProfil, EcritDansLaPageDeCodeEtSignaleLEchec) {
    DossierTemporaire d;
    EcrivainProfilWin32 profil;
    const std::wstring ini = d / L"Tolvane.ini";
    ASSERT_TRUE(profil.WritePrivateProfileString(L"Général", L"Nom_Fich", L"été.exe", ini));
    ASSERT_TRUE(profil.WritePrivateProfileString(L"Général", L"Activee", L"-1", ini));
    EXPECT_EQ(test::LitOctets(ini), "[G\xE9n\xE9ral]\r\nNom_Fich=\xE9t\xE9.exe\r\nActivee=-1\r\n");
    EXPECT_FALSE(profil.WritePrivateProfileString(L"S", L"K", L"V", d / L"absent\\Tolvane.ini"));
}

TEST(EcrivainProfil, DossierHorsDeLaPageDeCodeEtNomAvecDesPointsDInterrogation) {
    // A folder named in a script Windows-1252 lacks: the path must reach the system whole.
    // The file stays 8-bit, and what the code page lacks is stored as '?', not a look-alike.
    DossierTemporaire d;
    const std::wstring dossier = d / L"Łódź";
    ASSERT_TRUE(CreateDirectoryW(dossier.c_str(), nullptr));
    const std::wstring ini = dossier + L"\\Tolvane.ini";
    EcrivainProfilWin32 profil;
    ASSERT_TRUE(profil.WritePrivateProfileString(L"Dernier Fichier Execute", L"Nom_Fich", L"Łódź.exe", ini));
    EXPECT_EQ(test::LitOctets(ini), "[Dernier Fichier Execute]\r\nNom_Fich=?\xF3\x64?.exe\r\n");
}

TEST(PageCode, AllerRetourDansLaPageDeCodeFrancaise) {
    ASSERT_EQ(GetACP(), 1252u) << "the tests run under LANG=fr_FR.UTF-8";
    EXPECT_EQ(VersPageCode(L"é"), "\xE9");
    EXPECT_EQ(DepuisPageCode("\xE9"), L"é");
    EXPECT_EQ(VersPageCode(L"€ œ"), "\x80 \x9C");
    EXPECT_EQ(DepuisPageCode("\x80 \x9C"), L"€ œ");
    EXPECT_EQ(DepuisPageCode(VersPageCode(L"Lancer l'exécutable à chaque démarrage")),
              L"Lancer l'exécutable à chaque démarrage");
    // No best fit: a letter the code page lacks is not turned into a look-alike.
    EXPECT_EQ(VersPageCode(L"Ā中"), "??");
    EXPECT_EQ(VersPageCode(L""), "");
    EXPECT_EQ(DepuisPageCode(""), L"");
}

TEST(Processus, RepertoireDeLApplication) {
    EXPECT_EQ(RepertoireDe(L"C:\\Program Files\\Tolvane\\Tolvane.exe"), L"C:\\Program Files\\Tolvane");
    EXPECT_EQ(RepertoireDe(L"C:\\Tolvane.exe"), L"C:\\");
    EXPECT_EQ(RepertoireDe(L"\\\\srv\\share\\Tolvane.exe"), L"\\\\srv\\share");

    ProcessusWin32 processus;
    const std::wstring rep = processus.RepertoireApplication();
    ASSERT_FALSE(rep.empty());
    EXPECT_NE(rep.back(), L'\\');
    SystemeFichiersWin32 fso;
    EXPECT_TRUE(fso.FolderExists(rep));
    EXPECT_TRUE(fso.FileExists(rep + L"\\tolvane_win32_tests.exe"));
}

TEST(Tampons, LeTexteGranditQuelleQueSoitLaFaconDeDireQueLeTamponEstCourt) {
    const std::wstring texte(1000, L'x');
    // As GetModuleFileNameW (the text cut, the size given answered) or GetFullPathNameW (nothing
    // written, the size needed answered) answer a buffer too short.
    for (const bool coupe : {true, false}) {
        const std::wstring vu = TexteAgrandi([&](wchar_t* tampon, DWORD taille) -> DWORD {
            if (texte.size() < taille) return static_cast<DWORD>(texte.copy(tampon, texte.size()));
            if (!coupe) return static_cast<DWORD>(texte.size() + 1);
            tampon[texte.copy(tampon, taille - 1)] = L'\0';
            return taille;
        });
        EXPECT_EQ(vu, texte) << (coupe ? "coupé" : "taille demandée");
    }
    EXPECT_EQ(TexteAgrandi([](wchar_t*, DWORD) -> DWORD { return 0; }), L"") << "échec";
    EXPECT_EQ(TexteAgrandi([](wchar_t*, DWORD taille) { return taille; }), L"") << "toujours court";

    const std::wstring chemin = L"C:\\" + std::wstring(300, L'a') + L"\\b";
    EXPECT_EQ(TexteAgrandi([&](wchar_t* tampon, DWORD taille) {
                  return GetFullPathNameW(chemin.c_str(), taille, tampon, nullptr);
              }),
              chemin);
}

}  // namespace
}  // namespace tolvane::win32
