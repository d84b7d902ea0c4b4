#include <algorithm>

#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"

namespace tolvane {

namespace {

constexpr unsigned IntervalleEssaisMs = 2000;
constexpr std::uint64_t AttenteMaxMs = 60000;

// The errors of a share that does not answer yet, as Windows gives them while the network, the
// VPN or the drive mappings are still coming up at logon. Rights and names that are simply
// wrong (access denied 5, logon failure 1326…) are not in the list: waiting would not mend them.
bool PasEncoreJoignable(unsigned long erreur) {
    switch (erreur) {
    case 3:     // ERROR_PATH_NOT_FOUND: a mapped drive whose connection is not restored yet
    case 51:    // ERROR_REM_NOT_LIST: the remote computer is not available
    case 53:    // ERROR_BAD_NETPATH
    case 54:    // ERROR_NETWORK_BUSY
    case 55:    // ERROR_DEV_NOT_EXIST: the network resource is no longer available
    case 59:    // ERROR_UNEXP_NET_ERR
    case 64:    // ERROR_NETNAME_DELETED
    case 67:    // ERROR_BAD_NET_NAME: the share is not published yet (server starting)
    case 121:   // ERROR_SEM_TIMEOUT: the SMB session timed out
    case 1201:  // ERROR_CONNECTION_UNAVAIL: a remembered connection not made again yet
    case 1203:  // ERROR_NO_NET_OR_BAD_PATH: no network provider answered yet
    case 1222:  // ERROR_NO_NETWORK: the network is not present or not started
    case 1231:  // ERROR_NETWORK_UNREACHABLE
    case 1232:  // ERROR_HOST_UNREACHABLE
    case 1311:  // ERROR_NO_LOGON_SERVERS: no domain controller reached yet
    case 2250:  // ERROR_NOT_CONNECTED: the drive letter's connection does not exist yet
        return true;
    default: return false;
    }
}

}  // namespace

bool ProceduresPrincipales::RepertoireLisible() {
    FileListBox& liste = champs_.Flb_file;
    unsigned long erreur = liste.Erreur();
    if (erreur == 0) return true;
    const std::wstring repertoire = liste.Path();

    // Only the launcher at start-up waits: nothing is on screen yet, and a user pressing
    // "Essai" wants the reason now.
    if (services_.AvantFenetrePrincipale() && PasEncoreJoignable(erreur)) {
        ISystemeFichiers& fso = services_.FSO();
        const std::wstring lecteur = fso.GetDriveName(repertoire);
        if (!lecteur.empty() && fso.EstLecteurReseau(lecteur)) {
            IHorloge& horloge = *services_.horloge;
            const std::uint64_t debut = horloge.Millisecondes();
            // The deadline is measured, not counted: a listing that fails on the network may
            // itself take seconds.
            for (std::uint64_t ecoule = 0; ecoule < AttenteMaxMs && PasEncoreJoignable(erreur);
                 ecoule = horloge.Millisecondes() - debut) {
                horloge.Attend(
                    static_cast<unsigned>(std::min<std::uint64_t>(IntervalleEssaisMs, AttenteMaxMs - ecoule)));
                liste.Refresh();
                erreur = liste.Erreur();
            }
            if (erreur == 0) return true;
            if (PasEncoreJoignable(erreur)) {
                // The settings are not wrong: no configuration window, nothing recorded, and
                // the next start tries again.
                const std::wstring raison = services_.processus->TexteErreur(erreur);
                services_.Signale(Evenement::RepertoireInaccessible, {repertoire, raison});
                services_.messages->MsgBox(std::wstring(Textes::RepertoireInjoignable) + L"\r\n" + repertoire +
                                               L"\r\n" + raison + L"\r\n" + Textes::EssaiAuProchainDemarrage,
                                           vbInformation);
                services_.FinProcessus();
            }
        }
    }
    const std::wstring raison = services_.processus->TexteErreur(erreur);
    services_.Signale(Evenement::RepertoireIllisible, {repertoire, raison});
    services_.messages->MsgBox(std::wstring(Textes::RepertoireIllisible) + L"\r\n" + repertoire + L"\r\n" + raison +
                                   L"\r\n" + Textes::ParametrerRepertoire,
                               vbCritical, Textes::TitreAttention);
    return false;
}

}  // namespace tolvane
