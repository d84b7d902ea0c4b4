// DPI and fonts: the windows are designed in twips and laid out at the DPI of their monitor
// (pixels = twips × dpi / 1440), so the design is exact at 96 dpi and scales above it.
#pragma once

#include <windows.h>

#include <span>

#include "Poignees.h"
#include "platform/Fenetre.h"

namespace tolvane::win32 {

inline int Px(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

// Per-monitor DPI where the system knows it (Windows 10 1607 on), else the system DPI.
UINT DpiDe(HWND hwnd);

// The outer size of a window of `style` whose client area is designed in twips.
SIZE TailleExterieure(const DescriptionFenetre& description, DWORD style, DWORD exStyle, UINT dpi);

PoigneePolice CreePolice(const wchar_t* nom, int points, int graisse, UINT dpi);

// The fonts and places of one window's controls at its current DPI. Windows sends no
// WM_DPICHANGED for the DPI a window is created at: Dispose once after creation, then
// SurDpiChange on each WM_DPICHANGED.
class MiseEnPage {
public:
    UINT Dpi() const { return dpi_; }
    // `controles` holds each row's HWND, nullptr where the row has none (lines).
    void Dispose(HWND fenetre, const DescriptionFenetre& description, std::span<const HWND> controles, UINT dpi);
    void SurDpiChange(HWND fenetre, const DescriptionFenetre& description, std::span<const HWND> controles,
                      WPARAM wParam, LPARAM lParam, DWORD style, DWORD exStyle);

private:
    UINT dpi_ = 96;
    PoigneePolice police_, policeArial_;
};

}  // namespace tolvane::win32
