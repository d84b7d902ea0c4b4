// Starting the update: CreateProcessW, or the shell when it asks for administrator rights.
#include "ServicesWin32.h"

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <optional>

#include "DpiWin32.h"

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

constexpr wchar_t TexteDemande[] = L"Une mise à jour démarre et demande les droits d'administrateur.";

// A small window of ours, up while the consent prompt is, when nothing else of ours is on
// screen: with no visible owner the prompt flashes in the taskbar instead of coming up. It comes
// to the front only where Windows lets the program take the foreground.
class FenetreDemande {
public:
    FenetreDemande() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW classe{};
        classe.cbSize = sizeof classe;
        classe.lpfnWndProc = DefWindowProcW;
        classe.hInstance = instance;
        classe.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        classe.lpszClassName = L"TolvaneDemande";
        RegisterClassExW(&classe);  // already registered by an earlier start: fails harmlessly
        const UINT dpi = DpiDe(nullptr);
        const int largeur = MulDiv(420, static_cast<int>(dpi), 96), hauteur = MulDiv(90, static_cast<int>(dpi), 96);
        hwnd_ = CreateWindowExW(WS_EX_APPWINDOW, classe.lpszClassName, L"Tolvane", WS_POPUP | WS_CAPTION,
                                (GetSystemMetrics(SM_CXSCREEN) - largeur) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - hauteur) / 2, largeur, hauteur, nullptr, nullptr,
                                instance, nullptr);
        if (!hwnd_) return;
        RECT client{};
        GetClientRect(hwnd_, &client);
        police_ = CreePolice(L"Segoe UI", 9, FW_NORMAL, dpi);
        HWND ligne = CreateWindowExW(0, L"STATIC", TexteDemande, WS_CHILD | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, 0,
                                     0, client.right, client.bottom, hwnd_, nullptr, instance, nullptr);
        if (ligne && police_) SendMessageW(ligne, WM_SETFONT, reinterpret_cast<WPARAM>(police_.get()), FALSE);
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        UpdateWindow(hwnd_);
        SetForegroundWindow(hwnd_);
    }
    ~FenetreDemande() {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    FenetreDemande(const FenetreDemande&) = delete;
    FenetreDemande& operator=(const FenetreDemande&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
    PoigneePolice police_;
};

}  // namespace

bool LanceurWin32::CreeSuspendu(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage,
                                DWORD options, PROCESS_INFORMATION& pi) {
    // The exact file as application name and a quoted command line: an unquoted
    // "C:\d\mon app.exe" would start "C:\d\mon.exe" when that exists. Not WinExec, which waits
    // until the child is idle. Created suspended, then resumed by the caller: none of it runs
    // before it is wholly set up.
    std::wstring ligne = L"\"" + cheminProgramme + L"\"";
    // CreateProcessW wants a full path as the working directory.
    const std::wstring dossier = repertoire.empty() ? std::wstring() : CheminComplet(repertoire);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(etatAffichage);
    if (CreateProcessW(cheminProgramme.c_str(), ligne.data(), nullptr, nullptr, FALSE, options | CREATE_SUSPENDED,
                       nullptr, dossier.empty() ? nullptr : dossier.c_str(), &si, &pi)) {
        erreur_ = 0;
        return true;
    }
    erreur_ = GetLastError();
    // A missing working directory is answered first; here it is the program's own folder, so
    // the program's path is what was not found.
    if (erreur_ == ERROR_DIRECTORY) erreur_ = ERROR_PATH_NOT_FOUND;
    return false;
}

unsigned LanceurWin32::Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage) {
    // Out of the launcher's job, if it runs in one (a scheduled task's): the task's end, or its
    // time limit, must not end the update with it. A job that forbids it refuses the flag.
    for (const DWORD options : {DWORD{CREATE_BREAKAWAY_FROM_JOB}, DWORD{0}}) {
        PROCESS_INFORMATION pi{};
        if (CreeSuspendu(cheminProgramme, repertoire, etatAffichage, options, pi)) {
            const ProcessusCree ferme(pi);
            ResumeThread(pi.hThread);
            return 33;
        }
        if (erreur_ != ERROR_ACCESS_DENIED) break;
    }
    return ResultatWinExec(erreur_);
}

unsigned LanceurWin32::LanceSuivi(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                  int etatAffichage) {
    // A job of ours, which every process the update starts joins, so that the time limit ends
    // them all. It nests in Task Scheduler's job on Windows 10 and 11, whose job refuses a
    // breakaway; closing it ends nothing (no KILL_ON_JOB_CLOSE).
    job_.Reinitialise(CreateJobObjectW(nullptr, nullptr));
    PROCESS_INFORMATION pi{};
    if (!CreeSuspendu(cheminProgramme, repertoire, etatAffichage, 0, pi)) return ResultatWinExec(erreur_);
    ProcessusCree cree(pi);
    if (job_) AssignProcessToJobObject(job_.get(), pi.hProcess);
    ResumeThread(pi.hThread);
    processusSuivi_ = std::move(cree.processus);
    return 33;
}

std::optional<unsigned long> LanceurWin32::AttendFin(std::uint64_t delaiMs) {
    if (!processusSuivi_) return std::nullopt;
    const DWORD attente = static_cast<DWORD>(std::min<std::uint64_t>(delaiMs, INFINITE - 1));
    if (WaitForSingleObject(processusSuivi_.get(), attente) != WAIT_OBJECT_0) {
        // Its children too; work already handed to a service (Windows Installer's) goes on.
        if (!job_ || !TerminateJobObject(job_.get(), ERROR_TIMEOUT))
            TerminateProcess(processusSuivi_.get(), ERROR_TIMEOUT);
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(processusSuivi_.get(), &code);
    return code;
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
    HWND proprietaire = proprietaire_ ? proprietaire_() : nullptr;
    std::optional<FenetreDemande> demande;
    if (!proprietaire && !(personneALEcran_ && personneALEcran_())) proprietaire = demande.emplace().hwnd();
    sei.hwnd = proprietaire;
    sei.lpVerb = nullptr;
    sei.lpFile = cheminProgramme.c_str();
    sei.lpDirectory = dossier.empty() ? nullptr : dossier.c_str();
    sei.nShow = etatAffichage;
    // The consent prompt runs in another process: it may take the foreground we have.
    AllowSetForegroundWindow(ASFW_ANY);
    const bool lance = ShellExecuteExW(&sei) != FALSE;
    erreur_ = lance ? 0 : GetLastError();
    if (SUCCEEDED(com)) CoUninitialize();
    return lance ? 33 : ResultatWinExec(erreur_);
}

}  // namespace tolvane::win32
