#include "ChoixSysteme.h"

#include "Chemins.h"

namespace tolvane {

namespace {
constexpr unsigned long AccesRefuse = 5;  // ERROR_ACCESS_DENIED
}  // namespace

unsigned long OptionsVersPageCode(unsigned pageCode) {
    switch (pageCode) {
    case 42:  // symbol
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:  // ISO-2022
    case 52936:
    case 54936:  // HZ, GB18030
    case 65000:
    case 65001:  // UTF-7, UTF-8
        return 0;
    default: return pageCode >= 57002 && pageCode <= 57011 ? 0 : SansEquivalentApproche;  // ISCII
    }
}

bool RacineAtteinte(std::wstring_view lecteur, bool reussie, unsigned long erreur) {
    if (reussie) return true;
    const bool partage = lecteur.size() > 2 && EstSeparateur(lecteur[0]) && EstSeparateur(lecteur[1]);
    return partage && erreur == AccesRefuse;
}

}  // namespace tolvane
