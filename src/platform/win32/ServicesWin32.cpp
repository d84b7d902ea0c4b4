#include "ServicesWin32.h"

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

#include "FonctionsDynamiques.h"
#include "Poignees.h"
#include "Ressources.h"
#include "platform/Chemins.h"
#include "platform/ChoixSysteme.h"
#include "platform/PageCode.h"
#include "platform/Texte.h"

namespace tolvane::win32 {

namespace {

DWORD Attributs(const std::wstring& chemin) {
    if (chemin.empty()) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(chemin.c_str());
}

// The root the drive APIs want: "C:\" or "\\srv\share\". Several of them (GetDriveTypeW above
// all) answer differently under Wine when given anything else.
std::wstring Racine(const std::wstring& lecteur) {
    std::wstring nom = NomLecteur(lecteur);
    if (nom.empty() && lecteur.size() == 1 && EstLettreLecteur(lecteur[0])) nom = lecteur + L":";
    if (nom.empty()) return {};
    return nom + L"\\";
}

// Whether a probe of a drive root that gave `reussie` reached the drive; reads the error of the
// probe, so call it right after.
bool Atteinte(const std::wstring& racine, bool reussie) {
    return RacineAtteinte(racine, reussie, reussie ? 0 : GetLastError());
}

// No "there is no disk in the drive" box while we probe a drive: the caller tells the user.
class SansBoiteErreurCritique {
public:
    SansBoiteErreurCritique() {
        // SetThreadErrorMode exists from Windows 7 on; older systems only have the process mode.
        using Fn = BOOL(WINAPI*)(DWORD, LPDWORD);
        auto fn = FonctionDe<Fn>(L"kernel32.dll", "SetThreadErrorMode");
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

bool ActiveControlesCommuns() {
    // One thread shows every window, and they live until the process ends: the context stays
    // active for good.
    static const bool active = [] {
        ACTCTXW contexte{};
        contexte.cbSize = sizeof contexte;
        contexte.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        contexte.hModule = GetModuleHandleW(nullptr);
        contexte.lpResourceName = MAKEINTRESOURCEW(TOLVANE_MANIFESTE_CONTROLES);
        PoigneeContexteActivation contexteCree(CreateActCtxW(&contexte));
        ULONG_PTR cookie = 0;
        if (!contexteCree || !ActivateActCtx(contexteCree.get(), &cookie)) return false;
        // Active for good: the context is never released.
        (void)contexteCree.release();
        return true;
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
    return Atteinte(racine, Attributs(racine) != INVALID_FILE_ATTRIBUTES);
}

bool SystemeFichiersWin32::IsReady(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    if (racine.empty()) return false;
    SansBoiteErreurCritique sansBoite;
    // Under Wine an empty CD drive still answers its volume information, but its root cannot be
    // opened: both must succeed.
    if (!Atteinte(racine, GetVolumeInformationW(racine.c_str(), nullptr, 0, nullptr, nullptr, nullptr,
                                                nullptr, 0) != 0))
        return false;
    return Atteinte(racine, Attributs(racine) != INVALID_FILE_ATTRIBUTES);
}

bool SystemeFichiersWin32::EstLecteurReseau(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    if (racine.empty()) return false;
    // A share is on the network by its name: asking the system would reach for the server.
    if (racine.size() > 3) return true;
    SansBoiteErreurCritique sansBoite;
    // A mapped drive answers DRIVE_REMOTE even while its connection is not restored yet.
    return GetDriveTypeW(racine.c_str()) == DRIVE_REMOTE;
}

unsigned long ListeurWin32::Liste(const std::wstring& repertoire, const std::wstring& motif,
                                  std::vector<std::wstring>& noms) {
    noms.clear();
    if (repertoire.empty()) return 0;
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
    if (!r) {
        // "No file matches" is an answer about a directory that was read; anything else
        // (path not found, network path not found, access denied…) means it was not.
        const DWORD erreur = GetLastError();
        return erreur == ERROR_FILE_NOT_FOUND || erreur == ERROR_NO_MORE_FILES ? 0 : erreur;
    }
    constexpr DWORD exclus = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
        // The system also matches the pattern against short names ("a.exe1" is "A~1.EXE"):
        // only the long name counts.
        if ((donnees.dwFileAttributes & exclus) == 0 && CorrespondMotif(donnees.cFileName, motif))
            noms.emplace_back(donnees.cFileName);
    } while (FindNextFileW(r.get(), &donnees));
    // A share that drops in the middle ends the enumeration with its error: half a list is
    // not the directory's contents.
    if (const DWORD erreur = GetLastError(); erreur != ERROR_NO_MORE_FILES) {
        noms.clear();
        return erreur;
    }
    // The order of FindNextFileW depends on the file system: sort ourselves.
    std::stable_sort(noms.begin(), noms.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareSansCasse(a, b) < 0;
    });
    return 0;
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
    // The path stays wide: squeezed through the code page, a folder named in another script
    // (C:\Users\Łukasz) would turn into "?" and every write would fail. The W entry point still
    // writes the 8-bit code page (unless the file already starts with a UTF-16 mark, which no
    // writer of ours puts there). The texts go through the code page first, so that a character
    // it lacks is stored as '?', as the launch compares it, not as a look-alike of the system's.
    const std::wstring s = ParLaPageCode(section), c = ParLaPageCode(cle), v = ParLaPageCode(valeur);
    // Qualified: with UNICODE, this member's own name is the macro for the W entry point.
    if (::WritePrivateProfileStringW(s.c_str(), c.c_str(), v.c_str(), fichier.c_str())) return true;
    erreur_ = GetLastError();
    return false;
}

namespace {

// GetFullPathNameW, growing its buffer; the path itself when it cannot be made full.
std::wstring CheminComplet(const std::wstring& chemin) {
    std::wstring complet(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFullPathNameW(chemin.c_str(), static_cast<DWORD>(complet.size()), complet.data(), nullptr);
        if (n == 0) return chemin;
        if (n < complet.size()) return complet.substr(0, n);
        complet.resize(n);
    }
}

// WinExec's results for the failures the caller tells apart.
unsigned ResultatWinExec(DWORD erreur) {
    switch (erreur) {
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

}  // namespace

unsigned LanceurWin32::Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                             int etatAffichage) {
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

bool VerrouReglagesWin32::Prend(const std::wstring& cheminReglages, unsigned long delaiMs) {
    if (!mutex_) {
        // One name per file whichever way its folder was spelled: full, long names.
        std::wstring chemin = CheminComplet(cheminReglages);
        const std::size_t sep = chemin.find_last_of(L'\\');
        if (sep != std::wstring::npos) {
            const std::wstring dossier = chemin.substr(0, sep + 1);
            std::wstring longs(32768, L'\0');
            const DWORD n = GetLongPathNameW(dossier.c_str(), longs.data(), static_cast<DWORD>(longs.size()));
            if (n > 0 && n < longs.size()) chemin = longs.substr(0, n) + chemin.substr(sep + 1);
        }
        const std::wstring nom = NomVerrouReglages(chemin);
        // The global namespace spans the sessions of a terminal server; a mutex made there by
        // another user may refuse us access, and then only our own session can be covered.
        // Only the rights a wait and a release need: CreateMutexW would ask for all of them.
        constexpr DWORD droits = SYNCHRONIZE | MUTEX_MODIFY_STATE;
        HANDLE h = CreateMutexExW(nullptr, (L"Global\\" + nom).c_str(), 0, droits);
        if (!h && GetLastError() == ERROR_ACCESS_DENIED) h = CreateMutexExW(nullptr, (L"Local\\" + nom).c_str(), 0, droits);
        if (!h) {
            erreur_ = GetLastError();
            return false;
        }
        mutex_.Reinitialise(h);
    }
    switch (WaitForSingleObject(mutex_.get(), delaiMs)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its owner ended without giving it back: the file is ours now
        return true;
    case WAIT_TIMEOUT: erreur_ = WAIT_TIMEOUT; return false;
    default: erreur_ = GetLastError(); return false;
    }
}

void VerrouReglagesWin32::Rend() {
    if (mutex_) ReleaseMutex(mutex_.get());
}

int BoitesMessageWin32::MsgBox(const std::wstring& texte, int boutons,
                               const std::optional<std::wstring>& titre) {
    const std::wstring t = titre ? *titre : std::wstring(L"Tolvane");
    // The buttons values of the logic are exactly the MB_ flags (16 = MB_ICONHAND,
    // 36 = MB_YESNO | MB_ICONQUESTION, 64 = MB_ICONINFORMATION) and the results the ID* values.
    ActiveControlesCommuns();
    HWND proprietaire = proprietaire_ ? proprietaire_() : nullptr;
    UINT type = static_cast<UINT>(boutons);
    if (!proprietaire) {
        type |= MB_TASKMODAL;
        // A box with no owner is a top-level window of its own, with its taskbar button; at
        // logon it must also ask for the foreground, or it may open behind the user's windows.
        if (miseEnAvant_ && miseEnAvant_()) type |= MB_SETFOREGROUND;
    }
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

WORD TypeEvenement(Evenement evenement) {
    switch (evenement) {
        case Evenement::Lance:
        case Evenement::LanceApresElevation:
        case Evenement::NomInchange:
            return EVENTLOG_INFORMATION_TYPE;
        case Evenement::RepertoireInaccessible:
        case Evenement::RepertoireIllisible:
        case Evenement::EchecLancement:
            return EVENTLOG_ERROR_TYPE;
        case Evenement::AucunExecutable:
        case Evenement::ChoixAnnule:
        case Evenement::FichierINIAbsent:
        case Evenement::NomNonNote:
            break;
    }
    return EVENTLOG_WARNING_TYPE;
}

void JournalEvenementsWin32::Signale(Evenement evenement, const std::vector<std::wstring>& chaines) {
    // A source nobody registered still logs (the viewer then lacks the texts); a log that
    // refuses the event loses it: the run has already done its work.
    const PoigneeSourceEvenements source(RegisterEventSourceW(nullptr, L"Tolvane"));
    if (!source) return;
    std::vector<LPCWSTR> textes;
    textes.reserve(chaines.size());
    for (const std::wstring& c : chaines) textes.push_back(c.c_str());
    ReportEventW(source.get(), TypeEvenement(evenement), 0, static_cast<DWORD>(evenement), nullptr,
                 static_cast<WORD>(textes.size()), 0, textes.empty() ? nullptr : textes.data(), nullptr);
}

}  // namespace tolvane::win32
