// Files, drives and directories: what exists, what is ready, what a folder holds, reading a file.
#include "ServicesWin32.h"

#include <winnetwk.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "FonctionsDynamiques.h"
#include "Poignees.h"
#include "platform/Chemins.h"
#include "platform/ChoixSysteme.h"
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

std::wstring CheminComplet(const std::wstring& chemin) {
    std::wstring complet = TexteAgrandi(
        [&](wchar_t* tampon, DWORD taille) { return GetFullPathNameW(chemin.c_str(), taille, tampon, nullptr); });
    return complet.empty() ? chemin : complet;
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
    if (!Atteinte(racine,
                  GetVolumeInformationW(racine.c_str(), nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0) != 0))
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

namespace {

// mpr.dll, loaded the first time a drive letter's connection is asked about: most runs never do.
HMODULE Mpr() {
    static const HMODULE mpr = ChargeDuSysteme(L"mpr.dll");
    return mpr;
}

// The share a mapped letter ("M:") names, and the error of the question: NO_ERROR, or
// ERROR_CONNECTION_UNAVAIL for a remembered connection not made again yet (the share is then
// still given), ERROR_NOT_CONNECTED for a letter that is not a network one.
DWORD Connexion(const std::wstring& lettre, std::wstring& partage) {
    using Fn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, LPDWORD);
    const auto fn = FonctionDe<Fn>(Mpr(), "WNetGetConnectionW");
    if (!fn) return ERROR_NOT_CONNECTED;
    DWORD taille = MAX_PATH;
    for (;;) {
        partage.assign(taille, L'\0');
        const DWORD r = fn(lettre.c_str(), partage.data(), &taille);
        if (r == ERROR_MORE_DATA) continue;  // `taille` now says how much it needs
        partage.resize(r == NO_ERROR || r == ERROR_CONNECTION_UNAVAIL ? wcslen(partage.c_str()) : 0);
        return r;
    }
}

}  // namespace

bool SystemeFichiersWin32::LettreEnAttente(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    if (racine.size() != 3) return false;
    SansBoiteErreurCritique sansBoite;
    if (GetDriveTypeW(racine.c_str()) == DRIVE_NO_ROOT_DIR) return true;
    std::wstring partage;
    return Connexion(racine.substr(0, 2), partage) == ERROR_CONNECTION_UNAVAIL;
}

unsigned long SystemeFichiersWin32::Sonde(const std::wstring& chemin) {
    SansBoiteErreurCritique sansBoite;
    return Attributs(chemin) != INVALID_FILE_ATTRIBUTES ? NO_ERROR : GetLastError();
}

namespace {

// netapi32.dll, loaded only where a share seems to be missing.
HMODULE Netapi() {
    static const HMODULE netapi = ChargeDuSysteme(L"netapi32.dll");
    return netapi;
}

// Whether `serveur` of "\\serveur\racine" names a domain (a domain-based DFS namespace) rather
// than one server: the workstation's own domain by either of its names, or a path the DFS
// client knows.
bool NomDfs(const std::wstring& serveur, const std::wstring& partage) {
    wchar_t dns[256];
    DWORD taille = 256;
    if (GetComputerNameExW(ComputerNameDnsDomain, dns, &taille) && taille && EgalSansCasse(serveur, dns)) return true;
    using Liberation = DWORD(WINAPI*)(LPVOID);
    const auto libere = FonctionDe<Liberation>(Netapi(), "NetApiBufferFree");
    if (!libere) return false;
    struct PosteInfo100 {
        DWORD plateforme;
        LPWSTR nom, groupe;
        DWORD majeure, mineure;
    };
    using Poste = DWORD(WINAPI*)(LPWSTR, DWORD, LPBYTE*);
    LPBYTE tampon = nullptr;
    bool domaine = false;
    if (const auto poste = FonctionDe<Poste>(Netapi(), "NetWkstaGetInfo"); poste && poste(nullptr, 100, &tampon) == 0) {
        domaine = EgalSansCasse(serveur, reinterpret_cast<PosteInfo100*>(tampon)->groupe);
        libere(tampon);
    }
    using Dfs = DWORD(WINAPI*)(LPWSTR, LPWSTR, LPWSTR, DWORD, LPBYTE*);
    tampon = nullptr;
    std::wstring chemin = partage;
    if (const auto dfs = FonctionDe<Dfs>(Netapi(), "NetDfsGetClientInfo");
        !domaine && dfs && dfs(chemin.data(), nullptr, nullptr, 1, &tampon) == 0) {
        domaine = true;
        libere(tampon);
    }
    return domaine;
}

}  // namespace

