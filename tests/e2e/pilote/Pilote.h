// The end-to-end driver: starts the real programs, finds their windows by caption and their
// controls by ID, reads and acts on them as a user would, answers message boxes and reads the
// files they leave. Runs under Wine beside the programs, in the same Wine server.
//
// Every wait polls every 50 ms and gives up after a bound (10 s unless told); no call can block
// on a hung program, since cross-process messages are sent with a timeout.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "OutilsTest.h"
#include "platform/win32/Poignees.h"

namespace pilote {

inline constexpr DWORD kPasMs = 50;
inline constexpr DWORD kAttenteMaxMs = 10000;

// Polls `condition` every 50 ms until it holds or `maxMs` has passed; true if it held.
bool AttendQue(const std::function<bool()>& condition, DWORD maxMs = kAttenteMaxMs);

// ---- texts, paths, files: the helpers every Windows test program shares ----
using tolvane::win32::test::CheminUnix;
using tolvane::win32::test::CheminWindows;
using tolvane::win32::test::DeAnsi;
using tolvane::win32::test::DeU8;
using tolvane::win32::test::DossierTemporaire;
using tolvane::win32::test::EcritOctets;
using tolvane::win32::test::EnAnsi;
using tolvane::win32::test::LitOctets;
using tolvane::win32::test::Minuscules;
using tolvane::win32::test::U8;

bool Existe(const std::wstring& chemin);
bool Copie(const std::wstring& source, const std::wstring& destination);
bool MetLectureSeule(const std::wstring& chemin, bool lectureSeule);

// ---- processes ----
using Environnement = std::vector<std::pair<std::wstring, std::wstring>>;

class Processus {
public:
    Processus() = default;
    // Starts `exe` (quoted on its command line, then `arguments`) in `dossierTravail`, with the
    // current environment plus `ajouts`, on the desktop `bureau` ("station\desktop", ours when
    // empty). Fails the calling test when it cannot start.
    static Processus Demarre(const std::wstring& exe, const std::wstring& dossierTravail,
                             const Environnement& ajouts = {}, const std::wstring& arguments = {},
                             const std::wstring& bureau = {});
    Processus(Processus&& autre) noexcept;
    Processus& operator=(Processus&& autre) noexcept;
    Processus(const Processus&) = delete;
    Processus& operator=(const Processus&) = delete;
    ~Processus();  // terminates the process if it still runs

    DWORD Pid() const { return pid_; }
    bool Valide() const { return static_cast<bool>(processus_); }
    bool EnCours() const;
    // The exit code once the process has ended within `maxMs`; nothing if it still runs.
    std::optional<DWORD> AttendFin(DWORD maxMs = kAttenteMaxMs) const;
    void Termine();

private:
    tolvane::win32::PoigneeNoyau processus_;
    DWORD pid_ = 0;
};

// Processes whose image file lies under `dossier` (the programs a test copied there and
// whatever they started from there).
std::vector<DWORD> ProcessusSous(const std::wstring& dossier);
// Terminates them and waits (bounded) until they are gone; returns how many were left.
int TermineProcessusSous(const std::wstring& dossier);
// Full path of the module `nom` ("comctl32.dll") loaded in process `pid`, empty when none.
std::wstring ModuleDuProcessus(DWORD pid, std::wstring_view nom);

// ---- windows ----
std::vector<HWND> FenetresDuProcessus(DWORD pid);  // top-level windows, visible or not
std::wstring Texte(HWND fenetre);                  // WM_GETTEXT (or the caption)
std::wstring Classe(HWND fenetre);
bool Visible(HWND fenetre);
bool Actif(HWND fenetre);  // IsWindowEnabled
LONG_PTR Style(HWND fenetre);

// A message box: class #32770 with a prompt (static control 65535), shown or still being built.
bool EstBoiteMessage(HWND fenetre);
// A visible top-level window of `pid` whose caption starts with `debutCaption` (and is not a
// message box), or null after `maxMs`.
HWND AttendFenetre(DWORD pid, std::wstring_view debutCaption, DWORD maxMs = kAttenteMaxMs);
// A visible message box (class #32770 with a prompt) of `pid` titled `titre`, or null.
HWND AttendBoiteMessage(DWORD pid, std::wstring_view titre, DWORD maxMs = kAttenteMaxMs);
// Any visible message box of `pid`, or null.
HWND BoiteMessageVisible(DWORD pid);
std::wstring TexteBoiteMessage(HWND boite);  // the prompt, static control 65535
// IDs of the push buttons of a message box (OK 1, Cancel 2, Yes 6, No 7).
std::vector<int> BoutonsBoiteMessage(HWND boite);
bool AttendDisparition(HWND fenetre, DWORD maxMs = kAttenteMaxMs);

HWND Controle(HWND fenetre, int id);
// Sends a message (with the driver's timeout) and returns its result, 0 when none came.
DWORD_PTR Demande(HWND controle, UINT message, WPARAM w = 0, LPARAM l = 0);
int EtatCoche(HWND bouton);  // BM_GETCHECK: 0, 1 or 2
std::vector<std::wstring> EntreesListe(HWND liste);
int SelectionListe(HWND liste);  // LB_GETCURSEL, -1 when none
// The control's rectangle in its parent's client coordinates, and in `reference`'s.
RECT RectangleDansParent(HWND controle);
RECT RectangleDans(HWND controle, HWND reference);
SIZE TailleClient(HWND fenetre);
// The control that has the keyboard focus in the thread of `fenetre`.
HWND Focus(HWND fenetre);

// ---- acting ----
// Presses a button (BM_CLICK, posted): pushes it, ticks it, or answers a message box by
// button ID. Returns at once; wait for the effect.
bool Clique(HWND bouton);
bool PresseBouton(HWND boite, int id);
// A real left click in the middle of the control, through the system's input queue.
bool CliqueSouris(HWND controle);
bool MetAuPremierPlan(HWND fenetre);
// Closes a window as its system menu or title bar button does (posted).
void Ferme(HWND fenetre);
// Types text into a control as WM_CHAR messages (no focus needed).
bool Tape(HWND controle, std::wstring_view texte);
// Real key presses to whatever has the focus (after MetAuPremierPlan): a virtual key, with
// Shift held when asked, and Unicode text.
bool Touche(WORD vk, bool avecMaj = false);
bool TapeClavier(std::wstring_view texte);

// ---- what the driver saw ----
// Every window of `pid` with its controls: class, ID, text, visible, enabled, check state,
// list entries. Printed when a test fails.
std::wstring DecritFenetres(DWORD pid);

// One line of the probe's log (see tests/e2e/sonde/sonde.cpp).
struct LigneSonde {
    std::wstring evenement;  // "debut" or "fin"
    DWORD pid = 0;
    std::wstring chemin;
    std::wstring ligneCommande;
    std::wstring repertoire;
};
std::vector<LigneSonde> LitJournalSonde(const std::wstring& fichier);

}  // namespace pilote
