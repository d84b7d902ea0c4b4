// The settings file: one entry written by our own profile writer, and the lock around a change.
#include "ServicesWin32.h"

#include <aclapi.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "SecuriteWin32.h"
#include "platform/Acces.h"
#include "platform/EditionINI.h"
#include "platform/Remplacement.h"
#include "platform/Texte.h"

namespace tolvane::win32 {

namespace {

using Remplacement::Etape;
using Remplacement::Genre;
using Remplacement::Suite;

constexpr DWORD PauseSiOccupeMs = 100;

// A file is missing only when the system says so: one it refuses to describe is left alone.
bool Absent(const std::wstring& chemin) {
    return GetFileAttributesW(chemin.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
}

// Opens the file, trying again while it is busy (an antivirus scanning it, a reader without
// FILE_SHARE_DELETE); `erreur` says why not.
PoigneeFichier Ouvre(const std::wstring& chemin, DWORD acces, DWORD partage, DWORD creation, DWORD& erreur) {
    for (int essai = 1;; ++essai) {
        PoigneeFichier f(
            CreateFileW(chemin.c_str(), acces, partage, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f) return f;
        erreur = GetLastError();
        if (Remplacement::Decide(Etape::Remplacement, Genre::Simple, erreur, essai) != Suite::Reessaie) return f;
        Sleep(PauseSiOccupeMs);
    }
}

// The whole file and what it is; nothing when it cannot be read (ERROR_FILE_NOT_FOUND when it
// does not exist).
struct Contenu {
    std::string octets;
    Genre genre = Genre::Absent;
};

std::optional<Contenu> LitTout(const std::wstring& chemin, DWORD& erreur) {
    PoigneeFichier f =
        Ouvre(chemin, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, erreur);
    if (!f) return std::nullopt;
    Contenu contenu;
    // The name's own attributes tell a symbolic link; the handle's, the file it leads to.
    BY_HANDLE_FILE_INFORMATION info{};
    const DWORD nom = GetFileAttributesW(chemin.c_str());
    const DWORD attributs = (nom == INVALID_FILE_ATTRIBUTES ? 0 : nom) |
                            (GetFileInformationByHandle(f.get(), &info) ? info.dwFileAttributes : 0);
    contenu.genre = attributs & FILE_ATTRIBUTE_READONLY                                   ? Genre::LectureSeule
                    : attributs & FILE_ATTRIBUTE_REPARSE_POINT || info.nNumberOfLinks > 1 ? Genre::Lien
                                                                                          : Genre::Simple;
    char tampon[16384];
    for (DWORD lus = 0;; contenu.octets.append(tampon, lus)) {
        if (!ReadFile(f.get(), tampon, sizeof tampon, &lus, nullptr)) {
            erreur = GetLastError();
            return std::nullopt;
        }
        if (lus == 0) return contenu;
    }
}

// Writes all of `octets` from where the handle stands, cuts the file there and flushes it to
// the disk: the rename or the return that follows must not come before the data.
bool EcritTout(HANDLE f, const std::string& octets, DWORD& erreur) {
    std::size_t ecrits = 0;
    while (ecrits < octets.size()) {
        DWORD n = 0;
        const DWORD demande = static_cast<DWORD>(std::min<std::size_t>(octets.size() - ecrits, 1u << 20));
        if (!WriteFile(f, octets.data() + ecrits, demande, &n, nullptr) || n == 0) {
            erreur = GetLastError();
            return false;
        }
        ecrits += n;
    }
    if (SetEndOfFile(f) && FlushFileBuffers(f)) return true;
    erreur = GetLastError();
    return false;
}

// The backup goes back under the file's name (a rename keeps its access list).
bool RemetAncien(const std::wstring& fichier, DWORD& erreur) {
    const std::wstring sauvegarde = Remplacement::Sauvegarde(fichier);
    for (int essai = 1;; ++essai) {
        if (MoveFileExW(sauvegarde.c_str(), fichier.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        erreur = GetLastError();
        if (Remplacement::Decide(Etape::RemiseEnPlace, Genre::Absent, erreur, essai) != Suite::Reessaie) return false;
        Sleep(PauseSiOccupeMs);
    }
}

// A new temporary file beside `fichier`, under a name no other writer uses at the same time.
PoigneeFichier CreeTemporaire(const std::wstring& fichier, std::wstring& temporaire, DWORD& erreur) {
    static unsigned long compteur = 0;
    PoigneeFichier t;
    for (int essai = 0; essai < 16 && !t; ++essai) {
        const unsigned long jeton = GetCurrentProcessId() * 2654435761ul + GetTickCount() + ++compteur;
        temporaire = Remplacement::Temporaire(fichier, jeton);
        t = Ouvre(temporaire, GENERIC_WRITE, 0, CREATE_NEW, erreur);
        if (!t && erreur != ERROR_FILE_EXISTS) break;
    }
    return t;
}

// Temporary files a crash left behind. One younger than a minute may be another writer's.
void NettoieTemporaires(const std::wstring& fichier) {
    const std::size_t sep = fichier.find_last_of(L"\\/");
    const std::wstring dossier = sep == std::wstring::npos ? std::wstring() : fichier.substr(0, sep + 1);
    WIN32_FIND_DATAW trouve;
    PoigneeRecherche recherche(FindFirstFileExW(Remplacement::MotifTemporaires(fichier).c_str(), FindExInfoBasic,
                                                &trouve, FindExSearchNameMatch, nullptr, 0));
    if (!recherche) return;
    FILETIME maintenant;
    GetSystemTimeAsFileTime(&maintenant);
    const auto centNs = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    do {
        if (!(trouve.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            centNs(maintenant) - centNs(trouve.ftLastWriteTime) > 60ull * 10000000ull)
            DeleteFileW((dossier + trouve.cFileName).c_str());
    } while (FindNextFileW(recherche.get(), &trouve));
}

}  // namespace

std::wstring EcrivainProfilWin32::Recupere(const std::wstring& fichier) {
    const std::wstring sauvegarde = Remplacement::Sauvegarde(fichier);
    if (!Absent(fichier) || GetFileAttributesW(sauvegarde.c_str()) == INVALID_FILE_ATTRIBUTES) return fichier;
    DWORD erreur = 0;
    return RemetAncien(fichier, erreur) ? fichier : sauvegarde;
}

bool EcrivainProfilWin32::WritePrivateProfileString(const std::wstring& section, const std::wstring& cle,
                                                    const std::wstring& valeur, const std::wstring& fichier) {
    // The caller holds the settings lock: nothing of ours changes the file between the read
    // and the write. A replacement a crash stopped half-way is finished first: its settings are
    // the ones to change.
    Recupere(fichier);
    NettoieTemporaires(fichier);
    DWORD erreur = 0;
    const std::optional<Contenu> avant = LitTout(fichier, erreur);
    if (!avant && erreur != ERROR_FILE_NOT_FOUND) return Echec(erreur);
    const Genre genre = avant ? avant->genre : Genre::Absent;
    const std::string apres = EditionINI::EcritEntree(avant ? avant->octets : std::string(), section, cle, valeur);

    switch (Remplacement::Decide(Etape::Debut, genre)) {
    case Suite::Echoue: return Echec(Remplacement::LectureSeule);
    case Suite::SurPlace: return RemplaceSurPlace(fichier, apres);
    default: break;
    }
    std::wstring temporaire;
    PoigneeFichier t = CreeTemporaire(fichier, temporaire, erreur);
    if (!t) {
        if (Remplacement::Decide(Etape::Temporaire, genre, erreur) == Suite::SurPlace)
            return RemplaceSurPlace(fichier, apres);
        return Echec(erreur);
    }
    const bool ecrit = EcritTout(t.get(), apres, erreur);
    t.Reinitialise();
    if (ecrit && genre == Genre::Absent) {
        // A new file: no access list to keep, and the temporary one got the folder's, as the
        // file made directly would have.
        if (MoveFileExW(temporaire.c_str(), fichier.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        erreur = GetLastError();
    }
    if (ecrit && genre != Genre::Absent) return Remplace(fichier, temporaire, apres);
    DeleteFileW(temporaire.c_str());
    return Echec(erreur);
}

bool EcrivainProfilWin32::Remplace(const std::wstring& fichier, const std::wstring& temporaire,
                                   const std::string& octets) {
    // ReplaceFileW keeps the file's access list, attributes and creation time (MoveFileExW would
    // give it the temporary file's); the old file goes through its backup name, so that each
    // documented partial failure leaves the old file. No REPLACEFILE_IGNORE_MERGE_ERRORS: it
    // would succeed without the access list. REPLACEFILE_WRITE_THROUGH is documented as not
    // supported.
    const std::wstring sauvegarde = Remplacement::Sauvegarde(fichier);
    DeleteFileW(sauvegarde.c_str());  // the file exists: a backup beside it is a crash's
    DWORD erreur = 0;
    for (int essai = 1;; ++essai) {
        if (ReplaceFileW(fichier.c_str(), temporaire.c_str(), sauvegarde.c_str(), 0, nullptr, nullptr)) {
            if (!Absent(fichier)) DeleteFileW(sauvegarde.c_str());
            return true;
        }
        erreur = GetLastError();
        switch (Remplacement::Decide(Etape::Remplacement, Genre::Simple, erreur, essai)) {
        case Suite::Reessaie: Sleep(PauseSiOccupeMs); continue;
        case Suite::SurPlace: DeleteFileW(temporaire.c_str()); return RemplaceSurPlace(fichier, octets);
        case Suite::RemetAncien: {
            // Without its old file back, the new one is all there is of the settings: kept.
            DWORD remise = 0;
            if (RemetAncien(fichier, remise)) DeleteFileW(temporaire.c_str());
            return Echec(erreur);
        }
        default: DeleteFileW(temporaire.c_str()); return Echec(erreur);
        }
    }
}

bool EcrivainProfilWin32::EcritSurPlace(const std::wstring& section, const std::wstring& cle,
                                        const std::wstring& valeur, const std::wstring& fichier) {
    // A user who may not give a backup its name back writes into the backup: the record is
    // kept there until a run that may puts it back.
    const std::wstring cible = Recupere(fichier);
    DWORD erreur = 0;
    const std::optional<Contenu> avant = LitTout(cible, erreur);
    if (!avant) return Echec(erreur);
    if (avant->genre == Genre::LectureSeule) return Echec(Remplacement::LectureSeule);
    return RemplaceSurPlace(cible, EditionINI::EcritEntree(avant->octets, section, cle, valeur));
}

bool EcrivainProfilWin32::RemplaceSurPlace(const std::wstring& fichier, const std::string& octets) {
    // Only the rights such a grant gives: no new file, no rename, no change of attributes.
    DWORD erreur = 0;
    PoigneeFichier f = Ouvre(fichier, FILE_READ_DATA | FILE_WRITE_DATA, FILE_SHARE_READ, OPEN_EXISTING, erreur);
    if (!f || !EcritTout(f.get(), octets, erreur)) return Echec(erreur);
    return true;
}

namespace {

// An NT-authority SID (S-1-5-…) in its binary form.
std::vector<BYTE> SidNt(std::initializer_list<DWORD> sousAutorites) {
    std::vector<BYTE> sid = {SID_REVISION, static_cast<BYTE>(sousAutorites.size()), 0, 0, 0, 0, 0, 5};
    for (DWORD r : sousAutorites) sid.insert(sid.end(), reinterpret_cast<BYTE*>(&r), reinterpret_cast<BYTE*>(&r) + 4);
    return sid;
}

// The lock's security descriptor, written out in the self-relative form the kernel takes, so
// that no advapi32 call is needed before the update has started. Given explicitly: a mutex made
// with none takes its creator's default list, and another user's launcher (a second session,
// the system account) would be refused. The shared lock: Authenticated Users may wait on it and
// release it; SYSTEM and Administrators have every right. The machine-start lock: SYSTEM and
// Administrators only, owned by Administrators, which no standard user can make themselves owner
// of.
std::vector<DWORD> DescripteurVerrou(bool poste) {
    const std::vector<BYTE> systeme = SidNt({SECURITY_LOCAL_SYSTEM_RID});                            // S-1-5-18
    const std::vector<BYTE> admins = SidNt({SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});  // S-1-5-32-544
    std::vector<BYTE> aces;
    WORD nombre = 0;
    const auto octets = [](std::vector<BYTE>& v, const void* p, std::size_t n) {
        v.insert(v.end(), static_cast<const BYTE*>(p), static_cast<const BYTE*>(p) + n);
    };
    const auto ajoute = [&](DWORD droits, const std::vector<BYTE>& sid) {
        const ACE_HEADER entete{ACCESS_ALLOWED_ACE_TYPE, 0, static_cast<WORD>(sizeof(ACE_HEADER) + 4 + sid.size())};
        octets(aces, &entete, sizeof entete);
        octets(aces, &droits, sizeof droits);
        octets(aces, sid.data(), sid.size());
        ++nombre;
    };
    if (!poste) ajoute(SYNCHRONIZE | MUTEX_MODIFY_STATE, SidNt({SECURITY_AUTHENTICATED_USER_RID}));  // S-1-5-11
    ajoute(MUTEX_ALL_ACCESS, systeme);
    ajoute(MUTEX_ALL_ACCESS, admins);
    const ACL acl{ACL_REVISION, 0, static_cast<WORD>(sizeof(ACL) + aces.size()), nombre, 0};
    const DWORD apresListe = static_cast<DWORD>(sizeof(SECURITY_DESCRIPTOR_RELATIVE) + sizeof acl + aces.size());
    const SECURITY_DESCRIPTOR_RELATIVE sd{
        SECURITY_DESCRIPTOR_REVISION,        0, SE_DACL_PRESENT | SE_SELF_RELATIVE, poste ? apresListe : 0, 0, 0,
        sizeof(SECURITY_DESCRIPTOR_RELATIVE)};
    std::vector<BYTE> tout;
    octets(tout, &sd, sizeof sd);
    octets(tout, &acl, sizeof acl);
    octets(tout, aces.data(), aces.size());
    if (poste) octets(tout, admins.data(), admins.size());
    std::vector<DWORD> tampon((tout.size() + 3) / 4);
    std::memcpy(tampon.data(), tout.data(), tout.size());
    return tampon;
}

}  // namespace

bool VerrouReglagesWin32::Prend(const std::wstring& cheminReglages, unsigned long delaiMs) {
    if (!mutex_) {
        // One name per file whichever way its folder was spelled: full, long names.
        std::wstring chemin = CheminComplet(cheminReglages);
        const std::size_t sep = chemin.find_last_of(L'\\');
        if (sep != std::wstring::npos) {
            const std::wstring dossier = chemin.substr(0, sep + 1);
            const std::wstring longs = TexteAgrandi(
                [&](wchar_t* tampon, DWORD taille) { return GetLongPathNameW(dossier.c_str(), tampon, taille); });
            if (!longs.empty()) chemin = longs + chemin.substr(sep + 1);
        }
        // The global namespace spans every session of the machine, the system account's too.
        // Only the rights a wait and a release need (CreateMutexW would ask for all of them),
        // and for the machine-start lock the right to read who made it.
        std::vector<DWORD> descripteur = DescripteurVerrou(poste_);
        SECURITY_ATTRIBUTES securite{sizeof securite, descripteur.data(), FALSE};
        HANDLE h = CreateMutexExW(&securite, (L"Global\\" + NomVerrouReglages(chemin, poste_)).c_str(), 0,
                                  SYNCHRONIZE | MUTEX_MODIFY_STATE | (poste_ ? READ_CONTROL : 0));
        if (!h) {
            erreur_ = GetLastError();
            return false;
        }
        mutex_.Reinitialise(h);
        // A name a user created first is theirs to hold for ever: not a lock to wait on.
        if (poste_ && !ProprietaireDeConfiance()) {
            mutex_.Reinitialise();
            erreur_ = VerrouNonFiable;
            return false;
        }
    }
    switch (Attend(fenetre_ ? fenetre_() : nullptr, delaiMs)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its owner ended without giving it back: the file is ours now
        return true;
    case WAIT_TIMEOUT: erreur_ = WAIT_TIMEOUT; return false;
    default: erreur_ = GetLastError(); return false;
    }
}

DWORD VerrouReglagesWin32::Attend(HWND fenetre, unsigned long delaiMs) {
    if (!fenetre) return WaitForSingleObject(mutex_.get(), delaiMs);
    // The user's window goes on painting and answering, so that Windows never calls it "not
    // responding"; disabled, it takes no second click meanwhile.
    const bool active = !EnableWindow(fenetre, FALSE);
    const ULONGLONG fin = GetTickCount64() + delaiMs;
    DWORD resultat = WAIT_TIMEOUT;
    for (;;) {
        const ULONGLONG maintenant = GetTickCount64();
        const DWORD reste = maintenant >= fin ? 0 : static_cast<DWORD>(fin - maintenant);
        HANDLE mutex = mutex_.get();
        resultat = MsgWaitForMultipleObjects(1, &mutex, FALSE, reste, QS_ALLINPUT);
        if (resultat != WAIT_OBJECT_0 + 1) break;
        MSG msg;
        bool quitter = false;
        while (!quitter && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            quitter = msg.message == WM_QUIT;
            if (quitter) {
                // Whoever asked to quit is further out: passed on, and the wait given up.
                PostQuitMessage(static_cast<int>(msg.wParam));
                resultat = WAIT_TIMEOUT;
            } else {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (quitter) break;
    }
    if (active) EnableWindow(fenetre, TRUE);
    return resultat;
}

bool VerrouReglagesWin32::ProprietaireDeConfiance() {
    PSID proprietaire = nullptr;
    MemoireLocale<void> descripteur;
    const DWORD r = GetSecurityInfo(mutex_.get(), SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &proprietaire, nullptr,
                                    nullptr, nullptr, descripteur.put());
    proprietaire_ = r == ERROR_SUCCESS ? TexteSid(proprietaire) : L"?";
    if (proprietaire_ == Acces::SidSysteme || proprietaire_ == Acces::SidAdministrateurs) proprietaire_.clear();
    return proprietaire_.empty();
}

void VerrouReglagesWin32::Rend() {
    if (mutex_) ReleaseMutex(mutex_.get());
}

}  // namespace tolvane::win32
