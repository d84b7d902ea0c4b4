#include "DpiWin32.h"

#include "FonctionsDynamiques.h"

namespace tolvane::win32 {

UINT DpiDe(HWND hwnd) {
    static const auto pourFenetre = FonctionDe<UINT(WINAPI*)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (pourFenetre) {
        if (const UINT dpi = pourFenetre(hwnd)) return dpi;
    }
    const ContexteAffichage ecran(nullptr);
    const int dpi = GetDeviceCaps(ecran.get(), LOGPIXELSY);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

SIZE TailleExterieure(const DescriptionFenetre& description, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto pourDpi =
        FonctionDe<BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT)>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, Px(description.largeurClient, dpi), Px(description.hauteurClient, dpi)};
    if (!pourDpi || !pourDpi(&r, style, FALSE, exStyle, dpi)) AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

PoigneePolice CreePolice(const wchar_t* nom, int points, int graisse, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    lf.lfWeight = graisse;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    wcsncpy(lf.lfFaceName, nom, LF_FACESIZE - 1);
    return PoigneePolice(CreateFontIndirectW(&lf));
}

void MiseEnPage::Dispose(HWND fenetre, const DescriptionFenetre& description, std::span<const HWND> controles,
                         UINT dpi) {
    dpi_ = dpi;
    // "MS Shell Dlg" 8 pt is the font the designed sizes were measured with; the larger
    // message font of recent systems would not fit the captions into them.
    PoigneePolice police = CreePolice(L"MS Shell Dlg", 8, FW_NORMAL, dpi);
    PoigneePolice arial = CreePolice(L"Arial", 12, FW_BOLD, dpi);
    const auto table = description.controles;
    for (std::size_t i = 0; i < controles.size() && i < table.size(); ++i) {
        HWND h = controles[i];
        if (!h) continue;
        const DescriptionControle& d = table[i];
        int gauche = d.gauche, haut = d.haut;
        if (d.parent >= 0) {
            gauche += table[static_cast<std::size_t>(d.parent)].gauche;
            haut += table[static_cast<std::size_t>(d.parent)].haut;
        }
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>((d.style & ArialGras12) ? arial.get() : police.get()),
                     FALSE);
        MoveWindow(h, Px(gauche, dpi), Px(haut, dpi), Px(d.largeur, dpi), Px(d.hauteur, dpi), TRUE);
    }
    // The old fonts go only once no control uses them.
    police_ = std::move(police);
    policeArial_ = std::move(arial);
    InvalidateRect(fenetre, nullptr, TRUE);
}

void MiseEnPage::SurDpiChange(HWND fenetre, const DescriptionFenetre& description, std::span<const HWND> controles,
                              WPARAM wParam, LPARAM lParam, DWORD style, DWORD exStyle) {
    // Positions from the suggested rectangle, sizes again from the twips at the new DPI.
    const auto* propose = reinterpret_cast<const RECT*>(lParam);
    Dispose(fenetre, description, controles, HIWORD(wParam));
    const SIZE taille = TailleExterieure(description, style, exStyle, dpi_);
    SetWindowPos(fenetre, nullptr, propose->left, propose->top, taille.cx, taille.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tolvane::win32
