#include "platform/Remplacement.h"

#include <cwchar>

#include "platform/Texte.h"

namespace tolvane::Remplacement {

Suite Decide(Etape etape, Genre genre, unsigned long erreur, int essai) {
    const bool occupe = erreur == Partage || erreur == Verrou || erreur == RemplaceIntouchable;
    switch (etape) {
    case Etape::Debut:
        switch (genre) {
        case Genre::Absent: return Suite::Cree;
        case Genre::LectureSeule: return Suite::Echoue;
        case Genre::Lien: return Suite::SurPlace;
        case Genre::Simple: return Suite::Remplace;
        }
        break;
    case Etape::Temporaire:
        // A folder users may not write, holding a file they were allowed to (a record file, a
        // settings file granted to them alone).
        return genre != Genre::Absent && erreur == AccesRefuse ? Suite::SurPlace : Suite::Echoue;
    case Etape::Remplacement:
        if (occupe && essai < EssaisMax) return Suite::Reessaie;
        // Both files kept their names. The rights to rename or to set the access list back
        // were refused (a file without DELETE for its users, an SMB server refusing WRITE_DAC),
        // or the file stayed held open: the data alone may still be written.
        if (erreur == AccesRefuse || erreur == RemplaceIntouchable) return Suite::SurPlace;
        // The old file is left under its backup name only.
        if (erreur == RemplacantSansNom) return Suite::RemetAncien;
        return Suite::Echoue;
    case Etape::RemiseEnPlace:
        // Given up, the backup stays, and the next read or write puts it back.
        return essai < EssaisMax ? Suite::Reessaie : Suite::Echoue;
    }
    return Suite::Echoue;
}

bool EstTemporaire(std::wstring_view nom, std::wstring_view fichier) {
    const std::wstring prefixe = std::wstring(fichier) + L".nouveau-";
    return nom.size() == prefixe.size() + 8 && EgalSansCasse(nom.substr(0, prefixe.size()), prefixe) &&
           nom.find_first_not_of(L"0123456789abcdefABCDEF", prefixe.size()) == std::wstring_view::npos;
}

std::wstring Temporaire(std::wstring_view fichier, unsigned long jeton) {
    wchar_t chiffres[9];
    std::swprintf(chiffres, 9, L"%08lx", jeton & 0xFFFFFFFFul);
    return std::wstring(fichier) + L".nouveau-" + chiffres;
}

}  // namespace tolvane::Remplacement
