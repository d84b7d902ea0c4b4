#include "EditionINI.h"

#include <algorithm>
#include <vector>

#include "Encodage.h"

namespace tolvane::EditionINI {

bool EstEnTete(std::wstring_view ligne, std::wstring_view section) {
    return (ligne.size() > 1 ? ligne.substr(1, section.size()) : std::wstring_view()) == section;
}

bool EstLigneCle(std::wstring_view ligne, std::wstring_view cle) { return ligne.substr(0, cle.size()) == cle; }

bool FinitSection(std::wstring_view ligne) { return !ligne.empty() && ligne.front() == L'['; }

namespace {
bool EstBlanche(std::wstring_view ligne) {
    return std::all_of(ligne.begin(), ligne.end(), [](wchar_t c) { return c == L' ' || c == L'\t'; });
}

// The file read as `e`, the new lines written in `codage`.
std::string Ecrit(std::string_view octets, const Encodage& e, Encodage::Texte codage, std::wstring_view section,
                  std::wstring_view cle, std::wstring_view valeur) {
    const auto code = [&](std::wstring_view texte) { return Encode(texte, codage); };
    const std::string entree = code(std::wstring(cle) + L"=" + std::wstring(valeur));

    const std::vector<LigneBrute> lignes = DecoupeLignes(octets, e);
    std::vector<std::wstring> textes;
    for (const LigneBrute& l : lignes) textes.push_back(Decode(octets.substr(l.debut, l.fin - l.debut), e.texte));
    // New lines end as the file's first line does: a file of LF alone gets no CR.
    const auto avecFin =
        std::find_if(lignes.begin(), lignes.end(), [](const LigneBrute& l) { return l.fin < l.suite; });
    const bool lfSeuls =
        avecFin != lignes.end() && Decode(octets.substr(avecFin->fin, avecFin->suite - avecFin->fin), e.texte) == L"\n";
    const std::string finLigne = code(lfSeuls ? L"\n" : L"\r\n");

    // Inserts `ajout` at `position`, the end of a line, first ending that line when it has no
    // end. An odd last byte of a UTF-16 file, after every line, stays the last byte.
    const auto insere = [&](std::size_t position, bool sansFin, const std::string& ajout) {
        std::string resultat(octets.substr(0, position));
        if (sansFin) resultat += finLigne;
        resultat += ajout;
        resultat += octets.substr(position);
        return resultat;
    };

    std::size_t i = 0;
    while (i < lignes.size() && !EstEnTete(textes[i], section)) ++i;
    if (i == lignes.size()) {
        const std::size_t fin = lignes.empty() ? std::min(e.marque, octets.size()) : lignes.back().suite;
        const bool sansFin = !lignes.empty() && lignes.back().fin == lignes.back().suite;
        return insere(fin, sansFin, code(L"[" + std::wstring(section) + L"]") + finLigne + entree + finLigne);
    }

    // The reader reads the lines after the header up to and including the next header.
    std::size_t derniere = i;  // the last line of the section that is not blank
    for (std::size_t k = i + 1; k < lignes.size(); ++k) {
        if (EstLigneCle(textes[k], cle)) {
            std::string resultat(octets.substr(0, lignes[k].debut));
            resultat += entree;
            resultat += octets.substr(lignes[k].fin);
            return resultat;
        }
        if (FinitSection(textes[k])) break;
        if (!EstBlanche(textes[k])) derniere = k;
    }
    const LigneBrute& l = lignes[derniere];
    return insere(l.suite, l.fin == l.suite, entree + finLigne);
}
}  // namespace

std::string EcritEntree(std::string_view octets, std::wstring_view section, std::wstring_view cle,
                        std::wstring_view valeur) {
    const Encodage e = DetecteEncodage(octets);
    std::string resultat = Ecrit(octets, e, e.texte, section, cle, valeur);
    // A file that is ASCII but for this value, whose bytes in the code page happen to be
    // well-formed UTF-8 ("Ã©" is C3 A9), would read back as UTF-8 ("é"): written in UTF-8, the
    // value reads back as it was given, and the rest of the file is the same in both.
    if (e.texte == Encodage::PageCode && DetecteEncodage(resultat).texte == Encodage::Utf8)
        resultat = Ecrit(octets, e, Encodage::Utf8, section, cle, valeur);
    return resultat;
}

}  // namespace tolvane::EditionINI
