// How the Windows layer calls the system, decided from what the system answers. Kept apart from
// the calls (platform/win32) so that the decisions are tested natively: Wine accepts what real
// Windows refuses in both cases below.
#pragma once

#include <string_view>

namespace tolvane {

// WC_NO_BEST_FIT_CHARS: a character the code page lacks becomes '?' instead of a look-alike.
inline constexpr unsigned long SansEquivalentApproche = 0x400;

// The WideCharToMultiByte flags for the code page `pageCode`. UTF-8 (the "Beta: Unicode UTF-8"
// option of Windows 10/11), GB18030 and a few others refuse every flag but
// WC_ERR_INVALID_CHARS, and the call then fails outright: they get none.
unsigned long OptionsVersPageCode(unsigned pageCode);

// Whether a probe of a drive's root (its attributes, its volume information) shows the drive is
// there. On a share, users are often allowed into a sub-folder only: "access denied" on the
// root of "\\serveur\partage" proves the share answered, and the folder check then decides.
bool RacineAtteinte(std::wstring_view lecteur, bool reussie, unsigned long erreur);

}  // namespace tolvane
