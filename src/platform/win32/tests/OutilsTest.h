// A fresh folder per test, removed with everything in it at the end.
#pragma once

#include <windows.h>

#include <string>

namespace tolvane::win32::test {

class DossierTemporaire {
public:
    DossierTemporaire();
    ~DossierTemporaire();
    DossierTemporaire(const DossierTemporaire&) = delete;
    DossierTemporaire& operator=(const DossierTemporaire&) = delete;

    const std::wstring& Chemin() const { return chemin_; }
    std::wstring operator/(const std::wstring& nom) const { return chemin_ + L"\\" + nom; }
    // Creates a file holding `contenu` (bytes), and the folders above it.
    void Fichier(const std::wstring& nom, const std::string& contenu = "x") const;
    void Dossier(const std::wstring& nom) const;

private:
    std::wstring chemin_;
};

// The bytes of a file, or nothing when it cannot be read.
std::string LitOctets(const std::wstring& chemin);
// The folder of the running test program.
std::wstring DossierDuTest();

}  // namespace tolvane::win32::test
