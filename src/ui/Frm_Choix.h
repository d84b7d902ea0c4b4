// The choice window: picks one executable when the directory holds several.
#pragma once

#include <array>

#include "launcher/ChampsPrincipaux.h"
#include "platform/Fenetre.h"

namespace tolvane {

class Frm_Choix : public Fenetre {
public:
    Frm_Choix(Services& services, ChampsPrincipaux& principale);

    CommandButton Cmd_Annuler;
    CommandButton Cmd_OK;
    FileListBox Flb_file;
    Label Label3;
    Label Label1;

    // What "Annuler" does. Closing by the title bar or Alt+F4 is a cancel, and so is a window
    // that could not be shown: going on would launch whatever the carrier box still holds,
    // the name launched last time.
    void Annule() { Cmd_Annuler_Click(); }
    void SurCaseFermeture() override { Annule(); }

private:
    void Cmd_Annuler_Click();
    void Cmd_OK_Click();
    void Flb_file_DblClick();
    void Form_Load() override;

    Services& services_;
    ChampsPrincipaux& principale_;
};

}  // namespace tolvane
