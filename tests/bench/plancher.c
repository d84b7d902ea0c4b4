/* The floor of the launcher benchmark: the least a program can do for the same job. Lists
   "*.exe" in the directory given on its command line and starts the first match. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE precedente, PWSTR repertoire, int affichage) {
    (void)instance;
    (void)precedente;
    (void)affichage;
    static wchar_t motif[MAX_PATH * 4], programme[MAX_PATH * 4], ligne[MAX_PATH * 4 + 2];
    lstrcpyW(motif, repertoire);
    lstrcatW(motif, L"\\*.exe");
    WIN32_FIND_DATAW trouve;
    HANDLE recherche =
        FindFirstFileExW(motif, FindExInfoBasic, &trouve, FindExSearchNameMatch, NULL, FIND_FIRST_EX_LARGE_FETCH);
    if (recherche == INVALID_HANDLE_VALUE) return 1;
    FindClose(recherche);
    lstrcpyW(programme, repertoire);
    lstrcatW(programme, L"\\");
    lstrcatW(programme, trouve.cFileName);
    lstrcpyW(ligne, L"\"");
    lstrcatW(ligne, programme);
    lstrcatW(ligne, L"\"");
    STARTUPINFOW demarrage = {sizeof demarrage};
    PROCESS_INFORMATION processus;
    if (!CreateProcessW(programme, ligne, NULL, NULL, FALSE, 0, NULL, NULL, &demarrage, &processus)) return 2;
    CloseHandle(processus.hThread);
    CloseHandle(processus.hProcess);
    return 0;
}
