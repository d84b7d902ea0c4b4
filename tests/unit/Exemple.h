// A settings file as one save writes it, in the 8-bit code page with CR LF line ends.
#pragma once

#include <string>

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
        return VersPageCode(L"[Chemin]\r\nChemin_Demarrage=" + chemin + L"\r\n[Option]\r\nOption_Demarrage=" + option +
                            L"\r\n[Dernier Fichier Execute]\r\nNom_Fich=" + nomFich +
                            L"\r\n[Instructions]\r\nActivee=" + activee + L"\r\nTitre_Fenetre=" + titre +
                            L"\r\nInstructions=" + instructions + L"\r\n");
    }
};

}  // namespace tolvane::test
