// The platform services on Win32. Each class is one interface of Services.h over the real APIs.
#pragma once

#include <windows.h>

#include <functional>

#include "Poignees.h"
#include "platform/Chemins.h"
#include "platform/Services.h"

namespace tolvane::win32 {

// The full path (GetFullPathNameW, whatever its length); the path itself when it cannot be made
// full.
std::wstring CheminComplet(const std::wstring& chemin);

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
    bool EstLecteurReseau(const std::wstring& lecteur) override;
    bool LettreEnAttente(const std::wstring& lecteur) override;
    unsigned long Sonde(const std::wstring& chemin) override;
    unsigned long PartageDeLaLettre(const std::wstring& lecteur) override;
    AutreSession LettreDeLAutreSession(const std::wstring& lecteur) override;
    std::wstring CheminUniversel(const std::wstring& chemin) override;
};

class ListeurWin32 final : public IListeurRepertoire {
public:
    unsigned long Liste(const std::wstring& repertoire, const std::wstring& motif,
                        std::vector<std::wstring>& noms) override;
};

class SourceFichiersWin32 final : public ISourceFichiers {
public:
    std::unique_ptr<IFluxOctets> OuvreLecture(const std::wstring& chemin) override;
    unsigned long DerniereErreur() const override { return erreur_; }

private:
    unsigned long erreur_ = 0;
};

class EcrivainProfilWin32 final : public IEcrivainProfil {
public:
    bool WritePrivateProfileString(const std::wstring& section, const std::wstring& cle, const std::wstring& valeur,
                                   const std::wstring& fichier) override;
    bool EcritSurPlace(const std::wstring& section, const std::wstring& cle, const std::wstring& valeur,
                       const std::wstring& fichier) override;
    std::wstring Recupere(const std::wstring& fichier) override;
    unsigned long DerniereErreur() const override { return erreur_; }

private:
    bool Remplace(const std::wstring& fichier, const std::wstring& temporaire, const std::string& octets);
    bool RemplaceSurPlace(const std::wstring& fichier, const std::string& octets);
    bool Echec(unsigned long erreur) {
        erreur_ = erreur;
        return false;
    }
    unsigned long erreur_ = 0;
};

class LanceurWin32 final : public ILanceurProgrammes {
public:
    // `proprietaire` answers the window of ours the user currently sees (or nullptr): the
    // consent prompt comes up in front of it. Where there is none, a small window of ours says
    // what is asked, unless `personneALEcran` answers true.
    explicit LanceurWin32(std::function<HWND()> proprietaire = {}, std::function<bool()> personneALEcran = {})
        : proprietaire_(std::move(proprietaire)), personneALEcran_(std::move(personneALEcran)) {}
    unsigned Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage) override;
    unsigned LanceAvecElevation(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                int etatAffichage) override;
    unsigned long DerniereErreur() const override { return erreur_; }
    std::unique_ptr<IMiseAJourTenue> Tiens(const std::wstring& cheminProgramme) override;
    unsigned LanceSuivi(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                        int etatAffichage) override;
    std::optional<unsigned long> AttendFin(std::uint64_t delaiMs) override;

private:
    // CreateProcessW of exactly this file, suspended; false with erreur_ set.
    bool CreeSuspendu(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage,
                      DWORD options, PROCESS_INFORMATION& pi);
    std::function<HWND()> proprietaire_;
    std::function<bool()> personneALEcran_;
    // The followed update's job and process.
    PoigneeNoyau job_, processusSuivi_;
    unsigned long erreur_ = 0;
};

// A named mutex, "Global\" + NomVerrouReglages(full path): the shared one, that every session
// and the system account may wait on, or (`poste`) the machine-start run's, that only SYSTEM and
// the Administrators may, and that is not trusted when someone else made it.
class VerrouReglagesWin32 final : public IVerrouReglages {
public:
    // `fenetre` answers the window of ours the user currently sees (or nullptr): it is kept
    // alive, and disabled, while the lock is waited for.
    explicit VerrouReglagesWin32(std::function<HWND()> fenetre = {}, bool poste = false)
        : fenetre_(std::move(fenetre)), poste_(poste) {}
    bool Prend(const std::wstring& cheminReglages, unsigned long delaiMs) override;
    void Rend() override;
    unsigned long DerniereErreur() const override { return erreur_; }
    std::wstring ProprietaireRefuse() const override { return proprietaire_; }

private:
    DWORD Attend(HWND fenetre, unsigned long delaiMs);
    // SYSTEM or the Administrators made it; else proprietaire_ names who did.
    bool ProprietaireDeConfiance();
    std::function<HWND()> fenetre_;
    const bool poste_;
    PoigneeNoyau mutex_;
    unsigned long erreur_ = 0;
    std::wstring proprietaire_;
};

class BoitesMessageWin32 final : public IBoitesMessage {
public:
    // `proprietaire` answers the window of ours the user currently sees (or nullptr);
    // `miseEnAvant` whether a box must bring itself forward (Services::AvantFenetrePrincipale).
    explicit BoitesMessageWin32(std::function<HWND()> proprietaire, std::function<bool()> miseEnAvant = {})
        : proprietaire_(std::move(proprietaire)), miseEnAvant_(std::move(miseEnAvant)) {}
    int MsgBox(const std::wstring& texte, int boutons, const std::optional<std::wstring>& titre) override;

private:
    std::function<HWND()> proprietaire_;
    std::function<bool()> miseEnAvant_;
};

class HorlogeWin32 final : public IHorloge {
public:
    std::uint64_t Millisecondes() override { return GetTickCount64(); }
    void Attend(unsigned ms) override { Sleep(ms); }
};

// The system's preferred random generator (BCryptGenRandom), loaded from System32 when first
// drawn from.
class AleatoireWin32 final : public IAleatoire {
public:
    std::uint64_t Entre(std::uint64_t maximum) override;
};

class ProcessusWin32 final : public IProcessus {
public:
    std::wstring RepertoireApplication() override;
    [[noreturn]] void FinProcessus() override;
    std::wstring TexteErreur(unsigned long code) override;
    bool PersonneALEcran() override;
    bool EnSessionZero() override;
};

// The Application log, source "Tolvane", whose texts are the programs' message table. The
// programs delay-load advapi32: it is loaded by the first event, once the update has started.
class JournalEvenementsWin32 final : public IJournalEvenements {
public:
    void Signale(std::uint16_t code, Gravite gravite, const std::vector<std::wstring>& chaines) override;
};

}  // namespace tolvane::win32
