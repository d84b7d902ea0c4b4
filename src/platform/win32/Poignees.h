// Move-only owners of Win32 handles, in the manner of wil::unique_any: copy is deleted, so a
// handle is closed exactly once, by whoever holds it last.
#pragma once

#include <windows.h>

#include <utility>

namespace tolvane::win32 {

// Traits give the handle type, its "no handle" value and how to close it. The "no handle"
// value is a function because INVALID_HANDLE_VALUE is not a constant expression.
template <typename Traits>
class Poignee {
public:
    using Type = typename Traits::Type;

    Poignee() = default;
    explicit Poignee(Type h) : h_(h) {}
    Poignee(Poignee&& autre) noexcept : h_(std::exchange(autre.h_, Traits::Nul())) {}
    Poignee& operator=(Poignee&& autre) noexcept {
        if (this != &autre) Reinitialise(std::exchange(autre.h_, Traits::Nul()));
        return *this;
    }
    Poignee(const Poignee&) = delete;
    Poignee& operator=(const Poignee&) = delete;
    ~Poignee() { Reinitialise(); }

    Type get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Nul(); }
    // Gives the handle up without closing it: whoever takes it closes it.
    [[nodiscard]] Type release() { return std::exchange(h_, Traits::Nul()); }
    void Reinitialise(Type h = Traits::Nul()) {
        if (h_ != Traits::Nul()) Traits::Ferme(h_);
        h_ = h;
    }

private:
    Type h_ = Traits::Nul();
};

template <typename T>
struct TraitsGdi {
    using Type = T;
    static Type Nul() { return nullptr; }
    static void Ferme(Type h) { DeleteObject(h); }
};
struct TraitsNoyau {
    using Type = HANDLE;
    static Type Nul() { return nullptr; }
    static void Ferme(Type h) { CloseHandle(h); }
};
// CreateFileW answers INVALID_HANDLE_VALUE on failure where other calls answer nullptr.
struct TraitsFichier {
    using Type = HANDLE;
    static Type Nul() { return INVALID_HANDLE_VALUE; }
    static void Ferme(Type h) { CloseHandle(h); }
};
struct TraitsRecherche {
    using Type = HANDLE;
    static Type Nul() { return INVALID_HANDLE_VALUE; }
    static void Ferme(Type h) { FindClose(h); }
};
struct TraitsContexteActivation {
    using Type = HANDLE;
    static Type Nul() { return INVALID_HANDLE_VALUE; }
    static void Ferme(Type h) { ReleaseActCtx(h); }
};
struct TraitsSourceEvenements {
    using Type = HANDLE;
    static Type Nul() { return nullptr; }
    static void Ferme(Type h) { DeregisterEventSource(h); }
};

using PoigneePolice = Poignee<TraitsGdi<HFONT>>;
using PoigneePinceau = Poignee<TraitsGdi<HBRUSH>>;
using PoigneeStylo = Poignee<TraitsGdi<HPEN>>;
using PoigneeNoyau = Poignee<TraitsNoyau>;
using PoigneeFichier = Poignee<TraitsFichier>;
using PoigneeRecherche = Poignee<TraitsRecherche>;
using PoigneeContexteActivation = Poignee<TraitsContexteActivation>;
using PoigneeSourceEvenements = Poignee<TraitsSourceEvenements>;

// The two handles CreateProcessW hands back, closed together.
struct ProcessusCree {
    PoigneeNoyau processus;
    PoigneeNoyau fil;
    explicit ProcessusCree(const PROCESS_INFORMATION& pi) : processus(pi.hProcess), fil(pi.hThread) {}
};

// A device context borrowed with GetDC, given back to the same window.
class ContexteAffichage {
public:
    explicit ContexteAffichage(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ContexteAffichage() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    ContexteAffichage(const ContexteAffichage&) = delete;
    ContexteAffichage& operator=(const ContexteAffichage&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context for a scope; the previous one is put back.
class SelectionGdi {
public:
    SelectionGdi(HDC dc, HGDIOBJ objet) : dc_(dc), avant_(SelectObject(dc, objet)) {}
    ~SelectionGdi() {
        if (avant_) SelectObject(dc_, avant_);
    }
    SelectionGdi(const SelectionGdi&) = delete;
    SelectionGdi& operator=(const SelectionGdi&) = delete;

private:
    HDC dc_;
    HGDIOBJ avant_;
};

}  // namespace tolvane::win32
