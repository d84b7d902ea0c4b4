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

// The two "no handle" values: most calls answer nullptr on failure, CreateFileW,
// FindFirstFileW and CreateActCtxW answer INVALID_HANDLE_VALUE.
template <typename T>
struct NulZero {
    using Type = T;
    static Type Nul() { return nullptr; }
};
struct NulInvalide {
    using Type = HANDLE;
    static Type Nul() { return INVALID_HANDLE_VALUE; }
};

template <typename T>
struct TraitsGdi : NulZero<T> {
    static void Ferme(T h) { DeleteObject(h); }
};
struct TraitsNoyau : NulZero<HANDLE> {
    static void Ferme(HANDLE h) { CloseHandle(h); }
};
struct TraitsSourceEvenements : NulZero<HANDLE> {
    static void Ferme(HANDLE h) { DeregisterEventSource(h); }
};
struct TraitsFichier : NulInvalide {
    static void Ferme(HANDLE h) { CloseHandle(h); }
};
struct TraitsRecherche : NulInvalide {
    static void Ferme(HANDLE h) { FindClose(h); }
};
struct TraitsContexteActivation : NulInvalide {
    static void Ferme(HANDLE h) { ReleaseActCtx(h); }
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
