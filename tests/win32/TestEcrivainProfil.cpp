// The profile writer against the real system (Wine): on the programs' own files it writes what
// the system's WritePrivateProfileStringW writes; it replaces the file as a whole, writes it in
// place where a rename would break a link, and waits a moment for a file held open.
#include <gtest/gtest.h>

#include <thread>

#include "OutilsTest.h"
#include "platform/win32/Poignees.h"
#include "platform/win32/ServicesWin32.h"

namespace tolvane::win32 {
namespace {

using test::DossierTemporaire;

struct Entree {
    const wchar_t *section, *cle, *valeur;
};

TEST(EcrivainProfil, CommeLeProfilDuSystemeSurLesFichiersDesProgrammes) {
    // A save on no file, a second save over it, then a launch recorded: after each write, the
    // same bytes as the system's writer. Wine rewrites the whole file it parsed, so other files
    // are not compared: there the rule is "every other byte unchanged" (native tests).
    const Entree sauvegarde1[] = {
        {L"Chemin", L"Chemin_Demarrage", L"D:\\Mises à jour"}, {L"Option", L"Option_Demarrage", L"Verifier_lancer"},
        {L"Dernier Fichier Execute", L"Nom_Fich", L"aucun"},   {L"Instructions", L"Activee", L"1"},
        {L"Instructions", L"Titre_Fenetre", L"Été"},           {L"Instructions", L"Instructions", L"Lisez ceci"},
    };
    const Entree sauvegarde2[] = {
        {L"Chemin", L"Chemin_Demarrage", L"\\\\serveur\\maj"}, {L"Option", L"Option_Demarrage", L"Toujours_lancer"},
        {L"Dernier Fichier Execute", L"Nom_Fich", L"aucun"},   {L"Instructions", L"Activee", L"0"},
        {L"Instructions", L"Titre_Fenetre", L"TITRE"},         {L"Instructions", L"Instructions", L"x"},
    };
    DossierTemporaire d;
    const std::wstring nous = d / L"Tolvane.ini", systeme = d / L"Systeme.ini";
    EcrivainProfilWin32 profil;
    const auto ecrit = [&](const Entree& e) {
        ASSERT_TRUE(profil.WritePrivateProfileString(e.section, e.cle, e.valeur, nous));
        ASSERT_TRUE(::WritePrivateProfileStringW(e.section, e.cle, e.valeur, systeme.c_str()));
        EXPECT_EQ(test::LitOctets(nous), test::LitOctets(systeme)) << test::U8(e.cle);
    };
    for (const Entree& e : sauvegarde1) ecrit(e);
    for (const Entree& e : sauvegarde2) ecrit(e);
    ecrit({L"Dernier Fichier Execute", L"Nom_Fich", L"maj été.exe"});
    EXPECT_EQ(test::LitOctets(nous)->substr(0, 42), "[Chemin]\r\nChemin_Demarrage=\\\\serveur\\maj\r\n");
}

TEST(EcrivainProfil, RemplaceLeFichierSansRienLaisserACote) {
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini";
    d.Fichier(L"Tolvane.ini", "\xEF\xBB\xBF; note\r\n[Chemin]\r\nChemin_Demarrage=C:\\\r\n");
    EcrivainProfilWin32 profil;
    ASSERT_TRUE(profil.WritePrivateProfileString(L"Chemin", L"Chemin_Demarrage", L"D:\\Mises à jour", ini));
    EXPECT_EQ(test::LitOctets(ini), "\xEF\xBB\xBF; note\r\n[Chemin]\r\nChemin_Demarrage=D:\\Mises \xC3\xA0 jour\r\n");
    // Folder missing: the system's reason.
    EXPECT_FALSE(profil.WritePrivateProfileString(L"S", L"K", L"V", d / L"absent\\Tolvane.ini"));
    EXPECT_EQ(profil.DerniereErreur(), static_cast<unsigned long>(ERROR_PATH_NOT_FOUND));
}

TEST(EcrivainProfil, LesCopiesQuUneCoupureALaisseesNeSePerdentPas) {
    // {Tolvane.ini, its backup, a temporary file} as a crash may leave them -> the settings
    // written afterwards, and what is left beside them.
    struct Cas {
        const char *ini, *ancien;
        bool temporaireVieux;
        const char* attendu;
    };
    const char entree[] = "[Chemin]\r\nChemin_Demarrage=C:\\Maj\r\n";
    for (const Cas& c : {Cas{"[A]\r\n", "[B]\r\n", true, "[A]\r\n[Chemin]\r\nChemin_Demarrage=C:\\Maj\r\n"},
                         Cas{nullptr, "[B]\r\n", true, "[B]\r\n[Chemin]\r\nChemin_Demarrage=C:\\Maj\r\n"},
                         Cas{nullptr, nullptr, false, entree}}) {
        SCOPED_TRACE(c.attendu);
        DossierTemporaire d;
        const std::wstring ini = d / L"Tolvane.ini";
        if (c.ini) d.Fichier(L"Tolvane.ini", c.ini);
        if (c.ancien) d.Fichier(L"Tolvane.ini.ancien", c.ancien);
        // A crash's is more than a minute old; a younger one may be another writer's.
        d.Fichier(L"Tolvane.ini.nouveau-0000abcd", "[T]\r\n");
        if (c.temporaireVieux) {
            PoigneeFichier t(CreateFileW((d / L"Tolvane.ini.nouveau-0000abcd").c_str(), FILE_WRITE_ATTRIBUTES, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
            FILETIME avant;
            GetSystemTimeAsFileTime(&avant);
            reinterpret_cast<ULARGE_INTEGER&>(avant).QuadPart -= 120ull * 10000000ull;
            ASSERT_TRUE(SetFileTime(t.get(), nullptr, nullptr, &avant));
        }
        EcrivainProfilWin32 profil;
        ASSERT_TRUE(profil.WritePrivateProfileString(L"Chemin", L"Chemin_Demarrage", L"C:\\Maj", ini));
        EXPECT_EQ(test::LitOctets(ini), c.attendu);
        EXPECT_EQ(test::LitOctets(ini + L".ancien"), std::nullopt);
        EXPECT_EQ(test::LitOctets(ini + L".nouveau-0000abcd").has_value(), !c.temporaireVieux);
    }
}

TEST(EcrivainProfil, EcritSurPlaceUnLienEtRefuseUnFichierEnLectureSeule) {
    // Two names for one file: a rename would leave the other name with the old settings.
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini", cible = d / L"Partage.ini";
    d.Fichier(L"Partage.ini", "[Dernier Fichier Execute]\r\nNom_Fich=un nom bien plus long.exe\r\n");
    ASSERT_TRUE(CreateHardLinkW(ini.c_str(), cible.c_str(), nullptr));
    EcrivainProfilWin32 profil;
    ASSERT_TRUE(profil.WritePrivateProfileString(L"Dernier Fichier Execute", L"Nom_Fich", L"b.exe", ini));
    EXPECT_EQ(test::LitOctets(cible), "[Dernier Fichier Execute]\r\nNom_Fich=b.exe\r\n");
    // Made read-only by its administrator: left as it is, by either writer.
    ASSERT_TRUE(SetFileAttributesW(cible.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(profil.WritePrivateProfileString(L"Dernier Fichier Execute", L"Nom_Fich", L"c.exe", ini));
    EXPECT_EQ(profil.DerniereErreur(), 6009ul);
    EXPECT_FALSE(profil.EcritSurPlace(L"Dernier Fichier Execute", L"Nom_Fich", L"c.exe", cible));
    EXPECT_EQ(profil.DerniereErreur(), 6009ul);
    EXPECT_EQ(test::LitOctets(cible), "[Dernier Fichier Execute]\r\nNom_Fich=b.exe\r\n");
    SetFileAttributesW(cible.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(EcrivainProfil, AttendUnInstantUnFichierOuvertAilleurs) {
    DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini";
    d.Fichier(L"Tolvane.ini", "[Chemin]\r\n");
    const auto ouvreSansPartage = [&] {
        return PoigneeFichier(CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    EcrivainProfilWin32 profil;
    {
        // A scan that ends after 300 ms.
        PoigneeFichier scan = ouvreSansPartage();
        ASSERT_TRUE(scan);
        std::thread fin([&] {
            Sleep(300);
            scan.Reinitialise();
        });
        EXPECT_TRUE(profil.WritePrivateProfileString(L"Chemin", L"Chemin_Demarrage", L"C:\\X", ini));
        fin.join();
        EXPECT_EQ(test::LitOctets(ini), "[Chemin]\r\nChemin_Demarrage=C:\\X\r\n");
    }
    // One that lasts: refused with its reason, the file as it was.
    PoigneeFichier scan = ouvreSansPartage();
    EXPECT_FALSE(profil.WritePrivateProfileString(L"Chemin", L"Chemin_Demarrage", L"C:\\Y", ini));
    EXPECT_EQ(profil.DerniereErreur(), static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    scan.Reinitialise();
    EXPECT_EQ(test::LitOctets(ini), "[Chemin]\r\nChemin_Demarrage=C:\\X\r\n");
}

}  // namespace
}  // namespace tolvane::win32
