// A tiny program the launcher tests start: it records its working directory in
// "<its own path>.dossier", then its command line in "<its own path>.lance", each written under
// another name first so that a reader never sees half. Given "ecrit", "renomme" or "supprime"
// and a file, it does that to the file instead, as another process would, and exits with the
// Windows error (0 when it could).
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
    if (__argc == 3) {
        const std::wstring action = __wargv[1], fichier = __wargv[2];
        bool fait = false;
        if (action == L"ecrit") {
            HANDLE f = CreateFileW(fichier.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
            fait = f != INVALID_HANDLE_VALUE;
            if (fait) CloseHandle(f);
        } else if (action == L"renomme") {
            fait = MoveFileExW(fichier.c_str(), (fichier + L".autre").c_str(), 0) != FALSE;
        } else if (action == L"supprime") {
            fait = DeleteFileW(fichier.c_str()) != FALSE;
        }
        return fait ? 0 : static_cast<int>(GetLastError());
    }
    const std::wstring moi =
        TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetModuleFileNameW(nullptr, tampon, taille); });
    const std::wstring dossier =
        TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetCurrentDirectoryW(taille, tampon); });
    // The command line last: once it is there, the directory is too.
    return Ecrit(moi + L".dossier", dossier) && Ecrit(moi + L".lance", GetCommandLineW()) ? 0 : 1;
}
