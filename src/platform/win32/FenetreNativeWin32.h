// The native top-level window of one window of the logic: made from its design table, with a
// peer per control, the keys a VB form handles, its colours and its lines.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "DpiWin32.h"
#include "PairsControlesWin32.h"
#include "platform/Fenetre.h"

namespace tolvane::win32 {

class HoteFenetresWin32;

inline constexpr wchar_t ClasseFenetre[] = L"TolvaneFenetre";

class FenetreNative final : public IPairFenetre {
public:
    // `modale`: `proprietaire` is disabled while this window shows, and enabled again before it
    // goes. `enAvant`: a taskbar button and a request for the foreground.
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

    // The window procedure of the class ClasseFenetre.
    static LRESULT CALLBACK ProcedureStatique(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Procedure(UINT message, WPARAM wParam, LPARAM lParam);
    bool CreeControles();
    // The peer of the control whose ID is `id`, nullptr for none (or a line).
    PairControle* PairDeId(int id) const;
    // The command button of the given style (BoutonDefaut, BoutonAnnulation), nullptr for none.
    PairControle* BoutonAvecStyle(std::uint32_t style) const;
    void Presse(std::uint32_t style) {
        if (PairControle* bouton = BoutonAvecStyle(style)) bouton->Presse();
    }
    std::vector<HWND> Natifs() const;
    void Dispose(UINT dpi) { miseEnPage_.Dispose(hwnd_, fenetre_.Description(), Natifs(), dpi); }
    void Commande(int id, int code, HWND controle);
    void Peint();
    LRESULT CouleurStatique(HDC dc, HWND controle);

    HoteFenetresWin32& hote_;
    Fenetre& fenetre_;
    HWND proprietaire_;
    bool modale_;
    bool enAvant_;
    HWND hwnd_ = nullptr;
    MiseEnPage miseEnPage_;
    std::vector<std::unique_ptr<PairControle>> pairs_;  // one per row
    std::vector<PairControle*> ordreTab_;               // peers with an HWND, in tab order
    HWND focusSauve_ = nullptr;
};

}  // namespace tolvane::win32
