// attend-fenetre.exe DESKTOP TITLE...: waits until a visible top-level window of the named Wine
// desktop (explorer /desktop=DESKTOP,…) has a title starting with one of the TITLEs, polling
// every 50 ms, 10 s at most; exit code 0 when one showed, 1 otherwise. Used by
// scripts/lance-configuration.sh.
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Recherche {
    std::vector<std::wstring> titres;
    bool trouvee = false;
};

BOOL CALLBACK Examine(HWND fenetre, LPARAM parametre) {
    auto& recherche = *reinterpret_cast<Recherche*>(parametre);
    if (!IsWindowVisible(fenetre)) return TRUE;
    wchar_t texte[256];
    const std::wstring titre(texte, GetWindowTextW(fenetre, texte, 256));
    for (const std::wstring& t : recherche.titres) {
        if (titre.rfind(t, 0) == 0) recherche.trouvee = true;
    }
    return !recherche.trouvee;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    Recherche recherche;
    recherche.titres.assign(argv + 2, argv + argc);
    bool surLeBureau = false;
    for (int i = 0; i < 200; ++i) {
        // The desktop exists only once explorer has created it. Visibility is answered only
        // to a thread of the same desktop.
        if (!surLeBureau) {
            const HDESK bureau = OpenDesktopW(argv[1], 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
            surLeBureau = bureau && SetThreadDesktop(bureau);
        }
        if (surLeBureau) {
            EnumWindows(Examine, reinterpret_cast<LPARAM>(&recherche));
            if (recherche.trouvee) return 0;
        }
        Sleep(50);
    }
    return 1;
}
