// A tiny program the launcher tests start: it records its own command line in
// "<its own path>.lance", written under another name first so that a reader never sees half.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring moi(32768, L'\0');
    moi.resize(GetModuleFileNameW(nullptr, moi.data(), static_cast<DWORD>(moi.size())));
    const std::wstring ligne = GetCommandLineW();
    const std::wstring provisoire = moi + L".tmp", final = moi + L".lance";
    HANDLE f = CreateFileW(provisoire.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    DWORD ecrits = 0;
    WriteFile(f, ligne.data(), static_cast<DWORD>(ligne.size() * sizeof(wchar_t)), &ecrits, nullptr);
    CloseHandle(f);
    return MoveFileExW(provisoire.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
