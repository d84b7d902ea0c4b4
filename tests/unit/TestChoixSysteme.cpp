// How the Windows layer calls the system: the conversion flags each code page accepts, and when
// a refused probe of a share's root still proves the share is there.
#include <gtest/gtest.h>

#include "platform/ChoixSysteme.h"

using namespace tolvane;

TEST(OptionsVersPageCode, AucunDrapeauOuLaPageDeCodeLesRefuse) {
    // 8-bit and double-byte code pages: no best-fit look-alikes.
    for (unsigned page : {1252u, 1250u, 1251u, 1253u, 874u, 932u, 936u, 949u, 950u, 437u, 850u})
        EXPECT_EQ(OptionsVersPageCode(page), SansEquivalentApproche) << page;
    // Windows with "Beta: Unicode UTF-8" as its code page, and the others that fail with
    // ERROR_INVALID_FLAGS when given WC_NO_BEST_FIT_CHARS.
    for (unsigned page :
         {65001u, 65000u, 54936u, 52936u, 50220u, 50221u, 50222u, 50225u, 50227u, 50229u, 57002u, 57011u, 42u})
        EXPECT_EQ(OptionsVersPageCode(page), 0u) << page;
    // Between the ISO-2022 pages, the ones that are no code page at all keep the flag.
    for (unsigned page : {50219u, 50223u, 50224u, 50226u, 50228u, 50230u})
        EXPECT_EQ(OptionsVersPageCode(page), SansEquivalentApproche) << page;
    EXPECT_EQ(OptionsVersPageCode(57001u), SansEquivalentApproche);
    EXPECT_EQ(OptionsVersPageCode(57012u), SansEquivalentApproche);
}

TEST(RacineAtteinte, UnAccesRefuseALaRacineDUnPartageVeutDireQuIlEstLa) {
    constexpr unsigned long AccesRefuse = 5, CheminReseauIntrouvable = 53, PasPret = 21;
    EXPECT_TRUE(RacineAtteinte(L"\\\\serveur\\partage\\", true, 0));
    EXPECT_TRUE(RacineAtteinte(L"\\\\serveur\\partage\\", false, AccesRefuse));
    EXPECT_TRUE(RacineAtteinte(L"//serveur/partage/", false, AccesRefuse));
    EXPECT_FALSE(RacineAtteinte(L"\\\\serveur\\partage\\", false, CheminReseauIntrouvable));
    // A drive letter that refuses us stays refused: an empty or locked removable drive must
    // still be told as not ready.
    EXPECT_FALSE(RacineAtteinte(L"E:\\", false, AccesRefuse));
    EXPECT_FALSE(RacineAtteinte(L"E:\\", false, PasPret));
    EXPECT_TRUE(RacineAtteinte(L"C:\\", true, 0));
    EXPECT_FALSE(RacineAtteinte(L"\\", false, AccesRefuse));
}
