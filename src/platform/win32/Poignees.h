// Move-only owners of Win32 handles, in the manner of wil::unique_any: copy is deleted, so a
// handle is closed exactly once, by whoever holds it last. Beside them, what the calls around
// them share: a scope guard and the buffer that grows until a text fits.
#pragma once

#include <windows.h>

#include <string>
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
    // For a call that hands the handle back through a pointer: whatever was held is closed
    // first, and the call writes straight into the owner.
    Type* put() {
        Reinitialise();
        return &h_;
    }
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
struct TraitsBibliotheque : NulZero<HMODULE> {
    static void Ferme(HMODULE h) { FreeLibrary(h); }
};
// Memory the system allocated for the caller and LocalFree gives back (FormatMessageW with
// FORMAT_MESSAGE_ALLOCATE_BUFFER).
template <typename T>
struct TraitsMemoireLocale : NulZero<T*> {
    static void Ferme(T* p) { LocalFree(p); }
};

using PoigneePolice = Poignee<TraitsGdi<HFONT>>;
using PoigneePinceau = Poignee<TraitsGdi<HBRUSH>>;
using PoigneeStylo = Poignee<TraitsGdi<HPEN>>;
using PoigneeNoyau = Poignee<TraitsNoyau>;
using PoigneeFichier = Poignee<TraitsFichier>;
using PoigneeRecherche = Poignee<TraitsRecherche>;
using PoigneeContexteActivation = Poignee<TraitsContexteActivation>;
using PoigneeSourceEvenements = Poignee<TraitsSourceEvenements>;
using PoigneeBibliotheque = Poignee<TraitsBibliotheque>;
template <typename T>
using MemoireLocale = Poignee<TraitsMemoireLocale<T>>;

// Runs `f` when the scope ends, however it ends: for a clean-up that owns no handle.
template <typename F>
class ALaSortie {
public:
    explicit ALaSortie(F f) : f_(std::move(f)) {}
    ~ALaSortie() { f_(); }
    ALaSortie(const ALaSortie&) = delete;
    ALaSortie& operator=(const ALaSortie&) = delete;

private:
    F f_;
};

// The text a call writes into a buffer of the size it is given, the buffer grown until it fits.
// `appel(tampon, taille)` answers the length written without the final NUL, 0 on failure; a
// buffer too short is told two ways: GetModuleFileNameW answers the size it was given (the text
// cut); GetFullPathNameW and its like (GetLongPathNameW, GetTempPathW, GetSystemDirectoryW,
// GetCurrentDirectoryW, GetEnvironmentVariableW) the size they need. Empty on failure.
template <typename Appel>
std::wstring TexteAgrandi(Appel appel) {
    // The longest path the system takes is 32,767 characters: a call still short beyond that
    // is failing, not growing.
    constexpr std::size_t Plafond = 65536;
    std::wstring tampon(MAX_PATH, L'\0');
    while (tampon.size() <= Plafond) {
        const DWORD n = appel(tampon.data(), static_cast<DWORD>(tampon.size()));
        if (n == 0) break;
        if (n < tampon.size()) {
            tampon.resize(n);
            return tampon;
        }
        tampon.resize(n > tampon.size() ? n : tampon.size() * 2);
    }
    return {};
}

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
