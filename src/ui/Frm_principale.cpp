#include "ui/Frm_principale.h"

#include "launcher/Mod_principal.h"
#include "ui/Dispositions.h"

namespace tolvane {

namespace D = Dispositions::Principale;

Frm_principale::Frm_principale(Services& services, bool modeAutoDuBuild)
    : ChampsPrincipaux(*services.listeur),
      // clang-format off
      Fenetre(D::Fenetre,
              {Lie<D::Cmd_quitter>(Cmd_quitter), Lie<D::Chk_Instructions>(Chk_Instructions),
               Lie<D::Fra_indication>(Fra_indication), Lie<D::Txt_instructions>(Txt_instructions),
               Lie<D::Txt_Titre>(Txt_Titre), Lie<D::Lbl_instructions>(Lbl_instructions),
               Lie<D::Lbl_titre>(Lbl_titre), Lie<D::Fra_Option>(Fra_Option), Lie<D::Opt_Mode1>(Opt_Mode[1]),
               Lie<D::Opt_Mode0>(Opt_Mode[0]), Lie<D::Cmd_Sauver>(Cmd_Sauver), Lie<D::Cmd_OK>(Cmd_OK),
               Lie<D::Flb_file>(Flb_file), Lie<D::TXT_Chemin>(TXT_Chemin), Lie<D::Txt_Texte>(Txt_Texte),
               Lie<D::Label3>(Label3), Lie<D::Line3>(Line3), Lie<D::Line2>(Line2), Lie<D::Line1>(Line1),
               Lie<D::Label2>(Label2), Lie<D::Label1>(Label1)}),
      // clang-format on
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

void Frm_principale::Traitement(const std::wstring& Fichier_a_executer) { procedures_.Traitement(Fichier_a_executer); }

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
    // Nobody could use it: the run has said what happened in its event.
    if (services_.PersonneALEcran() || !services_.fenetres->AfficheEtAttend(*this)) services_.FinProcessus();
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
