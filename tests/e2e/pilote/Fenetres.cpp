// The driver's view of windows: finding them, reading them, acting on them as a user would.
#include "pilote/Pilote.h"

#include <algorithm>

namespace pilote {

namespace {

// Long enough for a program busy loading a window, short enough that a hung one fails the
// test instead of the run.
constexpr UINT kDelaiMessageMs = 5000;

bool Envoie(HWND fenetre, UINT message, WPARAM w, LPARAM l, DWORD_PTR* resultat = nullptr) {
    DWORD_PTR r = 0;
    LRESULT ok = SendMessageTimeoutW(fenetre, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, kDelaiMessageMs, &r);
    if (resultat) *resultat = r;
    return ok != 0;
}

}  // namespace

// ---- windows ----

bool EstBoiteMessage(HWND fenetre) { return Classe(fenetre) == L"#32770" && GetDlgItem(fenetre, 0xFFFF) != nullptr; }

std::vector<HWND> FenetresDuProcessus(DWORD pid) {
    struct Contexte {
        DWORD pid;
        std::vector<HWND> fenetres;
    } c{pid, {}};
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            auto* c = reinterpret_cast<Contexte*>(l);
            DWORD proprietaire = 0;
            GetWindowThreadProcessId(h, &proprietaire);
            if (proprietaire == c->pid) c->fenetres.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.fenetres;
}

std::wstring Texte(HWND fenetre) {
    if (!fenetre) return {};
    DWORD_PTR longueur = 0;
    if (!Envoie(fenetre, WM_GETTEXTLENGTH, 0, 0, &longueur)) {
        // A busy or hung window: the caption the system keeps for it.
        wchar_t tampon[1024];
        int n = GetWindowTextW(fenetre, tampon, 1024);
        return std::wstring(tampon, static_cast<size_t>(n > 0 ? n : 0));
    }
    std::wstring texte(longueur + 1, L'\0');
    DWORD_PTR copies = 0;
    Envoie(fenetre, WM_GETTEXT, texte.size(), reinterpret_cast<LPARAM>(texte.data()), &copies);
    texte.resize(std::min<size_t>(copies, longueur));
    return texte;
}

std::wstring Classe(HWND fenetre) {
    wchar_t tampon[256];
    int n = GetClassNameW(fenetre, tampon, 256);
    return std::wstring(tampon, static_cast<size_t>(n > 0 ? n : 0));
}

bool Visible(HWND fenetre) { return fenetre && IsWindowVisible(fenetre); }
bool Actif(HWND fenetre) { return fenetre && IsWindowEnabled(fenetre); }
LONG_PTR Style(HWND fenetre) { return GetWindowLongPtrW(fenetre, GWL_STYLE); }

HWND AttendFenetre(DWORD pid, std::wstring_view debutCaption, DWORD maxMs) {
    HWND trouvee = nullptr;
    AttendQue(
        [&] {
            for (HWND h : FenetresDuProcessus(pid)) {
                wchar_t tampon[1024];
                int n = GetWindowTextW(h, tampon, 1024);
                std::wstring caption(tampon, static_cast<size_t>(n > 0 ? n : 0));
                if (IsWindowVisible(h) && !EstBoiteMessage(h) && caption.starts_with(debutCaption)) {
                    trouvee = h;
                    return true;
                }
            }
            return false;
        },
        maxMs);
    return trouvee;
}

HWND AttendBoiteMessage(DWORD pid, std::wstring_view titre, DWORD maxMs) {
    HWND trouvee = nullptr;
    // Message boxes exist, titled, before they are shown: pressing a button of a hidden one
    // would be lost, so wait until it is visible.
    AttendQue(
        [&] {
            for (HWND h : FenetresDuProcessus(pid)) {
                if (IsWindowVisible(h) && EstBoiteMessage(h)) {
                    wchar_t tampon[1024];
                    int n = GetWindowTextW(h, tampon, 1024);
                    if (std::wstring_view(tampon, static_cast<size_t>(n > 0 ? n : 0)) == titre) {
                        trouvee = h;
                        return true;
                    }
                }
            }
            return false;
        },
        maxMs);
    return trouvee;
}

HWND BoiteMessageVisible(DWORD pid) {
    for (HWND h : FenetresDuProcessus(pid))
        if (IsWindowVisible(h) && EstBoiteMessage(h)) return h;
    return nullptr;
}

std::wstring TexteBoiteMessage(HWND boite) { return Texte(GetDlgItem(boite, 0xFFFF)); }

std::vector<int> BoutonsBoiteMessage(HWND boite) {
    std::vector<int> ids;
    for (HWND h = GetWindow(boite, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (Classe(h) == L"Button" && IsWindowVisible(h)) ids.push_back(GetDlgCtrlID(h));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool AttendDisparition(HWND fenetre, DWORD maxMs) {
    return AttendQue([&] { return !IsWindow(fenetre) || !IsWindowVisible(fenetre); }, maxMs);
}

HWND Controle(HWND fenetre, int id) {
    if (!fenetre) return nullptr;
    if (HWND h = GetDlgItem(fenetre, id)) return h;
    // Controls inside a frame may be children of the frame rather than of the window.
    struct Contexte {
        int id;
        HWND trouve;
    } c{id, nullptr};
    EnumChildWindows(
        fenetre,
        [](HWND h, LPARAM l) -> BOOL {
            auto* c = reinterpret_cast<Contexte*>(l);
            if (GetDlgCtrlID(h) == c->id) {
                c->trouve = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.trouve;
}

DWORD_PTR Demande(HWND controle, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR r = 0;
    Envoie(controle, message, w, l, &r);
    return r;
}

int EtatCoche(HWND bouton) {
    DWORD_PTR etat = 0;
    if (!Envoie(bouton, BM_GETCHECK, 0, 0, &etat)) return -1;
    return static_cast<int>(etat);
}

std::vector<std::wstring> EntreesListe(HWND liste) {
    std::vector<std::wstring> entrees;
    DWORD_PTR n = 0;
    if (!Envoie(liste, LB_GETCOUNT, 0, 0, &n) || static_cast<LRESULT>(n) == LB_ERR) return entrees;
    for (WPARAM i = 0; i < n; ++i) {
        DWORD_PTR longueur = 0;
        Envoie(liste, LB_GETTEXTLEN, i, 0, &longueur);
        if (static_cast<LRESULT>(longueur) == LB_ERR) longueur = 0;
        std::wstring texte(longueur + 1, L'\0');
        DWORD_PTR copies = 0;
        Envoie(liste, LB_GETTEXT, i, reinterpret_cast<LPARAM>(texte.data()), &copies);
        texte.resize(static_cast<LRESULT>(copies) == LB_ERR ? 0 : std::min<size_t>(copies, longueur));
        entrees.push_back(texte);
    }
    return entrees;
}

int SelectionListe(HWND liste) {
    DWORD_PTR selection = 0;
    if (!Envoie(liste, LB_GETCURSEL, 0, 0, &selection)) return -1;
    return static_cast<int>(static_cast<LRESULT>(selection));
}

RECT RectangleDans(HWND controle, HWND reference) {
    RECT r{};
    GetWindowRect(controle, &r);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT RectangleDansParent(HWND controle) { return RectangleDans(controle, GetParent(controle)); }

SIZE TailleClient(HWND fenetre) {
    RECT r{};
    GetClientRect(fenetre, &r);
    return {r.right - r.left, r.bottom - r.top};
}

HWND Focus(HWND fenetre) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(fenetre, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// ---- acting ----

bool Clique(HWND bouton) {
    // Posted, as a user's click arrives: the program then runs whatever follows (a modal
    // loop, a launch, the end of the process) from its own message loop. Sent from this
    // thread, the click would run all that inside a cross-thread SendMessage, which no user
    // does (and after which, seen here, the launcher never went on).
    return bouton && PostMessageW(bouton, BM_CLICK, 0, 0) != 0;
}

bool PresseBouton(HWND boite, int id) { return Clique(GetDlgItem(boite, id)); }

bool MetAuPremierPlan(HWND fenetre) {
    if (!fenetre) return false;
    SetForegroundWindow(fenetre);
    return AttendQue([&] { return GetForegroundWindow() == fenetre; }, 2000);
}

void Ferme(HWND fenetre) { PostMessageW(fenetre, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool CliqueSouris(HWND controle) {
    if (!controle) return false;
    RECT r{};
    GetWindowRect(controle, &r);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    const int largeur = GetSystemMetrics(SM_CXSCREEN), hauteur = GetSystemMetrics(SM_CYSCREEN);
    INPUT entrees[3]{};
    for (auto& e : entrees) {
        e.type = INPUT_MOUSE;
        e.mi.dx = MulDiv(x, 65535, largeur - 1);
        e.mi.dy = MulDiv(y, 65535, hauteur - 1);
    }
    entrees[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    entrees[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    entrees[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    return SendInput(3, entrees, sizeof(INPUT)) == 3;
}

bool Tape(HWND controle, std::wstring_view texte) {
    for (wchar_t c : texte)
        if (!Envoie(controle, WM_CHAR, c, 1)) return false;
    return true;
}

bool Touche(WORD vk, bool avecMaj) {
    std::vector<INPUT> entrees;
    auto ajoute = [&](WORD touche, bool relache) {
        INPUT e{};
        e.type = INPUT_KEYBOARD;
        e.ki.wVk = touche;
        e.ki.wScan = static_cast<WORD>(MapVirtualKeyW(touche, MAPVK_VK_TO_VSC));
        e.ki.dwFlags = relache ? KEYEVENTF_KEYUP : 0;
        entrees.push_back(e);
    };
    if (avecMaj) ajoute(VK_SHIFT, false);
    ajoute(vk, false);
    ajoute(vk, true);
    if (avecMaj) ajoute(VK_SHIFT, true);
    return SendInput(static_cast<UINT>(entrees.size()), entrees.data(), sizeof(INPUT)) == entrees.size();
}

bool TapeClavier(std::wstring_view texte) {
    std::vector<INPUT> entrees;
    for (wchar_t c : texte) {
        for (bool relache : {false, true}) {
            INPUT e{};
            e.type = INPUT_KEYBOARD;
            e.ki.wScan = c;
            e.ki.dwFlags = KEYEVENTF_UNICODE | (relache ? KEYEVENTF_KEYUP : 0);
            entrees.push_back(e);
        }
    }
    return SendInput(static_cast<UINT>(entrees.size()), entrees.data(), sizeof(INPUT)) == entrees.size();
}

}  // namespace pilote
