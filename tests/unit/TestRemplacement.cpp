// What the profile writer does after each step of a replacement, for each kind of file.
#include <gtest/gtest.h>

#include "platform/Remplacement.h"

using namespace tolvane::Remplacement;

TEST(Remplacement, ChaqueEchecASaSuite) {
    struct Cas {
        Etape etape;
        Genre genre;
        unsigned long erreur;
        int essai;
        Suite suite;
    };
    const Cas cas[] = {
        {Etape::Debut, Genre::Absent, 0, 1, Suite::Cree},
        {Etape::Debut, Genre::Simple, 0, 1, Suite::Remplace},
        {Etape::Debut, Genre::LectureSeule, 0, 1, Suite::Echoue},
        {Etape::Debut, Genre::Lien, 0, 1, Suite::SurPlace},
        {Etape::Temporaire, Genre::Simple, 5, 1, Suite::SurPlace},
        {Etape::Temporaire, Genre::Absent, 5, 1, Suite::Echoue},
        {Etape::Temporaire, Genre::Simple, 112, 1, Suite::Echoue},  // disk full
        {Etape::Remplacement, Genre::Simple, 32, 10, Suite::Reessaie},
        {Etape::Remplacement, Genre::Simple, 33, 1, Suite::Reessaie},
        {Etape::Remplacement, Genre::Simple, 32, 11, Suite::Echoue},
        {Etape::Remplacement, Genre::Simple, 1175, 1, Suite::Reessaie},
        {Etape::Remplacement, Genre::Simple, 1175, 11, Suite::SurPlace},
        {Etape::Remplacement, Genre::Simple, 5, 1, Suite::SurPlace},
        {Etape::Remplacement, Genre::Simple, 1176, 1, Suite::Echoue},
        {Etape::Remplacement, Genre::Simple, 1177, 1, Suite::RemetAncien},
        {Etape::RemiseEnPlace, Genre::Absent, 5, 10, Suite::Reessaie},
        {Etape::RemiseEnPlace, Genre::Absent, 5, 11, Suite::Echoue},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.etape) << " " << c.erreur << " essai " << c.essai);
        EXPECT_EQ(Decide(c.etape, c.genre, c.erreur, c.essai), c.suite);
    }
    EXPECT_EQ(Temporaire(L"C:\\T\\Tolvane.ini", 0x2a), L"C:\\T\\Tolvane.ini.nouveau-0000002a");
    EXPECT_EQ(Sauvegarde(L"Tolvane.ini"), L"Tolvane.ini.ancien");
}
