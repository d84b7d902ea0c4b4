#include "settings/Editeurs.h"

#include <algorithm>

namespace tolvane::Editeurs {

namespace {

bool Ignore(wchar_t c) {
    switch (c) {
    case L' ':
    case L'\t':
    case L'\x00A0':  // no-break space
    case L'\x200E':  // left-to-right mark
    case L'\x200F':  // right-to-left mark
    case L'\xFEFF':  // byte-order mark, or zero-width no-break space
    case L':': return true;
    default: return false;
    }
}

bool EstHex(wchar_t c) { return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F'); }

}  // namespace

Liste Lit(std::wstring_view texte) {
    Liste liste;
    std::size_t debut = 0;
    while (debut <= texte.size()) {
        const std::size_t fin = std::min(texte.find(L';', debut), texte.size());
        const std::wstring_view entree = texte.substr(debut, fin - debut);
        std::wstring empreinte;
        for (wchar_t c : entree)
            if (!Ignore(c)) empreinte.push_back(c >= L'a' && c <= L'f' ? static_cast<wchar_t>(c - L'a' + L'A') : c);
        const bool valide = (empreinte.size() == 40 || empreinte.size() == 64) &&
                            std::all_of(empreinte.begin(), empreinte.end(), EstHex);
        if (valide)
            liste.empreintes.push_back(empreinte);
        else if (!empreinte.empty() && liste.fautive.empty())
            liste.fautive = entree;
        debut = fin + 1;
    }
    return liste;
}

std::wstring Normalise(const Liste& liste) {
    std::wstring texte;
    for (const std::wstring& e : liste.empreintes) texte += (texte.empty() ? L"" : L";") + e;
    return texte;
}

bool Autorise(const Liste& liste, const std::vector<std::wstring>& empreintesChaine) {
    for (const std::wstring& e : empreintesChaine)
        if (std::find(liste.empreintes.begin(), liste.empreintes.end(), e) != liste.empreintes.end()) return true;
    return false;
}

}  // namespace tolvane::Editeurs
