// The stored "Activee" text as a check-box value: only 0, 1, 2 or nothing, for any text.
#include <cstdlib>
#include <string>

#include "launcher/ProceduresPrincipales.h"
#include "platform/PageCode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::wstring texte = tolvane::DepuisPageCode(std::string(reinterpret_cast<const char*>(donnees), taille));
    const auto valeur = tolvane::ValeurCaseActivee(texte);
    if (valeur && (*valeur < 0 || *valeur > 2)) std::abort();
    return 0;
}
