// Services the logic calls but does not implement. Each is a small interface with a Windows
// implementation (platform/win32) and a test fake (tests/unit). Nothing here includes <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Acces.h"

namespace tolvane {

// Whether a drive letter missing here may be mapped in the user's other logon session: the
// elevated one of an administrator under UAC, whose letters the limited session does not see
// while EnableLinkedConnections is off (the default).
enum class AutreSession {
    Non,       // not a limited administrator's token
    Possible,  // a limited administrator's token
    Certaine,  // and the user's profile remembers the letter (HKCU\Network\<lettre>)
};

// NERR_NetNameNotFound: a server that answered has no share by that name.
inline constexpr unsigned long PartageInexistant = 2310;

// The file-system object: existence of files, folders and drives.
class ISystemeFichiers {
public:
    virtual ~ISystemeFichiers() = default;
    virtual bool FileExists(const std::wstring& chemin) = 0;
    // Drive part of a path: "C:" for a local path, "\\serveur\partage" for a network path,
    // empty when the path has none (relative or empty path).
    virtual std::wstring GetDriveName(const std::wstring& chemin) = 0;
    virtual bool DriveExists(const std::wstring& lecteur) = 0;
    // GetDrive(lecteur).IsReady: a medium is present and readable. Never shows a system dialog.
    virtual bool IsReady(const std::wstring& lecteur) = 0;
    virtual bool FolderExists(const std::wstring& chemin) = 0;
    // True for a network share ("\\serveur\partage") or a drive letter mapped to one: such a
    // directory may not be reachable yet when the workstation has just started.
    virtual bool EstLecteurReseau(const std::wstring& lecteur) = 0;
    // A drive letter ("M:") that a logon script, a drive map or a management script has not
    // made yet: no such drive, or a remembered network connection not restored yet.
    virtual bool LettreEnAttente(const std::wstring& lecteur) = 0;
    // 0 when the path (a drive root, a share, a server's IPC$) can be reached, else the
    // Windows error of the attempt. Never shows a system dialog.
    virtual unsigned long Sonde(const std::wstring& chemin) = 0;
    // What the server behind a mapped drive letter ("M:") says of its share, asked without
    // rights: PartageInexistant when it answered that it has no such share; 0 when it has it,
    // did not answer or gave another error, for a letter that is not mapped, and for a DFS name
    // (\\domaine\racine), which no one server holds.
    virtual unsigned long PartageDeLaLettre(const std::wstring& lecteur) = 0;
    // For a drive letter missing in this session: whether it may be the elevated session's.
    virtual AutreSession LettreDeLAutreSession(const std::wstring& lecteur) = 0;
    // The path with a mapped network drive letter replaced by the share it names
    // ("M:\x" -> "\\serveur\maj\x"); any other path as it is. An elevated process does not
    // see the letters the user mapped.
    virtual std::wstring CheminUniversel(const std::wstring& chemin) = 0;
};

// Lists the regular files of one directory whose long name matches a wildcard pattern
// (hidden and system files and directories left out), sorted without regard to case.
class IListeurRepertoire {
public:
    virtual ~IListeurRepertoire() = default;
    // Fills `noms` and returns 0, also when nothing matches; returns the Windows error when the
    // directory cannot be listed (ERROR_PATH_NOT_FOUND = 3, ERROR_BAD_NETPATH = 53…), with
    // `noms` empty. An empty directory name lists nothing and is no error.
    virtual unsigned long Liste(const std::wstring& repertoire, const std::wstring& motif,
                                std::vector<std::wstring>& noms) = 0;
    // The names alone, for callers to whom "cannot be listed" and "empty" are the same.
    std::vector<std::wstring> ListeFichiers(const std::wstring& repertoire, const std::wstring& motif) {
        std::vector<std::wstring> noms;
        Liste(repertoire, motif, noms);
        return noms;
    }
};

// An open file read sequentially as bytes; closed when destroyed.
class IFluxOctets {
public:
    virtual ~IFluxOctets() = default;
    // Reads up to `taille` bytes; returns 0 at the end of the file or on a read error.
    virtual std::size_t Lit(char* tampon, std::size_t taille) = 0;
};

class ISourceFichiers {
public:
    virtual ~ISourceFichiers() = default;
    // Opens a file read-only; nullptr when it cannot be opened (missing, locked, a folder…).
    virtual std::unique_ptr<IFluxOctets> OuvreLecture(const std::wstring& chemin) = 0;
    // The Windows error code of the last open that failed (ERROR_SHARING_VIOLATION = 32…).
    virtual unsigned long DerniereErreur() const = 0;
};

// The profile writer: one entry written into the file by EditionINI's rule, in the encoding the
// file already has (the 8-bit code page for a new one), every other byte kept. The file is
// replaced as a whole where its folder may be written, so that a power cut leaves the old file
// or the new one; written in place where only the file may be. Returns false on failure.
class IEcrivainProfil {
public:
    virtual ~IEcrivainProfil() = default;
    virtual bool WritePrivateProfileString(const std::wstring& section, const std::wstring& cle,
                                           const std::wstring& valeur, const std::wstring& fichier) = 0;
    // The same, always written in place into the existing file, with no right but reading and
    // writing its data: a file users may write in a folder they may not. Never creates it.
    virtual bool EcritSurPlace(const std::wstring& section, const std::wstring& cle, const std::wstring& valeur,
                               const std::wstring& fichier) = 0;
    // A file whose replacement a crash stopped half-way exists only under its backup name
    // (Remplacement::Sauvegarde): puts it back under its own. Returns the file to read: `fichier`,
    // or the backup when it could not be put back (a user who may not rename in the folder).
    virtual std::wstring Recupere(const std::wstring& fichier) = 0;
    // The Windows error code of the last failed write (ERROR_ACCESS_DENIED = 5…); a read-only
    // file is never written (ErreurLectureSeule).
    virtual unsigned long DerniereErreur() const = 0;
};

// What the Authenticode check of an update found.
enum class VerdictSignature {
    Autorisee,           // valid, and its signer's chain holds an allowed thumbprint
    NonSignee,           // no signature
    Alteree,             // changed since it was signed
    NonApprouvee,        // a chain to no trusted root, an expired or revoked certificate…
    EditeurNonAutorise,  // valid, but signed by none of the allowed publishers
};

// Who signed an update: the subject of the signer's certificate and its SHA-1 thumbprint
// (40 upper-case hex digits, as Windows shows it).
struct Signataire {
    std::wstring sujet;
    std::wstring empreinte;
};

// The update about to start, opened for reading with read sharing only: until it is closed,
// nobody can change, rename or delete it, so what was checked is what starts.
class IMiseAJourTenue {
public:
    virtual ~IMiseAJourTenue() = default;
    // Checks its signature and its signer's chain, then whether one of the chain's certificates
    // has one of `empreintes` (SHA-1 or SHA-256, upper-case hex). `signataire` receives the
    // signer when there is one.
    virtual VerdictSignature Verifie(const std::vector<std::wstring>& empreintes, Signataire& signataire) = 0;
    // The signer its signature names, unchecked; nothing when it has none.
    virtual std::optional<Signataire> LitSignataire() = 0;
    // The file's full path as the system resolves it from the handle: a SUBST letter or a
    // mapped drive given as the folder or the share it stands for, which another logon session
    // reaches too. Empty when it cannot be told.
    virtual std::wstring CheminFinal() = 0;
    // The owner and access list of the file, or of its folder; nothing when they cannot be read.
    virtual std::optional<Acces::Objet> Securite(bool dossier) = 0;
};

// Starts exactly the program file `cheminProgramme` without waiting for it, with `repertoire` as
// its working directory (as a double click in Explorer would). Returns a WinExec-style result:
// greater than 30 when started; 0, 2, 3 or 11 on failure, DerniereErreur() then saying why.
class ILanceurProgrammes {
public:
    virtual ~ILanceurProgrammes() = default;
    virtual unsigned Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage) = 0;
    // The same start through the shell, which shows the administrator's consent prompt for a
    // program that requires it. Same results; ERROR_CANCELLED when the user refused.
    virtual unsigned LanceAvecElevation(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                        int etatAffichage) = 0;
    // The same start in a job object of the launcher's, which every process of the update joins,
    // with no breakaway asked for: for AttendFin. Where nobody is at the screen.
    virtual unsigned LanceSuivi(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                int etatAffichage) = 0;
    // Waits at most `delaiMs` for the process the last LanceSuivi started, not for its children:
    // its exit code; nothing when the time ran out, every process of its job then ended.
    virtual std::optional<unsigned long> AttendFin(std::uint64_t delaiMs) = 0;
    // Opens the update for its check and its start (IMiseAJourTenue); nullptr when it cannot be
    // opened, DerniereErreur() then saying why (ERROR_SHARING_VIOLATION, 32, for a file still
    // being copied).
    virtual std::unique_ptr<IMiseAJourTenue> Tiens(const std::wstring& cheminProgramme) = 0;
    // The Windows error code of the last failed start.
    virtual unsigned long DerniereErreur() const = 0;
};

