// The settings file as one save lays it out, shared by the native tests and the Windows ones:
// the settings of the schema in its order, each section's header before its first key, with
// CR LF line ends. The caller converts the text to the encoding the test needs.
#pragma once

#include <string>

#include "settings/SchemaINI.h"

namespace tolvane::test {

// The values in the schema's order.
struct ChampsReglages {
    const std::wstring& chemin;
    const std::wstring& option;
    const std::wstring& dernier;
    const std::wstring& activee;
    const std::wstring& titre;
    const std::wstring& instructions;
};

inline std::wstring TexteReglages(const ChampsReglages& r) {
    const std::wstring* valeurs[] = {&r.chemin, &r.option, &r.dernier, &r.activee, &r.titre, &r.instructions};
    static_assert(std::size(valeurs) == SchemaINI::NombreReglagesFenetre);
    std::wstring texte;
    const wchar_t* section = nullptr;
    for (std::size_t i = 0; i < std::size(valeurs); ++i) {
        const SchemaINI::Reglage& reglage = SchemaINI::Reglages[i];
        if (!section || std::wstring_view(section) != reglage.section)
            texte += L"[" + std::wstring(reglage.section) + L"]\r\n";
        section = reglage.section;
        texte += reglage.cle + (L"=" + *valeurs[i]) + L"\r\n";
    }
    return texte;
}

}  // namespace tolvane::test
