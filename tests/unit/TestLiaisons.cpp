// The binding of a window's rows to its control objects, and the rules of its design table.
#include <gtest/gtest.h>

#include <stdexcept>

#include "Faux.h"
#include "platform/Fenetre.h"

using namespace tolvane;

// A row whose place and name do not matter here.
constexpr DescriptionControle Rangee(Genre genre, const wchar_t* caption, int tab, int parent = -1,
                                     std::uint32_t style = AucunStyle) {
    return {L"x", genre, caption, 0, 0, 100, 100, tab, parent, style, SansCouleur, 0};
}

namespace essai {
enum Ligne { Bouton, Case, Cadre, Option, Texte, Etiquette, Liste, Trait, NombreLignes };
inline constexpr auto Controles = std::to_array<DescriptionControle>({
    Rangee(Genre::CommandButton, L"Bouton", 0),
    Rangee(Genre::CheckBox, L"Case", 1, -1, Coche),
    Rangee(Genre::Frame, L"Cadre", 2),
    Rangee(Genre::OptionButton, L"Option", 3, Cadre, Coche),
    Rangee(Genre::TextBox, L"dessin", 4, Cadre, Cache),
    Rangee(Genre::Label, L"Étiquette", 5),
    Rangee(Genre::FileListBox, L"", 6),
    Rangee(Genre::Line, L"", -1),
});
inline constexpr DescriptionFenetre Fenetre{L"Essai", 1000, 1000, Controles};
constexpr const auto& TableDe(Ligne) { return Controles; }
static_assert(TabIndexUniques(Controles) && ParentsCadresPrecedents(Controles));
}  // namespace essai

namespace autre {
enum Ligne { Bouton };
inline constexpr auto Controles = std::to_array<DescriptionControle>({Rangee(Genre::CommandButton, L"", 0)});
constexpr const auto& TableDe(Ligne) { return Controles; }
}  // namespace autre

// Tables that break one rule each: the checks the design tables pass must refuse them.
namespace mauvais {
constexpr std::array MemeTab{Rangee(Genre::Label, L"", 3), Rangee(Genre::TextBox, L"", 3)};
constexpr std::array TraitAvecTab{Rangee(Genre::Line, L"", 0)};
constexpr std::array SansTab{Rangee(Genre::Label, L"", -1)};
constexpr std::array ParentPasCadre{Rangee(Genre::Label, L"", 0), Rangee(Genre::TextBox, L"", 1, 0)};
constexpr std::array ParentApres{Rangee(Genre::TextBox, L"", 1, 1), Rangee(Genre::Frame, L"", 0)};
constexpr std::array ParentSoiMeme{Rangee(Genre::Frame, L"", 0, 0)};
static_assert(!TabIndexUniques(MemeTab) && !TabIndexUniques(TraitAvecTab) && !TabIndexUniques(SansTab));
static_assert(!ParentsCadresPrecedents(ParentPasCadre) && !ParentsCadresPrecedents(ParentApres) &&
              !ParentsCadresPrecedents(ParentSoiMeme));
}  // namespace mauvais

namespace {

struct Objets {
    explicit Objets(IListeurRepertoire& listeur) : Option(groupe), Liste(listeur) {}
    CommandButton Bouton;
    CheckBox Case;
    Frame Cadre;
    GroupeOptions groupe;
    OptionButton Option;
    TextBox Texte;
    Label Etiquette;
    FileListBox Liste;
    Line Trait;
};

// Bound by row, in an order unlike the table's.
class FenetreLiee : public Objets, public Fenetre {
public:
    explicit FenetreLiee(IListeurRepertoire& listeur)
        : Objets(listeur),
          Fenetre(essai::Fenetre, {Lie<essai::Trait>(Trait), Lie<essai::Liste>(Liste), Lie<essai::Bouton>(Bouton),
                                   Lie<essai::Etiquette>(Etiquette), Lie<essai::Case>(Case), Lie<essai::Texte>(Texte),
                                   Lie<essai::Option>(Option), Lie<essai::Cadre>(Cadre)}) {}
    FenetreLiee(IListeurRepertoire& listeur, std::initializer_list<Liaison> liaisons)
        : Objets(listeur), Fenetre(essai::Fenetre, liaisons) {}
};

}  // namespace

