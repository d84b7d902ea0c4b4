#include "ui/Frm_Choix.h"

#include "launcher/Evenement.h"
#include "launcher/Mod_principal.h"
#include "ui/Dispositions.h"

namespace tolvane {

namespace D = Dispositions::Choix;

Frm_Choix::Frm_Choix(Services& services, ChampsPrincipaux& principale)
    : Fenetre(D::Fenetre, {Lie<D::Cmd_Annuler>(Cmd_Annuler), Lie<D::Cmd_OK>(Cmd_OK), Lie<D::Flb_file>(Flb_file),
                           Lie<D::Label3>(Label3), Lie<D::Label1>(Label1)}),
      Flb_file(*services.listeur),
      services_(services),
      principale_(principale) {
    Cmd_Annuler.Click = [this] { Cmd_Annuler_Click(); };
    Cmd_OK.Click = [this] { Cmd_OK_Click(); };
    Flb_file.DblClick = [this] { Flb_file_DblClick(); };
}

void Frm_Choix::Cmd_Annuler_Click() {
    if (Mod_principal::ModeAuto) {
        // The launcher's run ends here with nothing launched. The configuration program's run
        // goes on (the next "Essai" may launch), so it records nothing yet.
        Signale(services_, Evenement::ChoixAnnule, {principale_.TXT_Chemin.Text()});
        services_.FinProcessus();
    }
    Mod_principal::ChoixAnnule = true;
    Unload();
}

void Frm_Choix::Cmd_OK_Click() {
    const int n = Flb_file.ListCount();
    for (int i = 0; i < n; ++i) {
        if (Flb_file.Selected(i)) {
            principale_.Txt_Texte.SetText(Flb_file.List(i));
            Unload();
            return;
        }
    }
    // Nothing to choose (the directory emptied or cannot be listed): a cancel, never a choice
    // of the name the carrier box still holds.
    Cmd_Annuler_Click();
}

void Frm_Choix::Flb_file_DblClick() { Cmd_OK_Click(); }

void Frm_Choix::Form_Load() {
    Mod_principal::ChoixAnnule = false;
    Flb_file.SetPath(principale_.TXT_Chemin.Text());
    Flb_file.SetPattern(L"*.exe");
    Flb_file.SetSelected(0, true);
}

}  // namespace tolvane
