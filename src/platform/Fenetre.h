// A window is its design table plus its handlers. The table gives, for each control, its kind,
// caption, place in twips, tab index and style, in stacking order from back to front; the
// window object binds each row to the control object that holds its state.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Controles.h"

namespace tolvane {

enum class Genre : std::uint8_t {
    CommandButton,
    CheckBox,
    Frame,
    Label,
    Line,
    FileListBox,
    OptionButton,
    TextBox,
};

// Style flags of a control, as designed.
enum Style : std::uint32_t {
    AucunStyle = 0,
    Multiligne = 1u << 0,       // text box: several lines, no scroll bars
    LectureSeule = 1u << 1,     // text box: text can be selected, not changed
    BordureSimple = 1u << 2,    // label: single-line border
    TexteCentre = 1u << 3,      // label: text centred
    ArialGras12 = 1u << 4,      // Arial 12 pt bold instead of the dialog font
    BoutonDefaut = 1u << 5,     // Enter presses it
    BoutonAnnulation = 1u << 6, // Esc presses it
    Cache = 1u << 7,            // never shown, never takes the focus
    Coche = 1u << 8,            // check box checked / option button selected at design
    EntreeNouvelleLigne = 1u << 9,  // multi-line text box: Enter starts a new line
    TexteLitteral = 1u << 10,   // label showing the user's text: "&" is shown, not a mnemonic
};

inline constexpr std::int32_t SansCouleur = -1;
constexpr std::int32_t RGB_(int r, int g, int b) { return r | (g << 8) | (b << 16); }

struct DescriptionControle {
    const wchar_t* nom;      // design name, e.g. L"TXT_Chemin"
    Genre genre;
    const wchar_t* caption;  // caption or initial text
    // Left, Top, Width, Height in twips, from the client area or from the parent frame;
    // for a line: X1, Y1, X2, Y2.
    int gauche, haut, largeur, hauteur;
    int tabIndex;            // -1 for lines; the control ID is 100 + tabIndex
    int parent;              // row of the containing frame in the table, -1 for the client area
    std::uint32_t style;
    std::int32_t couleurFond;  // RGB, or SansCouleur
    int longueurMax;         // text boxes: characters the user can type, 0 = no limit
};

inline constexpr int IdControle(const DescriptionControle& d) { return 100 + d.tabIndex; }

struct DescriptionFenetre {
    const wchar_t* caption;
    int largeurClient, hauteurClient;  // twips
    std::span<const DescriptionControle> controles;
};

// The native side of a window: told when its caption changed or when it is unloaded.
class IPairFenetre {
public:
    virtual ~IPairFenetre() = default;
    virtual void ActualiseCaption() = 0;
    virtual void Decharge() = 0;
};

class Fenetre {
public:
    Fenetre(const Fenetre&) = delete;
    Fenetre& operator=(const Fenetre&) = delete;
    virtual ~Fenetre() = default;

    const DescriptionFenetre& Description() const { return description_; }
    // The control objects, in the rows of the design table.
    const std::vector<Controle*>& Controles() const { return controles_; }

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption);

    // Loads the window: every control back to its designed state, then Form_Load.
    void Charge();
    // Discards the window; a modal showing returns.
    void Unload();
    bool EstChargee() const { return chargee_; }

    // The title-bar close box or Alt+F4. By default the window is unloaded.
    virtual void SurCaseFermeture() { Unload(); }

    void AttachePair(IPairFenetre* pair) { pair_ = pair; }

protected:
    // `controles` follows the rows of `description.controles` one for one.
    Fenetre(const DescriptionFenetre& description, std::vector<Controle*> controles);
    virtual void Form_Load() {}

private:
    const DescriptionFenetre& description_;
    std::vector<Controle*> controles_;
    std::wstring caption_;
    bool chargee_ = false;
    bool enfantsConnus_ = false;
    IPairFenetre* pair_ = nullptr;
};

}  // namespace tolvane
