// How each event shows in the log, written out: a level mistyped in the code would be mistyped
// alike in a test that used it.
#include <gtest/gtest.h>

#include "Faux.h"

using namespace tolvane;
using namespace tolvane::test;

TEST(Evenements, ChaqueEvenementArriveAuJournalAvecSaGravite) {
    const std::vector<std::pair<Evenement, Gravite>> attendus = {
        {Evenement::Lance, Gravite::Information},
        {Evenement::LanceApresElevation, Gravite::Information},
        {Evenement::NomInchange, Gravite::Information},
        {Evenement::AucunExecutable, Gravite::Avertissement},
        {Evenement::RepertoireInaccessible, Gravite::Erreur},
        {Evenement::EchecLancement, Gravite::Erreur},
        {Evenement::ChoixAnnule, Gravite::Avertissement},
        {Evenement::FichierINIAbsent, Gravite::Avertissement},
        {Evenement::NomNonNote, Gravite::Avertissement},
        {Evenement::RepertoireIllisible, Gravite::Erreur},
        {Evenement::VerrouOccupe, Gravite::Avertissement},
        {Evenement::SansVerrou, Gravite::Avertissement},
        {Evenement::LanceSansInstructions, Gravite::Information},
        {Evenement::PlusieursExecutables, Gravite::Avertissement},
        {Evenement::LettreSansSession, Gravite::Erreur},
    };
    Banc banc;
    for (const auto& [evenement, gravite] : attendus) {
        Signale(banc.services, evenement, {L"x"});
        ASSERT_FALSE(banc.journal.vus.empty());
        EXPECT_EQ(banc.journal.vus.back(), (EvenementVu{evenement, {L"x"}}));
        EXPECT_EQ(banc.journal.gravites.back(), gravite) << static_cast<int>(evenement);
    }
}
