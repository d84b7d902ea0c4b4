#include "FenetreNativeWin32.h"

#include <algorithm>
#include <exception>

#include "HoteFenetresWin32.h"

namespace tolvane::win32 {

namespace {
constexpr DWORD StyleFenetre = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStyleFenetre = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
}  // namespace

PairControle* FenetreNative::PairDeId(int id) const {
    for (const auto& p : pairs_)
        if (p->Description().genre != Genre::Line && IdControle(p->Description()) == id) return p.get();
    return nullptr;
}

PairControle* FenetreNative::BoutonAvecStyle(std::uint32_t style) const {
    for (const auto& p : pairs_)
        if (p->Description().genre == Genre::CommandButton && (p->Description().style & style)) return p.get();
    return nullptr;
}

std::vector<HWND> FenetreNative::Natifs() const {
    std::vector<HWND> natifs;
    for (const auto& p : pairs_) natifs.push_back(p->hwnd());
    return natifs;
}

bool FenetreNative::CreeControles() {
    const auto table = fenetre_.Description().controles;
    const auto& modeles = fenetre_.Controles();
    for (std::size_t i = 0; i < table.size(); ++i) {
        auto pair = PairControle::Cree(table[i], i, *modeles[i]);
        if (!pair) return false;
        pairs_.push_back(std::move(pair));
    }
    for (const auto& p : pairs_) {
        const int cadre = p->Description().parent;
        if (cadre >= 0 && static_cast<std::size_t>(cadre) < pairs_.size())
            p->PlaceDans(*pairs_[static_cast<std::size_t>(cadre)]);
    }
    // Controls in tab order, so that the Z-order IsDialogMessageW follows is the tab order.
    // Frames go last, under everything: their children are drawn over them and group boxes
    // are never tab stops, so their place changes no navigation.
    for (const auto& p : pairs_)
        if (p->Description().genre != Genre::Line) ordreTab_.push_back(p.get());
    std::stable_sort(ordreTab_.begin(), ordreTab_.end(), [](const PairControle* a, const PairControle* b) {
        const bool cadreA = a->Description().genre == Genre::Frame, cadreB = b->Description().genre == Genre::Frame;
        if (cadreA != cadreB) return cadreB;
        return a->Description().tabIndex < b->Description().tabIndex;
    });
    const PairControle::Parent parent{hwnd_, hote_.instance_, BoutonAvecStyle(BoutonDefaut) != nullptr};
    const PairControle* precedent = nullptr;
    for (PairControle* p : ordreTab_) {
        if (!p->CreeNatif(parent, precedent)) return false;
        precedent = p;
    }
    for (const auto& p : pairs_)
        if (p->Description().genre == Genre::Line) p->CreeNatif(parent, nullptr);
    return true;
}

bool FenetreNative::Cree() {
    // Centred on the monitor of the window it belongs to, else on the primary monitor.
    HMONITOR ecran = (proprietaire_ && IsWindowVisible(proprietaire_))
                         ? MonitorFromWindow(proprietaire_, MONITOR_DEFAULTTOPRIMARY)
                         : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(ecran, &mi);
    // Owned by the hidden window, ours have no taskbar button, as designed. At logon that is
    // how a window gets lost behind others: WS_EX_APPWINDOW gives it a button all the same.
    const DWORD ex = ExStyleFenetre | (enAvant_ ? WS_EX_APPWINDOW : 0);
    // Created hidden on that monitor first: its DPI is known only once the window exists.
    if (!CreateWindowExW(ex, ClasseFenetre, fenetre_.Caption().c_str(), StyleFenetre, mi.rcWork.left, mi.rcWork.top, 1,
                         1, proprietaire_, nullptr, hote_.instance_, this))
        return false;
    if (!CreeControles()) return false;

    // Icons of the program (resource 1 of the executable), small and big.
    HINSTANCE exe = GetModuleHandleW(nullptr);
    if (HANDLE grande = LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                   GetSystemMetrics(SM_CYICON), LR_SHARED))
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(grande));
    if (HANDLE petite = LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED))
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(petite));

    Dispose(DpiDe(hwnd_));
    const SIZE taille = TailleExterieure(fenetre_.Description(), StyleFenetre, ExStyleFenetre, miseEnPage_.Dpi());
    const LONG x = mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - taille.cx) / 2;
    const LONG y = mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - taille.cy) / 2;
    SetWindowPos(hwnd_, nullptr, std::max(x, mi.rcWork.left), std::max(y, mi.rcWork.top), taille.cx, taille.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    const auto& modeles = fenetre_.Controles();
    for (std::size_t i = 0; i < pairs_.size(); ++i) modeles[i]->AttachePair(pairs_[i].get());
    fenetre_.AttachePair(this);
    for (const auto& p : pairs_) p->Actualise();
    return true;
}

