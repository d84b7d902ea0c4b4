#include "Texte.h"

#include <cstdint>

namespace tolvane {

wchar_t MajusculeSimple(wchar_t c) {
    if (c >= L'a' && c <= L'z') return static_cast<wchar_t>(c - 32);
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : static_cast<wchar_t>(c - 32);  // à..þ except ÷
    if (c == 0xFF) return static_cast<wchar_t>(0x178);                   // ÿ
    // Latin Extended-A: upper case at the even (or, in two runs, odd) code of each pair.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return static_cast<wchar_t>(c & ~1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c : static_cast<wchar_t>(c - 1);
    return c;
}

int CompareSansCasse(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t x = MajusculeSimple(a[i]);
        const wchar_t y = MajusculeSimple(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EgalSansCasse(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareSansCasse(a, b) == 0;
}

bool CorrespondMotif(std::wstring_view nom, std::wstring_view motif) {
    if (motif == L"*.*" || motif == L"*") return true;
    // Iterative glob with one back-tracking point: linear in practice, never recursive.
    std::size_t n = 0, m = 0, etoile = std::wstring_view::npos, reprise = 0;
    while (n < nom.size()) {
        if (m < motif.size() && motif[m] == L'*') {
            etoile = m++;
            reprise = n;
        } else if (m < motif.size() && (motif[m] == L'?' || MajusculeSimple(motif[m]) == MajusculeSimple(nom[n]))) {
            ++m;
            ++n;
        } else if (etoile != std::wstring_view::npos) {
            m = etoile + 1;
            n = ++reprise;
        } else {
            return false;
        }
    }
    while (m < motif.size() && motif[m] == L'*') ++m;
    return m == motif.size();
}

std::wstring SurUneLigne(std::wstring_view valeur) {
    std::wstring resultat;
    resultat.reserve(valeur.size());
    for (std::size_t i = 0; i < valeur.size(); ++i) {
        const wchar_t c = valeur[i];
        if (c == L'\r') {
            if (i + 1 < valeur.size() && valeur[i + 1] == L'\n') ++i;
            resultat.push_back(L' ');
        } else if (c == L'\n') {
            resultat.push_back(L' ');
        } else {
            resultat.push_back(c);
        }
    }
    return resultat;
}

namespace {
void AjouteUtf16(std::wstring& s, std::uint32_t point) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (point >= 0x10000) {
            point -= 0x10000;
            s.push_back(static_cast<wchar_t>(0xD800 + (point >> 10)));
            s.push_back(static_cast<wchar_t>(0xDC00 + (point & 0x3FF)));
            return;
        }
    }
    s.push_back(static_cast<wchar_t>(point));
}
}  // namespace

bool EstUtf8Etendu(std::string_view octets) {
    bool etendu = false;
    std::size_t i = 0;
    while (i < octets.size()) {
        const auto o = static_cast<unsigned char>(octets[i]);
        if (o < 0x80) {
            ++i;
            continue;
        }
        // The lead byte gives the length and the range allowed for the next byte, which is
        // where overlong forms, surrogates and code points beyond U+10FFFF show (the
        // well-formed sequences of the Unicode standard, table 3-7).
        struct Forme {
            unsigned char premierMin, premierMax;
            std::size_t suite;
            unsigned char bas, haut;
        };
        static constexpr Forme formes[] = {
            {0xC2, 0xDF, 1, 0x80, 0xBF}, {0xE0, 0xE0, 2, 0xA0, 0xBF}, {0xE1, 0xEC, 2, 0x80, 0xBF},
            {0xED, 0xED, 2, 0x80, 0x9F}, {0xEE, 0xEF, 2, 0x80, 0xBF}, {0xF0, 0xF0, 3, 0x90, 0xBF},
            {0xF1, 0xF3, 3, 0x80, 0xBF}, {0xF4, 0xF4, 3, 0x80, 0x8F},
        };
        const Forme* forme = nullptr;
        for (const Forme& f : formes)
            if (o >= f.premierMin && o <= f.premierMax) forme = &f;
        if (!forme) return false;
        const std::size_t suite = forme->suite;
        const unsigned char bas = forme->bas, haut = forme->haut;
        if (octets.size() - i <= suite) return false;
        for (std::size_t k = 1; k <= suite; ++k) {
            const auto c = static_cast<unsigned char>(octets[i + k]);
            if (c < (k == 1 ? bas : 0x80) || c > (k == 1 ? haut : 0xBF)) return false;
        }
        // A stray mark (files pasted together) says nothing about the text around it.
        if (octets.compare(i, 3, "\xEF\xBB\xBF") != 0) etendu = true;
        i += suite + 1;
    }
    return etendu;
}

std::wstring DepuisUtf8(std::string_view octets) {
    std::wstring s;
    s.reserve(octets.size());
    std::size_t i = 0;
    while (i < octets.size()) {
        const auto o = static_cast<unsigned char>(octets[i]);
        int suite = o < 0x80 ? 0 : (o >> 5) == 6 ? 1 : (o >> 4) == 14 ? 2 : (o >> 3) == 30 ? 3 : -1;
        std::uint32_t point = suite == 0 ? o : suite == 1 ? (o & 0x1F) : suite == 2 ? (o & 0x0F) : (o & 0x07);
        bool valide = suite >= 0 && i + static_cast<std::size_t>(suite) < octets.size();
        for (int k = 1; valide && k <= suite; ++k) {
            const auto c = static_cast<unsigned char>(octets[i + static_cast<std::size_t>(k)]);
            if ((c & 0xC0) != 0x80) valide = false;
            point = (point << 6) | (c & 0x3F);
        }
        const std::uint32_t minimum[] = {0, 0x80, 0x800, 0x10000};
        if (valide && suite >= 0 &&
            (point < minimum[suite] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)))
            valide = false;
        if (!valide) {
            s.push_back(L'\uFFFD');  // as MultiByteToWideChar does for a malformed sequence
            ++i;
            continue;
        }
        AjouteUtf16(s, point);
        i += static_cast<std::size_t>(suite) + 1;
    }
    return s;
}

