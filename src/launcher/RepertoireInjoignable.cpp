#include <algorithm>

#include "launcher/Evenement.h"
#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"

namespace tolvane {

namespace {

// The errors of a directory on the network that does not answer yet, as Windows gives them while
// the network, a VPN, the domain or the drive mappings are still coming up at logon. Rights and
// names that are simply wrong (access denied 5, logon failure 1326…) are not in the list:
// waiting would not mend them.
bool PasEncoreJoignable(unsigned long erreur) {
    switch (erreur) {
    case 3:     // ERROR_PATH_NOT_FOUND: a mapped drive whose connection is not restored yet
    case 51:    // ERROR_REM_NOT_LIST: the remote computer is not available
    case 53:    // ERROR_BAD_NETPATH
    case 54:    // ERROR_NETWORK_BUSY
    case 55:    // ERROR_DEV_NOT_EXIST: the network resource is no longer available
    case 58:    // ERROR_BAD_NET_RESP: the server cannot do the request (also an SMB1-only server)
    case 59:    // ERROR_UNEXP_NET_ERR
    case 64:    // ERROR_NETNAME_DELETED
    case 67:    // ERROR_BAD_NET_NAME: the share is not published yet (server starting)
    case 121:   // ERROR_SEM_TIMEOUT: the SMB session timed out
    case 240:   // ERROR_VC_DISCONNECTED: the session was cancelled
    case 1201:  // ERROR_CONNECTION_UNAVAIL: a remembered connection not made again yet
    case 1203:  // ERROR_NO_NET_OR_BAD_PATH: no network provider answered yet
    case 1222:  // ERROR_NO_NETWORK: the network is not present or not started
    case 1225:  // ERROR_CONNECTION_REFUSED: nothing listens yet (also port 445 filtered)
    case 1231:  // ERROR_NETWORK_UNREACHABLE
    case 1232:  // ERROR_HOST_UNREACHABLE
    case 1236:  // ERROR_CONNECTION_ABORTED: the local system aborted the connection
    // ERROR_DOMAIN_CONTROLLER_NOT_FOUND by its name, but its text is "The system cannot contact a
    // domain controller to service the authentication request": typical before a VPN is up.
    case 1265:
    case 1311:  // ERROR_NO_LOGON_SERVERS: no domain controller reached yet
    case 1355:  // ERROR_NO_SUCH_DOMAIN: the domain cannot be contacted yet
    case 1908:  // ERROR_DOMAIN_CONTROLLER_NOT_FOUND
    case 2250:  // ERROR_NOT_CONNECTED: the drive letter's connection does not exist yet
        return true;
    default: return false;
    }
}

constexpr unsigned IntervalleEssaisMs = 2000;
// A letter waits longer than a logon script's default 5-minute delay; a share, long enough for
// a VPN user tunnel or 802.1X after logon.
constexpr std::uint64_t AttenteLettreMs = 6 * 60 * 1000;
constexpr std::uint64_t AttentePartageMs = 3 * 60 * 1000;
// With nobody at the screen nobody is kept waiting.
constexpr std::uint64_t AttenteSansPersonneMs = 5 * 60 * 1000;

// Also waited for where nobody is at the screen: a machine account is refused (access denied,
// logon failure) until a domain controller has answered.
bool PasEncoreJoignableAuPoste(unsigned long erreur) {
    return PasEncoreJoignable(erreur) || erreur == 5 || erreur == 1326;
}

// Errors a server that answers also gives for good (a folder or a share that is not there): the
// server is asked at once rather than after the wait.
bool PeutEtreDefinitive(unsigned long erreur) { return erreur == 3 || erreur == 59 || erreur == 67; }

// "\\serveur\IPC$" for the share "\\serveur\partage": what answers when the server does.
std::wstring IpcDuServeur(const std::wstring& partage) {
    const std::size_t fin = partage.find_first_of(L"\\/", 2);
    return partage.substr(0, fin) + L"\\IPC$";
}

}  // namespace

bool ProceduresPrincipales::RepertoireLisible() {
    FileListBox& liste = champs_.Flb_file;
    unsigned long erreur = liste.Erreur();
    if (erreur == 0) return true;
    const std::wstring repertoire = liste.Path();

    // Only the launcher at start-up waits: nothing is on screen yet, and a user pressing
    // "Essai" wants the reason now.
    if (services_.AvantFenetrePrincipale()) {
        ISystemeFichiers& fso = services_.FSO();
        const std::wstring lecteur = fso.GetDriveName(repertoire);
        const bool lettre = lecteur.size() == 2;
        const auto lettreAbsente = [&] { return lettre && fso.LettreEnAttente(lecteur); };
        const bool personne = services_.PersonneALEcran();
        if (personne && (lettreAbsente() || (lettre && fso.EstLecteurReseau(lecteur)))) {
            // The system account has no drive letter of a user's: a setting to mend, not a wait.
            Signale(services_, Evenement::LettreSansSession, {repertoire});
            services_.FinProcessus();
        }
        const auto joignablePlusTard = personne ? PasEncoreJoignableAuPoste : PasEncoreJoignable;
        const auto enAttente = [&] {
            return lettreAbsente() || (!lecteur.empty() && joignablePlusTard(erreur) && fso.EstLecteurReseau(lecteur));
        };
        // A root or a server that answers has said it: the folder or the share is missing, and
        // waiting would not help. A letter still missing has said nothing.
        const auto sonde = [&] { return erreur == 67 && !lettre ? IpcDuServeur(lecteur) : lecteur + L"\\"; };
        const auto pourDeBon = [&] {
            if (lettreAbsente() || !PeutEtreDefinitive(erreur)) return false;
            // A letter still names a share its server deleted: its root answers as the share did.
            if (lettre && fso.PartageDeLaLettre(lecteur) == PartageInexistant) return true;
            // On a letter, 3 is also a connection whose root answers before its folders do.
            return !(lettre && erreur == 3) && !joignablePlusTard(fso.Sonde(sonde()));
        };
        if (enAttente() && !pourDeBon()) {
            IHorloge& horloge = *services_.horloge;
            const std::uint64_t attenteMax = personne ? AttenteSansPersonneMs
                                             : lettre ? AttenteLettreMs
                                                      : AttentePartageMs;
            // A configuration program may save meanwhile: the lock is given back for the wait,
            // and the last launched name read again once it is taken again.
            RendVerrou();
            const std::uint64_t debut = horloge.Millisecondes();
            // The deadline is measured, not counted: a listing that fails on the network may
            // itself take seconds. Nothing is shown meanwhile.
            for (std::uint64_t ecoule = 0; ecoule < attenteMax && erreur != 0 && enAttente();
                 ecoule = horloge.Millisecondes() - debut) {
                horloge.Attend(static_cast<unsigned>(std::min<std::uint64_t>(IntervalleEssaisMs, attenteMax - ecoule)));
                liste.Refresh();
                erreur = liste.Erreur();
            }
            PrendVerrouDuLanceur();
            LitDernierFichier();
            if (erreur == 0) return true;
            const bool absente = lettreAbsente();
            if (absente || (joignablePlusTard(erreur) && joignablePlusTard(fso.Sonde(sonde())))) {
                // The settings are not wrong: no configuration window, nothing recorded, and
                // the next start tries again.
                const std::wstring raison = RaisonLettreAbsente(lecteur, erreur, absente);
                Signale(services_, Evenement::RepertoireInaccessible, {repertoire, raison});
                services_.MsgBox(std::wstring(Textes::RepertoireInjoignable) + L"\r\n" + repertoire + L"\r\n" + raison +
                                     L"\r\n" + Textes::EssaiAuProchainDemarrage,
                                 vbInformation);
                services_.FinProcessus();
            }
        }
    }
    const std::wstring raison = services_.processus->TexteErreur(erreur);
    Signale(services_, Evenement::RepertoireIllisible, {repertoire, raison});
    services_.MsgBox(std::wstring(Textes::RepertoireIllisible) + L"\r\n" + repertoire + L"\r\n" + raison + L"\r\n" +
                         Textes::ParametrerRepertoire,
                     vbCritical, Textes::TitreAttention);
    return false;
}

std::wstring ProceduresPrincipales::RaisonLettreAbsente(const std::wstring& lecteur, unsigned long erreur,
                                                        bool absente) {
    const std::wstring texte = services_.processus->TexteErreur(erreur);
    switch (absente ? services_.FSO().LettreDeLAutreSession(lecteur) : AutreSession::Non) {
    case AutreSession::Certaine: return lecteur + L" " + Textes::LettreSessionElevee + Textes::RemedeSessionElevee;
    case AutreSession::Possible:
        return texte + L" ; " + lecteur + L" " + Textes::LettrePeutEtreSessionElevee + Textes::RemedeSessionElevee;
    case AutreSession::Non: break;
    }
    return texte;
}

}  // namespace tolvane
