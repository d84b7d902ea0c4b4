// A window is its design table plus its handlers. The table gives, for each control, its kind,
// caption, place in twips, tab index and style, in stacking order from back to front; the
// window object binds each row to the control object that holds its state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "Controles.h"

namespace tolvane {

// Style flags of a control, as designed.
enum Style : std::uint32_t {
    AucunStyle = 0,
    Multiligne = 1u << 0,           // text box: several lines, no scroll bars
    LectureSeule = 1u << 1,         // text box: text can be selected, not changed
    BordureSimple = 1u << 2,        // label: single-line border
    TexteCentre = 1u << 3,          // label: text centred
    ArialGras12 = 1u << 4,          // Arial 12 pt bold instead of the dialog font
    BoutonDefaut = 1u << 5,         // Enter presses it
    BoutonAnnulation = 1u << 6,     // Esc presses it
    Cache = 1u << 7,                // never shown, never takes the focus
    Coche = 1u << 8,                // check box checked / option button selected at design
    EntreeNouvelleLigne = 1u << 9,  // multi-line text box: Enter starts a new line
    TexteLitteral = 1u << 10,       // label showing the user's text: "&" is shown, not a mnemonic
};

inline constexpr std::int32_t SansCouleur = -1;
constexpr std::int32_t RGB_(int r, int g, int b) { return r | (g << 8) | (b << 16); }

struct DescriptionControle {
    const wchar_t* nom;  // design name, e.g. L"TXT_Chemin"
    Genre genre;
    const wchar_t* caption;  // caption or initial text
    // Left, Top, Width, Height in twips, from the client area or from the parent frame;
    // for a line: X1, Y1, X2, Y2.
    int gauche, haut, largeur, hauteur;
    int tabIndex;  // -1 for lines; the control ID is 100 + tabIndex
    int parent;    // row of the containing frame in the table, -1 for the client area
    std::uint32_t style;
    std::int32_t couleurFond;  // RGB, or SansCouleur
    int longueurMax;           // text boxes: characters the user can type, 0 = no limit
};

inline constexpr int IdControle(const DescriptionControle& d) { return 100 + d.tabIndex; }

// Rules every design table keeps, checked when compiling (static_assert next to the tables).
// Each control that is not a line has its own tab index, hence its own ID; lines have -1.
template <std::size_t N>
constexpr bool TabIndexUniques(const std::array<DescriptionControle, N>& table) {
    for (std::size_t i = 0; i < N; ++i) {
        const bool trait = table[i].genre == Genre::Line;
        if (trait != (table[i].tabIndex == -1) || (!trait && table[i].tabIndex < 0)) return false;
        for (std::size_t j = 0; j < i; ++j)
            if (!trait && table[j].tabIndex == table[i].tabIndex) return false;
    }
    return true;
}
// A row's parent is a frame that comes before it: rows go from back to front, and a frame lies
// under what it holds.
template <std::size_t N>
constexpr bool ParentsCadresPrecedents(const std::array<DescriptionControle, N>& table) {
    for (std::size_t i = 0; i < N; ++i) {
        const int p = table[i].parent;
        if (p < -1 || p >= static_cast<int>(i)) return false;
        if (p >= 0 && table[static_cast<std::size_t>(p)].genre != Genre::Frame) return false;
    }
    return true;
}

// Each row is named as the enum names it, in the enum's order: swapping two names of the enum
// would bind one control to another's row. A control array's index is written in brackets in
// the design (Opt_Mode(1)) and run on in the enum (Opt_Mode1).
constexpr bool MemeNom(const wchar_t* dessin, const char* ligne) {
    for (;; ++dessin) {
        if (*dessin == L'(' || *dessin == L')') continue;
        if (*dessin != static_cast<unsigned char>(*ligne)) return false;
        if (*dessin == 0) return true;
        ++ligne;
    }
}
template <std::size_t N, std::size_t M>
constexpr bool LignesNommeesParLEnum(const std::array<DescriptionControle, N>& table, const char* const (&noms)[M]) {
    if (N != M) return false;
    for (std::size_t i = 0; i < N; ++i)
        if (!MemeNom(table[i].nom, noms[i])) return false;
    return true;
}

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

// One row of a design table bound to the control object that holds its state. Made by Lie.
struct Liaison {
    const DescriptionControle* table;
    std::size_t ligne;
    Controle* controle;
};

// Binds the row `ligne` of its window's table to `controle`. The table is the one `TableDe`
// answers for the row's enum (found next to the enum); a row of another kind of control than
// `controle`'s does not compile.
template <auto ligne, typename C>
Liaison Lie(C& controle) {
    constexpr const auto& table = TableDe(ligne);
    static_assert(static_cast<std::size_t>(ligne) < table.size(), "row outside the table");
    static_assert(table[static_cast<std::size_t>(ligne)].genre == C::GenreDessin,
                  "the row of the table is not of this control's kind");
    return {table.data(), static_cast<std::size_t>(ligne), &controle};
}

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
    // Every row of `description.controles` bound once, in any order. A binding to another table,
    // a row bound twice or left unbound throws std::logic_error, in every build.
    Fenetre(const DescriptionFenetre& description, std::initializer_list<Liaison> liaisons);
    virtual void Form_Load() {}

private:
    const DescriptionFenetre& description_;
    std::vector<Controle*> controles_;
    std::wstring caption_;
    bool chargee_ = false;
    IPairFenetre* pair_ = nullptr;
};

}  // namespace tolvane
