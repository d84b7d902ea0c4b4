// The window host on Win32: gives each window of the logic, described by its design table, a
// native top-level window whose controls are kept in step with the control objects.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/Fenetre.h"
#include "platform/Services.h"

namespace tolvane::win32 {

class FenetreNative;

class HoteFenetresWin32 final : public IHoteFenetres {
public:
    // `miseEnAvant` answers whether a window shown now must bring itself forward
    // (Services::AvantFenetrePrincipale); without it, never.
    explicit HoteFenetresWin32(HINSTANCE instance, std::function<bool()> miseEnAvant = {});
    ~HoteFenetresWin32() override;
    HoteFenetresWin32(const HoteFenetresWin32&) = delete;
    HoteFenetresWin32& operator=(const HoteFenetresWin32&) = delete;

    bool AfficheModal(Fenetre& fenetre) override;
    bool AfficheEtAttend(Fenetre& fenetre) override;
    bool PrincipaleVisible() const override;

    // The window of ours the user sees now: the modal window on top, else the main window when
    // shown, else nullptr. Message boxes take it as owner.
    HWND FenetreCourante() const;

private:
    friend class FenetreNative;
    // Nothing native exists before the first window is shown: the launcher often shows none.
    // False when the window class could not be registered: no window can be made.
    bool Prepare();
    // Runs the messages until `fenetre` is unloaded or WM_QUIT arrives.
    void Boucle(Fenetre& fenetre, FenetreNative& natif);

    HINSTANCE instance_;
    std::function<bool()> miseEnAvant_;
    bool pret_ = false;
    FenetreNative* principale_ = nullptr;  // shown by AfficheEtAttend
    HWND proprietaireCache_ = nullptr;
    std::vector<FenetreNative*> pile_;  // shown windows, oldest first
};

}  // namespace tolvane::win32
