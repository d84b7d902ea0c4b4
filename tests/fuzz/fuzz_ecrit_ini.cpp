// The profile writer on arbitrary files, one setting of the schema written with an arbitrary
// value: the reader reads the value back, and the bytes outside the changed line or the added
// lines are those of the file before.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <iterator>

#include "Faux.h"
#include "platform/EditionINI.h"
#include "platform/Encodage.h"
#include "platform/PageCode.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

using namespace tolvane;

namespace {
void Verifie(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    FuzzedDataProvider fdp(donnees, taille);
    const SchemaINI::Reglage& reglage =
        SchemaINI::Reglages[fdp.ConsumeIntegralInRange<std::size_t>(0, std::size(SchemaINI::Reglages) - 1)];
    const std::wstring valeur = SurUneLigne(DepuisUtf8(fdp.ConsumeRandomLengthString(60)));
    const std::string avant = fdp.ConsumeRemainingBytesAsString();
    const std::string apres = EditionINI::EcritEntree(avant, reglage.section, reglage.cle, valeur);

    // Only one stretch differs, and on the old side it lies within the text of one line: the
    // key's line replaced, or nothing (lines added).
    std::size_t prefixe = 0;
    while (prefixe < avant.size() && prefixe < apres.size() && avant[prefixe] == apres[prefixe]) ++prefixe;
    std::size_t suffixe = 0;
    while (suffixe < std::min(avant.size(), apres.size()) - prefixe &&
           avant[avant.size() - 1 - suffixe] == apres[apres.size() - 1 - suffixe])
        ++suffixe;
    const std::size_t finAncien = avant.size() - suffixe;
    if (prefixe < finAncien) {
        bool dansUneLigne = false;
        for (const LigneBrute& l : DecoupeLignes(avant, DetecteEncodage(avant)))
            dansUneLigne |= l.debut <= prefixe && finAncien <= l.fin;
        Verifie(dansUneLigne);
    }

    // The value reads back as the file's encoding keeps it. The reader's guess between the code
    // page and UTF-8 without a mark may change when the line replaced held the only bytes that
    // told them apart: the value is then not checked.
    const Encodage e = DetecteEncodage(apres);
    const Encodage ea = DetecteEncodage(avant);
    if (!avant.empty() && e != ea) {
        Verifie(e.marque == 0 && ea.marque == 0 && e.unite() == 1 && ea.unite() == 1);
        return 0;
    }
    test::Banc banc;
    banc.EcritINI(apres);
    std::wstring lu;
    Verifie(Mod_FichierINI::LitDansINI(banc.services, reglage.section, reglage.cle, lu, banc.CheminINI()));
    Verifie(lu == (e.texte == Encodage::PageCode ? ParLaPageCode(valeur) : valeur));
    return 0;
}
