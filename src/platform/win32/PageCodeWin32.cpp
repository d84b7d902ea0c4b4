// The system's ANSI code page, through the system's own tables.
#include <windows.h>

#include <optional>

#include "platform/ChoixSysteme.h"
#include "platform/PageCode.h"

namespace tolvane {

std::wstring DepuisPageCode(std::string_view octets) {
    if (octets.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, octets.data(), static_cast<int>(octets.size()), nullptr, 0);
    std::wstring s(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, octets.data(), static_cast<int>(octets.size()), s.data(), n);
    return s;
}

namespace {
// The text in the code page with these flags; nothing when the system refuses them.
std::optional<std::string> Convertit(std::wstring_view texte, DWORD options) {
    const int n = WideCharToMultiByte(CP_ACP, options, texte.data(), static_cast<int>(texte.size()), nullptr, 0,
                                      nullptr, nullptr);
    if (n <= 0) return std::nullopt;
    std::string s(static_cast<std::size_t>(n), '\0');
    if (WideCharToMultiByte(CP_ACP, options, texte.data(), static_cast<int>(texte.size()), s.data(), n, nullptr,
                            nullptr) != n)
        return std::nullopt;
    return s;
}
}  // namespace

std::string VersPageCode(std::wstring_view texte) {
    if (texte.empty()) return {};
    // No best-fit mapping ("Ā" would become "A"): a character the code page lacks becomes '?',
    // the same answer as the native build's Windows-1252 table. Where the code page takes no
    // flag (UTF-8 above all) or refuses them anyway, the plain conversion: an empty string
    // would make every write of the settings fail.
    const DWORD options = OptionsVersPageCode(GetACP());
    if (auto s = Convertit(texte, options)) return *s;
    if (options != 0) return Convertit(texte, 0).value_or(std::string());
    return {};
}

}  // namespace tolvane
