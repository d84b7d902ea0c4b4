/* The program the benchmark starts: records the moment it began (the performance counter,
   which all processes share) in the file named by CHRONO_SONDE, then exits. */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE precedente, PWSTR ligne, int affichage) {
    LARGE_INTEGER maintenant;
    QueryPerformanceCounter(&maintenant);
    (void)instance;
    (void)precedente;
    (void)ligne;
    (void)affichage;
    wchar_t chemin[MAX_PATH * 4];
    if (!GetEnvironmentVariableW(L"CHRONO_SONDE", chemin, MAX_PATH * 4)) return 1;
    char texte[32];
    int n = wsprintfA(texte, "%I64d", maintenant.QuadPart);
    wchar_t temporaire[MAX_PATH * 4 + 4];
    lstrcpyW(temporaire, chemin);
    lstrcatW(temporaire, L".tmp");
    HANDLE f = CreateFileW(temporaire, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return 2;
    DWORD ecrits;
    WriteFile(f, texte, (DWORD)n, &ecrits, NULL);
    CloseHandle(f);
    /* Renamed once complete, so the benchmark never reads half a number. */
    MoveFileExW(temporaire, chemin, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
