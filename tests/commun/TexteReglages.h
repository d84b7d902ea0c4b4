// The settings file as one save lays it out, shared by the native tests and the Windows ones:
// the six entries in their four sections, in the order the save writes them, with CR LF line
// ends. The caller converts the text to the code page the test needs.
#pragma once

#include <string>

namespace tolvane::test {

struct ChampsReglages {
    const std::wstring& chemin;
    const std::wstring& option;
    const std::wstring& dernier;
    const std::wstring& activee;
    const std::wstring& titre;
    const std::wstring& instructions;
};

inline std::wstring TexteReglages(const ChampsReglages& r) {
    return L"[Chemin]\r\nChemin_Demarrage=" + r.chemin + L"\r\n[Option]\r\nOption_Demarrage=" + r.option +
           L"\r\n[Dernier Fichier Execute]\r\nNom_Fich=" + r.dernier + L"\r\n[Instructions]\r\nActivee=" + r.activee +
           L"\r\nTitre_Fenetre=" + r.titre + L"\r\nInstructions=" + r.instructions + L"\r\n";
}

}  // namespace tolvane::test
