// What the driver saw, printed when a test fails.
#include "pilote/Pilote.h"

namespace pilote {

namespace {

std::wstring Echappe(const std::wstring& texte) {
    std::wstring r;
    for (wchar_t c : texte) {
        if (c == L'\r')
            r += L"\\r";
        else if (c == L'\n')
            r += L"\\n";
        else if (c == L'\t')
            r += L"\\t";
        else
            r += c;
    }
    return r;
}

std::wstring DecritUne(HWND h, const std::wstring& retrait) {
    std::wstring ligne = retrait + L"[" + Classe(h) + L"] id=" + std::to_wstring(GetDlgCtrlID(h)) + L" \"" +
                         Echappe(Texte(h)) + L"\"" + (IsWindowVisible(h) ? L"" : L" caché") +
                         (IsWindowEnabled(h) ? L"" : L" inactif");
    const std::wstring classe = Classe(h);
    if (classe == L"Button") {
        LONG_PTR type = Style(h) & BS_TYPEMASK;
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX)
            ligne += L" coche=" + std::to_wstring(EtatCoche(h));
    } else if (classe == L"ListBox") {
        ligne += L" sélection=" + std::to_wstring(SelectionListe(h)) + L" entrées={";
        for (const auto& e : EntreesListe(h)) ligne += L"\"" + e + L"\" ";
        ligne += L"}";
    }
    RECT r = RectangleDansParent(h);
    ligne += L" (" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
             std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top) + L")";
    return ligne + L"\n";
}

void DecritEnfants(HWND parent, const std::wstring& retrait, std::wstring& sortie) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        sortie += DecritUne(h, retrait);
        DecritEnfants(h, retrait + L"  ", sortie);
    }
}

}  // namespace

std::wstring DecritFenetres(DWORD pid) {
    std::wstring sortie;
    for (HWND h : FenetresDuProcessus(pid)) {
        // Wine's hidden helper windows (IME, message-only) say nothing about the program.
        const std::wstring classe = Classe(h);
        if (!IsWindowVisible(h) && (classe == L"IME" || classe == L"Message")) continue;
        sortie += DecritUne(h, L"  ");
        DecritEnfants(h, L"    ", sortie);
    }
    return sortie;
}

}  // namespace pilote
