// Probe program for the end-to-end tests. Copied under the names a test needs (setup.exe,
// "maj 2.exe"…), it records that it was started: it appends to sonde.log, in UTF-8, the line
//
//   debut <TAB> pid <TAB> own full path <TAB> command line <TAB> current directory
//
// sonde.log is written in the folder named by SONDE_JOURNAL, or beside the probe. With
// SONDE_ATTENTE=n it then waits n ms and appends the same line starting with "fin", so that a
// test can tell it outlived the program that started it. SONDE_CODE=n sets its exit code.
// SONDE_ENFANT=1 first starts a copy of itself, without that variable, as an installer starts
// its own helpers.
// GUI subsystem: no console window; no message loop, so a launcher that waits for the child to
// go idle would show up as a delay, not as a hang of the probe.
#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/win32/Poignees.h"

namespace {

using tolvane::win32::TexteAgrandi;

std::wstring Variable(const wchar_t* nom) {
    return TexteAgrandi([&](wchar_t* tampon, DWORD taille) { return GetEnvironmentVariableW(nom, tampon, taille); });
}

std::string EnUtf8(const std::wstring& texte) {
    if (texte.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0, nullptr, nullptr);
    std::string resultat(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), resultat.data(), n, nullptr, nullptr);
    return resultat;
}

std::wstring CheminModule() {
    return TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetModuleFileNameW(nullptr, tampon, taille); });
}

std::wstring RepertoireCourant() {
    return TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetCurrentDirectoryW(taille, tampon); });
}

void Journalise(const std::wstring& evenement, const std::wstring& chemin) {
    std::wstring dossier = Variable(L"SONDE_JOURNAL");
    if (dossier.empty()) {
        size_t barre = chemin.find_last_of(L'\\');
        dossier = barre == std::wstring::npos ? L"." : chemin.substr(0, barre);
    }
    std::wstring journal = dossier + L"\\sonde.log";
    std::wstring ligne = evenement + L"\t" + std::to_wstring(GetCurrentProcessId()) + L"\t" + chemin + L"\t" +
                         GetCommandLineW() + L"\t" + RepertoireCourant() + L"\n";
    std::string octets = EnUtf8(ligne);
    // Several probes may start at once: open for appending only, share everything, one write
    // per line, and retry briefly while another probe holds the file.
    for (int essai = 0; essai < 200; ++essai) {
        HANDLE f =
            CreateFileW(journal.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD ecrits = 0;
            WriteFile(f, octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
            CloseHandle(f);
            return;
        }
        Sleep(50);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring chemin = CheminModule();
    Journalise(L"debut", chemin);
    if (!Variable(L"SONDE_ENFANT").empty()) {
        SetEnvironmentVariableW(L"SONDE_ENFANT", nullptr);
        std::wstring ligne = L"\"" + chemin + L"\" enfant";
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(chemin.c_str(), ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    }
    std::wstring attente = Variable(L"SONDE_ATTENTE");
    if (!attente.empty()) {
        Sleep(static_cast<DWORD>(std::wcstoul(attente.c_str(), nullptr, 10)));
        Journalise(L"fin", chemin);
    }
    std::wstring code = Variable(L"SONDE_CODE");
    return code.empty() ? 0 : static_cast<int>(std::wcstol(code.c_str(), nullptr, 10));
}
