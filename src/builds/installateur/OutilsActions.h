// What the package's custom actions share: properties, the install log, the data handed to a
// deferred action, and the system's tools run with their answer logged.
#pragma once

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "Configuration.h"
#include "platform/win32/ServicesWin32.h"
#include "settings/SchemaINI.h"

namespace tolvane::installateur {

// Separates the fields handed to a deferred action; refused inside a value.
inline constexpr wchar_t Separateur = L'\x1f';

// HKLM: what the installations remember of this machine.
inline constexpr wchar_t CleProduit[] = L"Software\\Tolvane";

std::wstring Propriete(MSIHANDLE session, const wchar_t* nom);
// A line in the verbose log (msiexec /l*v).
void Note(MSIHANDLE session, const std::wstring& texte);
// Why the install fails: in the log, and in a box where the install shows its windows.
void Erreur(MSIHANDLE session, const std::wstring& texte);
// The fields of a deferred action's CustomActionData.
std::vector<std::wstring> Coupe(const std::wstring& texte);
std::wstring Joint(const std::vector<std::wstring>& champs);
// Gives `donnees` to each of `actions` as its CustomActionData. False when it could not.
bool Transmet(MSIHANDLE session, std::initializer_list<const wchar_t*> actions, const std::wstring& donnees);
// How a yes or no travels among those fields.
inline std::wstring Drapeau(bool oui) { return oui ? L"1" : L""; }
// Rollback and commit do not run while rollback is disabled: the install then acts at once.
// Asked where it is settled, in the script's generation after InstallInitialize.
inline std::wstring SansRetourArriere(MSIHANDLE session) {
    return Drapeau(!MsiGetMode(session, MSIRUNMODE_ROLLBACKENABLED));
}

bool Existe(const std::wstring& fichier);
// The value a settings file holds for `reglage`, read as the programs read it.
std::optional<std::wstring> LitReglage(const std::wstring& fichier, const SchemaINI::Reglage& reglage);
// Writes `valeur` for `reglage` into `fichier` as the programs write it; a refusal is logged.
bool EcritReglage(MSIHANDLE session, const std::wstring& fichier, const SchemaINI::Reglage& reglage,
                  const std::wstring& valeur);

// Sets a copy of `fichier` aside, if it exists, the file staying in place to be written as the
// programs write it (`garde`); or sets the file itself aside where the install removes it.
// False when it could not.
bool MetDeCote(MSIHANDLE session, const std::wstring& fichier, bool garde = true);
// Puts the original's bytes back where a copy was set aside, the file keeping its access list;
// else deletes `fichier` when it did not exist before the install (`existait`). Never fails: a
// rollback goes on.
void RemetEnPlace(MSIHANDLE session, const std::wstring& fichier, bool existait);
void OublieSauvegarde(const std::wstring& fichier);

// The scheduled task \Tolvane that starts `lanceur` as the system account, registered or
// replaced through the Task Scheduler API, the answer in the log. False when it was refused.
bool InscritTache(MSIHANDLE session, const std::wstring& lanceur);
// Removes it, if it is there; never fails: a removal or a rollback goes on.
void SupprimeTache(MSIHANDLE session);

// The settings locks of the programs, the machine-start run's then the shared one, as the
// configuration program takes them: held while an action writes the settings files of `dossier`,
// so that no launcher reads them half written.
class VerrousReglages {
public:
    VerrousReglages(MSIHANDLE session, const std::wstring& dossier);
    ~VerrousReglages();
    VerrousReglages(const VerrousReglages&) = delete;
    VerrousReglages& operator=(const VerrousReglages&) = delete;
    // False when a program kept one of them for the whole wait (logged); a rollback goes on.
    bool Tenus() const { return tenus_; }

private:
    win32::VerrouReglagesWin32 poste_{{}, true}, session_;
    bool posteTenu_ = false, sessionTenu_ = false, tenus_ = false;
};

// Runs `outil` of the system folder (icacls.exe, schtasks.exe) with `arguments`, its command
// line and its answer in the log; its exit code, or -1 when it did not start.
long LanceOutil(MSIHANDLE session, const wchar_t* outil, const std::wstring& arguments);

}  // namespace tolvane::installateur
