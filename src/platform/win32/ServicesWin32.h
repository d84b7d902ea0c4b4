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

// Makes version 6 of the common controls apply to every window and message box this thread
// creates from now on, through the program's manifest resource for it. Call before the first
// window or box; later calls do nothing. False when the program carries no such resource (the
// test programs) or it cannot be activated: the classic controls are then used.
bool ActiveControlesCommuns();

class SystemeFichiersWin32 final : public ISystemeFichiers {
public:
    bool FileExists(const std::wstring& chemin) override;
    std::wstring GetDriveName(const std::wstring& chemin) override { return NomLecteur(chemin); }
    bool DriveExists(const std::wstring& lecteur) override;
    bool IsReady(const std::wstring& lecteur) override;
    bool FolderExists(const std::wstring& chemin) override;
};

class ListeurWin32 final : public IListeurRepertoire {
public:
    std::vector<std::wstring> ListeFichiers(const std::wstring& repertoire,
                                            const std::wstring& motif) override;
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
    // `proprietaire` answers the window of ours the user currently sees (or nullptr).
    explicit BoitesMessageWin32(std::function<HWND()> proprietaire)
        : proprietaire_(std::move(proprietaire)) {}
    int MsgBox(const std::wstring& texte, int boutons,
               const std::optional<std::wstring>& titre) override;

private:
    std::function<HWND()> proprietaire_;
};

class ProcessusWin32 final : public IProcessus {
public:
    std::wstring RepertoireApplication() override;
    [[noreturn]] void FinProcessus() override;
    std::wstring TexteErreur(unsigned long code) override;
};

}  // namespace tolvane::win32
