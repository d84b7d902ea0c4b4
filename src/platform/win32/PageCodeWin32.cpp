// The system's ANSI code page, through the system's own tables.
#include <windows.h>

#include "platform/PageCode.h"

namespace tolvane {

std::wstring DepuisPageCode(std::string_view octets) {
    if (octets.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, octets.data(), static_cast<int>(octets.size()), nullptr, 0);
    std::wstring s(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, octets.data(), static_cast<int>(octets.size()), s.data(), n);
    return s;
}

std::string VersPageCode(std::wstring_view texte) {
    if (texte.empty()) return {};
    // No best-fit mapping ("Ā" would become "A"): a character the code page lacks becomes '?',
    // the same answer as the native build's Windows-1252 table.
    const DWORD options = WC_NO_BEST_FIT_CHARS;
    const int n = WideCharToMultiByte(CP_ACP, options, texte.data(), static_cast<int>(texte.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, options, texte.data(), static_cast<int>(texte.size()), s.data(), n,
                        nullptr, nullptr);
    return s;
}

}  // namespace tolvane
