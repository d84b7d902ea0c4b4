#include "OutilsTest.h"

#include <stdexcept>

namespace tolvane::win32::test {

namespace {
void Supprime(const std::wstring& chemin) {
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((chemin + L"\\*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring nom = d.cFileName;
            if (nom == L"." || nom == L"..") continue;
            const std::wstring complet = chemin + L"\\" + nom;
            SetFileAttributesW(complet.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                Supprime(complet);
            else
                DeleteFileW(complet.c_str());
        } while (FindNextFileW(h, &d));
        FindClose(h);
    }
    RemoveDirectoryW(chemin.c_str());
}
}  // namespace

DossierTemporaire::DossierTemporaire() {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    static unsigned compteur = 0;
    chemin_ = std::wstring(temp) + L"tolvane-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++compteur);
    Supprime(chemin_);
    if (!CreateDirectoryW(chemin_.c_str(), nullptr)) throw std::runtime_error("temporary folder");
}

DossierTemporaire::~DossierTemporaire() { Supprime(chemin_); }

void DossierTemporaire::Dossier(const std::wstring& nom) const {
    std::wstring partiel = chemin_;
    std::size_t debut = 0;
    while (debut <= nom.size()) {
        std::size_t fin = nom.find(L'\\', debut);
        if (fin == std::wstring::npos) fin = nom.size();
        partiel += L"\\" + nom.substr(debut, fin - debut);
        CreateDirectoryW(partiel.c_str(), nullptr);
        debut = fin + 1;
    }
}

void DossierTemporaire::Fichier(const std::wstring& nom, const std::string& contenu) const {
    const std::size_t sep = nom.rfind(L'\\');
    if (sep != std::wstring::npos) Dossier(nom.substr(0, sep));
    HANDLE f = CreateFileW((*this / nom).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) throw std::runtime_error("test file");
    DWORD n = 0;
    WriteFile(f, contenu.data(), static_cast<DWORD>(contenu.size()), &n, nullptr);
    CloseHandle(f);
}

std::string LitOctets(const std::wstring& chemin) {
    HANDLE f = CreateFileW(chemin.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return {};
    std::string s;
    char tampon[4096];
    DWORD n = 0;
    while (ReadFile(f, tampon, sizeof tampon, &n, nullptr) && n > 0) s.append(tampon, n);
    CloseHandle(f);
    return s;
}

std::wstring DossierDuTest() {
    std::wstring moi(32768, L'\0');
    moi.resize(GetModuleFileNameW(nullptr, moi.data(), static_cast<DWORD>(moi.size())));
    return moi.substr(0, moi.find_last_of(L'\\'));
}

}  // namespace tolvane::win32::test
