// A tiny program the launcher tests start: it records its working directory in
// "<its own path>.dossier", then its command line in "<its own path>.lance", each written under
// another name first so that a reader never sees half.
#include <windows.h>

#include <string>

#include "platform/win32/Poignees.h"

namespace {

bool Ecrit(const std::wstring& chemin, const std::wstring& texte) {
    const std::wstring provisoire = chemin + L".tmp";
    HANDLE f = CreateFileW(provisoire.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD ecrits = 0;
    WriteFile(f, texte.data(), static_cast<DWORD>(texte.size() * sizeof(wchar_t)), &ecrits, nullptr);
    CloseHandle(f);
    return MoveFileExW(provisoire.c_str(), chemin.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using tolvane::win32::TexteAgrandi;
    const std::wstring moi =
        TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetModuleFileNameW(nullptr, tampon, taille); });
    const std::wstring dossier =
        TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetCurrentDirectoryW(taille, tampon); });
    // The command line last: once it is there, the directory is too.
    return Ecrit(moi + L".dossier", dossier) && Ecrit(moi + L".lance", GetCommandLineW()) ? 0 : 1;
}
