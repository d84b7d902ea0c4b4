#include "ServicesWin32.h"

#include <algorithm>

#include "Poignees.h"
#include "Ressources.h"
#include "platform/PageCode.h"
#include "platform/Texte.h"

namespace tolvane::win32 {

namespace {

bool EstSeparateur(wchar_t c) { return c == L'\\' || c == L'/'; }

bool EstLettre(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

DWORD Attributs(const std::wstring& chemin) {
    if (chemin.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(chemin.c_str());
}

// The root the drive APIs want: "C:\" or "\\srv\share\". Several of them (GetDriveTypeW above
// all) answer differently under Wine when given anything else.
std::wstring Racine(const std::wstring& lecteur) {
    std::wstring nom = NomLecteur(lecteur);
    if (nom.empty() && lecteur.size() == 1 && EstLettre(lecteur[0])) nom = lecteur + L":";
    if (nom.empty()) return {};
    return nom + L"\\";
}

// No "there is no disk in the drive" box while we probe a drive: the caller tells the user.
class SansBoiteErreurCritique {
public:
    SansBoiteErreurCritique() {
        // SetThreadErrorMode exists from Windows 7 on; older systems only have the process mode.
        using Fn = BOOL(WINAPI*)(DWORD, LPDWORD);
        auto fn = reinterpret_cast<Fn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadErrorMode")));
        const DWORD mode = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;
        if (fn && fn(mode, &avant_)) {
            parThread_ = fn;
        } else {
            avant_ = SetErrorMode(mode);
        }
    }
    ~SansBoiteErreurCritique() {
        if (parThread_)
            parThread_(avant_, nullptr);
        else
            SetErrorMode(avant_);
    }
    SansBoiteErreurCritique(const SansBoiteErreurCritique&) = delete;
    SansBoiteErreurCritique& operator=(const SansBoiteErreurCritique&) = delete;

private:
    BOOL(WINAPI* parThread_)(DWORD, LPDWORD) = nullptr;
    DWORD avant_ = 0;
};

class FluxWin32 final : public IFluxOctets {
public:
    explicit FluxWin32(PoigneeFichier f) : f_(std::move(f)) {}
    std::size_t Lit(char* tampon, std::size_t taille) override {
        const DWORD demande = static_cast<DWORD>(std::min<std::size_t>(taille, 1u << 30));
        DWORD lus = 0;
        if (!ReadFile(f_.get(), tampon, demande, &lus, nullptr)) return 0;
        return lus;
    }

private:
    PoigneeFichier f_;
};

}  // namespace

std::wstring NomLecteur(const std::wstring& chemin) {
    if (chemin.size() >= 2 && EstLettre(chemin[0]) && chemin[1] == L':') return chemin.substr(0, 2);
    if (chemin.size() >= 2 && EstSeparateur(chemin[0]) && EstSeparateur(chemin[1])) {
        // \\server\share: both parts must be there and non-empty.
        const std::size_t finServeur = chemin.find_first_of(L"\\/", 2);
        if (finServeur == std::wstring::npos || finServeur == 2) return {};
        const std::size_t finPartage = chemin.find_first_of(L"\\/", finServeur + 1);
        const std::size_t longueur = (finPartage == std::wstring::npos ? chemin.size() : finPartage);
        if (longueur == finServeur + 1) return {};
        return chemin.substr(0, longueur);
    }
    return {};
}

std::wstring RepertoireDe(const std::wstring& cheminModule) {
    const std::size_t sep = cheminModule.find_last_of(L"\\/");
    if (sep == std::wstring::npos) return {};
    std::wstring rep = cheminModule.substr(0, sep);
    if (rep.size() == 2 && rep[1] == L':') rep += L'\\';
    return rep;
}

bool ActiveControlesCommuns() {
    // One thread shows every window, and they live until the process ends: the context stays
    // active for good.
    static const bool active = [] {
        ACTCTXW contexte{};
        contexte.cbSize = sizeof contexte;
        contexte.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        contexte.hModule = GetModuleHandleW(nullptr);
        contexte.lpResourceName = MAKEINTRESOURCEW(TOLVANE_MANIFESTE_CONTROLES);
        HANDLE h = CreateActCtxW(&contexte);
        if (h == INVALID_HANDLE_VALUE) return false;
        ULONG_PTR cookie = 0;
        if (ActivateActCtx(h, &cookie)) return true;
        ReleaseActCtx(h);
        return false;
    }();
    return active;
}

bool SystemeFichiersWin32::FileExists(const std::wstring& chemin) {
    const DWORD a = Attributs(chemin);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool SystemeFichiersWin32::FolderExists(const std::wstring& chemin) {
    const DWORD a = Attributs(chemin);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool SystemeFichiersWin32::DriveExists(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    if (racine.empty()) return false;
    SansBoiteErreurCritique sansBoite;
    if (racine.size() == 3) {
        const wchar_t lettre = MajusculeSimple(racine[0]);
        if (GetLogicalDrives() & (1u << (lettre - L'A'))) return true;
        // A drive whose medium is missing may be left out of the mask; its type still says it is there.
        const UINT type = GetDriveTypeW(racine.c_str());
        return type != DRIVE_NO_ROOT_DIR && type != DRIVE_UNKNOWN;
    }
    // A network share exists when its root can be reached.
    return Attributs(racine) != INVALID_FILE_ATTRIBUTES;
}

bool SystemeFichiersWin32::IsReady(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    if (racine.empty()) return false;
    SansBoiteErreurCritique sansBoite;
    // Under Wine an empty CD drive still answers its volume information, but its root cannot be
    // opened: both must succeed.
    if (!GetVolumeInformationW(racine.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0))
        return false;
    return Attributs(racine) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> ListeurWin32::ListeFichiers(const std::wstring& repertoire,
                                                      const std::wstring& motif) {
    std::vector<std::wstring> noms;
    if (repertoire.empty()) return noms;
    std::wstring recherche = repertoire;
    if (!EstSeparateur(recherche.back())) recherche += L'\\';
    recherche += motif;

    WIN32_FIND_DATAW donnees{};
    SansBoiteErreurCritique sansBoite;
    PoigneeRecherche r(FindFirstFileExW(recherche.c_str(), FindExInfoBasic, &donnees,
                                        FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    // Vista knows neither the basic level nor the large fetch.
    if (!r && GetLastError() == ERROR_INVALID_PARAMETER)
        r = PoigneeRecherche(FindFirstFileW(recherche.c_str(), &donnees));
    if (!r) return noms;
    constexpr DWORD exclus = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        // The system also matches the pattern against short names ("a.exe1" is "A~1.EXE"):
        // only the long name counts.
        if ((donnees.dwFileAttributes & exclus) == 0 && CorrespondMotif(donnees.cFileName, motif))
            noms.emplace_back(donnees.cFileName);
    } while (FindNextFileW(r.get(), &donnees));
    // The order of FindNextFileW depends on the file system: sort ourselves.
    std::stable_sort(noms.begin(), noms.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareSansCasse(a, b) < 0;
    });
    return noms;
}

std::unique_ptr<IFluxOctets> SourceFichiersWin32::OuvreLecture(const std::wstring& chemin) {
    if (chemin.empty()) return nullptr;
    PoigneeFichier f(CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f) return nullptr;
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open; make sure anyway. The basic
    // information only: GetFileInformationByHandle also asks for the volume's serial number,
    // which under Wine is a round trip to the mount manager's process on every open.
    if (GetFileType(f.get()) != FILE_TYPE_DISK) return nullptr;
    FILE_BASIC_INFO info{};
    if (GetFileInformationByHandleEx(f.get(), FileBasicInfo, &info, sizeof info) &&
        (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    return std::make_unique<FluxWin32>(std::move(f));
}

bool EcrivainProfilWin32::WritePrivateProfileString(const std::wstring& section,
                                                    const std::wstring& cle,
                                                    const std::wstring& valeur,
                                                    const std::wstring& fichier) {
    // The A entry point on purpose: the file is written in the 8-bit code page, as the
    // settings reader expects.
    const std::string s = VersPageCode(section), c = VersPageCode(cle), v = VersPageCode(valeur),
                      f = VersPageCode(fichier);
    if (WritePrivateProfileStringA(s.c_str(), c.c_str(), v.c_str(), f.c_str())) return true;
    erreur_ = GetLastError();
    return false;
}

unsigned LanceurWin32::Lance(const std::wstring& cheminProgramme, int etatAffichage) {
    // The exact file as application name and a quoted command line: an unquoted
    // "C:\d\mon app.exe" would start "C:\d\mon.exe" when that exists. Not WinExec, which waits
    // until the child is idle.
    std::wstring ligne = L"\"" + cheminProgramme + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(etatAffichage);
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(cheminProgramme.c_str(), ligne.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &si, &pi)) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
        return 33;
    }
    // WinExec's results for the failures the caller tells apart.
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND: return 2;
    case ERROR_PATH_NOT_FOUND: return 3;
    case ERROR_BAD_EXE_FORMAT:
    case ERROR_BAD_FORMAT:
    case ERROR_EXE_MACHINE_TYPE_MISMATCH:
    case ERROR_INVALID_EXE_SIGNATURE:
    case ERROR_EXE_MARKED_INVALID:
        return 11;
    default: return 0;
    }
}

int BoitesMessageWin32::MsgBox(const std::wstring& texte, int boutons,
                               const std::optional<std::wstring>& titre) {
    const std::wstring t = titre ? *titre : std::wstring(L"Tolvane");
    // The buttons values of the logic are exactly the MB_ flags (16 = MB_ICONHAND,
    // 36 = MB_YESNO | MB_ICONQUESTION, 64 = MB_ICONINFORMATION) and the results the ID* values.
    ActiveControlesCommuns();
    HWND proprietaire = proprietaire_ ? proprietaire_() : nullptr;
    UINT type = static_cast<UINT>(boutons);
    if (!proprietaire) type |= MB_TASKMODAL;
    return MessageBoxW(proprietaire, texte.c_str(), t.c_str(), type);
}

std::wstring ProcessusWin32::RepertoireApplication() {
    // The path may be longer than MAX_PATH: grow until it fits.
    std::wstring chemin(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, chemin.data(), static_cast<DWORD>(chemin.size()));
        if (n == 0) return {};
        if (n < chemin.size()) {
            chemin.resize(n);
            break;
        }
        chemin.resize(chemin.size() * 2);
    }
    return RepertoireDe(chemin);
}

void ProcessusWin32::FinProcessus() { ExitProcess(0); }

std::wstring ProcessusWin32::TexteErreur(unsigned long code) {
    // French first; a system without the French messages answers in its own language.
    constexpr DWORD options =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    wchar_t* texte = nullptr;
    DWORD n = 0;
    for (const DWORD langue : {static_cast<DWORD>(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)), DWORD{0}}) {
        n = FormatMessageW(options, nullptr, code, langue, reinterpret_cast<LPWSTR>(&texte), 0, nullptr);
        if (n) break;
    }
    std::wstring s = n ? std::wstring(texte, n) : L"Erreur " + std::to_wstring(code);
    if (texte) LocalFree(texte);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ')) s.pop_back();
    return s;
}

}  // namespace tolvane::win32
