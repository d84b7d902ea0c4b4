#include "ui/Frm_principale.h"

#include "launcher/Mod_principal.h"
#include "ui/Dispositions.h"

namespace tolvane {

Frm_principale::Frm_principale(Services& services, bool modeAutoDuBuild)
    : ChampsPrincipaux(*services.listeur),
      Fenetre(Dispositions::Principale::Fenetre,
              {&Cmd_quitter, &Chk_Instructions, &Fra_indication, &Txt_instructions, &Txt_Titre,
               &Lbl_instructions, &Lbl_titre, &Fra_Option, &Opt_Mode[1], &Opt_Mode[0], &Cmd_Sauver,
               &Cmd_OK, &Flb_file, &TXT_Chemin, &Txt_Texte, &Label3, &Line3, &Line2, &Line1,
               &Label2, &Label1}),
      Choix(services, *this),
      Instructions(*this),
      services_(services),
      procedures_(services, *this, *this, modeAutoDuBuild) {
    Chk_Instructions.Click = [this] { Chk_Instructions_Click(); };
    Cmd_OK.Click = [this] { Cmd_OK_Click(); };
    Cmd_quitter.Click = [this] { Cmd_quitter_Click(); };
    Cmd_Sauver.Click = [this] { Cmd_Sauver_Click(); };
    TXT_Chemin.LostFocus = [this] { TXT_Chemin_LostFocus(); };
}

void Frm_principale::Traitement(const std::wstring& Fichier_a_executer) {
    procedures_.Traitement(Fichier_a_executer);
}

void Frm_principale::Chk_Instructions_Click() {
    const bool actif = Chk_Instructions.Value() == CheckBox::vbChecked;
    Fra_indication.SetEnabled(actif);
    Txt_instructions.SetEnabled(actif);
    Txt_Titre.SetEnabled(actif);
}

void Frm_principale::Cmd_OK_Click() { procedures_.Cmd_OK_Click(); }

void Frm_principale::Cmd_quitter_Click() { services_.FinProcessus(); }

void Frm_principale::Cmd_Sauver_Click() { procedures_.Cmd_Sauver_Click(); }

void Frm_principale::Form_Load() { procedures_.Form_Load(); }

void Frm_principale::TXT_Chemin_LostFocus() {
    if (!Mod_principal::VerifieChemin(services_, TXT_Chemin.Text())) return;
    Flb_file.SetPath(TXT_Chemin.Text());
    Flb_file.SetPattern(L"*.exe");
}

void Frm_principale::AfficheEtAttend() {
    if (!services_.fenetres->AfficheEtAttend(*this)) services_.FinProcessus();
}

void Frm_principale::AfficheChoix() {
    if (!services_.fenetres->AfficheModal(Choix)) Choix.Annule();
}

void Frm_principale::AfficheInstructions() {
    // Instructions the user could not see: nothing is launched, as if the launch had never
    // been asked for.
    if (!services_.fenetres->AfficheModal(Instructions)) services_.FinProcessus();
}

}  // namespace tolvane
