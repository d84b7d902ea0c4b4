// The whole start-up of either build on an arbitrary settings file, over a directory of zero,
// one or several executables, the user choosing or cancelling: no crash, at most one launch,
// and the file changed only as a launch records it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "Faux.h"
#include "ui/Dispositions.h"
#include "ui/Frm_principale.h"

using namespace tolvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    FuzzedDataProvider fdp(donnees, taille);
    const bool modeAuto = fdp.ConsumeBool();
    const int executables = fdp.ConsumeIntegralInRange(0, 3);
    const int choix = fdp.ConsumeIntegralInRange(-1, 3);  // -1: cancel
    const bool lancementReussi = fdp.ConsumeBool();
    const bool fichierVerrouille = fdp.ConsumeIntegralInRange(0, 15) == 0;

    test::Banc banc;
    banc.EcritINI(fdp.ConsumeRemainingBytesAsString());
    if (fichierVerrouille) banc.fichiers.verrouilles.insert(banc.CheminINI());
    banc.lanceur.resultat = lancementReussi ? 33 : 2;
    // Whatever directory the file names holds the executables.
    std::vector<std::wstring> noms;
    for (int i = 0; i < executables; ++i) noms.push_back(L"maj" + std::to_wstring(i) + L".exe");
    banc.listeur.partout = noms;
    banc.fenetres.scripts[&Dispositions::Choix::Fenetre] = [choix](Fenetre& f) {
        auto& c = static_cast<Frm_Choix&>(f);
        if (choix < 0) {
            c.Cmd_Annuler.Presse();
        } else {
            c.Flb_file.SetListIndex(choix);
            c.Cmd_OK.Presse();
        }
    };
    banc.fenetres.scripts[&Dispositions::Instructions::Fenetre] = [](Fenetre& f) {
        static_cast<Frm_Instructions&>(f).Cmd_OK.Presse();
    };

    Frm_principale frm(banc.services, modeAuto);
    bool fini = false;
    try {
        frm.Charge();
        if (!modeAuto) frm.Cmd_OK.Presse();  // "Essai", answering No to the save question
    } catch (const test::FinDuProcessus&) {
        fini = true;
    }
    if (banc.lanceur.lances.size() > 1) std::abort();
    if (!banc.lanceur.lances.empty() && !fini) std::abort();
    // Only a successful launch writes, and only the launched name.
    for (const auto& e : banc.profil.ecritures)
        if (e.cle != L"Nom_Fich" || banc.lanceur.lances.empty() || !lancementReussi) std::abort();
    if (banc.fichiers.ouverts != 0) std::abort();
    return 0;
}
