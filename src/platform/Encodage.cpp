#include "Encodage.h"

#include <cstdint>

#include "PageCode.h"
#include "Texte.h"

namespace tolvane {

Encodage DetecteEncodage(std::string_view o) {
    if (o.substr(0, 3) == "\xEF\xBB\xBF") return {Encodage::Utf8, 3};
    if (o.substr(0, 2) == "\xFF\xFE") return {Encodage::Utf16LE, 2};
    if (o.substr(0, 2) == "\xFE\xFF") return {Encodage::Utf16BE, 2};
    const auto visible = [](char c) { return c >= 0x20 && c < 0x7F; };
    // Windows' own UTF-16 may also open on a tab or an empty line. Not the big-endian form: a
    // one-byte NUL file followed by a line end would pass for it.
    const auto debutLE = [&](char c) { return visible(c) || c == '\t' || c == '\r' || c == '\n'; };
    if (o.size() >= 2 && debutLE(o[0]) && o[1] == '\0') return {Encodage::Utf16LE, 0};
    if (o.size() >= 2 && o[0] == '\0' && visible(o[1])) return {Encodage::Utf16BE, 0};
    return {EstUtf8Etendu(o) ? Encodage::Utf8 : Encodage::PageCode, 0};
}

std::string Marque(const Encodage& e) {
    if (e.marque == 0) return {};
    const char* marques[] = {"", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"};
    return marques[e.texte];
}

namespace {
std::uint16_t Unite(std::string_view o, std::size_t i, Encodage::Texte texte) {
    const auto a = static_cast<unsigned char>(o[i]);
    if (texte == Encodage::PageCode || texte == Encodage::Utf8) return a;
    const auto b = static_cast<unsigned char>(o[i + 1]);
    return static_cast<std::uint16_t>(texte == Encodage::Utf16LE ? a | (b << 8) : (a << 8) | b);
}
}  // namespace

std::vector<LigneBrute> DecoupeLignes(std::string_view o, const Encodage& e) {
    const std::size_t u = e.unite();
    const std::size_t fin = o.size() - (o.size() - std::min(e.marque, o.size())) % u;
    std::vector<LigneBrute> lignes;
    std::size_t debut = std::min(e.marque, o.size());
    std::size_t i = debut;
    while (i < fin) {
        const std::uint16_t c = Unite(o, i, e.texte);
        if (c != '\r' && c != '\n') {
            i += u;
            continue;
        }
        std::size_t suite = i + u;
        if (c == '\r' && suite < fin && Unite(o, suite, e.texte) == '\n') suite += u;
        lignes.push_back({debut, i, suite});
        debut = i = suite;
    }
    if (debut < fin) lignes.push_back({debut, fin, fin});
    return lignes;
}

std::wstring Decode(std::string_view o, Encodage::Texte texte) {
    if (texte == Encodage::PageCode) return DepuisPageCode(o);
    if (texte == Encodage::Utf8) return DepuisUtf8(o);
    std::wstring s;
    for (std::size_t i = 0; i + 1 < o.size(); i += 2) {
        std::uint32_t c = Unite(o, i, texte);
        // A surrogate pair is one character where wchar_t holds 32 bits; a lone one stays as it is.
        if constexpr (sizeof(wchar_t) > 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 3 < o.size()) {
                const std::uint32_t d = Unite(o, i + 2, texte);
                if (d >= 0xDC00 && d <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (d - 0xDC00);
                    i += 2;
                }
            }
        }
        s.push_back(static_cast<wchar_t>(c));
    }
    return s;
}

std::string Encode(std::wstring_view texte, Encodage::Texte codage) {
    if (codage == Encodage::PageCode) return VersPageCode(texte);
    if (codage == Encodage::Utf8) return VersUtf8(texte);
    std::string s;
    const auto ajoute = [&](std::uint32_t unite) {
        const char fort = static_cast<char>(unite >> 8), faible = static_cast<char>(unite & 0xFF);
        s += codage == Encodage::Utf16LE ? std::string{faible, fort} : std::string{fort, faible};
    };
    for (wchar_t c : texte) {
        const auto p = static_cast<std::uint32_t>(c);
        if (p >= 0x10000) {
            ajoute(0xD800 + ((p - 0x10000) >> 10));
            ajoute(0xDC00 + ((p - 0x10000) & 0x3FF));
        } else {
            ajoute(p);
        }
    }
    return s;
}

}  // namespace tolvane
