// The main window's procedures that decide and act: the load sequence, the run command, the
// launch and the save command.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "launcher/ChampsPrincipaux.h"
#include "platform/Services.h"
#include "settings/Editeurs.h"
#include "settings/SchemaINI.h"

namespace tolvane {

// The stored "Activee" text as a check-box value: trimmed, its leading number taken and
// rounded; nothing when that number is not a check-box value (0 to 2).
std::optional<int> ValeurCaseActivee(std::wstring_view texte);

// How long a program waits for another one working on the same settings file: the launcher
// holding it may be showing the instructions window to a user who is reading them.
inline constexpr unsigned long AttenteVerrouMs = 2 * 60 * 1000;

class ProceduresPrincipales {
public:
    ProceduresPrincipales(Services& services, ChampsPrincipaux& champs, IFenetresLancement& fenetres,
                          bool modeAutoDuBuild)
        : services_(services), champs_(champs), fenetres_(fenetres), modeAutoDuBuild_(modeAutoDuBuild) {}

    // Start-up: globals, settings into the fields, and in the launcher build the run command.
    void Form_Load();
    // "Essai".
    void Cmd_OK_Click();
    // Launches one file of the directory in TXT_Chemin; ends the process on every path.
    [[noreturn]] void Traitement(const std::wstring& Fichier_a_executer);
    // "Sauver". False when the directory was refused and nothing was written.
    bool Cmd_Sauver_Click();

private:
    // The run command's answer to a file list that could not read its directory. True when
    // the directory can be read after all (the run goes on); false once the user was told why.
    // At start-up in the launcher, a share not reachable yet is waited for.
    bool RepertoireLisible();
    // One setting read from `fichier`, "echec de LitDansINI" when it cannot be; then what it sets.
    bool Lit(const SchemaINI::Reglage& reglage, std::wstring& tampon, const std::wstring& fichier);
    void Applique(SchemaINI::IndiceReglage indice, bool lu, const std::wstring& valeur);
    // One setting written, "echec de WritePrivateProfilesstring" when it cannot be; the value
    // a save writes for it.
    void Ecrit(const SchemaINI::Reglage& reglage, const std::wstring& valeur, const std::wstring& fichier);
    std::wstring ValeurSauvee(SchemaINI::IndiceReglage indice);
    // "echec de WritePrivateProfilesstring", then the Windows reason and the file.
    void MontreEchecEcriture(unsigned long erreur, const std::wstring& fichier);
    // Why a write failed: the system's text, or "fichier en lecture seule" for a file protected
    // on purpose, where the system's would send the user after rights.
    std::wstring RaisonEcriture(unsigned long erreur);
    // Why a folder could not be reached after the wait: the system's text, and for a letter
    // still missing in a limited administrator's session, that it may be the elevated one's.
    std::wstring RaisonLettreAbsente(const std::wstring& lecteur, unsigned long erreur, bool absente);
    // The settings lock around a program's writes (the launcher holds it from its start on).
    // False when it could not be had, erreurVerrou_ then saying why.
    bool PrendVerrou();
    void RendVerrou();
    // The launcher's lock: the machine-start run's own in session 0.
    IVerrouReglages* VerrouDuLanceur();
    // The launcher's taking of it: the run ends when another launcher keeps it (event), and
    // goes on without it when it cannot be had at all (event, sansVerrou_).
    void PrendVerrouDuLanceur();
    // Where the last launched name lives: the record file when it exists, else the settings.
    std::wstring FichierDuDernier();
    // The file to read for `fichier`: itself, or its backup where a crash left only that and it
    // could not be put back; nothing when neither exists.
    std::optional<std::wstring> Recupere(const std::wstring& fichier);
    // The last launched name read into the carrier and DernierFichier.
    void LitDernierFichier();
    // Holds, checks and starts the update (in a job that is waited for, `suivi`); the run ends on
    // a refusal or a failed start. `eleve`: it was started through the consent prompt. Its signer,
    // for the events.
    std::wstring Demarre(const std::wstring& fichier, const Editeurs::Liste& editeurs, bool suivi, bool& eleve);
    // Where nobody is at the screen: the run waits for the update within "Duree_Maximale",
    // tries it again while another installation is in progress, records it only on success,
    // reports its outcome and ends.
    [[noreturn]] void SuitMiseAJour(const std::wstring& fichier, const Editeurs::Liste& editeurs);
    // The minutes of a key of section "Poste"; its default, with an event, when out of bounds.
    int MinutesDuPoste(SchemaINI::IndiceReglage indice);
    // The random wait before the folder is first read, the lock given back meanwhile.
    void AttendDelaiAleatoire();
    // The name whose runs failed, and how many in a row, beside the last launched name.
    struct Echecs {
        std::wstring nom;
        int nombre;
    };
    Echecs LitEchecs();
    // Ends the run (event) where this name has failed too often in a row.
    void AbandonneSiTropDEchecs(const std::wstring& fichier);
    // One more failed run of `fichier`, or (`echec` false) its success.
    void NoteEchecs(const std::wstring& fichier, bool echec);
    // A start that failed: its event, "Echec de WinExec !!!", the end.
    [[noreturn]] void EchoueLancement(const std::wstring& fichier, unsigned long erreur);
    // The allowed publishers; nothing, once told (event, box), when the list is malformed or
    // the settings file could not be read again.
    std::optional<Editeurs::Liste> LitEditeurs();
    // The held update's signature, when publishers are listed (a refusal ends the run), and
    // where nobody is at the screen the rights on it and its folder; its checked signer.
    std::optional<Signataire> VerifieMiseAJour(IMiseAJourTenue& tenue, const Editeurs::Liste& editeurs,
                                               const std::wstring& fichier);
    // A folder, or a file (`avecLeFichier`), that a broad group may change: refused where nobody
    // is at the screen (the run ends), told where someone is.
    void SignaleAccesOuvert(IMiseAJourTenue& tenue, const std::wstring& fichier, bool avecLeFichier);
    // Who signed the update, for the launch event: empty where someone is at the screen and
    // nothing was checked.
    std::wstring TexteSignataire(IMiseAJourTenue& tenue, const std::optional<Signataire>& verifie);
    // Records the launched name in `fichier`; on failure, `erreur` says why.
    bool NoteLancement(const std::wstring& nom, const std::wstring& fichier, unsigned long& erreur);
    Services& services_;
    ChampsPrincipaux& champs_;
    IFenetresLancement& fenetres_;
    const bool modeAutoDuBuild_;
    bool sansVerrou_ = false;
    // The configuration program holds the machine-start lock too.
    bool posteTenu_ = false;
    unsigned long erreurVerrou_ = 0;
};

}  // namespace tolvane
