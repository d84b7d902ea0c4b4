// attend-fenetre.exe DESKTOP TITLE: waits until a visible top-level window of the named Wine
// desktop (explorer /desktop=DESKTOP,…) has exactly this title, polling every 50 ms, 10 s at
// most; exit code 0 when it showed, 1 otherwise. Used by scripts/lance-configuration.sh.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    // Windows are looked for on the calling thread's desktop: move to the program's, once
    // explorer has created it.
    bool surLeBureau = false;
    for (int i = 0; i < 200; ++i) {
        if (!surLeBureau) {
            const HDESK bureau = OpenDesktopW(argv[1], 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
            surLeBureau = bureau && SetThreadDesktop(bureau);
        }
        const HWND fenetre = surLeBureau ? FindWindowW(nullptr, argv[2]) : nullptr;
        if (fenetre && IsWindowVisible(fenetre)) return 0;
        Sleep(50);
    }
    return 1;
}