std::string VersUtf8(std::wstring_view texte) {
    std::string s;
    for (std::size_t i = 0; i < texte.size(); ++i) {
        std::uint32_t p = static_cast<std::uint32_t>(texte[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (p >= 0xD800 && p <= 0xDBFF && i + 1 < texte.size()) {
                const auto q = static_cast<std::uint32_t>(texte[i + 1]);
                if (q >= 0xDC00 && q <= 0xDFFF) {
                    p = 0x10000 + ((p - 0xD800) << 10) + (q - 0xDC00);
                    ++i;
                }
            }
        }
        if (p < 0x80) {
            s.push_back(static_cast<char>(p));
        } else if (p < 0x800) {
            s.push_back(static_cast<char>(0xC0 | (p >> 6)));
            s.push_back(static_cast<char>(0x80 | (p & 0x3F)));
        } else if (p < 0x10000) {
            s.push_back(static_cast<char>(0xE0 | (p >> 12)));
            s.push_back(static_cast<char>(0x80 | ((p >> 6) & 0x3F)));
            s.push_back(static_cast<char>(0x80 | (p & 0x3F)));
        } else {
            s.push_back(static_cast<char>(0xF0 | (p >> 18)));
            s.push_back(static_cast<char>(0x80 | ((p >> 12) & 0x3F)));
            s.push_back(static_cast<char>(0x80 | ((p >> 6) & 0x3F)));
            s.push_back(static_cast<char>(0x80 | (p & 0x3F)));
        }
    }
    return s;
}

std::wstring NomVerrouReglages(std::wstring_view cheminComplet, bool poste) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (wchar_t c : cheminComplet) {
        const auto unite = static_cast<std::uint16_t>(MajusculeSimple(c == L'/' ? L'\\' : c));
        for (const unsigned octet : {unite & 0xffu, static_cast<unsigned>(unite >> 8u)}) {
            h ^= octet;
            h *= 0x100000001b3ull;
        }
    }
    std::wstring nom = poste ? L"Tolvane-Poste-" : L"Tolvane-";
    for (int decalage = 60; decalage >= 0; decalage -= 4) nom += L"0123456789abcdef"[(h >> decalage) & 0xfu];
    return nom;
}

std::optional<int> EntierDansBornes(std::wstring_view texte, int minimum, int maximum) {
    while (!texte.empty() && texte.front() == L' ') texte.remove_prefix(1);
    while (!texte.empty() && texte.back() == L' ') texte.remove_suffix(1);
    if (texte.empty() || texte.size() > 6) return std::nullopt;
    int valeur = 0;
    for (const wchar_t c : texte) {
        if (c < L'0' || c > L'9') return std::nullopt;
        valeur = valeur * 10 + (c - L'0');
    }
    if (valeur < minimum || valeur > maximum) return std::nullopt;
    return valeur;
}

}  // namespace tolvane
