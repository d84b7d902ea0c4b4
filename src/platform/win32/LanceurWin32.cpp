// Starting the update: CreateProcessW, or the shell when it asks for administrator rights.
#include "ServicesWin32.h"

#include <objbase.h>
#include <shellapi.h>

namespace tolvane::win32 {

namespace {

// WinExec's results for the failures the caller tells apart.
unsigned ResultatWinExec(DWORD erreur) {
    switch (erreur) {
    case ERROR_FILE_NOT_FOUND: return 2;
    case ERROR_PATH_NOT_FOUND: return 3;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_EXE_MARKED_INVALID: return 11;
    default: return 0;
    }
}

}  // namespace

unsigned LanceurWin32::Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage) {
    // The exact file as application name and a quoted command line: an unquoted
    // "C:\d\mon app.exe" would start "C:\d\mon.exe" when that exists. Not WinExec, which waits
    // until the child is idle.
    std::wstring ligne = L"\"" + cheminProgramme + L"\"";
    // CreateProcessW wants a full path as the working directory.
    const std::wstring dossier = repertoire.empty() ? std::wstring() : CheminComplet(repertoire);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(etatAffichage);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(cheminProgramme.c_str(), ligne.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       dossier.empty() ? nullptr : dossier.c_str(), &si, &pi)) {
        const ProcessusCree ferme(pi);
        erreur_ = 0;
        return 33;
    }
    erreur_ = GetLastError();
    // A missing working directory is answered first; here it is the program's own folder, so
    // the program's path is what was not found.
    if (erreur_ == ERROR_DIRECTORY) erreur_ = ERROR_PATH_NOT_FOUND;
    return ResultatWinExec(erreur_);
}

unsigned LanceurWin32::LanceAvecElevation(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                          int etatAffichage) {
    // The shell's handlers want an apartment-threaded COM; DDE is never needed to start a file.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring dossier = repertoire.empty() ? std::wstring() : CheminComplet(repertoire);
    SHELLEXECUTEINFOW sei{};
    sei.cbSize = sizeof sei;
    // NOASYNC: the process ends right after. FLAG_NO_UI: the caller tells the user. NOZONECHECKS:
    // no "Open File - Security Warning" for a file from a share, as with CreateProcessW.
    sei.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
    sei.hwnd = proprietaire_ ? proprietaire_() : nullptr;
    sei.lpVerb = nullptr;
    sei.lpFile = cheminProgramme.c_str();
    sei.lpDirectory = dossier.empty() ? nullptr : dossier.c_str();
    sei.nShow = etatAffichage;
    const bool lance = ShellExecuteExW(&sei) != FALSE;
    erreur_ = lance ? 0 : GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    return lance ? 33 : ResultatWinExec(erreur_);
}

}  // namespace tolvane::win32