// Windows error codes the logic decides on.
inline constexpr unsigned long ErreurAccesRefuse = 5;         // ERROR_ACCESS_DENIED
inline constexpr unsigned long ErreurElevationRequise = 740;  // ERROR_ELEVATION_REQUIRED
inline constexpr unsigned long ErreurAnnule = 1223;           // ERROR_CANCELLED
inline constexpr unsigned long ErreurLectureSeule = 6009;     // ERROR_FILE_READ_ONLY

// One run at a time per settings file, across every process and session of the machine: a lock
// named after the file's full path. Taking it again while holding it is allowed; each taking is
// given back once.
class IVerrouReglages {
public:
    virtual ~IVerrouReglages() = default;
    // Waits at most `delaiMs` for the lock of `cheminReglages`. True when this process now holds
    // it, also when its last owner ended without giving it back.
    virtual bool Prend(const std::wstring& cheminReglages, unsigned long delaiMs) = 0;
    virtual void Rend() = 0;
    // The Windows error code of the last refusal (WAIT_TIMEOUT, 258, when the wait ran out).
    virtual unsigned long DerniereErreur() const = 0;
    // The owner's SID when the lock was refused because someone other than SYSTEM or the
    // Administrators made it (VerrouNonFiable); else empty.
    virtual std::wstring ProprietaireRefuse() const { return {}; }
};

