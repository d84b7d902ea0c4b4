#include "PairsControlesWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "DpiWin32.h"
#include "Poignees.h"

namespace tolvane::win32 {

namespace {

std::wstring TexteDe(HWND h) {
    std::wstring s(static_cast<std::size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
    s.resize(static_cast<std::size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
    return s;
}

void PoseTexte(HWND h, const std::wstring& texte) {
    if (TexteDe(h) != texte) SetWindowTextW(h, texte.c_str());
}

// The peer of a control of kind M.
template <typename M>
class Pair : public PairControle {
public:
    Pair(const DescriptionControle& d, std::size_t ligne, M& modele) : PairControle(d, ligne, modele), m_(modele) {}

protected:
    M& m_;
};

class PairBouton final : public Pair<CommandButton> {
public:
    using Pair::Pair;
    Entree SurEntree() override {
        // Enter presses the button that has the focus, whichever is the default.
        Presse();
        return Entree::Utilisee;
    }
    void Presse() override {
        if (!ActifEffectif()) return;
        Controle::SaisieUtilisateur saisie(m_);
        m_.Presse();
    }

private:
    ClasseNative Classe() const override {
        const DWORD genre = (Description().style & BoutonDefaut) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        return {L"BUTTON", WS_TABSTOP | genre, 0};
    }
    bool Commande(int code) override {
        if (code == BN_CLICKED) Presse();
        return false;
    }
};

class PairCase final : public Pair<CheckBox> {
public:
    using Pair::Pair;

private:
    // Not an auto box: a user's click goes to the model, which alone decides the state (0 and 1
    // by the user, 2 only by the program).
    ClasseNative Classe() const override { return {L"BUTTON", WS_TABSTOP | BS_3STATE, 0}; }
    void ActualiseEtat() override {
        static constexpr WPARAM etats[] = {BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE};
        SendMessageW(hwnd(), BM_SETCHECK, etats[m_.Value()], 0);
    }
    bool Commande(int code) override {
        if (code != BN_CLICKED) return false;
        Controle::SaisieUtilisateur saisie(m_);
        m_.SetValue(m_.Value() == CheckBox::vbChecked ? CheckBox::vbUnchecked : CheckBox::vbChecked);
        return true;
    }
};

class PairOption final : public Pair<OptionButton> {
public:
    using Pair::Pair;

private:
    ClasseNative Classe() const override { return {L"BUTTON", BS_AUTORADIOBUTTON, 0}; }
    bool SuiteDuGroupe(const PairControle* precedent) const override {
        return precedent && precedent->Description().genre == Genre::OptionButton &&
               precedent->Description().parent == Description().parent;
    }
    void ActualiseEtat() override {
        const bool choisi = m_.Value();
        SendMessageW(hwnd(), BM_SETCHECK, choisi ? BST_CHECKED : BST_UNCHECKED, 0);
        // Only the selected button of a group is a tab stop, as in a dialog.
        const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
        const LONG_PTR voulu = choisi ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        if (voulu != style) SetWindowLongPtrW(hwnd(), GWL_STYLE, voulu);
    }
    bool Commande(int code) override {
        if (code != BN_CLICKED) return false;
        Controle::SaisieUtilisateur saisie(m_);
        m_.SetValue(true);
        return true;
    }
};

class PairTexte final : public Pair<TextBox> {
public:
    using Pair::Pair;
    Entree SurEntree() override {
        return (GetWindowLongPtrW(hwnd(), GWL_STYLE) & ES_WANTRETURN) ? Entree::Laissee : Entree::BoutonDefaut;
    }
    void PerteFocus() override {
        if (m_.LostFocus) m_.LostFocus();
    }
    HBRUSH Couleur(HDC dc) override {
        // A read-only text box keeps the background of a text box, as a locked VB one does.
        if (!IsWindowEnabled(hwnd())) return nullptr;
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return GetSysColorBrush(COLOR_WINDOW);
    }

private:
    ClasseNative Classe() const override {
        const std::uint32_t dessin = Description().style;
        DWORD style = (dessin & Cache) ? 0 : WS_TABSTOP;
        if (dessin & Multiligne) {
            // Words wrap and no scroll bar shows: the caret reaches the rest.
            style |= ES_MULTILINE | ES_AUTOVSCROLL;
            if ((dessin & EntreeNouvelleLigne) && !parent().boutonDefaut) style |= ES_WANTRETURN;
        } else {
            style |= ES_AUTOHSCROLL;
        }
        if (dessin & LectureSeule) style |= ES_READONLY;
        return {L"EDIT", style, WS_EX_CLIENTEDGE};
    }
    void ApresCreation() override {
        if (Description().longueurMax > 0)
            SendMessageW(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(Description().longueurMax), 0);
    }
    void ActualiseEtat() override { PoseTexte(hwnd(), m_.Text()); }
    bool Commande(int code) override {
        if (code == EN_CHANGE) {
            Controle::SaisieUtilisateur saisie(m_);
            m_.SetText(TexteDe(hwnd()));
        } else if (code == EN_KILLFOCUS) {
            PostMessageW(parent().hwnd, WM_TOLVANE_PERTE_FOCUS, Ligne(), 0);
        }
        return false;
    }
};

class PairListe final : public Pair<FileListBox> {
public:
    using Pair::Pair;

private:
    // The designed height, not the nearest whole number of rows: at 144 dpi the system would
    // cut 13 pixels off the file list.
    ClasseNative Classe() const override {
        return {L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    }
    bool Affiche(const std::vector<std::wstring>& entrees) const {
        if (SendMessageW(hwnd(), LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(entrees.size())) return false;
        for (std::size_t i = 0; i < entrees.size(); ++i) {
            const auto n = SendMessageW(hwnd(), LB_GETTEXTLEN, i, 0);
            std::wstring s(static_cast<std::size_t>(std::max<LRESULT>(n, 0)) + 1, L'\0');
            s.resize(static_cast<std::size_t>(
                std::max<LRESULT>(SendMessageW(hwnd(), LB_GETTEXT, i, reinterpret_cast<LPARAM>(s.data())), 0)));
            if (s != entrees[i]) return false;
        }
        return true;
    }
    void ActualiseEtat() override {
        const std::vector<std::wstring>& entrees = m_.Entrees();
        if (!Affiche(entrees)) {
            SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
            SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
            for (const std::wstring& e : entrees)
                SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
            SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
            InvalidateRect(hwnd(), nullptr, TRUE);
        }
        const int index = m_.ListIndex();
        if (SendMessageW(hwnd(), LB_GETCURSEL, 0, 0) != index)
            SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    bool Commande(int code) override {
        if (code != LBN_SELCHANGE && code != LBN_DBLCLK) return false;
        {
            Controle::SaisieUtilisateur saisie(m_);
            m_.SetListIndex(static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)));
        }
        if (code == LBN_DBLCLK && m_.DblClick) m_.DblClick();
        return true;
    }
};

class PairEtiquette final : public Pair<Label> {
public:
    using Pair::Pair;
    HBRUSH Couleur(HDC dc) override {
        const std::int32_t fond = Description().couleurFond;
        if (fond == SansCouleur) return nullptr;
        if (!pinceau_) pinceau_.Reinitialise(CreateSolidBrush(static_cast<COLORREF>(fond)));
        SetBkColor(dc, static_cast<COLORREF>(fond));
        return pinceau_.get();
    }

private:
    ClasseNative Classe() const override {
        const std::uint32_t dessin = Description().style;
        DWORD style = (dessin & TexteCentre) ? SS_CENTER : SS_LEFT;
        if (dessin & BordureSimple) style |= WS_BORDER;
        if (dessin & TexteLitteral) style |= SS_NOPREFIX;
        return {L"STATIC", style, 0};
    }
    void ActualiseEtat() override { PoseTexte(hwnd(), m_.Caption()); }
    PoigneePinceau pinceau_;
};

class PairCadre final : public Pair<Frame> {
public:
    using Pair::Pair;

private:
    ClasseNative Classe() const override { return {L"BUTTON", BS_GROUPBOX, WS_EX_TRANSPARENT}; }
    void ActualiseEtat() override { PoseTexte(hwnd(), m_.Caption()); }
};

// Drawn by the window: no HWND.
class PairTrait final : public Pair<Line> {
public:
    using Pair::Pair;
    void Peint(HDC dc, UINT dpi) const override {
        if (!m_.Visible()) return;
        const DescriptionControle& d = Description();
        const int epaisseur = std::max(1, MulDiv(1, static_cast<int>(dpi), 96));
        // X1, Y1, X2, Y2; the end point is drawn too.
        const int x1 = Px(d.gauche, dpi), y1 = Px(d.haut, dpi), x2 = Px(d.largeur, dpi), y2 = Px(d.hauteur, dpi);
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

private:
    ClasseNative Classe() const override { return {nullptr, 0, 0}; }
};

template <typename P, typename M>
std::unique_ptr<PairControle> PairDe(const DescriptionControle& d, std::size_t ligne, Controle& modele) {
    // The model says its kind: checked before it is treated as that kind.
    if (modele.GenreControle() != M::GenreDessin) return nullptr;
    return std::unique_ptr<PairControle>(new P(d, ligne, static_cast<M&>(modele)));
}

}  // namespace

std::unique_ptr<PairControle> PairControle::Cree(const DescriptionControle& d, std::size_t ligne, Controle& modele) {
    switch (d.genre) {
    case Genre::CommandButton: return PairDe<PairBouton, CommandButton>(d, ligne, modele);
    case Genre::CheckBox: return PairDe<PairCase, CheckBox>(d, ligne, modele);
    case Genre::OptionButton: return PairDe<PairOption, OptionButton>(d, ligne, modele);
    case Genre::TextBox: return PairDe<PairTexte, TextBox>(d, ligne, modele);
    case Genre::FileListBox: return PairDe<PairListe, FileListBox>(d, ligne, modele);
    case Genre::Label: return PairDe<PairEtiquette, Label>(d, ligne, modele);
    case Genre::Frame: return PairDe<PairCadre, Frame>(d, ligne, modele);
    case Genre::Line: return PairDe<PairTrait, Line>(d, ligne, modele);
    }
    return nullptr;
}

void PairControle::PlaceDans(PairControle& cadre) {
    cadre_ = &cadre;
    cadre.enfants_.push_back(this);
}

bool PairControle::CreeNatif(const Parent& parent, const PairControle* precedent) {
    parent_ = parent;
    const ClasseNative classe = Classe();
    if (!classe.nom) return true;
    // Some designed rectangles overlap by a pixel or two once scaled (Label2 over the top edge
    // of TXT_Chemin at 144 dpi): each control paints only where no sibling above it is.
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | classe.style;
    // Each control starts a group, but the option buttons of one frame form one.
    if (!SuiteDuGroupe(precedent)) style |= WS_GROUP;
    hwnd_ = CreateWindowExW(classe.exStyle, classe.nom, d_.caption, style, 0, 0, 1, 1, parent.hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IdControle(d_))), parent.instance, nullptr);
    if (!hwnd_) return false;
    ApresCreation();
    return true;
}

bool PairControle::ActifEffectif() const { return modele_.Enabled() && (!cadre_ || cadre_->ActifEffectif()); }

void PairControle::Actualise() {
    if (!hwnd_) {  // a line: drawn by the window
        if (parent_.hwnd) InvalidateRect(parent_.hwnd, nullptr, TRUE);
        return;
    }
    enActualisation_ = true;
    ActualiseEtat();
    const bool actif = ActifEffectif();
    if ((IsWindowEnabled(hwnd_) != FALSE) != actif) EnableWindow(hwnd_, actif);
    const bool visible = modele_.Visible() && (d_.style & Cache) == 0;
    const bool estVisible = (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible != estVisible) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    enActualisation_ = false;
    // A frame's state shows in the controls inside it.
    for (PairControle* enfant : enfants_) enfant->Actualise();
}

bool PairControle::Notification(int code) { return !enActualisation_ && Commande(code); }

}  // namespace tolvane::win32
