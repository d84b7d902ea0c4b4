// Windows-1252 for the native build: the code page of a French Windows.
#include "PageCode.h"

namespace tolvane {

namespace {
// 0x80..0x9F; the five unassigned bytes map to the C1 control of the same value, as Windows does.
constexpr wchar_t Plage80[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

std::wstring DepuisPageCode(std::string_view octets) {
    std::wstring s;
    s.reserve(octets.size());
    for (char c : octets) {
        const auto o = static_cast<unsigned char>(c);
        s.push_back(o >= 0x80 && o < 0xA0 ? Plage80[o - 0x80] : static_cast<wchar_t>(o));
    }
    return s;
}

std::string VersPageCode(std::wstring_view texte) {
    std::string s;
    s.reserve(texte.size());
    for (wchar_t c : texte) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            s.push_back(static_cast<char>(c));
            continue;
        }
        char octet = '?';
        for (int i = 0; i < 32; ++i)
            if (Plage80[i] == c) octet = static_cast<char>(0x80 + i);
        s.push_back(octet);
    }
    return s;
}

}  // namespace tolvane
