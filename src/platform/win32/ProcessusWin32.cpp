// The process: its folder, its end, the text of a system error, the common controls it shows.
#include "ServicesWin32.h"

#include "FonctionsDynamiques.h"
#include "Ressources.h"
#include "platform/Chemins.h"
#include "platform/Texte.h"

namespace tolvane::win32 {

bool ActiveControlesCommuns() {
    // One thread shows every window, and they live until the process ends: the context stays
    // active for good.
    static const bool active = [] {
        ACTCTXW contexte{};
        contexte.cbSize = sizeof contexte;
        contexte.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        contexte.hModule = GetModuleHandleW(nullptr);
        contexte.lpResourceName = MAKEINTRESOURCEW(TOLVANE_MANIFESTE_CONTROLES);
        PoigneeContexteActivation contexteCree(CreateActCtxW(&contexte));
        ULONG_PTR cookie = 0;
        if (!contexteCree || !ActivateActCtx(contexteCree.get(), &cookie)) return false;
        // Active for good: the context is never released.
        (void)contexteCree.release();
        return true;
    }();
    return active;
}

std::wstring ProcessusWin32::RepertoireApplication() {
    // The path may be longer than MAX_PATH.
    const std::wstring chemin =
        TexteAgrandi([](wchar_t* tampon, DWORD taille) { return GetModuleFileNameW(nullptr, tampon, taille); });
    return chemin.empty() ? std::wstring() : RepertoireDe(chemin);
}

void ProcessusWin32::FinProcessus() { ExitProcess(0); }

std::wstring ProcessusWin32::TexteErreur(unsigned long code) {
    // French first; a system without the French messages answers in its own language.
    constexpr DWORD options =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    MemoireLocale<wchar_t> texte;
    DWORD n = 0;
    for (const DWORD langue : {static_cast<DWORD>(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH)), DWORD{0}}) {
        n = FormatMessageW(options, nullptr, code, langue, reinterpret_cast<LPWSTR>(texte.put()), 0, nullptr);
        if (n) break;
    }
    std::wstring s = n ? std::wstring(texte.get(), n) : L"Erreur " + std::to_wstring(code);
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ')) s.pop_back();
    return s;
}

bool ProcessusWin32::EnSessionZero() {
    DWORD session = 0;
    return ProcessIdToSessionId(GetCurrentProcessId(), &session) && session == 0;
}

bool ProcessusWin32::PersonneALEcran() {
    // Session 0 first: its own WinSta0 still says it is visible, though nobody has seen it since
    // Windows Vista; and it needs no user32, which the launcher loads only to show something.
    if (EnSessionZero()) return true;
    // In a user's session, WinSta0 is the station they see. Only a program started on a desktop
    // of another one may be unseen there: the station is asked then, and only then, since asking
    // loads user32 before the update has started.
    STARTUPINFOW demarrage{};
    GetStartupInfoW(&demarrage);
    const std::wstring_view bureau = demarrage.lpDesktop ? demarrage.lpDesktop : L"";
    constexpr std::wstring_view stationVisible = L"WinSta0\\";
    if (bureau.empty() || EgalSansCasse(bureau.substr(0, stationVisible.size()), stationVisible)) return false;
    USEROBJECTFLAGS drapeaux{};
    DWORD taille = 0;
    if (!GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &drapeaux, sizeof drapeaux, &taille))
        return false;  // cannot be told: as designed
    return (drapeaux.dwFlags & WSF_VISIBLE) == 0;
}

std::uint64_t AleatoireWin32::Entre(std::uint64_t maximum) {
    using Fn = LONG(WINAPI*)(void*, PUCHAR, ULONG, ULONG);
    constexpr ULONG GenerateurDuSysteme = 0x00000002;  // BCRYPT_USE_SYSTEM_PREFERRED_RNG
    static const Fn genere = FonctionDe<Fn>(ChargeDuSysteme(L"bcrypt.dll"), "BCryptGenRandom");
    if (maximum == 0 || maximum == UINT64_MAX) return 0;
    // Draws that would favour the low values are drawn again: uniform in [0, maximum].
    const std::uint64_t nombre = maximum + 1, limite = UINT64_MAX - UINT64_MAX % nombre;
    for (;;) {
        std::uint64_t tirage = 0;
        if (!genere || genere(nullptr, reinterpret_cast<PUCHAR>(&tirage), sizeof tirage, GenerateurDuSysteme) != 0)
            return 0;  // no spread rather than no update
        if (tirage < limite) return tirage % nombre;
    }
}

}  // namespace tolvane::win32
