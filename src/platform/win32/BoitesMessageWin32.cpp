// Message boxes, owned by the window the user sees.
#include "ServicesWin32.h"

namespace tolvane::win32 {

int BoitesMessageWin32::MsgBox(const std::wstring& texte, int boutons, const std::optional<std::wstring>& titre) {
    const std::wstring t = titre ? *titre : std::wstring(L"Tolvane");
    // The buttons values of the logic are exactly the MB_ flags (16 = MB_ICONHAND,
    // 36 = MB_YESNO | MB_ICONQUESTION, 64 = MB_ICONINFORMATION) and the results the ID* values.
    ActiveControlesCommuns();
    HWND proprietaire = proprietaire_ ? proprietaire_() : nullptr;
    UINT type = static_cast<UINT>(boutons);
    if (!proprietaire) {
        type |= MB_TASKMODAL;
        // A box with no owner is a top-level window of its own, with its taskbar button; at
        // logon it must also ask for the foreground, or it may open behind the user's windows.
        if (miseEnAvant_ && miseEnAvant_()) type |= MB_SETFOREGROUND;
    }
    return MessageBoxW(proprietaire, texte.c_str(), t.c_str(), type);
}

}  // namespace tolvane::win32
