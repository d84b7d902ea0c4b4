// The reader of the settings file. Each call opens, reads and closes the file.
#pragma once

#include <optional>
#include <string>

#include "platform/Services.h"

namespace tolvane::Mod_FichierINI {

// True when `Cle` was found in `Section` of `Fichier`; `Valeur` then receives the rest of the
// line after the key and the character that follows it. On False `Valeur` is left as it was.
// Names are compared exactly. A missing file is told to the user; a file that exists but
// cannot be opened is a plain False.
bool LitDansINI(Services& services, const std::wstring& Section, const std::wstring& Cle, std::wstring& Valeur,
                const std::wstring& Fichier);

// A setting the file may lack (SchemaINI::Reglage::horsFenetre): its value, empty when the file
// has none; nothing when the file cannot be read, which must not pass for "not set".
std::optional<std::wstring> LitFacultatif(Services& services, const std::wstring& Section, const std::wstring& Cle,
                                          const std::wstring& Fichier);

// Writes one entry with the profile writer; false on failure. A value is stored on one line:
// its line breaks become blanks, or the file would get stray lines and read back cut. `surPlace`:
// into the existing file only, in place (a file users may write in a folder they may not).
bool EcritDansINI(Services& services, const std::wstring& Section, const std::wstring& Cle, const std::wstring& Valeur,
                  const std::wstring& Fichier, bool surPlace = false);

}  // namespace tolvane::Mod_FichierINI
