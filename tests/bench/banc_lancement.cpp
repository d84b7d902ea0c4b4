// Launcher benchmark, run under Wine: the time from the start of a process to the start of the
// program it launches, for Tolvane_Lanceur.exe and two baselines, interleaved round by round.
//   banc_lancement <racine> <fichiers> <tours> <Tolvane_Lanceur.exe> <plancher.exe> <chrono_sonde.exe>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::wstring racine;
std::wstring fichierTemps;

void Ecrit(const std::wstring& chemin, const std::string& octets) {
    HANDLE f = CreateFileW(chemin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    if (f != INVALID_HANDLE_VALUE) {
        WriteFile(f, octets.data(), static_cast<DWORD>(octets.size()), &n, nullptr);
        CloseHandle(f);
    }
}

std::string Utf8VersAnsi(const std::wstring& w) {
    const int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    s.pop_back();
    return s;
}

// A directory of `fichiers` files, one of them the probe as maj.exe; kept between runs.
void PrepareRepertoire(const std::wstring& dossier, int fichiers, const std::wstring& sonde) {
    CreateDirectoryW(dossier.c_str(), nullptr);
    CopyFileW(sonde.c_str(), (dossier + L"\\maj.exe").c_str(), FALSE);
    for (int i = 1; i < fichiers; ++i) {
        wchar_t nom[32];
        wsprintfW(nom, L"\\fichier%06d.txt", i);
        const std::wstring chemin = dossier + nom;
        if (GetFileAttributesW(chemin.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
        HANDLE f = CreateFileW(chemin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    }
}

double Frequence() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
}

// Milliseconds from the process start to the probe's own record; negative on failure.
double Mesure(const std::wstring& application, std::wstring ligne, const std::wstring& dossier) {
    DeleteFileW(fichierTemps.c_str());
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER t0;
    QueryPerformanceCounter(&t0);
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), ligne.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, dossier.c_str(), &si, &pi))
        return -1;
    double ms = -1;
    for (int essai = 0; essai < 30000; ++essai) {
        HANDLE f = CreateFileW(fichierTemps.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            char texte[32] = {};
            DWORD n = 0;
            ReadFile(f, texte, sizeof texte - 1, &n, nullptr);
            CloseHandle(f);
            ms = (static_cast<double>(_atoi64(texte)) - static_cast<double>(t0.QuadPart)) * 1000.0 / Frequence();
            break;
        }
        Sleep(1);
    }
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    Sleep(30);  // let the probe finish exiting before the next round
    return ms;
}

double Mediane(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 7) {
        std::fputs("usage: banc_lancement racine fichiers tours lanceur plancher sonde\n", stderr);
        return 2;
    }
    racine = argv[1];
    const int fichiers = _wtoi(argv[2]);
    const int tours = _wtoi(argv[3]);
    CreateDirectoryW(racine.c_str(), nullptr);
    const std::wstring maj = racine + L"\\maj";
    const std::wstring lanceurDossier = racine + L"\\lanceur";
    PrepareRepertoire(maj, fichiers, argv[6]);
    CreateDirectoryW(lanceurDossier.c_str(), nullptr);
    const std::wstring lanceur = lanceurDossier + L"\\Tolvane_Lanceur.exe";
    CopyFileW(argv[4], lanceur.c_str(), FALSE);
    Ecrit(lanceurDossier + L"\\Tolvane.ini",
          "[Chemin]\r\nChemin_Demarrage=" + Utf8VersAnsi(maj) +
              "\r\n[Option]\r\nOption_Demarrage=Toujours_lancer\r\n[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n"
              "[Instructions]\r\nActivee=0\r\nTitre_Fenetre=TITRE\r\nInstructions=rien\r\n");
    const std::wstring lot = racine + L"\\lance.bat";
    // Unquoted set: Wine's cmd.exe does not expand a quoted wildcard (the path has no blank).
    Ecrit(lot, "@echo off\r\nfor %%f in (" + Utf8VersAnsi(maj) + "\\*.exe) do start \"\" \"%%f\"\r\nexit\r\n");
    fichierTemps = racine + L"\\sonde.t";
    SetEnvironmentVariableW(L"CHRONO_SONDE", fichierTemps.c_str());

    const std::wstring plancher = argv[5];
    std::vector<double> a, b, c, ab, ac;
    std::printf(
        "| tour | Tolvane_Lanceur (ms) | plancher (ms) | lot cmd.exe (ms) | lanceur/plancher | lanceur/lot |\n");
    std::printf("|---:|---:|---:|---:|---:|---:|\n");
    for (int tour = 0; tour <= tours; ++tour) {
        const double ta = Mesure(lanceur, L"\"" + lanceur + L"\"", lanceurDossier);
        const double tb = Mesure(plancher, L"\"" + plancher + L"\" " + maj, racine);
        const double tc = Mesure(L"", L"cmd.exe /c \"" + lot + L"\"", racine);
        if (ta < 0 || tb < 0 || tc < 0) {
            std::fprintf(stderr, "round %d: a program did not start the probe (%.1f %.1f %.1f)\n", tour, ta, tb, tc);
            return 1;
        }
        if (tour == 0) continue;  // warm-up: first loads from disk
        a.push_back(ta);
        b.push_back(tb);
        c.push_back(tc);
        ab.push_back(ta / tb);
        ac.push_back(ta / tc);
        std::printf("| %d | %.1f | %.1f | %.1f | %.3f | %.3f |\n", tour, ta, tb, tc, ta / tb, ta / tc);
    }
    std::printf("| **médiane** | **%.1f** | **%.1f** | **%.1f** | **%.3f** | **%.3f** |\n", Mediane(a), Mediane(b),
                Mediane(c), Mediane(ab), Mediane(ac));
    return 0;
}
