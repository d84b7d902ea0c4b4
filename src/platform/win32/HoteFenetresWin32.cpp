#include "HoteFenetresWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <string>

#include "FonctionsDynamiques.h"
#include "Poignees.h"
#include "ServicesWin32.h"

namespace tolvane::win32 {

namespace {

constexpr wchar_t ClasseFenetre[] = L"TolvaneFenetre";
constexpr wchar_t ClasseProprietaire[] = L"TolvaneProprietaire";
// Posted when a text box has lost the focus; handled once the focus has arrived elsewhere.
constexpr UINT WM_TOLVANE_PERTE_FOCUS = WM_APP + 1;

int Px(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// Per-monitor DPI where the system knows it (Windows 10 1607 on), else the system DPI.
UINT DpiDe(HWND hwnd) {
    static const auto pourFenetre = FonctionDe<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (pourFenetre) {
        if (const UINT dpi = pourFenetre(hwnd)) return dpi;
    }
    const ContexteAffichage ecran(nullptr);
    const int dpi = GetDeviceCaps(ecran.get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void AjusteRect(RECT& r, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto pourDpi =
        FonctionDe<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (!pourDpi || !pourDpi(&r, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

std::wstring TexteDe(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

void PoseTexte(HWND h, const std::wstring& texte) {
    if (TexteDe(h) != texte) SetWindowTextW(h, texte.c_str());
}

PoigneePolice CreePolice(const wchar_t* nom, int points, int graisse, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    lf.lfWeight = graisse;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, nom, LF_FACESIZE - 1);
    return PoigneePolice(CreateFontIndirectW(&lf));
}

}  // namespace

class FenetreNative;

// The native peer of one control: shows the model's state in its HWND.
class PairControle final : public IPairControle {
public:
    PairControle(FenetreNative& fenetre, std::size_t ligne, HWND hwnd)
        : fenetre_(fenetre), ligne_(ligne), hwnd_(hwnd) {}
    void Actualise() override;
    HWND hwnd() const { return hwnd_; }
    // True while the peer itself changes the HWND: the notifications that follow are ours.
    bool EnActualisation() const { return enActualisation_; }

private:
    FenetreNative& fenetre_;
    std::size_t ligne_;
    HWND hwnd_;
    bool enActualisation_ = false;
};

class FenetreNative final : public IPairFenetre {
public:
    FenetreNative(HoteFenetresWin32& hote, Fenetre& fenetre, HWND proprietaire, bool modale, bool enAvant = false)
        : hote_(hote), fenetre_(fenetre), proprietaire_(proprietaire), modale_(modale), enAvant_(enAvant) {}
    ~FenetreNative() override { Ferme(); }
    FenetreNative(const FenetreNative&) = delete;
    FenetreNative& operator=(const FenetreNative&) = delete;

    bool Cree();
    void Montre();
    // Re-enables the owner, detaches the peers and destroys the window, in that order.
    void Ferme();
    HWND hwnd() const { return hwnd_; }

    void ActualiseCaption() override {
        if (hwnd_) SetWindowTextW(hwnd_, fenetre_.Caption().c_str());
    }
    void Decharge() override {
        Ferme();
        // Unloaded from a sent message (another program's BM_CLICK, say), the modal loop is
        // still waiting in GetMessage: wake it so that it sees the window has gone.
        PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, 0);
    }

    // Enter and Esc, handled as a VB form does; true when the key was used.
    bool Clavier(const MSG& msg);
    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class PairControle;

    const DescriptionControle& Ligne(std::size_t i) const { return fenetre_.Description().controles[i]; }
    Controle& Modele(std::size_t i) const { return *fenetre_.Controles()[i]; }
    bool ActifEffectif(std::size_t i) const;
    int LigneDeId(int id) const;
    int LigneAvecStyle(std::uint32_t style) const;
    void Dispose(UINT dpi);
    void TailleFenetre(UINT dpi, int& largeur, int& hauteur) const;
    void Commande(int id, int code, HWND controle);
    void Presse(int ligne);
    void Peint();
    LRESULT CouleurStatique(HDC dc, HWND controle);
    void ActualiseLigne(std::size_t i) {
        if (pairs_[i]) pairs_[i]->Actualise();
    }

public:
    static LRESULT CALLBACK ProcedureStatique(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HoteFenetresWin32& hote_;
    Fenetre& fenetre_;
    HWND proprietaire_;
    bool modale_;
    bool enAvant_;  // a taskbar button and a request for the foreground
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    std::vector<std::unique_ptr<PairControle>> pairs_;  // one per row; lines have none
    std::vector<std::size_t> ordreTab_;                  // rows with an HWND, in tab order
    PoigneePolice police_, policeArial_;
    std::vector<std::pair<std::int32_t, PoigneePinceau>> pinceaux_;
    HWND focusSauve_ = nullptr;
};

// --- PairControle -----------------------------------------------------------------------------

void PairControle::Actualise() {
    if (!hwnd_) {  // a line: drawn by the window
        if (fenetre_.hwnd_) InvalidateRect(fenetre_.hwnd_, nullptr, TRUE);
        return;
    }
    const DescriptionControle& d = fenetre_.Ligne(ligne_);
    Controle& c = fenetre_.Modele(ligne_);
    enActualisation_ = true;
    switch (d.genre) {
    case Genre::TextBox: PoseTexte(hwnd_, static_cast<TextBox&>(c).Text()); break;
    case Genre::Label: PoseTexte(hwnd_, static_cast<Label&>(c).Caption()); break;
    case Genre::Frame: PoseTexte(hwnd_, static_cast<Frame&>(c).Caption()); break;
    case Genre::CheckBox: {
        static constexpr WPARAM etats[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        SendMessageW(hwnd_, BM_SETCHECK, etats[static_cast<CheckBox&>(c).Value()], 0);
        break;
    }
    case Genre::OptionButton: {
        const bool choisi = static_cast<OptionButton&>(c).Value();
        SendMessageW(hwnd_, BM_SETCHECK, choisi ? BST_CHECKED : BST_UNCHECKED, 0);
        // Only the selected button of a group is a tab stop, as in a dialog.
        const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
        const LONG_PTR voulu = choisi ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        if (voulu != style) SetWindowLongPtrW(hwnd_, GWL_STYLE, voulu);
        break;
    }
    case Genre::FileListBox: {
        auto& liste = static_cast<FileListBox&>(c);
        const std::vector<std::wstring>& entrees = liste.Entrees();
        bool pareil = SendMessageW(hwnd_, LB_GETCOUNT, 0, 0) == static_cast<LRESULT>(entrees.size());
        for (std::size_t i = 0; pareil && i < entrees.size(); ++i) {
            const auto n = SendMessageW(hwnd_, LB_GETTEXTLEN, i, 0);
            std::wstring s(static_cast<std::size_t>(std::max<LRESULT>(n, 0)) + 1, L'\0');
            s.resize(static_cast<std::size_t>(std::max<LRESULT>(SendMessageW(hwnd_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data())), 0)));
            pareil = s == entrees[i];
        }
        if (!pareil) {
            SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
            SendMessageW(hwnd_, LB_RESETCONTENT, 0, 0);
            for (const std::wstring& e : entrees) SendMessageW(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
            SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        const int index = liste.ListIndex();
        if (SendMessageW(hwnd_, LB_GETCURSEL, 0, 0) != index) SendMessageW(hwnd_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        break;
    }
    case Genre::CommandButton:
    case Genre::Line: break;
    }
    const bool actif = fenetre_.ActifEffectif(ligne_);
    if ((IsWindowEnabled(hwnd_) != FALSE) != actif) EnableWindow(hwnd_, actif);
    const bool visible = c.Visible() && (d.style & Cache) == 0;
    const bool estVisible = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != estVisible) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    enActualisation_ = false;
    // A frame's state shows in the controls inside it.
    if (d.genre == Genre::Frame) {
        for (std::size_t i = 0; i < fenetre_.pairs_.size(); ++i)
            if (fenetre_.Ligne(i).parent == static_cast<int>(ligne_)) fenetre_.ActualiseLigne(i);
    }
}

// --- FenetreNative ----------------------------------------------------------------------------

bool FenetreNative::ActifEffectif(std::size_t i) const {
    for (int l = static_cast<int>(i); l >= 0; l = Ligne(static_cast<std::size_t>(l)).parent)
        if (!Modele(static_cast<std::size_t>(l)).Enabled()) return false;
    return true;
}

int FenetreNative::LigneDeId(int id) const {
    for (std::size_t i = 0; i < pairs_.size(); ++i)
        if (Ligne(i).genre != Genre::Line && IdControle(Ligne(i)) == id) return static_cast<int>(i);
    return -1;
}

int FenetreNative::LigneAvecStyle(std::uint32_t style) const {
    for (std::size_t i = 0; i < pairs_.size(); ++i)
        if (Ligne(i).genre == Genre::CommandButton && (Ligne(i).style & style)) return static_cast<int>(i);
    return -1;
}

constexpr DWORD StyleFenetre = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD ExStyleFenetre = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

bool FenetreNative::Cree() {
    const DescriptionFenetre& desc = fenetre_.Description();
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
    if (!CreateWindowExW(ex, ClasseFenetre, fenetre_.Caption().c_str(), StyleFenetre,
                         mi.rcWork.left, mi.rcWork.top, 1, 1, proprietaire_, nullptr, hote_.instance_, this))
        return false;

    // Controls in tab order, so that the Z-order IsDialogMessageW follows is the tab order.
    // Frames go last, under everything: their children are drawn over them and group boxes
    // are never tab stops, so their place changes no navigation.
    const std::size_t n = desc.controles.size();
    pairs_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        if (desc.controles[i].genre != Genre::Line) ordreTab_.push_back(i);
    std::stable_sort(ordreTab_.begin(), ordreTab_.end(), [&](std::size_t a, std::size_t b) {
        const bool cadreA = Ligne(a).genre == Genre::Frame, cadreB = Ligne(b).genre == Genre::Frame;
        if (cadreA != cadreB) return cadreB;
        return Ligne(a).tabIndex < Ligne(b).tabIndex;
    });

    const bool boutonDefaut = LigneAvecStyle(BoutonDefaut) >= 0;
    int precedent = -1;
    for (std::size_t i : ordreTab_) {
        const DescriptionControle& d = Ligne(i);
        const wchar_t* classe = L"BUTTON";
        // Some designed rectangles overlap by a pixel or two once scaled (Label2 over the top
        // edge of TXT_Chemin at 144 dpi): each control paints only where no sibling above it is.
        DWORD style = WS_CHILD | WS_CLIPSIBLINGS, ex = 0;
        switch (d.genre) {
        case Genre::CommandButton:
            style |= WS_TABSTOP | ((d.style & BoutonDefaut) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case Genre::CheckBox:
            // Not an auto box: a user's click goes to the model, which alone decides the state
            // (0 and 1 by the user, 2 only by the program).
            style |= WS_TABSTOP | BS_3STATE;
            break;
        case Genre::OptionButton: style |= BS_AUTORADIOBUTTON; break;
        case Genre::Frame:
            style |= BS_GROUPBOX;
            ex |= WS_EX_TRANSPARENT;
            break;
        case Genre::Label:
            classe = L"STATIC";
            style |= (d.style & TexteCentre) ? SS_CENTER : SS_LEFT;
            if (d.style & BordureSimple) style |= WS_BORDER;
            if (d.style & TexteLitteral) style |= SS_NOPREFIX;
            break;
        case Genre::TextBox:
            classe = L"EDIT";
            ex |= WS_EX_CLIENTEDGE;
            if ((d.style & Cache) == 0) style |= WS_TABSTOP;
            if (d.style & Multiligne) {
                // Words wrap and no scroll bar shows: the caret reaches the rest.
                style |= ES_MULTILINE | ES_AUTOVSCROLL;
                if ((d.style & EntreeNouvelleLigne) && !boutonDefaut) style |= ES_WANTRETURN;
            } else {
                style |= ES_AUTOHSCROLL;
            }
            if (d.style & LectureSeule) style |= ES_READONLY;
            break;
        case Genre::FileListBox:
            classe = L"LISTBOX";
            // The designed height, not the nearest whole number of rows: at 144 dpi the
            // system would cut 13 pixels off the file list.
            style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
            ex |= WS_EX_CLIENTEDGE;
            break;
        case Genre::Line: break;
        }
        // Each control starts a group, but the option buttons of one frame form one.
        const bool suiteGroupe = d.genre == Genre::OptionButton && precedent >= 0 &&
                                 Ligne(static_cast<std::size_t>(precedent)).genre == Genre::OptionButton &&
                                 Ligne(static_cast<std::size_t>(precedent)).parent == d.parent;
        if (!suiteGroupe) style |= WS_GROUP;
        precedent = static_cast<int>(i);
        HWND h = CreateWindowExW(ex, classe, d.caption, style, 0, 0, 1, 1, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdControle(d))), hote_.instance_, nullptr);
        if (!h) return false;
        if (d.genre == Genre::TextBox && d.longueurMax > 0)
            SendMessageW(h, EM_LIMITTEXT, static_cast<WPARAM>(d.longueurMax), 0);
        pairs_[i] = std::make_unique<PairControle>(*this, i, h);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (Ligne(i).genre == Genre::Line) pairs_[i] = std::make_unique<PairControle>(*this, i, nullptr);

    // Icons of the program (resource 1 of the executable), small and big.
    HINSTANCE exe = GetModuleHandleW(nullptr);
    if (HANDLE grande = LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                   GetSystemMetrics(SM_CYICON), LR_SHARED))
        SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(grande));
    if (HANDLE petite = LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED))
        SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(petite));

    // Windows sends no WM_DPICHANGED for the DPI a window is created at: lay out once here.
    dpi_ = DpiDe(hwnd_);
    Dispose(dpi_);
    int largeur = 0, hauteur = 0;
    TailleFenetre(dpi_, largeur, hauteur);
    const LONG x = mi.rcWork.left + (mi.rcWork.right - mi.rcWork.left - largeur) / 2;
    const LONG y = mi.rcWork.top + (mi.rcWork.bottom - mi.rcWork.top - hauteur) / 2;
    SetWindowPos(hwnd_, nullptr, std::max(x, mi.rcWork.left), std::max(y, mi.rcWork.top), largeur, hauteur,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    for (std::size_t i = 0; i < n; ++i) Modele(i).AttachePair(pairs_[i].get());
    fenetre_.AttachePair(this);
    for (std::size_t i = 0; i < n; ++i) ActualiseLigne(i);
    return true;
}

void FenetreNative::TailleFenetre(UINT dpi, int& largeur, int& hauteur) const {
    const DescriptionFenetre& desc = fenetre_.Description();
    RECT r{0, 0, Px(desc.largeurClient, dpi), Px(desc.hauteurClient, dpi)};
    AjusteRect(r, StyleFenetre, ExStyleFenetre, dpi);
    largeur = r.right - r.left;
    hauteur = r.bottom - r.top;
}

void FenetreNative::Dispose(UINT dpi) {
    dpi_ = dpi;
    // "MS Shell Dlg" 8 pt is the font the designed sizes were measured with; the larger
    // message font of recent systems would not fit the captions into them.
    PoigneePolice police = CreePolice(L"MS Shell Dlg", 8, FW_NORMAL, dpi);
    PoigneePolice arial = CreePolice(L"Arial", 12, FW_BOLD, dpi);
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        if (!pairs_[i] || !pairs_[i]->hwnd()) continue;
        const DescriptionControle& d = Ligne(i);
        int gauche = d.gauche, haut = d.haut;
        if (d.parent >= 0) {
            gauche += Ligne(static_cast<std::size_t>(d.parent)).gauche;
            haut += Ligne(static_cast<std::size_t>(d.parent)).haut;
        }
        HWND h = pairs_[i]->hwnd();
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>((d.style & ArialGras12) ? arial.get() : police.get()), FALSE);
        MoveWindow(h, Px(gauche, dpi), Px(haut, dpi), Px(d.largeur, dpi), Px(d.hauteur, dpi), TRUE);
    }
    // The old fonts go only once no control uses them.
    police_ = std::move(police);
    policeArial_ = std::move(arial);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void FenetreNative::Montre() {
    // The first control in tab order that takes the focus; restored by WM_ACTIVATE.
    focusSauve_ = nullptr;
    for (std::size_t i : ordreTab_) {
        HWND h = pairs_[i]->hwnd();
        const LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
            focusSauve_ = h;
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
    for (std::size_t i = 0; i < pairs_.size(); ++i) Modele(i).AttachePair(nullptr);
    fenetre_.AttachePair(nullptr);
    auto& pile = hote_.pile_;
    pile.erase(std::remove(pile.begin(), pile.end(), this), pile.end());
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
}

void FenetreNative::Presse(int ligne) {
    if (ligne < 0) return;
    auto& bouton = static_cast<CommandButton&>(Modele(static_cast<std::size_t>(ligne)));
    if (!ActifEffectif(static_cast<std::size_t>(ligne))) return;
    Controle::SaisieUtilisateur saisie(bouton);
    bouton.Presse();
}

bool FenetreNative::Clavier(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_ || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    if (msg.wParam == VK_ESCAPE) {
        // Also keeps a multi-line edit from posting WM_CLOSE, which would act as the close box.
        Presse(LigneAvecStyle(BoutonAnnulation));
        return true;
    }
    if (msg.wParam != VK_RETURN) return false;
    HWND focus = GetFocus();
    const int ligne = focus ? LigneDeId(GetDlgCtrlID(focus)) : -1;
    if (ligne >= 0 && pairs_[static_cast<std::size_t>(ligne)]->hwnd() == focus) {
        const DescriptionControle& d = Ligne(static_cast<std::size_t>(ligne));
        // Enter presses the button that has the focus, whichever is the default.
        if (d.genre == Genre::CommandButton) {
            Presse(ligne);
            return true;
        }
        if (d.genre == Genre::TextBox && (GetWindowLongPtrW(focus, GWL_STYLE) & ES_WANTRETURN)) return false;
    }
    Presse(LigneAvecStyle(BoutonDefaut));
    return true;
}

void FenetreNative::Commande(int id, int code, HWND controle) {
    const int l = LigneDeId(id);
    if (l < 0 || !pairs_[static_cast<std::size_t>(l)] || pairs_[static_cast<std::size_t>(l)]->hwnd() != controle) return;
    const auto ligne = static_cast<std::size_t>(l);
    PairControle& pair = *pairs_[ligne];
    if (pair.EnActualisation()) return;
    Controle& c = Modele(ligne);
    switch (Ligne(ligne).genre) {
    case Genre::CommandButton:
        if (code == BN_CLICKED) Presse(l);
        return;
    case Genre::CheckBox:
        if (code != BN_CLICKED) return;
        {
            auto& boite = static_cast<CheckBox&>(c);
            Controle::SaisieUtilisateur saisie(c);
            boite.SetValue(boite.Value() == CheckBox::vbChecked ? CheckBox::vbUnchecked : CheckBox::vbChecked);
        }
        break;
    case Genre::OptionButton:
        if (code != BN_CLICKED) return;
        {
            Controle::SaisieUtilisateur saisie(c);
            static_cast<OptionButton&>(c).SetValue(true);
        }
        break;
    case Genre::TextBox:
        if (code == EN_CHANGE) {
            Controle::SaisieUtilisateur saisie(c);
            static_cast<TextBox&>(c).SetText(TexteDe(controle));
        } else if (code == EN_KILLFOCUS) {
            PostMessageW(hwnd_, WM_TOLVANE_PERTE_FOCUS, ligne, 0);
        }
        return;
    case Genre::FileListBox: {
        if (code != LBN_SELCHANGE && code != LBN_DBLCLK) return;
        auto& liste = static_cast<FileListBox&>(c);
        {
            Controle::SaisieUtilisateur saisie(c);
            liste.SetListIndex(static_cast<int>(SendMessageW(controle, LB_GETCURSEL, 0, 0)));
        }
        if (code == LBN_DBLCLK && liste.DblClick) liste.DblClick();
        break;
    }
    case Genre::Frame:
    case Genre::Label:
    case Genre::Line: return;
    }
    // The handler may have changed the control again, or unloaded the window.
    if (hwnd_) pair.Actualise();
}

LRESULT FenetreNative::CouleurStatique(HDC dc, HWND controle) {
    const int l = LigneDeId(GetDlgCtrlID(controle));
    if (l >= 0) {
        const DescriptionControle& d = Ligne(static_cast<std::size_t>(l));
        if (d.genre == Genre::Label && d.couleurFond != SansCouleur) {
            const auto couleur = static_cast<COLORREF>(d.couleurFond);
            auto it = std::find_if(pinceaux_.begin(), pinceaux_.end(), [&](auto& p) { return p.first == d.couleurFond; });
            if (it == pinceaux_.end()) {
                pinceaux_.emplace_back(d.couleurFond, PoigneePinceau(CreateSolidBrush(couleur)));
                it = std::prev(pinceaux_.end());
            }
            SetBkColor(dc, couleur);
            return reinterpret_cast<LRESULT>(it->second.get());
        }
        // A read-only text box keeps the background of a text box, as a locked VB one does.
        if (d.genre == Genre::TextBox && IsWindowEnabled(controle)) {
            SetBkColor(dc, GetSysColor(COLOR_WINDOW));
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
        }
    }
    return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(controle));
}

void FenetreNative::Peint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    const int epaisseur = std::max(1, MulDiv(1, static_cast<int>(dpi_), 96));
    for (std::size_t i = 0; i < pairs_.size(); ++i) {
        const DescriptionControle& d = Ligne(i);
        if (d.genre != Genre::Line || !Modele(i).Visible()) continue;
        // X1, Y1, X2, Y2; the end point is drawn too.
        const int x1 = Px(d.gauche, dpi_), y1 = Px(d.haut, dpi_), x2 = Px(d.largeur, dpi_), y2 = Px(d.hauteur, dpi_);
        if (x1 == x2 || y1 == y2) {
            RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) + epaisseur, std::max(y1, y2) + epaisseur};
            FillRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            PoigneeStylo stylo(CreatePen(PS_SOLID, epaisseur, GetSysColor(COLOR_BTNSHADOW)));
            const SelectionGdi choisi(dc, stylo.get());
            MoveToEx(dc, x1, y1, nullptr);
            LineTo(dc, x2, y2);
        }
    }
    EndPaint(hwnd_, &ps);
}

LRESULT FenetreNative::Procedure(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (lParam == 0 || LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            // From the dialog manager: Enter (IDOK) or Esc (IDCANCEL).
            if (LOWORD(wParam) == IDOK) Presse(LigneAvecStyle(BoutonDefaut));
            if (LOWORD(wParam) == IDCANCEL) Presse(LigneAvecStyle(BoutonAnnulation));
            return 0;
        }
        Commande(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_TOLVANE_PERTE_FOCUS: {
        // LostFocus only when the focus went to another control of this window, as in VB:
        // not when the user switched to another program or a message box took it.
        HWND focus = GetFocus();
        if (!fenetre_.EstChargee() || !focus || (focus != hwnd_ && !IsChild(hwnd_, focus))) return 0;
        auto& texte = static_cast<TextBox&>(Modele(wParam));
        if (texte.LostFocus) texte.LostFocus();
        return 0;
    }
    case WM_CTLCOLORSTATIC:
        return CouleurStatique(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
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
        const int defaut = LigneAvecStyle(BoutonDefaut);
        return defaut >= 0 ? MAKELRESULT(IdControle(Ligne(static_cast<std::size_t>(defaut))), DC_HASDEFID) : 0;
    }
    case WM_DPICHANGED: {
        // Positions from the suggested rectangle, sizes again from the twips at the new DPI.
        const auto* propose = reinterpret_cast<const RECT*>(lParam);
        Dispose(HIWORD(wParam));
        int largeur = 0, hauteur = 0;
        TailleFenetre(dpi_, largeur, hauteur);
        SetWindowPos(hwnd_, nullptr, propose->left, propose->top, largeur, hauteur, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
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

// --- HoteFenetresWin32 ------------------------------------------------------------------------

HoteFenetresWin32::HoteFenetresWin32(HINSTANCE instance, std::function<bool()> miseEnAvant)
    : instance_(instance), miseEnAvant_(std::move(miseEnAvant)) {}

HoteFenetresWin32::~HoteFenetresWin32() {
    if (proprietaireCache_) DestroyWindow(proprietaireCache_);
}

bool HoteFenetresWin32::Prepare() {
    if (pret_) return true;
    // Loaded here rather than imported: the launcher that shows no window never loads it.
    // With the context activated first, this is version 6 of the common controls.
    ActiveControlesCommuns();
    using Fn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    if (auto init = FonctionDe<Fn>(LoadLibraryW(L"comctl32.dll"), "InitCommonControlsEx")) {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        init(&icc);
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FenetreNative::ProcedureStatique;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = ClasseFenetre;
    // Another host of the same module (the tests make several) has registered it already.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    pret_ = true;

    WNDCLASSEXW wp{};
    wp.cbSize = sizeof wp;
    wp.lpfnWndProc = DefWindowProcW;
    wp.hInstance = instance_;
    wp.lpszClassName = ClasseProprietaire;
    RegisterClassExW(&wp);
    // Owned by a window that is never shown, ours stay out of the taskbar (VB's
    // ShowInTaskbar = False does the same).
    // Without it (its class refused, say) our windows are merely unowned: they still work.
    proprietaireCache_ = CreateWindowExW(0, ClasseProprietaire, L"Tolvane", WS_POPUP, 0, 0, 0, 0, nullptr,
                                         nullptr, instance_, nullptr);
    return true;
}

bool HoteFenetresWin32::PrincipaleVisible() const {
    return principale_ && principale_->hwnd() && IsWindowVisible(principale_->hwnd());
}

HWND HoteFenetresWin32::FenetreCourante() const {
    for (auto it = pile_.rbegin(); it != pile_.rend(); ++it)
        if ((*it)->hwnd() && IsWindowVisible((*it)->hwnd())) return (*it)->hwnd();
    return nullptr;
}

void HoteFenetresWin32::Boucle(Fenetre& fenetre, FenetreNative& natif) {
    MSG msg;
    while (fenetre.EstChargee() && natif.hwnd()) {
        const BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r == 0) {
            // Whoever asked to quit is further out: pass it on.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (r < 0) return;
        if (natif.Clavier(msg)) continue;
        if (!natif.hwnd() || !IsDialogMessageW(natif.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

bool HoteFenetresWin32::AfficheModal(Fenetre& fenetre) {
    fenetre.Charge();
    if (!fenetre.EstChargee()) return true;  // Form_Load unloaded it
    // Prepare first: it makes the hidden owner the window below takes when none is shown.
    HWND proprietaire = Prepare() ? FenetreCourante() : nullptr;
    const bool enAvant = miseEnAvant_ && miseEnAvant_();
    FenetreNative natif(*this, fenetre, proprietaire ? proprietaire : proprietaireCache_, proprietaire != nullptr,
                        enAvant);
    if (!pret_ || !natif.Cree()) {
        // Nothing was shown, so nothing was answered: the window goes as it came.
        natif.Ferme();
        fenetre.Unload();
        return false;
    }
    if (proprietaire) EnableWindow(proprietaire, FALSE);
    natif.Montre();
    Boucle(fenetre, natif);
    natif.Ferme();
    return true;
}

bool HoteFenetresWin32::AfficheEtAttend(Fenetre& fenetre) {
    if (!fenetre.EstChargee()) return true;
    if (!Prepare()) return false;
    // Made once Prepare has made the hidden owner.
    FenetreNative natif(*this, fenetre, proprietaireCache_, false);
    if (!natif.Cree()) return false;
    principale_ = &natif;
    natif.Montre();
    Boucle(fenetre, natif);
    natif.Ferme();
    principale_ = nullptr;
    return true;
}

}  // namespace tolvane::win32
