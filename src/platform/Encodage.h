// The encodings a settings file may come in, as administrators' tools write it: the 8-bit code
// page (the programs' own files), UTF-8 with or without a mark (Notepad, PowerShell's
// -Encoding UTF8), UTF-16 with a mark (PowerShell 5.1's Out-File and ">"). The reader and the
// writer decide it by the same rule, so that what one writes the other reads back.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

struct Encodage {
    enum Texte { PageCode, Utf8, Utf16LE, Utf16BE };
    Texte texte = PageCode;
    std::size_t marque = 0;  // bytes of the byte-order mark the file starts with, kept as they are
    std::size_t unite() const { return texte == Utf16LE || texte == Utf16BE ? 2 : 1; }
    bool operator==(const Encodage&) const = default;
};

// By the mark when there is one (EF BB BF, FF FE, FE FF); without one, UTF-16 when the first
// character is a visible ASCII one with a 0 byte beside it (no editor writes a NUL in an INI
// file, and "[" or ";" starts most; little-endian, also a tab or a line end), UTF-8
// when the bytes are well-formed UTF-8 beyond ASCII (EstUtf8Etendu), else the code page. An
// empty or missing file is in the code page, as the system's own writer makes it.
Encodage DetecteEncodage(std::string_view octets);

// The byte-order mark of `encodage`, empty when it has none.
std::string Marque(const Encodage& encodage);

// One line of a file, as byte offsets: its text is [debut, fin), its end of line [fin, suite).
// CR LF, a bare LF and a bare CR each end a line; the last line may have no end. In UTF-16 a
// line break is a whole code unit, and an odd last byte belongs to no line.
struct LigneBrute {
    std::size_t debut, fin, suite;
};
std::vector<LigneBrute> DecoupeLignes(std::string_view octets, const Encodage& encodage);

std::wstring Decode(std::string_view octets, Encodage::Texte texte);
// Characters the code page lacks become '?', as the profile writer stores them.
std::string Encode(std::wstring_view texte, Encodage::Texte codage);

// `texte` as a file in `encodage` holds it, its mark first.
inline std::string EnOctets(std::wstring_view texte, const Encodage& encodage) {
    return Marque(encodage) + Encode(texte, encodage.texte);
}

}  // namespace tolvane
