// The window host on Win32: gives each window of the logic, described by its design table, a
// native top-level window whose controls are kept in step with the control objects.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/Fenetre.h"
#include "platform/Services.h"

namespace tolvane::win32 {

class FenetreNative;

class HoteFenetresWin32 final : public IHoteFenetres {
public:
    explicit HoteFenetresWin32(HINSTANCE instance);
    ~HoteFenetresWin32() override;
    HoteFenetresWin32(const HoteFenetresWin32&) = delete;
    HoteFenetresWin32& operator=(const HoteFenetresWin32&) = delete;

    void AfficheModal(Fenetre& fenetre) override;
    void AfficheEtAttend(Fenetre& fenetre) override;

    // The window of ours the user sees now: the modal window on top, else the main window when
    // shown, else nullptr. Message boxes take it as owner.
    HWND FenetreCourante() const;

private:
    friend class FenetreNative;
    // Nothing native exists before the first window is shown: the launcher often shows none.
    void Prepare();
    // Runs the messages until `fenetre` is unloaded or WM_QUIT arrives.
    void Boucle(Fenetre& fenetre, FenetreNative& natif);

    HINSTANCE instance_;
    bool pret_ = false;
    HWND proprietaireCache_ = nullptr;
    std::vector<FenetreNative*> pile_;  // shown windows, oldest first
};

}  // namespace tolvane::win32
