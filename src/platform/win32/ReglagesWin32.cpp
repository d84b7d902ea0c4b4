// The settings file: one entry written by our own profile writer, and the lock around a change.
#include "ServicesWin32.h"

#include <algorithm>
#include <optional>

#include "platform/EditionINI.h"
#include "platform/Texte.h"

namespace tolvane::win32 {

namespace {

// A sharing violation (an antivirus scanning the file, a reader without FILE_SHARE_DELETE) is
// over in a moment: tried again for about a second.
constexpr int EssaisSiOccupe = 10;
constexpr DWORD PauseSiOccupeMs = 100;

bool Occupe(DWORD erreur) {
    return erreur == ERROR_SHARING_VIOLATION || erreur == ERROR_LOCK_VIOLATION ||
           erreur == ERROR_UNABLE_TO_REMOVE_REPLACED;  // how ReplaceFileW tells a file held open
}

// Opens the file, trying again while it is busy; `erreur` says why not.
PoigneeFichier Ouvre(const std::wstring& chemin, DWORD acces, DWORD partage, DWORD creation, DWORD& erreur) {
    for (int essai = 0;; ++essai) {
        PoigneeFichier f(
            CreateFileW(chemin.c_str(), acces, partage, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (f) return f;
        erreur = GetLastError();
        if (!Occupe(erreur) || essai == EssaisSiOccupe) return f;
        Sleep(PauseSiOccupeMs);
    }
}

// The whole file; nothing when it cannot be read (ERROR_FILE_NOT_FOUND when it does not exist).
std::optional<std::string> LitTout(const std::wstring& chemin, DWORD& erreur) {
    PoigneeFichier f =
        Ouvre(chemin, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, erreur);
    if (!f) return std::nullopt;
    std::string octets;
    char tampon[16384];
    for (DWORD lus = 0;; octets.append(tampon, lus)) {
        if (!ReadFile(f.get(), tampon, sizeof tampon, &lus, nullptr)) {
            erreur = GetLastError();
            return std::nullopt;
        }
        if (lus == 0) return octets;
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

// Puts `temporaire` in the place of `chemin`. ReplaceFileW keeps the file's access list,
// attributes and creation time (MoveFileExW would give it the temporary file's); the old file
// goes through `sauvegarde`, so that each documented partial failure leaves the old file.
bool Remplace(const std::wstring& chemin, const std::wstring& temporaire, DWORD& erreur) {
    const std::wstring sauvegarde = chemin + L".ancien";
    DeleteFileW(sauvegarde.c_str());  // one a power cut left behind
    for (int essai = 0;; ++essai) {
        // No REPLACEFILE_IGNORE_MERGE_ERRORS: it would succeed without the access list.
        // REPLACEFILE_WRITE_THROUGH is documented as not supported.
        if (ReplaceFileW(chemin.c_str(), temporaire.c_str(), sauvegarde.c_str(), 0, nullptr, nullptr)) {
            DeleteFileW(sauvegarde.c_str());
            return true;
        }
        erreur = GetLastError();
        if (!Occupe(erreur) || essai == EssaisSiOccupe) break;
        Sleep(PauseSiOccupeMs);
    }
    // 1175 and 1176: both files kept their names. 1177: the old file is left under the backup
    // name; it goes back under its own (a rename keeps its access list).
    if (erreur == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(sauvegarde.c_str(), chemin.c_str(), 0);
    DeleteFileW(temporaire.c_str());
    return false;
}

}  // namespace

bool EcrivainProfilWin32::WritePrivateProfileString(const std::wstring& section, const std::wstring& cle,
                                                    const std::wstring& valeur, const std::wstring& fichier) {
    // The caller holds the settings lock: nothing of ours changes the file between the read
    // and the write.
    DWORD erreur = 0;
    const std::optional<std::string> avant = LitTout(fichier, erreur);
    if (!avant && erreur != ERROR_FILE_NOT_FOUND) return Echec(erreur);
    const std::string apres = EditionINI::EcritEntree(avant.value_or(std::string()), section, cle, valeur);

    const std::wstring temporaire = fichier + L".nouveau";
    PoigneeFichier t = Ouvre(temporaire, GENERIC_WRITE, 0, CREATE_ALWAYS, erreur);
    if (!t) {
        // A folder users may not write, holding a file they were allowed to (a record file,
        // or a settings file granted to them alone): the file is written in place.
        if (avant && erreur == ERROR_ACCESS_DENIED) return EcritSurPlace(fichier, apres);
        return Echec(erreur);
    }
    const bool ecrit = EcritTout(t.get(), apres, erreur);
    t.Reinitialise();
    if (!ecrit) {
        DeleteFileW(temporaire.c_str());
        return Echec(erreur);
    }
    if (avant) return Remplace(fichier, temporaire, erreur) || Echec(erreur);
    // A new file: no access list to keep, and the temporary one got the folder's, as the file
    // made directly would have.
    if (MoveFileExW(temporaire.c_str(), fichier.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    erreur = GetLastError();
    DeleteFileW(temporaire.c_str());
    return Echec(erreur);
}

bool EcrivainProfilWin32::EcritSurPlace(const std::wstring& fichier, const std::string& octets) {
    // Only the rights such a grant gives: no new file, no rename, no change of attributes.
    DWORD erreur = 0;
    PoigneeFichier f = Ouvre(fichier, FILE_READ_DATA | FILE_WRITE_DATA, FILE_SHARE_READ, OPEN_EXISTING, erreur);
    if (!f || !EcritTout(f.get(), octets, erreur)) return Echec(erreur);
    return true;
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
        if (!h && GetLastError() == ERROR_ACCESS_DENIED)
            h = CreateMutexExW(nullptr, (L"Local\\" + nom).c_str(), 0, droits);
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

}  // namespace tolvane::win32
