// What a run did, for the administrator: one event per run in the Application log (source
// "Tolvane"). The launcher decides which, and how grave; the platform only writes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Services.h"

namespace tolvane {

// The value is the event's code in the message table (src/builds/Evenements.mc, checked against
// it when the programs are built); the insertion strings are given in the order of the message.
enum class Evenement : std::uint16_t {
    Lance = 1,                    // %1 file, %2 directory, %3 its signer, where told
    LanceApresElevation = 2,      // %1 file, %2 directory, %3 its signer: after the administrator prompt
    NomInchange = 3,              // %1 file, %2 directory: not launched, same name as last time
    AucunExecutable = 4,          // %1 directory: listable, holds no executable
    RepertoireInaccessible = 5,   // %1 directory, %2 reason: still not reachable after the wait
    EchecLancement = 6,           // %1 file, %2 directory, %3 reason
    ChoixAnnule = 7,              // %1 directory
    FichierINIAbsent = 8,         // %1 settings file
    NomNonNote = 9,               // %1 file, %2 settings file, %3 reason: launched, not recorded
    RepertoireIllisible = 10,     // %1 directory, %2 reason: cannot be read, waiting would not help
    VerrouOccupe = 11,            // %1 settings file: another launcher held the lock too long
    SansVerrou = 12,              // %1 settings file, %2 reason: the lock could not be had, run without it
    LanceSansInstructions = 13,   // %1 file, %2 directory, %3 its signer: nobody at the screen to read them
    PlusieursExecutables = 14,    // %1 directory, %2 how many: nobody at the screen to choose
    LettreSansSession = 15,       // %1 directory: a drive letter, which the system account lacks
    MiseAJourRefusee = 16,        // %1 file, %2 directory, %3 reason, %4 signer, %5 its SHA-1 thumbprint
    DossierModifiable = 17,       // %1 file, %2 directory, %3 who may change what: not launched
    LanceDossierModifiable = 18,  // %1 file, %2 directory, %3 who may change what: launched all the same
    EditeursInvalides = 19,       // %1 settings file, %2 the entry that is no thumbprint: nothing launched
    // Where nobody is at the screen, the launcher waits for the update and reports its outcome.
    Reussie = 20,                // %1 file, %2 directory, %3 its signer: ended with success, recorded
    RedemarrageNecessaire = 21,  // %1 file, %2 directory, %3 its signer: success, a restart is needed
    RedemarreeParElle = 22,      // %1 file, %2 directory, %3 its signer: success, it restarted the machine
    EchecMiseAJour = 23,         // %1 file, %2 directory, %3 exit code, %4 its text: not recorded
    DureeDepassee = 24,          // %1 file, %2 directory, %3 minutes: ended at the limit, not recorded
    Abandonnee = 25,             // %1 file, %2 directory, %3 failed runs: not launched again
    AutreInstallation = 26,      // %1 file, %2 directory, %3 attempt: 1618, tried again in 5 minutes
    ValeurHorsBornes = 27,       // %1 settings file, %2 key, %3 value, %4 the default used instead
};

// An update started is information; a folder that could not be reached or read, a failed start,
// a letter the system account lacks and an update refused are errors an administrator must
// mend; the rest, runs that ended without launching or without recording and an update started
// from a folder others may change, are warnings.
constexpr Gravite GraviteDe(Evenement evenement) {
    switch (evenement) {
    case Evenement::Lance:
    case Evenement::LanceApresElevation:
    case Evenement::NomInchange:
    case Evenement::LanceSansInstructions:
    case Evenement::Reussie:
    case Evenement::RedemarrageNecessaire:
    case Evenement::RedemarreeParElle:
    case Evenement::AutreInstallation: return Gravite::Information;
    case Evenement::RepertoireInaccessible:
    case Evenement::RepertoireIllisible:
    case Evenement::EchecLancement:
    case Evenement::LettreSansSession:
    case Evenement::MiseAJourRefusee:
    case Evenement::DossierModifiable:
    case Evenement::EditeursInvalides:
    case Evenement::EchecMiseAJour:
    case Evenement::DureeDepassee:
    case Evenement::Abandonnee: return Gravite::Erreur;
    case Evenement::AucunExecutable:
    case Evenement::ChoixAnnule:
    case Evenement::FichierINIAbsent:
    case Evenement::NomNonNote:
    case Evenement::VerrouOccupe:
    case Evenement::SansVerrou:
    case Evenement::PlusieursExecutables:
    case Evenement::LanceDossierModifiable:
    case Evenement::ValeurHorsBornes: break;
    }
    return Gravite::Avertissement;
}

inline void Signale(Services& services, Evenement evenement, const std::vector<std::wstring>& chaines) {
    if (services.journal)
        services.journal->Signale(static_cast<std::uint16_t>(evenement), GraviteDe(evenement), chaines);
}

}  // namespace tolvane
