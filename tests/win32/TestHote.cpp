// The window host under Wine with a display: the native window built from a design table, the
// peers in step both ways, keys, modal nesting and message-box owners. The test plays the user
// from thread-timer steps that run inside the host's own message loops.
#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <functional>
#include <thread>

#include "OutilsTest.h"
#include "platform/win32/PlateformeWin32.h"

namespace tolvane::win32 {
namespace {

// clang-format off
namespace D {
enum Ligne { Bouton, Case, Cadre, Option0, Option1, Texte, Cachee, Etiquette, Liste, Trait, N };
constexpr std::array<DescriptionControle, N> Controles{{
    {L"Cmd_Fermer", Genre::CommandButton, L"Fermer", 3000, 2400, 1035, 555, 5, -1, BoutonDefaut, SansCouleur, 0},
    {L"Chk_Case", Genre::CheckBox, L"Case", 120, 120, 2000, 315, 0, -1, Coche, SansCouleur, 0},
    {L"Fra_Cadre", Genre::Frame, L"Cadre", 120, 600, 2400, 1200, 1, -1, AucunStyle, SansCouleur, 0},
    {L"Opt(0)", Genre::OptionButton, L"Un", 120, 240, 1800, 255, 2, Cadre, Coche, SansCouleur, 0},
    {L"Opt(1)", Genre::OptionButton, L"Deux", 120, 600, 1800, 255, 3, Cadre, AucunStyle, SansCouleur, 0},
    {L"Txt_Texte", Genre::TextBox, L"abc", 3000, 120, 1500, 315, 4, -1, AucunStyle, SansCouleur, 10},
    {L"Txt_Cache", Genre::TextBox, L"", 3000, 600, 1500, 315, 6, -1, Cache, SansCouleur, 0},
    {L"Lbl_Etiquette", Genre::Label, L"Etiquette", 120, 2000, 1500, 255, 7, -1, BordureSimple, RGB_(0, 255, 255), 0},
    {L"Flb_Liste", Genre::FileListBox, L"", 4600, 120, 1500, 1500, 8, -1, AucunStyle, SansCouleur, 0},
    {L"Line1", Genre::Line, L"", 0, 1900, 6000, 1900, -1, -1, AucunStyle, SansCouleur, 0},
}};
constexpr DescriptionFenetre Description{L"Fenêtre d'essai", 6300, 3300, Controles};
constexpr const auto& TableDe(Ligne) { return Controles; }
}  // namespace D
// clang-format on

class FenetreEssai : public Fenetre {
public:
    explicit FenetreEssai(IListeurRepertoire& listeur)
        : Fenetre(D::Description,
                  {Lie<D::Bouton>(Bouton), Lie<D::Case>(Case), Lie<D::Cadre>(Cadre), Lie<D::Option0>(Opt0),
                   Lie<D::Option1>(Opt1), Lie<D::Texte>(Texte), Lie<D::Cachee>(Cachee), Lie<D::Etiquette>(Etiquette),
                   Lie<D::Liste>(Liste), Lie<D::Trait>(Trait)}),
          Opt0(groupe_),
          Opt1(groupe_),
          Liste(listeur) {
        Bouton.Click = [this] { ++clics; };
        Case.Click = [this] { ++clicsCase; };
        Texte.LostFocus = [this] { ++pertesFocus; };
        Liste.DblClick = [this] { ++doubleClics; };
    }
    CommandButton Bouton;
    CheckBox Case;
    Frame Cadre;
    GroupeOptions groupe_;
    OptionButton Opt0, Opt1;
    TextBox Texte, Cachee;
    Label Etiquette;
    FileListBox Liste;
    Line Trait;
    int clics = 0, clicsCase = 0, pertesFocus = 0, doubleClics = 0;
    bool dechargeAuChargement = false;

private:
    void Form_Load() override {
        if (dechargeAuChargement) Unload();
    }
};

// Steps run one per timer tick, wherever the message loop is (also inside nested loops).
std::deque<std::function<void()>> etapes;
UINT_PTR minuterie = 0;
void CALLBACK Tic(HWND, UINT, UINT_PTR, DWORD) {
    if (etapes.empty()) return;
    auto etape = std::move(etapes.front());
    etapes.pop_front();
    etape();
}
void Demarre(std::deque<std::function<void()>> e) {
    etapes = std::move(e);
    if (!minuterie) minuterie = SetTimer(nullptr, 0, 40, Tic);
}

HWND Trouve(const wchar_t* titre) { return FindWindowW(L"TolvaneFenetre", titre); }
HWND Boite(const wchar_t* titre) { return FindWindowW(L"#32770", titre); }
LONG_PTR Style(HWND h) { return GetWindowLongPtrW(h, GWL_STYLE); }

// Top-level windows of ours on this thread (FindWindow would also see other processes').
int FenetresTolvane() {
    int n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
            wchar_t classe[64] = {};
            GetClassNameW(h, classe, 64);
            if (std::wstring_view(classe).starts_with(L"Tolvane")) ++*reinterpret_cast<int*>(p);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
}

class Hote : public ::testing::Test {
protected:
    ListeurWin32 listeur;
    PlateformeWin32 plateforme;
    IHoteFenetres& hote() { return *plateforme.services().fenetres; }
};

TEST_F(Hote, AttendreLeVerrouGardeLaFenetreVivanteEtDesactivee) {
    // "Sauver" while a launcher holds the lock: the window still answers (Windows would call it
    // "not responding" otherwise) and takes no second click.
    test::DossierTemporaire d;
    const std::wstring ini = d / L"Tolvane.ini";
    HWND fenetre = CreateWindowExW(0, L"STATIC", L"verrou", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                   nullptr, nullptr, nullptr);
    ASSERT_NE(fenetre, nullptr);
    PoigneeNoyau pris(CreateEventW(nullptr, TRUE, FALSE, nullptr)), libere(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread detenteur([&] {
        VerrouReglagesWin32 autre;
        if (autre.Prend(ini, 0)) SetEvent(pris.get());
        WaitForSingleObject(libere.get(), 5000);
        autre.Rend();
    });
    ASSERT_EQ(WaitForSingleObject(pris.get(), 5000), WAIT_OBJECT_0);
    bool desactivee = false, repond = false;
    std::thread temoin([&] {
        Sleep(200);
        desactivee = !IsWindowEnabled(fenetre);
        repond = SendMessageTimeoutW(fenetre, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, nullptr) != 0;
        SetEvent(libere.get());
    });
    VerrouReglagesWin32 verrou([&] { return fenetre; });
    EXPECT_TRUE(verrou.Prend(ini, 5000));
    temoin.join();
    detenteur.join();
    EXPECT_TRUE(desactivee);
    EXPECT_TRUE(repond) << "messages not served while waiting";
    EXPECT_TRUE(IsWindowEnabled(fenetre)) << "enabled again";
    verrou.Rend();
    DestroyWindow(fenetre);
}

TEST_F(Hote, RienDeNatifAvantLaPremiereFenetre) {
    EXPECT_EQ(FenetresTolvane(), 0);
    // The common controls are loaded with the first window, not before.
    EXPECT_EQ(GetModuleHandleW(L"comctl32.dll"), nullptr);
    EXPECT_EQ(plateforme.hote().FenetreCourante(), nullptr);
    FenetreEssai f(listeur);
    f.dechargeAuChargement = true;
    EXPECT_TRUE(hote().AfficheModal(f));  // Form_Load unloaded it: returns at once, nothing shown
    EXPECT_FALSE(f.EstChargee());
    EXPECT_EQ(FenetresTolvane(), 0);
}

TEST_F(Hote, FenetreConstruiteDapresLaTableEtPairsDansLesDeuxSens) {
    test::DossierTemporaire d;
    d.Fichier(L"b.exe");
    d.Fichier(L"a.exe");
    FenetreEssai f(listeur);
    HWND h = nullptr;
    auto ctl = [&](int tab) { return GetDlgItem(h, 100 + tab); };
    Demarre({
        [&] {
            h = Trouve(L"Fenêtre d'essai");
            ASSERT_NE(h, nullptr);
            EXPECT_TRUE(IsWindowVisible(h));
            // Fixed dialog frame, close box, no min/max box, owned (out of the taskbar).
            EXPECT_EQ(Style(h) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
                      WS_CAPTION | WS_SYSMENU);
            EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
            EXPECT_NE(GetWindow(h, GW_OWNER), nullptr);
            ASSERT_EQ(GetDpiForWindow(h), 96u);
            RECT r;
            GetClientRect(h, &r);
            EXPECT_EQ(r.right, 420);
            EXPECT_EQ(r.bottom, 220);
            // Inside a frame: placed from the frame's corner, (120 + 120, 600 + 600) twips.
            GetWindowRect(ctl(3), &r);
            MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
            EXPECT_EQ(r.left, 16);
            EXPECT_EQ(r.top, 80);
            EXPECT_EQ(r.right - r.left, 120);
            // Designed state shown; the hidden box never visible nor a tab stop.
            EXPECT_EQ(SendMessageW(ctl(0), BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_EQ(SendMessageW(ctl(2), BM_GETCHECK, 0, 0), BST_CHECKED);
            EXPECT_FALSE(IsWindowVisible(ctl(6)));
            EXPECT_FALSE(Style(ctl(6)) & WS_TABSTOP);
            EXPECT_TRUE(Style(ctl(5)) & BS_DEFPUSHBUTTON);
            EXPECT_EQ(SendMessageW(ctl(4), EM_GETLIMITTEXT, 0, 0), 10);
            // Tab order: focus starts on the first stop, then follows TabIndex, selected option only.
            EXPECT_EQ(GetFocus(), ctl(0));
            std::vector<int> ordre;
            HWND c = ctl(0);
            for (int i = 0; i < 6; ++i, c = GetNextDlgTabItem(h, c, FALSE)) ordre.push_back(GetDlgCtrlID(c));
            EXPECT_EQ(ordre, (std::vector<int>{100, 102, 104, 105, 108, 100}));
        },
        [&] {
            // Program → window.
            f.Texte.SetText(L"xyz");
            wchar_t t[16];
            GetWindowTextW(ctl(4), t, 16);
            EXPECT_STREQ(t, L"xyz");
            f.Case.SetValue(CheckBox::vbGrayed);
            EXPECT_EQ(SendMessageW(ctl(0), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
            f.Cadre.SetEnabled(false);
            EXPECT_FALSE(IsWindowEnabled(ctl(1)));
            EXPECT_FALSE(IsWindowEnabled(ctl(2)));
            EXPECT_FALSE(IsWindowEnabled(ctl(3)));
            EXPECT_TRUE(f.Opt0.Enabled());
            f.Cadre.SetEnabled(true);
            EXPECT_TRUE(IsWindowEnabled(ctl(3)));
            f.Liste.SetPath(d.Chemin());
            f.Liste.SetPattern(L"*.exe");
            EXPECT_EQ(SendMessageW(ctl(8), LB_GETCOUNT, 0, 0), 2);
            f.Liste.SetListIndex(0);
            EXPECT_EQ(SendMessageW(ctl(8), LB_GETCURSEL, 0, 0), 0);
        },
        [&] {
            // User → model: a click on a greyed box checks it, the next unchecks; Click each time.
            const int avant = f.clicsCase;
            SendMessageW(ctl(0), BM_CLICK, 0, 0);
            EXPECT_EQ(f.Case.Value(), CheckBox::vbChecked);
            EXPECT_EQ(SendMessageW(ctl(0), BM_GETCHECK, 0, 0), BST_CHECKED);
            SendMessageW(ctl(0), BM_CLICK, 0, 0);
            EXPECT_EQ(f.Case.Value(), CheckBox::vbUnchecked);
            EXPECT_EQ(f.clicsCase, avant + 2);
            SendMessageW(ctl(3), BM_CLICK, 0, 0);
            EXPECT_TRUE(f.Opt1.Value());
            EXPECT_FALSE(f.Opt0.Value());
            EXPECT_TRUE(Style(ctl(3)) & WS_TABSTOP);
            EXPECT_FALSE(Style(ctl(2)) & WS_TABSTOP);
            SetWindowTextW(ctl(4), L"saisi");
            EXPECT_EQ(f.Texte.Text(), L"saisi");
            SendMessageW(ctl(8), LB_SETCURSEL, 1, 0);
            SendMessageW(h, WM_COMMAND, MAKEWPARAM(108, LBN_DBLCLK), reinterpret_cast<LPARAM>(ctl(8)));
            EXPECT_EQ(f.Liste.ListIndex(), 1);
            EXPECT_EQ(f.doubleClics, 1);
            SendMessageW(ctl(5), BM_CLICK, 0, 0);
            EXPECT_EQ(f.clics, 1);
            // Leaving the text box for another control of the window raises LostFocus (later).
            SetFocus(ctl(4));
            SetFocus(ctl(8));
            EXPECT_EQ(f.pertesFocus, 0);
        },
        [&] {
            EXPECT_EQ(f.pertesFocus, 1);
            // Enter in the text box presses the default button; Esc with no cancel button does nothing.
            SetFocus(ctl(4));
            PostMessageW(ctl(4), WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(ctl(4), WM_KEYDOWN, VK_ESCAPE, 0);
        },
        [&] {
            EXPECT_EQ(f.clics, 2);
            EXPECT_TRUE(f.EstChargee());
            // The close box goes to the window's logic, which by default unloads it.
            PostMessageW(h, WM_CLOSE, 0, 0);
        },
    });
    EXPECT_TRUE(hote().AfficheModal(f));
    EXPECT_TRUE(etapes.empty());
    EXPECT_FALSE(f.EstChargee());
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(plateforme.hote().FenetreCourante(), nullptr);
}

TEST_F(Hote, ModaleSurModaleEtProprietaireDesBoitesDeMessage) {
    FenetreEssai a(listeur), b(listeur);
    HWND ha = nullptr, hb = nullptr;
    int reponse = 0, reponseSansTitre = 0;
    b.Bouton.Click = [&] { b.Unload(); };
    a.Bouton.Click = [&] { a.Unload(); };
    Demarre({
        [&] {
            ha = plateforme.hote().FenetreCourante();
            ASSERT_NE(ha, nullptr);
            EXPECT_TRUE(hote().AfficheModal(b));  // the next steps run inside b's loop
            // Back in a: re-enabled before b went, and active again.
            EXPECT_FALSE(IsWindow(hb));
            EXPECT_TRUE(IsWindowEnabled(ha));
            EXPECT_EQ(plateforme.hote().FenetreCourante(), ha);
        },
        [&] {
            hb = plateforme.hote().FenetreCourante();
            ASSERT_NE(hb, nullptr);
            EXPECT_NE(hb, ha);
            EXPECT_EQ(GetWindow(hb, GW_OWNER), ha);
            EXPECT_FALSE(IsWindowEnabled(ha));
            b.SetCaption(L"Deuxième");
            EXPECT_EQ(Trouve(L"Deuxième"), hb);
            reponse = plateforme.services().messages->MsgBox(L"Question ?", vbYesNoQuestion, L"Titre essai");
            reponseSansTitre = plateforme.services().messages->MsgBox(L"Information", vbInformation);
            SendMessageW(GetDlgItem(hb, 105), BM_CLICK, 0, 0);
        },
        [&] {
            HWND boite = Boite(L"Titre essai");
            ASSERT_NE(boite, nullptr);
            EXPECT_EQ(GetWindow(boite, GW_OWNER), hb);
            PostMessageW(boite, WM_COMMAND, IDYES, 0);
        },
        [&] {
            HWND boite = Boite(L"Tolvane");
            ASSERT_NE(boite, nullptr);
            EXPECT_EQ(GetWindow(boite, GW_OWNER), hb);
            PostMessageW(boite, WM_COMMAND, IDOK, 0);
        },
        [&] { SendMessageW(GetDlgItem(ha, 105), BM_CLICK, 0, 0); },
    });
    EXPECT_TRUE(hote().AfficheModal(a));
    EXPECT_TRUE(etapes.empty());
    EXPECT_EQ(reponse, vbYes);
    EXPECT_EQ(reponseSansTitre, vbOK);
    EXPECT_FALSE(a.EstChargee());
    EXPECT_FALSE(b.EstChargee());
}

TEST_F(Hote, UneFenetrePrincipaleVisibleGardeLesSiennesHorsDeLaBarreDesTaches) {
    FenetreEssai principale(listeur), modale(listeur);
    modale.Bouton.Click = [&] { modale.Unload(); };
    principale.Bouton.Click = [&] { principale.Unload(); };
    // At logon, but once the main window is on screen what it opens belongs to it, as designed.
    plateforme.services().auDemarrageDuPoste = true;
    HWND hp = nullptr, hm = nullptr;
    principale.Charge();
    Demarre({
        [&] {
            hp = plateforme.hote().FenetreCourante();
            EXPECT_NE(GetWindow(hp, GW_OWNER), nullptr) << "an unowned main window would be in the taskbar";
            EXPECT_TRUE(plateforme.hote().PrincipaleVisible());
            EXPECT_FALSE(plateforme.services().AvantFenetrePrincipale());
            EXPECT_TRUE(hote().AfficheModal(modale));
        },
        [&] {
            hm = plateforme.hote().FenetreCourante();
            ASSERT_NE(hm, hp);
            EXPECT_FALSE(GetWindowLongPtrW(hm, GWL_EXSTYLE) & WS_EX_APPWINDOW);
            EXPECT_EQ(GetWindow(hm, GW_OWNER), hp);
            SendMessageW(GetDlgItem(hm, 105), BM_CLICK, 0, 0);
        },
        [&] { SendMessageW(GetDlgItem(hp, 105), BM_CLICK, 0, 0); },
    });
    EXPECT_TRUE(hote().AfficheEtAttend(principale));
    EXPECT_TRUE(etapes.empty());
    EXPECT_FALSE(plateforme.hote().PrincipaleVisible());
}

}  // namespace
}  // namespace tolvane::win32
