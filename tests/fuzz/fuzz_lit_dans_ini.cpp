// The reader on arbitrary bytes, with arbitrary section and key names: no crash, the file
// always closed, and a False result never touches the value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "Faux.h"
#include "platform/PageCode.h"
#include "settings/Mod_FichierINI.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    FuzzedDataProvider fdp(donnees, taille);
    const std::wstring section = DepuisPageCode(fdp.ConsumeRandomLengthString(40));
    const std::wstring cle = DepuisPageCode(fdp.ConsumeRandomLengthString(40));
    test::Banc banc;
    banc.EcritINI(fdp.ConsumeRemainingBytesAsString());
    std::wstring valeur = L"☃";
    const bool ok = Mod_FichierINI::LitDansINI(banc.services, section, cle, valeur, banc.CheminINI());
    if (banc.fichiers.ouverts != 0) std::abort();
    if (!ok && valeur != L"☃") std::abort();
    if (!banc.messages.vus.empty()) std::abort();  // the file exists: nothing to tell
    return 0;
}
