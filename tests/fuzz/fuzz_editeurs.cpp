// The allowed publishers' list: whatever the text, every thumbprint kept is 40 or 64 upper-case
// hex digits, and the normalised list reads back the same.
#include <cstdlib>
#include <string>

#include "platform/Texte.h"
#include "settings/Editeurs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    using namespace tolvane;
    const std::wstring texte = DepuisUtf8(std::string(reinterpret_cast<const char*>(donnees), taille));
    const Editeurs::Liste liste = Editeurs::Lit(texte);
    for (const std::wstring& e : liste.empreintes) {
        if (e.size() != 40 && e.size() != 64) std::abort();
        for (wchar_t c : e)
            if (!((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'F'))) std::abort();
    }
    if (Editeurs::Lit(Editeurs::Normalise(liste)).empreintes != liste.empreintes) std::abort();
    return 0;
}
