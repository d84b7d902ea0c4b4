// The platform services on Win32. Each class is one interface of Services.h over the real APIs.
#pragma once

#include <windows.h>

#include <functional>

#include "platform/Services.h"

namespace tolvane::win32 {

// Drive part of a path as the scripting file-system object gives it: "C:" for "C:\x",
// "\\srv\share" for "\\srv\share\x", empty when the path has none.
std::wstring NomLecteur(const std::wstring& chemin);
// Directory of a module path: the path without its last component, no trailing separator
// except for a drive root ("C:\").
std::wstring RepertoireDe(const std::wstring& cheminModule);

class SystemeFichiersWin32 final : public ISystemeFichiers {
public:
    bool FileExists(const std::wstring& chemin) override;
    std::wstring GetDriveName(const std::wstring& chemin) override { return NomLecteur(chemin); }
    bool DriveExists(const std::wstring& lecteur) override;
    bool IsReady(const std::wstring& lecteur) override;
    bool FolderExists(const std::wstring& chemin) override;
    bool EstLecteurReseau(const std::wstring& lecteur) override;
};

class ListeurWin32 final : public IListeurRepertoire {
public:
    unsigned long Liste(const std::wstring& repertoire, const std::wstring& motif,
                        std::vector<std::wstring>& noms) override;
};

class SourceFichiersWin32 final : public ISourceFichiers {
public:
    std::unique_ptr<IFluxOctets> OuvreLecture(const std::wstring& chemin) override;
};

class EcrivainProfilWin32 final : public IEcrivainProfil {
public:
    bool WritePrivateProfileString(const std::wstring& section, const std::wstring& cle,
                                   const std::wstring& valeur, const std::wstring& fichier) override;
    unsigned long DerniereErreur() const override { return erreur_; }

private:
    unsigned long erreur_ = 0;
};

class LanceurWin32 final : public ILanceurProgrammes {
public:
    unsigned Lance(const std::wstring& cheminProgramme, int etatAffichage) override;
};

class BoitesMessageWin32 final : public IBoitesMessage {
public:
    // `proprietaire` answers the window of ours the user currently sees (or nullptr);
    // `miseEnAvant` whether a box must bring itself forward (Services::MiseEnAvant).
    explicit BoitesMessageWin32(std::function<HWND()> proprietaire, std::function<bool()> miseEnAvant = {})
        : proprietaire_(std::move(proprietaire)), miseEnAvant_(std::move(miseEnAvant)) {}
    int MsgBox(const std::wstring& texte, int boutons,
               const std::optional<std::wstring>& titre) override;

private:
    std::function<HWND()> proprietaire_;
    std::function<bool()> miseEnAvant_;
};

class HorlogeWin32 final : public IHorloge {
public:
    std::uint64_t Millisecondes() override { return GetTickCount64(); }
    void Attend(unsigned ms) override { Sleep(ms); }
};

class ProcessusWin32 final : public IProcessus {
public:
    std::wstring RepertoireApplication() override;
    [[noreturn]] void FinProcessus() override;
    std::wstring TexteErreur(unsigned long code) override;
};

}  // namespace tolvane::win32
