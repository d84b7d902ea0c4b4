// Entry point of both programs, compiled once for each: Tolvane.exe with TOLVANE_MODE_AUTO=0
// (the configuration program), Tolvane_Lanceur.exe with TOLVANE_MODE_AUTO=1 (the launcher).
// The start-up object is the main window: loading it runs the start-up sequence, which in the
// launcher may launch and end the process before any window is shown.
#include <windows.h>

#include "platform/win32/PlateformeWin32.h"
#include "ui/Frm_principale.h"

#ifndef TOLVANE_MODE_AUTO
#error "TOLVANE_MODE_AUTO must be 0 or 1"
#endif

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // Every library loaded from now on, delay-loaded ones included, comes from the system folder:
    // a DLL planted beside the program (mpr.dll is no KnownDLL) would run as whoever runs it,
    // the system account at machine start.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    tolvane::win32::PlateformeWin32 plateforme(instance);
    tolvane::Services& services = plateforme.services();
    tolvane::Frm_principale frm(services, TOLVANE_MODE_AUTO != 0);
    frm.Charge();
    frm.AfficheEtAttend();
    return 0;
}
