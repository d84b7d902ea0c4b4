// Conversions to and from the system's 8-bit code page: on Windows the ANSI code page
// (CP_ACP), in the native build Windows-1252, so that files match what a French Windows writes.
#pragma once

#include <string>
#include <string_view>

namespace tolvane {

std::wstring DepuisPageCode(std::string_view octets);
// Characters the code page lacks become '?', as WideCharToMultiByte does by default.
std::string VersPageCode(std::wstring_view texte);

// The text as it reads back from a file written in the code page: what the settings will hold.
inline std::wstring ParLaPageCode(std::wstring_view texte) { return DepuisPageCode(VersPageCode(texte)); }

}  // namespace tolvane
