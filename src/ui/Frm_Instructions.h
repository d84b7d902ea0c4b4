// The instructions window, shown just before the launch when the user asked for it.
#pragma once

#include "launcher/ChampsPrincipaux.h"
#include "platform/Fenetre.h"

namespace tolvane {

class Frm_Instructions : public Fenetre {
public:
    explicit Frm_Instructions(ChampsPrincipaux& principale);

    CommandButton Cmd_OK;
    TextBox Txt_instructions;
    Label Label3;
    Label Lbl_Titre;

    // The close box lets the launch follow, as OK does (the default: unload).

private:
    void Cmd_OK_Click();
    void Form_Load() override;

    ChampsPrincipaux& principale_;
};

}  // namespace tolvane
