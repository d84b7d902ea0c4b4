// The native peers of the controls: one small class per kind, each with its window class and
// styles, its refresh from the model and its handling of the notifications of its HWND.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/Fenetre.h"

namespace tolvane::win32 {

// Posted to the window when a text box has lost the focus (wParam: its row); handled once the
// focus has arrived elsewhere.
constexpr UINT WM_TOLVANE_PERTE_FOCUS = WM_APP + 1;

class PairControle : public IPairControle {
public:
    // The peer of the kind `d` gives, for a model of that kind; nullptr for any other model.
    static std::unique_ptr<PairControle> Cree(const DescriptionControle& d, std::size_t ligne, Controle& modele);
    PairControle(const PairControle&) = delete;
    PairControle& operator=(const PairControle&) = delete;

    // Links the peer of a frame and the peers inside it.
    void PlaceDans(PairControle& cadre);
    // The window the controls go into.
    struct Parent {
        HWND hwnd;
        HINSTANCE instance;
        bool boutonDefaut;  // one of its buttons is pressed by Enter
    };
    // Creates the HWND (a line has none) in `parent`; `precedent` is the peer created just
    // before, in tab order. False when the system refused it.
    bool CreeNatif(const Parent& parent, const PairControle* precedent);

    // Shows the model's state in the HWND: enabled, visible and what the kind holds.
    void Actualise() final;
    // A notification of the HWND (the code of WM_COMMAND), unless the peer caused it itself.
    // True when a handler ran and may have changed the model again: the window, if still
    // there, refreshes the peer.
    bool Notification(int code);
    // Enabled, and so is every frame it sits in.
    bool ActifEffectif() const;

    const DescriptionControle& Description() const { return d_; }
    std::size_t Ligne() const { return ligne_; }
    HWND hwnd() const { return hwnd_; }

    // What the peer does with Enter when it has the focus.
    enum class Entree { BoutonDefaut, Utilisee, Laissee };
    virtual Entree SurEntree() { return Entree::BoutonDefaut; }
    // A command button: what a user's press does. Others: nothing.
    virtual void Presse() {}
    // The text box: its LostFocus, once the focus has reached another control of the window.
    virtual void PerteFocus() {}
    // WM_CTLCOLORSTATIC: the brush to paint with, nullptr for the system's.
    virtual HBRUSH Couleur(HDC) { return nullptr; }
    // A line draws itself on the window.
    virtual void Peint(HDC, UINT /*dpi*/) const {}

protected:
    PairControle(const DescriptionControle& d, std::size_t ligne, Controle& modele)
        : d_(d), ligne_(ligne), modele_(modele) {}

    struct ClasseNative {
        const wchar_t* nom;  // nullptr: no HWND
        DWORD style;
        DWORD exStyle;
    };
    virtual ClasseNative Classe() const = 0;
    // Whether the option buttons of one frame go on one group.
    virtual bool SuiteDuGroupe(const PairControle*) const { return false; }
    virtual void ApresCreation() {}
    // The state of the kind, in the HWND.
    virtual void ActualiseEtat() {}
    // The user's action reported by `code`, given to the model; true when the model may have
    // changed again since (a handler ran), so that the peer shows it.
    virtual bool Commande(int /*code*/) { return false; }

    const Parent& parent() const { return parent_; }

private:
    const DescriptionControle& d_;
    std::size_t ligne_;
    Controle& modele_;
    HWND hwnd_ = nullptr;
    Parent parent_{};
    PairControle* cadre_ = nullptr;
    std::vector<PairControle*> enfants_;  // a frame's
    bool enActualisation_ = false;        // true while the peer itself changes the HWND
};

}  // namespace tolvane::win32
