// What an update's exit code means, where nobody is at the screen and the launcher waits for it:
// the codes Windows Installer documents, and those the deployment tools read alike.
#pragma once

namespace tolvane {

enum class Issue {
    Reussie,                   // 0, and 1707 as the deployment tools read it
    RedemarrageNecessaire,     // 3010 ERROR_SUCCESS_REBOOT_REQUIRED
    RedemarreeParLaMiseAJour,  // 1641 ERROR_SUCCESS_REBOOT_INITIATED
    AutreInstallationEnCours,  // 1618 ERROR_INSTALL_ALREADY_RUNNING: tried again
    Echec,
};

constexpr Issue IssueDe(unsigned long code) {
    switch (code) {
    case 0:
    case 1707: return Issue::Reussie;
    case 3010: return Issue::RedemarrageNecessaire;
    case 1641: return Issue::RedemarreeParLaMiseAJour;
    case 1618: return Issue::AutreInstallationEnCours;
    default: return Issue::Echec;
    }
}

// Windows Installer's own codes, whose system text says what happened; an installer's own codes
// mean something else, and the system's text of the same number would mislead.
constexpr bool CodeDeWindowsInstaller(unsigned long code) {
    return (code >= 1601 && code <= 1667) || (code >= 1701 && code <= 1708) || code == 3010;
}

// A failed update is launched again at the next runs, up to this many failed runs in a row.
inline constexpr int EchecsAvantAbandon = 3;
// "Another installation is in progress": tried again this many times, after this pause.
inline constexpr int EssaisSiOccupee = 3;
inline constexpr unsigned PauseSiOccupeeMs = 5 * 60 * 1000;

}  // namespace tolvane