// The refusal of a machine-start lock whose name another account took first: ERROR_INVALID_OWNER.
inline constexpr unsigned long VerrouNonFiable = 1307;

// The refusal of a lock whose wait ran out: another program held it all along.
inline constexpr unsigned long AttenteEcoulee = 258;  // WAIT_TIMEOUT

// Buttons values, with their icon.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbCritical = 16;
inline constexpr int vbYesNoQuestion = 36;
inline constexpr int vbInformation = 64;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;
inline constexpr int vbOK = 1;

class IBoitesMessage {
public:
    virtual ~IBoitesMessage() = default;
    // Modal. Without a title the box shows the program title "Tolvane". Returns the button.
    virtual int MsgBox(const std::wstring& texte, int boutons,
                       const std::optional<std::wstring>& titre = std::nullopt) = 0;
};

class IProcessus {
public:
    virtual ~IProcessus() = default;
    // Directory of the running program, without trailing separator except for a drive root.
    virtual std::wstring RepertoireApplication() = 0;
    // Ends the process at once: no window is asked, no further handler runs.
    [[noreturn]] virtual void FinProcessus() = 0;
    // The system's text for a Windows error code, in French where the system has it, without
    // the trailing line break: messages and events say why, not only that, something failed.
    virtual std::wstring TexteErreur(unsigned long code) = 0;
    // True when nobody can see this process's windows: it runs in session 0 (a task or a
    // service as the system account, unseen since Windows Vista), or on a window station that
    // is not visible. False when it cannot be told.
    virtual bool PersonneALEcran() = 0;
    // True in session 0, where the system account's tasks run and no user's program ever does.
    virtual bool EnSessionZero() = 0;
};

// How the log shows an event.
enum class Gravite { Information, Avertissement, Erreur };

class IJournalEvenements {
public:
    virtual ~IJournalEvenements() = default;
    // Writes the event `code` of the message table with its insertion strings (%1, %2…). Never
    // shows anything and never fails the caller: an event that cannot be written is lost.
    virtual void Signale(std::uint16_t code, Gravite gravite, const std::vector<std::wstring>& chaines) = 0;
};

