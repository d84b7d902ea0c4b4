// What every Windows test program needs, the Win32 service tests and the end-to-end driver
// alike: text conversions, Wine's path mapping, file bytes, and a fresh folder per test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace tolvane::win32::test {

// ---- texts and paths ----
std::string U8(std::wstring_view texte);
std::wstring DeU8(std::string_view texte);
// Bytes of the system's ANSI code page (what the settings file holds) to and from wide text.
std::string EnAnsi(std::wstring_view texte);
std::wstring DeAnsi(std::string_view octets);
// Lower case, for paths Windows compares without regard to case.
std::wstring Minuscules(std::wstring texte);
// A Unix path as Wine sees it (Z:\...), for the build paths given at compile time.
std::wstring CheminWindows(const std::string& cheminUnix);
// Where Wine keeps a Windows path on the Linux side; empty outside Wine.
std::string CheminUnix(const std::wstring& chemin);

// ---- files ----
// The bytes of a file, or nothing when it cannot be read.
std::optional<std::string> LitOctets(const std::wstring& chemin);
bool EcritOctets(const std::wstring& chemin, std::string_view octets);
// The folder of the running test program.
std::wstring DossierDuTest();

// A fresh folder under the user's temp folder, named after `nom`, removed with its contents
// when the object goes, unless Garde() was called (kept for a failed test's post-mortem).
class DossierTemporaire {
public:
    explicit DossierTemporaire(const std::wstring& nom = L"win32");
    ~DossierTemporaire();
    DossierTemporaire(const DossierTemporaire&) = delete;
    DossierTemporaire& operator=(const DossierTemporaire&) = delete;

    const std::wstring& Chemin() const { return chemin_; }
    // Chemin() + "\" + relatif.
    std::wstring operator/(const std::wstring& relatif) const;
    // Creates a sub-folder (and its parents) and returns its path.
    std::wstring CreeDossier(const std::wstring& relatif) const;
    // Creates a file holding `contenu` (bytes), and the folders above it.
    void Fichier(const std::wstring& relatif, const std::string& contenu = "x") const;
    // Copies a file into the folder under the given relative name and returns the new path.
    std::wstring CopieIci(const std::wstring& source, const std::wstring& relatif) const;
    void Garde() { garde_ = true; }

private:
    std::wstring chemin_;
    bool garde_ = false;
};

}  // namespace tolvane::win32::test
