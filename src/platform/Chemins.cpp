#include "Chemins.h"

namespace tolvane {

bool EstSeparateur(wchar_t c) { return c == L'\\' || c == L'/'; }

bool EstLettreLecteur(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

std::wstring NomLecteur(const std::wstring& chemin) {
    if (chemin.size() >= 2 && EstLettreLecteur(chemin[0]) && chemin[1] == L':') return chemin.substr(0, 2);
    if (chemin.size() >= 2 && EstSeparateur(chemin[0]) && EstSeparateur(chemin[1])) {
        // \\server\share: both parts must be there and non-empty.
        const std::size_t finServeur = chemin.find_first_of(L"\\/", 2);
        if (finServeur == std::wstring::npos || finServeur == 2) return {};
        const std::size_t finPartage = chemin.find_first_of(L"\\/", finServeur + 1);
        const std::size_t longueur = (finPartage == std::wstring::npos ? chemin.size() : finPartage);
        if (longueur == finServeur + 1) return {};
        return chemin.substr(0, longueur);
    }
    return {};
}

std::wstring SansPrefixeEtendu(const std::wstring& chemin) {
    if (chemin.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + chemin.substr(7);
    if (chemin.size() >= 7 && chemin.rfind(L"\\\\?\\", 0) == 0 && EstLettreLecteur(chemin[4]) && chemin[5] == L':' &&
        chemin[6] == L'\\')
        return chemin.substr(4);
    return chemin;
}

std::wstring RepertoireDe(const std::wstring& cheminModule) {
    const std::size_t sep = cheminModule.find_last_of(L"\\/");
    if (sep == std::wstring::npos) return {};
    std::wstring rep = cheminModule.substr(0, sep);
    if (rep.size() == 2 && rep[1] == L':') rep += L'\\';
    return rep;
}

}  // namespace tolvane
