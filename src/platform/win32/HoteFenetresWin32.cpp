// The host and its modal loop: nothing native before the first window, the hidden owner that
// keeps our windows out of the taskbar, the stack of shown windows that message boxes and
// modal windows take their owner from, and the loop that runs until a window is unloaded.
#include "HoteFenetresWin32.h"

#include <commctrl.h>

#include "FenetreNativeWin32.h"
#include "FonctionsDynamiques.h"
#include "ServicesWin32.h"

namespace tolvane::win32 {

namespace {
constexpr wchar_t ClasseProprietaire[] = L"TolvaneProprietaire";
}  // namespace

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
    if (auto init = FonctionDe<Fn>(ChargeDuSysteme(L"comctl32.dll"), "InitCommonControlsEx")) {
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
    proprietaireCache_ =
        CreateWindowExW(0, ClasseProprietaire, L"Tolvane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
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
