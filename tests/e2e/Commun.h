// What the end-to-end tests share: where the programs are, the control IDs of the three
// windows (100 + TabIndex), the designed texts, and a fixture that gives each test a fresh
// folder with the programs copied in and, when the test fails, prints what the driver saw.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "pilote/Pilote.h"
#include "platform/Encodage.h"

namespace e2e {

struct Programmes {
    std::wstring tolvane;
    std::wstring lanceur;
    std::wstring sonde;
};
const Programmes& Chemins();

namespace principale {
inline constexpr int TXT_Chemin = 100, Flb_file = 101, Cmd_OK = 102, Label1 = 103, Cmd_Sauver = 104, Fra_Option = 105,
                     Opt_Mode0 = 106, Opt_Mode1 = 107, Txt_Texte = 108, Fra_indication = 109, Lbl_titre = 110,
                     Txt_Titre = 111, Lbl_instructions = 112, Txt_instructions = 113, Chk_Instructions = 114,
                     Label2 = 115, Label3 = 116, Cmd_quitter = 117;
}
namespace choix {
inline constexpr int Label1 = 100, Flb_file = 101, Cmd_OK = 102, Cmd_Annuler = 103, Label3 = 104;
}
namespace instructions {
inline constexpr int Txt_instructions = 100, Cmd_OK = 101, Lbl_Titre = 102, Label3 = 103;
}

inline constexpr std::wstring_view kCaptionPrincipale = L"Tolvane 1.0";
inline constexpr std::wstring_view kCaptionChoix = L"Choix du fichier a exécuter ...";
inline constexpr std::wstring_view kTitreParDefaut = L"Tolvane";
inline constexpr char kInstructionsDeConception[] =
    "Entrez ici les instructions que vous voulez indiquez \r\n"
    "avant le lancement de l'exécutable ...\r\n";
inline constexpr char kInstructionsParDefaut[] =
    "Entrez ici les instructions que vous voulez indiquez avant le lancement de l'exécutable "
    "... ATTENTION sans 'ENTER'";

// The system's own French text for a Windows error, without its line break: what the
// programs add under "echec de WritePrivateProfilesstring".
std::string RaisonSysteme(DWORD code);
// The message of a refused write of the settings file `ini`, with the system's reason.
std::string EchecEcriture(const std::wstring& ini, DWORD code);

enum class Build { Configuration, Lanceur };
std::string NomBuild(Build b);
inline void PrintTo(Build b, std::ostream* os) { *os << NomBuild(b); }

// The six settings; Ini() lays them out as the save command does (CR LF, ANSI code page).
struct Reglages {
    std::wstring chemin;
    std::wstring option = L"Toujours_lancer";
    std::wstring dernier = L"aucun";
    std::wstring activee = L"0";
    std::wstring titre = L"TITRE";
    std::wstring instructions = pilote::DeU8(kInstructionsParDefaut);
    std::string Ini() const;
    // The same lines in another encoding: UTF-8 without a mark as Notepad saves them, with one
    // as PowerShell's -Encoding UTF8, UTF-16LE with one as PowerShell 5.1's Out-File.
    std::string IniEn(const tolvane::Encodage& encodage) const;

private:
    std::wstring Texte() const;
};

// Presses Essai and returns its question once shown. Any other box still showing then was left
// by the step before: a posted click reaches the button from inside that box's loop too, so
// the question alone does not prove that the step before is over.
HWND EssaiEtQuestion(const pilote::Processus& p, HWND principale);

// Each test in its own folder:
//   Programme\  Tolvane.exe and Tolvane_Lanceur.exe, and the Tolvane.ini they read
//   Maj\        the directory of executables the settings usually name
//   Ailleurs\   the working directory the programs start in, holding a decoy Tolvane.ini
//               that a program reading the current directory instead of its own would take
//   sonde.log   the probe's log
class TestE2E : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const pilote::DossierTemporaire& Dossier() const { return *dossier_; }
    std::wstring Programme() const { return Dossier() / L"Programme"; }
    std::wstring Maj() const { return Dossier() / L"Maj"; }
    std::wstring CheminIni() const { return Programme() + L"\\Tolvane.ini"; }
    std::wstring Journal() const { return Dossier() / L"sonde.log"; }

    void EcritIni(std::string_view octets) const;
    // The settings file's bytes, or nothing when it does not exist.
    std::optional<std::string> Ini() const;
    // Copies the probe as `relatif` (under the test folder) and returns its path.
    std::wstring AjouteSonde(const std::wstring& relatif) const;
    std::vector<pilote::LigneSonde> LignesSonde() const;
    // The probe's lines once it has written at least `n` (a started program needs a moment),
    // or what there is after 10 s.
    std::vector<pilote::LigneSonde> AttendLignesSonde(size_t n) const;
    // True when nothing was launched: no line in the probe's log and no process running from
    // the test folder but the programs the test started. A launched probe is either still
    // running or has already written its line, so this needs no wait.
    bool SansLancement() const;

    // Runs the launcher until it ends, failing on any message box or main window it shows.
    void LanceurJusquALaFin(const pilote::Environnement& env = {});
    // Starts a program from Programme\ in Ailleurs\, on the desktop `bureau` (ours when empty).
    // The fixture keeps the process, so that a failure can still show its windows; it is ended
    // after the test.
    const pilote::Processus& Lance(Build b, const pilote::Environnement& ajouts = {}, const std::wstring& bureau = {});
    // Presses a message box's button and waits until the box has gone.
    static bool Repond(HWND boite, int idBouton);
    // Refused writes prove something only where a read-only file really refuses them (Wine
    // as root writes them anyway): skips the test otherwise, or fails it in the run that was
    // meant to be without root's override (TOLVANE_E2E_SANS_PRIVILEGE).
    void ExigeEcrituresRefusees() const;
    // Answers every message box until a visible main window shows, recording the title and
    // prompt of each; gives up after `maxBoites` boxes or 10 s without either.
    struct Boite {
        std::string titre, texte;
    };
    HWND FenetrePrincipaleApresBoites(const pilote::Processus& p, std::vector<Boite>& boites, int maxBoites = 10);

private:
    std::unique_ptr<pilote::DossierTemporaire> dossier_;
    std::vector<std::unique_ptr<pilote::Processus>> processus_;
};

}  // namespace e2e
