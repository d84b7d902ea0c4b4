// What the package's custom actions share: properties, the install log, the data handed to a
// deferred action, and the system's tools run with their answer logged.
#pragma once

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

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

// Runs `outil` of the system folder (icacls.exe, schtasks.exe) with `arguments`, its command
// line and its answer in the log; its exit code, or -1 when it did not start.
long LanceOutil(MSIHANDLE session, const wchar_t* outil, const std::wstring& arguments);

}  // namespace tolvane::installateur