TEST(Liaisons, ChaqueLigneAtteintSonControleQuelQueSoitLOrdre) {
    test::FauxListeur listeur;
    FenetreLiee f(listeur);
    const std::vector<Controle*> attendus{&f.Bouton, &f.Case,      &f.Cadre, &f.Option,
                                          &f.Texte,  &f.Etiquette, &f.Liste, &f.Trait};
    EXPECT_EQ(f.Controles(), attendus);
}

TEST(Liaisons, LeChargementRemetChaqueGenreASaConception) {
    test::FauxListeur listeur;
    FenetreLiee f(listeur);
    f.Bouton.SetEnabled(false);
    f.Case.SetValue(CheckBox::vbGrayed);
    f.Cadre.SetCaption(L"changé");
    f.Option.SetValue(false);
    f.Texte.SetVisible(true);
    f.Texte.SetText(L"tapé");
    f.Etiquette.SetCaption(L"");
    f.Liste.SetPath(L"C:\\Maj");
    f.Liste.SetPattern(L"*.exe");
    f.Charge();
    EXPECT_TRUE(f.EstChargee());
    EXPECT_EQ(f.Caption(), L"Essai");
    EXPECT_TRUE(f.Bouton.Enabled());
    EXPECT_EQ(f.Case.Value(), CheckBox::vbChecked);
    EXPECT_EQ(f.Cadre.Caption(), L"Cadre");
    EXPECT_TRUE(f.Option.Value());
    EXPECT_EQ(f.Texte.Text(), L"dessin");
    EXPECT_FALSE(f.Texte.Visible()) << "a hidden row stays hidden";
    EXPECT_EQ(f.Etiquette.Caption(), L"Étiquette");
    EXPECT_EQ(f.Liste.Path(), L"");
    EXPECT_EQ(f.Liste.Pattern(), L"*.*");
    EXPECT_TRUE(listeur.appels.empty()) << "no directory: nothing listed";
}

TEST(Liaisons, UneLigneLieeDeuxFoisNonLieeOuDUneAutreFenetreEstRefuseeDansToutBuild) {
    test::FauxListeur listeur;
    CommandButton etranger;
    Line trait;
    Objets c(listeur);
    // The rows but the line; then the line twice; then a row of another table in a row's place.
    EXPECT_THROW(
        FenetreLiee(listeur, {Lie<essai::Bouton>(c.Bouton), Lie<essai::Case>(c.Case), Lie<essai::Cadre>(c.Cadre),
                              Lie<essai::Option>(c.Option), Lie<essai::Texte>(c.Texte),
                              Lie<essai::Etiquette>(c.Etiquette), Lie<essai::Liste>(c.Liste)}),
        std::logic_error);
    EXPECT_THROW(
        FenetreLiee(listeur,
                    {Lie<essai::Trait>(trait), Lie<essai::Trait>(c.Trait), Lie<essai::Bouton>(c.Bouton),
                     Lie<essai::Case>(c.Case), Lie<essai::Cadre>(c.Cadre), Lie<essai::Option>(c.Option),
                     Lie<essai::Texte>(c.Texte), Lie<essai::Etiquette>(c.Etiquette), Lie<essai::Liste>(c.Liste)}),
        std::logic_error);
    EXPECT_THROW(FenetreLiee(listeur, {Lie<autre::Bouton>(etranger), Lie<essai::Case>(c.Case),
                                       Lie<essai::Cadre>(c.Cadre), Lie<essai::Option>(c.Option),
                                       Lie<essai::Texte>(c.Texte), Lie<essai::Etiquette>(c.Etiquette),
                                       Lie<essai::Liste>(c.Liste), Lie<essai::Trait>(c.Trait)}),
                 std::logic_error);
}
