#include "ui/Frm_Instructions.h"

#include "ui/Dispositions.h"

namespace tolvane {

namespace D = Dispositions::Instructions;

Frm_Instructions::Frm_Instructions(ChampsPrincipaux& principale)
    : Fenetre(D::Fenetre, {Lie<D::Cmd_OK>(Cmd_OK), Lie<D::Txt_instructions>(Txt_instructions), Lie<D::Label3>(Label3),
                           Lie<D::Lbl_Titre>(Lbl_Titre)}),
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