// Time for the waits of the logic: the real clock sleeps, the tests' clock only counts.
class IHorloge {
public:
    virtual ~IHorloge() = default;
    // Milliseconds from an arbitrary origin, never going back.
    virtual std::uint64_t Millisecondes() = 0;
    // Returns after `ms` milliseconds, without using the processor in between.
    virtual void Attend(unsigned ms) = 0;
};

// Randomness no two machines share: never drawn from the clock or the uptime, which machines
// started together share.
class IAleatoire {
public:
    virtual ~IAleatoire() = default;
    // Uniform in [0, maximum].
    virtual std::uint64_t Entre(std::uint64_t maximum) = 0;
};

class Fenetre;

// Shows windows. A modal showing loads the window (which runs its Form_Load), shows it, and
// returns only once the window has been unloaded.
class IHoteFenetres {
public:
    virtual ~IHoteFenetres() = default;
    // False when the window could not be created: it is unloaded again and the user answered
    // nothing. The caller decides what that means; never a choice.
    [[nodiscard]] virtual bool AfficheModal(Fenetre& fenetre) = 0;
    // Shows an already loaded window and runs the message loop until the process ends. False
    // when the window could not be created.
    [[nodiscard]] virtual bool AfficheEtAttend(Fenetre& fenetre) = 0;
    // True while a window shown by AfficheEtAttend (the main window) is on screen.
    virtual bool PrincipaleVisible() const = 0;
};

// Every service, handed from the entry point (or a test) to the logic. Lives for the whole run.
struct Services {
    // Makes the file-system object; called once, on first use.
    std::function<std::unique_ptr<ISystemeFichiers>()> CreeSystemeFichiers;
    IListeurRepertoire* listeur = nullptr;
    ISourceFichiers* fichiers = nullptr;
    IEcrivainProfil* profil = nullptr;
    ILanceurProgrammes* lanceur = nullptr;
    IBoitesMessage* messages = nullptr;
    IProcessus* processus = nullptr;
    IHoteFenetres* fenetres = nullptr;
    IJournalEvenements* journal = nullptr;
    // The lock every session shares, and the machine-start run's own, which only SYSTEM and the
    // Administrators may take: a user holding the shared one cannot starve the system account.
    IVerrouReglages* verrou = nullptr;
    IVerrouReglages* verrouPoste = nullptr;
    IHorloge* horloge = nullptr;
    IAleatoire* aleatoire = nullptr;

    // Set once a settings file stayed busy for the whole of its wait: the other reads of the
    // same run do not wait again (six reads of a locked file would take six times as long).
    bool attenteOuvertureEpuisee = false;

    // Set by the launcher build. It runs at logon, where a window of a process the user did not
    // start may open behind whatever the user clicked meanwhile, and the designed windows have
    // no taskbar button to find it by.
    bool auDemarrageDuPoste = false;
    // The launcher at logon, as long as its main window is not on screen: a window or message
    // box shown then must bring itself forward (a taskbar button, the foreground), and a share
    // not reachable yet is waited for rather than reported.
    bool AvantFenetrePrincipale() const { return auDemarrageDuPoste && !(fenetres && fenetres->PrincipaleVisible()); }

    // The launcher where nobody can see it (a task at machine start): it never shows a window or
    // a box, and every run ends by itself with its event. Asked once, when first needed.
    bool PersonneALEcran() {
        if (!personneALEcran_) personneALEcran_ = auDemarrageDuPoste && processus && processus->PersonneALEcran();
        return *personneALEcran_;
    }

    // A message box, unless nobody can see it: then the answer is OK (No to a question).
    int MsgBox(const std::wstring& texte, int boutons, const std::optional<std::wstring>& titre = std::nullopt) {
        if (PersonneALEcran()) return boutons == vbYesNoQuestion ? vbNo : vbOK;
        return messages->MsgBox(texte, boutons, titre);
    }

    // The file-system object FSO: created by whichever caller needs it first, then kept.
    ISystemeFichiers& FSO() {
        if (!fso_) fso_ = CreeSystemeFichiers();
        return *fso_;
    }

    // Ends the process at once. An implementation that came back would be a fault.
    [[noreturn]] void FinProcessus() {
        processus->FinProcessus();
        std::abort();
    }

private:
    std::unique_ptr<ISystemeFichiers> fso_;
    std::optional<bool> personneALEcran_;
};

}  // namespace tolvane