unsigned long SystemeFichiersWin32::PartageDeLaLettre(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    std::wstring partage;
    if (racine.size() != 3 || Connexion(racine.substr(0, 2), partage) != NO_ERROR) return 0;
    // "\\serveur\partage": level 1 of NetShareGetInfo needs no rights on the share.
    const std::size_t sep = partage.find(L'\\', 2);
    if (partage.size() < 5 || partage.compare(0, 2, L"\\\\") != 0 || sep == std::wstring::npos) return 0;
    std::wstring serveur = partage.substr(2, sep - 2), nom = partage.substr(sep + 1);
    nom = nom.substr(0, nom.find(L'\\'));
    if (NomDfs(serveur, partage)) return 0;
    using Partage = DWORD(WINAPI*)(LPWSTR, LPWSTR, DWORD, LPBYTE*);
    using Liberation = DWORD(WINAPI*)(LPVOID);
    const auto demande = FonctionDe<Partage>(Netapi(), "NetShareGetInfo");
    const auto libere = FonctionDe<Liberation>(Netapi(), "NetApiBufferFree");
    if (!demande || !libere) return 0;
    LPBYTE tampon = nullptr;
    const DWORD r = demande(serveur.data(), nom.data(), 1, &tampon);
    if (tampon) libere(tampon);
    return r == PartageInexistant ? PartageInexistant : 0;
}

AutreSession SystemeFichiersWin32::LettreDeLAutreSession(const std::wstring& lecteur) {
    const std::wstring racine = Racine(lecteur);
    if (racine.size() != 3) return AutreSession::Non;
    PoigneeNoyau jeton;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD taille = 0;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, jeton.put()) ||
        !GetTokenInformation(jeton.get(), TokenElevationType, &type, sizeof type, &taille) ||
        type != TokenElevationTypeLimited)
        return AutreSession::Non;
    // The letters a user mapped for good are remembered under their letter alone.
    HKEY cle = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, (L"Network\\" + racine.substr(0, 1)).c_str(), 0, KEY_READ, &cle) !=
        ERROR_SUCCESS)
        return AutreSession::Possible;
    RegCloseKey(cle);
    return AutreSession::Certaine;
}

std::wstring SystemeFichiersWin32::CheminUniversel(const std::wstring& chemin) {
    const std::wstring racine = Racine(chemin);
    if (racine.size() != 3 || !EstLecteurReseau(racine)) return chemin;
    // The system's own answer first: it knows DFS and the providers' spelling.
    using Fn = DWORD(WINAPI*)(LPCWSTR, DWORD, LPVOID, LPDWORD);
    if (const auto fn = FonctionDe<Fn>(Mpr(), "WNetGetUniversalNameW")) {
        DWORD taille = 1024;
        std::vector<BYTE> tampon(taille);
        DWORD r = fn(chemin.c_str(), UNIVERSAL_NAME_INFO_LEVEL, tampon.data(), &taille);
        if (r == ERROR_MORE_DATA) {
            tampon.resize(taille);
            r = fn(chemin.c_str(), UNIVERSAL_NAME_INFO_LEVEL, tampon.data(), &taille);
        }
        if (r == NO_ERROR) return reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(tampon.data())->lpUniversalName;
    }
    // A remembered connection not made again yet still names its share.
    std::wstring partage;
    const DWORD r = Connexion(racine.substr(0, 2), partage);
    if ((r == NO_ERROR || r == ERROR_CONNECTION_UNAVAIL) && !partage.empty()) return partage + chemin.substr(2);
    return chemin;
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
    PoigneeRecherche r(FindFirstFileExW(recherche.c_str(), FindExInfoBasic, &donnees, FindExSearchNameMatch, nullptr,
                                        FIND_FIRST_EX_LARGE_FETCH));
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
    std::stable_sort(noms.begin(), noms.end(),
                     [](const std::wstring& a, const std::wstring& b) { return CompareSansCasse(a, b) < 0; });
    return 0;
}

std::unique_ptr<IFluxOctets> SourceFichiersWin32::OuvreLecture(const std::wstring& chemin) {
    erreur_ = ERROR_FILE_NOT_FOUND;
    if (chemin.empty()) return nullptr;
    // FILE_SHARE_DELETE: a writer replacing the file meanwhile is not refused; this read then
    // gets the file as it was.
    PoigneeFichier f(CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!f) {
        erreur_ = GetLastError();
        return nullptr;
    }
    // Without FILE_FLAG_BACKUP_SEMANTICS a folder does not open; make sure anyway. The basic
    // information only: GetFileInformationByHandle also asks for the volume's serial number,
    // which under Wine is a round trip to the mount manager's process on every open.
    FILE_BASIC_INFO info{};
    if (GetFileType(f.get()) != FILE_TYPE_DISK ||
        (GetFileInformationByHandleEx(f.get(), FileBasicInfo, &info, sizeof info) &&
         (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY))) {
        erreur_ = ERROR_ACCESS_DENIED;
        return nullptr;
    }
    return std::make_unique<FluxWin32>(std::move(f));
}

}  // namespace tolvane::win32
