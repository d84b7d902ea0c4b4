// How the launcher is to start after an install, and how its rollback puts back what the machine
// had: the mode (SESSION, the Run value; POSTE, the scheduled task; empty, neither) and the folder
// the launcher is registered from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Texte.h"

namespace tolvane::installateur {

inline constexpr wchar_t ModeSession[] = L"SESSION";
inline constexpr wchar_t ModePoste[] = L"POSTE";

struct Demarrage {
    std::wstring mode, dossier;
    bool operator==(const Demarrage&) const = default;
};

// DEMARRAGE as given, case aside, SESSION when not given (the remembered mode was copied into it
// before); nothing for an unknown one, which fails the install.
inline std::optional<std::wstring> ModeDemande(std::wstring_view demarrage) {
    if (demarrage.empty() || EgalSansCasse(demarrage, ModeSession)) return ModeSession;
    if (EgalSansCasse(demarrage, ModePoste)) return ModePoste;
    return std::nullopt;
}

// What a rollback registers: the mode the machine had, from the folder it had it in (an upgrade
// may have moved the product, and the rollback deletes the new folder); the new folder where no
// earlier one is known.
inline Demarrage Retour(const Demarrage& applique, std::wstring_view modeAvant, std::wstring_view dossierAvant) {
    return {std::wstring(modeAvant), dossierAvant.empty() ? applique.dossier : std::wstring(dossierAvant)};
}

}  // namespace tolvane::installateur
