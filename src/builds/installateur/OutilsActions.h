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

#include "settings/SchemaINI.h"

namespace tolvane::installateur {

// Separates the fields handed to a deferred action; refused inside a value.
inline constexpr wchar_t Separateur = L'\x1f';

// HKLM: what the installations remember of this machine.
inline constexpr wchar_t CleProduit[] = L"Software\\Tolvane";

std::wstring Propriete(MSIHANDLE session, const wchar_t* nom);
// A line in the verbose log (msiexec /l*v).
void Note(MSIHANDLE session, const std::wstring& texte);
// The fields of a deferred action's CustomActionData.
std::vector<std::wstring> Coupe(const std::wstring& texte);
std::wstring Joint(const std::vector<std::wstring>& champs);
// Gives `donnees` to each of `actions` as its CustomActionData. False when it could not.
bool Transmet(MSIHANDLE session, std::initializer_list<const wchar_t*> actions, const std::wstring& donnees);
// How a yes or no travels among those fields.
inline std::wstring Drapeau(bool oui) { return oui ? L"1" : L""; }
// Rollback and commit do not run while rollback is disabled: the install then acts at once.
inline std::wstring SansRetourArriere(MSIHANDLE session) {
    return Drapeau(!Propriete(session, L"RollbackDisabled").empty());
}

bool Existe(const std::wstring& fichier);
// The value a settings file holds for `reglage`, read as the programs read it.
std::optional<std::wstring> LitReglage(const std::wstring& fichier, const SchemaINI::Reglage& reglage);

// A file an install changes is first set aside under this suffix, by renaming it (which keeps
// its access list), and a working copy put back in its place; the rollback puts the original
// back, the commit deletes it.
inline constexpr wchar_t SuffixeSauvegarde[] = L".avant-installation";
// Sets `fichier` aside, if it exists, and puts a copy in its place (`copie`), or nothing where
// the install removes it. False when it could not.
bool MetDeCote(MSIHANDLE session, const std::wstring& fichier, bool copie = true);
// Puts the original back where one was set aside; else deletes `fichier` when it did not exist
// before the install (`existait`). Never fails: a rollback goes on.
void RemetEnPlace(MSIHANDLE session, const std::wstring& fichier, bool existait);
void OublieSauvegarde(const std::wstring& fichier);

// Runs `outil` of the system folder (icacls.exe, schtasks.exe) with `arguments`, its command
// line and its answer in the log; its exit code, or -1 when it did not start.
long LanceOutil(MSIHANDLE session, const wchar_t* outil, const std::wstring& arguments);

}  // namespace tolvane::installateur
