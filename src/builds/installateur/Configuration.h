// What the package takes from whoever runs it, and what its program folder may hold: rules with
// no Windows in them, checked by the native tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/Remplacement.h"
#include "platform/Texte.h"

namespace tolvane::installateur {

// The public properties that choose what the system account runs. Each must also be listed in
// SecureCustomProperties (CMakeLists.txt): without it, an administrator who approves the consent
// prompt from an ordinary prompt has a filtered client, whose properties Windows Installer
// drops.
inline constexpr const wchar_t* ProprietesConfiguration[] = {
    L"CHEMIN", L"OPTION", L"TITRE", L"INSTRUCTIONS", L"EDITEURS", L"DELAI_ALEATOIRE", L"DUREE_MAXIMALE", L"DEMARRAGE"};

// Whether the configuration properties of this run are used. A maintenance or repair run of the
// installed per-machine product may be started by any user, and those listed in
// SecureCustomProperties reach the actions that run as SYSTEM; Windows Installer says the run
// restricts public properties (RestrictedUserControl) when its user is not an administrator with
// a full token. Privileged and AdminUser cannot tell: both are set for any user's run of a
// managed product. A first install or an upgrade needs the consent prompt, which only an
// administrator can answer.
constexpr bool ConfigurationRecevable(bool installe, bool restreint) { return !(installe && restreint); }

// A file an install changes is first copied aside under this suffix, and stays in place with its
// access list; the rollback puts the copy's bytes back into it, the commit deletes the copy.
inline constexpr wchar_t SuffixeSauvegarde[] = L".avant-installation";

// The files the program folder may hold: the package's own, the settings files and the copies
// set aside by the package or by the profile writer (ReglagesWin32.cpp). Anything else may be a
// DLL planted for the programs to load.
inline bool FichierDuDossier(std::wstring_view nom) {
    for (const wchar_t* programme : {L"Tolvane.exe", L"Tolvane_Lanceur.exe"})
        if (EgalSansCasse(nom, programme)) return true;
    for (const wchar_t* reglages : {L"Tolvane.ini", L"Tolvane_Dernier.ini"}) {
        for (const wchar_t* suffixe : {L"", SuffixeSauvegarde, L".ancien", L".nouveau"})
            if (EgalSansCasse(nom, std::wstring(reglages) + suffixe)) return true;
        if (Remplacement::EstTemporaire(nom, reglages)) return true;
    }
    return false;
}

}  // namespace tolvane::installateur
