// The settings file: one entry written through the profile API, and the lock around a change.
#include "ServicesWin32.h"

#include "platform/PageCode.h"
#include "platform/Texte.h"

namespace tolvane::win32 {

bool EcrivainProfilWin32::WritePrivateProfileString(const std::wstring& section, const std::wstring& cle,
                                                    const std::wstring& valeur, const std::wstring& fichier) {
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
