#include "OutilsTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <stdexcept>

#include "platform/win32/FonctionsDynamiques.h"
#include "platform/win32/Poignees.h"

namespace tolvane::win32::test {

namespace {

void SupprimeArbre(const std::wstring& dossier) {
    WIN32_FIND_DATAW d;
    HANDLE r = FindFirstFileW((dossier + L"\\*").c_str(), &d);
    if (r != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring nom = d.cFileName;
            if (nom == L"." || nom == L"..") continue;
            const std::wstring chemin = dossier + L"\\" + nom;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                SupprimeArbre(chemin);
            } else {
                SetFileAttributesW(chemin.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(chemin.c_str());
            }
        } while (FindNextFileW(r, &d));
        FindClose(r);
    }
    SetFileAttributesW(dossier.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dossier.c_str());
}

// Wide text to and from a code page, both ways the same.
std::string VersOctets(UINT pageCode, std::wstring_view texte) {
    if (texte.empty()) return {};
    const int taille = static_cast<int>(texte.size());
    const int n = WideCharToMultiByte(pageCode, 0, texte.data(), taille, nullptr, 0, nullptr, nullptr);
    std::string r(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(pageCode, 0, texte.data(), taille, r.data(), n, nullptr, nullptr);
    return r;
}

std::wstring DepuisOctets(UINT pageCode, std::string_view octets) {
    if (octets.empty()) return {};
    const int taille = static_cast<int>(octets.size());
    const int n = MultiByteToWideChar(pageCode, 0, octets.data(), taille, nullptr, 0);
    std::wstring r(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(pageCode, 0, octets.data(), taille, r.data(), n);
    return r;
}

}  // namespace

// ---- texts and paths ----

std::string U8(std::wstring_view texte) { return VersOctets(CP_UTF8, texte); }
std::wstring DeU8(std::string_view texte) { return DepuisOctets(CP_UTF8, texte); }
std::string EnAnsi(std::wstring_view texte) { return VersOctets(CP_ACP, texte); }
std::wstring DeAnsi(std::string_view octets) { return DepuisOctets(CP_ACP, octets); }

std::wstring Minuscules(std::wstring texte) {
    for (auto& c : texte) c = static_cast<wchar_t>(std::towlower(c));
    return texte;
}

std::wstring CheminWindows(const std::string& cheminUnix) {
    // Wine's own conversion knows the prefix's drive mapping; Z: is its default for "/".
    if (auto conversion = FonctionDe<WCHAR* (*)(const char*)>(L"kernel32.dll", "wine_get_dos_file_name")) {
        if (WCHAR* dos = conversion(cheminUnix.c_str())) {
            std::wstring r = dos;
            HeapFree(GetProcessHeap(), 0, dos);
            return r;
        }
    }
    std::wstring r = L"Z:" + DeU8(cheminUnix);
    std::replace(r.begin(), r.end(), L'/', L'\\');
    return r;
}

std::string CheminUnix(const std::wstring& chemin) {
    auto conversion = FonctionDe<char* (*)(const WCHAR*)>(L"kernel32.dll", "wine_get_unix_file_name");
    if (!conversion) return {};
    char* unix = conversion(chemin.c_str());
    if (!unix) return {};
    std::string r = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return r;
}

// ---- files ----

std::optional<std::string> LitOctets(const std::wstring& chemin) {
    HANDLE f = CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string octets;
    char tampon[65536];
    DWORD lus = 0;
    while (ReadFile(f, tampon, sizeof tampon, &lus, nullptr) && lus > 0) octets.append(tampon, lus);
    CloseHandle(f);
    return octets;
}

bool EcritOctets(const std::wstring& chemin, std::string_view octets) {
    HANDLE f = CreateFileW(chemin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD ecrits = 0;
    BOOL ok = WriteFile(f, octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
    CloseHandle(f);
    return ok && ecrits == octets.size();
}

std::wstring DossierDuTest() {
    const std::wstring moi =
        win32::TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetModuleFileNameW(nullptr, tampon, taille); });
    return moi.substr(0, moi.find_last_of(L'\\'));
}

DossierTemporaire::DossierTemporaire(const std::wstring& nom) {
    static std::atomic<int> compteur{0};
    const std::wstring racine =
        win32::TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetTempPathW(taille, tampon); }) +
        L"tolvane-tests";
    CreateDirectoryW(racine.c_str(), nullptr);
    chemin_ = racine + L"\\" + nom + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++compteur);
    // A folder left by an earlier run under the same name would not be fresh.
    SupprimeArbre(chemin_);
    if (!CreateDirectoryW(chemin_.c_str(), nullptr))
        ADD_FAILURE() << "impossible de créer le dossier de test " << U8(chemin_);
}

DossierTemporaire::~DossierTemporaire() {
    if (!garde_) SupprimeArbre(chemin_);
}

std::wstring DossierTemporaire::operator/(const std::wstring& relatif) const { return chemin_ + L"\\" + relatif; }

std::wstring DossierTemporaire::CreeDossier(const std::wstring& relatif) const {
    std::wstring chemin = chemin_;
    size_t debut = 0;
    for (;;) {
        const size_t fin = relatif.find(L'\\', debut);
        chemin += L"\\" + relatif.substr(debut, fin - debut);
        CreateDirectoryW(chemin.c_str(), nullptr);
        if (fin == std::wstring::npos) return chemin;
        debut = fin + 1;
    }
}

void DossierTemporaire::Fichier(const std::wstring& relatif, const std::string& contenu) const {
    const size_t sep = relatif.rfind(L'\\');
    if (sep != std::wstring::npos) CreeDossier(relatif.substr(0, sep));
    if (!EcritOctets(*this / relatif, contenu)) throw std::runtime_error("test file");
}

std::wstring DossierTemporaire::CopieIci(const std::wstring& source, const std::wstring& relatif) const {
    std::wstring destination = *this / relatif;
    if (!CopyFileW(source.c_str(), destination.c_str(), FALSE))
        ADD_FAILURE() << "copie impossible de " << U8(source) << " vers " << U8(destination) << " (erreur "
                      << GetLastError() << ")";
    return destination;
}

}  // namespace tolvane::win32::test