void FenetreNative::Montre() {
    // The first control in tab order that takes the focus; restored by WM_ACTIVATE.
    focusSauve_ = nullptr;
    for (const PairControle* p : ordreTab_) {
        const LONG_PTR style = GetWindowLongPtrW(p->hwnd(), GWL_STYLE);
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
            focusSauve_ = p->hwnd();
            break;
        }
    }
    hote_.pile_.push_back(this);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    // The system grants the foreground only to a process the user is dealing with (started by
    // the foreground process, or once the foreground lock time-out has passed…); refused, it
    // flashes the taskbar button instead, which is why the window has one. Nothing more is
    // tried: taking the focus from what the user is typing into would be worse.
    if (enAvant_) SetForegroundWindow(hwnd_);
    if (focusSauve_ && GetFocus() != focusSauve_) SetFocus(focusSauve_);
    UpdateWindow(hwnd_);
}

void FenetreNative::Ferme() {
    if (!hwnd_) return;
    // Chen's order: the owner is enabled again before its modal window goes, so that the
    // activation returns to it rather than to some other program.
    if (modale_ && proprietaire_) EnableWindow(proprietaire_, TRUE);
    for (Controle* c : fenetre_.Controles()) c->AttachePair(nullptr);
    fenetre_.AttachePair(nullptr);
    auto& pile = hote_.pile_;
    pile.erase(std::remove(pile.begin(), pile.end(), this), pile.end());
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

bool FenetreNative::Clavier(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.wParam == VK_ESCAPE) {
        // Also keeps a multi-line edit from posting WM_CLOSE, which would act as the close box.
        Presse(BoutonAnnulation);
        return true;
    }
    if (msg.wParam != VK_RETURN) return false;
    HWND focus = GetFocus();
    PairControle* pair = focus ? PairDeId(GetDlgCtrlID(focus)) : nullptr;
    if (pair && pair->hwnd() == focus) {
        const PairControle::Entree entree = pair->SurEntree();
        if (entree == PairControle::Entree::Utilisee) return true;
        if (entree == PairControle::Entree::Laissee) return false;
    }
    Presse(BoutonDefaut);
    return true;
}

void FenetreNative::Commande(int id, int code, HWND controle) {
    PairControle* pair = PairDeId(id);
    if (!pair || pair->hwnd() != controle) return;
    // The handler may have changed the control again, or unloaded the window.
    if (pair->Notification(code) && hwnd_) pair->Actualise();
}

LRESULT FenetreNative::CouleurStatique(HDC dc, HWND controle) {
    if (PairControle* pair = PairDeId(GetDlgCtrlID(controle)))
        if (HBRUSH pinceau = pair->Couleur(dc)) return reinterpret_cast<LRESULT>(pinceau);
    return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(controle));
}

void FenetreNative::Peint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    for (const auto& p : pairs_) p->Peint(dc, miseEnPage_.Dpi());
    EndPaint(hwnd_, &ps);
}

LRESULT FenetreNative::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            // From the dialog manager: Enter (IDOK) or Esc (IDCANCEL).
            if (LOWORD(wParam) == IDOK) Presse(BoutonDefaut);
            if (LOWORD(wParam) == IDCANCEL) Presse(BoutonAnnulation);
            return 0;
        }
        Commande(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TOLVANE_PERTE_FOCUS: {
        // LostFocus only when the focus went to another control of this window, as in VB:
        // not when the user switched to another program or a message box took it.
        HWND focus = GetFocus();
        if (!fenetre_.EstChargee() || !focus || (focus != hwnd_ && !IsChild(hwnd_, focus))) return 0;
        if (wParam < pairs_.size()) pairs_[wParam]->PerteFocus();
        return 0;
    }
    case WM_CTLCOLORSTATIC: return CouleurStatique(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_PAINT: Peint(); return 0;
    case WM_CLOSE:
        // The close box and Alt+F4 go to the window's logic; never DefWindowProc's destroy.
        fenetre_.SurCaseFermeture();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) focusSauve_ = focus;
        } else if (focusSauve_ && IsWindow(focusSauve_)) {
            SetFocus(focusSauve_);
            return 0;
        }
        break;
    case WM_NEXTDLGCTL:
        // A multi-line edit asks its parent to move the focus on Tab, as in a dialog.
        if (LOWORD(lParam))
            SetFocus(reinterpret_cast<HWND>(wParam));
        else if (HWND suivant = GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0))
            SetFocus(suivant);
        return 0;
    case DM_GETDEFID: {
        const PairControle* defaut = BoutonAvecStyle(BoutonDefaut);
        return defaut ? MAKELRESULT(IdControle(defaut->Description()), DC_HASDEFID) : 0;
    }
    case WM_DPICHANGED:
        miseEnPage_.SurDpiChange(hwnd_, fenetre_.Description(), Natifs(), wParam, lParam, StyleFenetre, ExStyleFenetre);
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK FenetreNative::ProcedureStatique(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* natif = static_cast<FenetreNative*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        natif->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(natif));
    }
    auto* natif = reinterpret_cast<FenetreNative*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!natif || natif->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        natif->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    // No exception may unwind through the system's frames.
    try {
        return natif->Procedure(message, wParam, lParam);
    } catch (...) {
        std::terminate();
    }
}

}  // namespace tolvane::win32
