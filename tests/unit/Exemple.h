// A settings file as one save writes it, in the 8-bit code page with CR LF line ends.
#pragma once

#include <string>

#include "commun/TexteReglages.h"
#include "platform/PageCode.h"
#include "settings/SchemaINI.h"

namespace tolvane::test {

struct Reglages {
    std::wstring chemin = L"D:\\Maj";
    std::wstring option = L"Verifier_lancer";
    std::wstring nomFich = L"aucun";
    std::wstring activee = L"0";
    std::wstring titre = L"TITRE";
    std::wstring instructions = SchemaINI::InstructionsParDefaut;

    std::string Fichier() const {
        return VersPageCode(TexteReglages({chemin, option, nomFich, activee, titre, instructions}));
    }
};

}  // namespace tolvane::test
