// Text helpers shared by both builds, so that the rules they apply are the same on Windows and
// in the native tests.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// Case folding for comparisons of file names and option texts: ASCII and Latin-1 letters, and
// the paired letters of Latin Extended-A, as Windows folds them.
wchar_t MajusculeSimple(wchar_t c);
bool EgalSansCasse(std::wstring_view a, std::wstring_view b);
// <0, 0, >0 in the order of the folded characters.
int CompareSansCasse(std::wstring_view a, std::wstring_view b);

// Wildcard match of a long file name, without regard to case: '*' any run, '?' one character.
// "*.*" matches every name, as on Windows. Short (8.3) names are never considered.
bool CorrespondMotif(std::wstring_view nom, std::wstring_view motif);

// Each line break (CR LF, CR or LF) replaced by one blank: settings values live on one line.
std::wstring SurUneLigne(std::wstring_view valeur);

// True when the bytes are well-formed UTF-8 (no overlong form, no surrogate, nothing beyond
// U+10FFFF) holding at least one character beyond ASCII other than a byte-order mark. Text in
// an 8-bit code page almost never is: an accented letter there is one byte (E9 for "é")
// followed by a plain letter.
bool EstUtf8Etendu(std::string_view octets);

// The name of the lock of a settings file, without its namespace: "Tolvane-" and the 16 hex
// digits of the 64-bit FNV-1a hash of the path's UTF-16 code units (little-endian), each folded
// with MajusculeSimple and '/' read as '\\'. Every program that touches the same file by the same
// full path gets the same name, whatever the case it was spelled in.
// The machine-start run's own lock is "Tolvane-Poste-" and the same digits.
std::wstring NomVerrouReglages(std::wstring_view cheminComplet, bool poste = false);

// A whole number within [minimum, maximum], blanks around allowed; nothing otherwise.
std::optional<int> EntierDansBornes(std::wstring_view texte, int minimum, int maximum);

std::wstring DepuisUtf8(std::string_view octets);
std::string VersUtf8(std::wstring_view texte);

}  // namespace tolvane
