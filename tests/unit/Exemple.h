// A settings file as one save writes it, with CR LF line ends, in the 8-bit code page unless
// the test asks for another encoding.
#pragma once

#include <string>

#include "commun/TexteReglages.h"
#include "platform/Encodage.h"
#include "settings/SchemaINI.h"

namespace tolvane::test {

struct Reglages {
    std::wstring chemin = L"D:\\Maj";
    std::wstring option = L"Verifier_lancer";
    std::wstring nomFich = L"aucun";
    std::wstring activee = L"0";
    std::wstring titre = L"TITRE";
    std::wstring instructions = SchemaINI::InstructionsParDefaut;
    Encodage encodage;

    std::string Fichier() const {
        return EnOctets(TexteReglages({chemin, option, nomFich, activee, titre, instructions}), encodage);
    }
};

}  // namespace tolvane::test
