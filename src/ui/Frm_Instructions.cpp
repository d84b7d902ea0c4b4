#include "ui/Frm_Instructions.h"

#include "ui/Dispositions.h"

namespace tolvane {

Frm_Instructions::Frm_Instructions(ChampsPrincipaux& principale)
    : Fenetre(Dispositions::Instructions::Fenetre, {&Cmd_OK, &Txt_instructions, &Label3, &Lbl_Titre}),
      principale_(principale) {
    Cmd_OK.Click = [this] { Cmd_OK_Click(); };
}

void Frm_Instructions::Cmd_OK_Click() { Unload(); }

void Frm_Instructions::Form_Load() {
    SetCaption(principale_.Txt_Titre.Text());
    Lbl_Titre.SetCaption(principale_.Txt_Titre.Text());
    Txt_instructions.SetText(principale_.Txt_instructions.Text());
}

}  // namespace tolvane
