// An object's owner and access list read as the access rule (platform/Acces.h) weighs them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/Acces.h"

namespace tolvane::win32 {

// "S-1-5-18" and the like; empty when it cannot be written.
std::wstring TexteSid(PSID sid);

// The owner and the entries of the list of `objet`, a handle opened with READ_CONTROL; nothing
// when they cannot be read, `erreur` then saying why.
std::optional<Acces::Objet> LitSecurite(HANDLE objet, const std::wstring& chemin, Acces::Genre genre, DWORD& erreur);

}  // namespace tolvane::win32
