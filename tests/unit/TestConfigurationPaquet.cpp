// What the package takes from whoever runs it, and what its program folder may hold.
#include <gtest/gtest.h>

#include "builds/installateur/Configuration.h"

using namespace tolvane::installateur;

TEST(ConfigurationPaquet, UneMaintenanceDUnUtilisateurStandardNeChangeRien) {
    // Whether Windows Installer restricts the public properties of each kind of user's run
    // (RestrictedUserControl), and whether the product is installed already.
    const struct {
        const char* utilisateur;
        bool restreint, installe, recevable;
    } cas[] = {
        {"outil de déploiement (SYSTEM)", false, false, true},
        {"outil de déploiement (SYSTEM)", false, true, true},
        {"invite d'administrateur élevée", false, false, true},
        {"invite d'administrateur élevée", false, true, true},
        {"administrateur depuis une invite ordinaire", true, false, true},
        {"administrateur depuis une invite ordinaire", true, true, false},
        {"utilisateur standard", true, false, true},  // the consent prompt needs an administrator
        {"utilisateur standard", true, true, false},
    };
    for (const auto& c : cas)
        EXPECT_EQ(ConfigurationRecevable(c.installe, c.restreint), c.recevable)
            << c.utilisateur << (c.installe ? ", produit installé" : ", première installation");
}

TEST(ConfigurationPaquet, LeDossierDesProgrammesNeTientQueLesFichiersDeTolvane) {
    for (const wchar_t* nom : {L"Tolvane.exe", L"TOLVANE_LANCEUR.EXE", L"Tolvane.ini", L"Tolvane_Dernier.ini",
                               L"Tolvane.ini.avant-installation", L"Tolvane_Dernier.ini.ancien", L"Tolvane.ini.nouveau",
                               L"Tolvane.ini.nouveau-0000abcd"})
        EXPECT_TRUE(FichierDuDossier(nom)) << testing::PrintToString(std::wstring(nom));
    for (const wchar_t* nom : {L"mpr.dll", L"version.dll", L"Tolvane.exe.local", L"Tolvane.exe.nouveau",
                               L"Tolvane.ini.bak", L"desktop.ini", L"Tolvane.ini.nouveau-0000abcd.dll"})
        EXPECT_FALSE(FichierDuDossier(nom)) << testing::PrintToString(std::wstring(nom));
}
