#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "platform/Texte.h"
#include "settings/SchemaINI.h"

namespace tolvane {

namespace {
constexpr int vbNormalFocus = 1;
}

void ProceduresPrincipales::Cmd_OK_Click() {
    if (!Mod_principal::ModeAuto) {
        const int reponse = services_.messages->MsgBox(Textes::QuestionSauver, vbYesNoQuestion, Textes::TitreSauver);
        // A refused save stops the trial: the launch would end the process and lose the
        // settings the user has just asked to keep.
        if (reponse == vbYes && !Cmd_Sauver_Click()) return;
    }
    FileListBox& liste = champs_.Flb_file;
    if (liste.ListCount() == 0 && !RepertoireLisible()) return;
    if (liste.ListCount() == 0) {
        services_.Signale(Evenement::AucunExecutable, {champs_.TXT_Chemin.Text()});
        services_.messages->MsgBox(std::wstring(Textes::AucunExecutable) + L"\r\n" + champs_.TXT_Chemin.Text() +
                                       L"\r\n" + Textes::ParametrerRepertoire,
                                   vbCritical, Textes::TitreAttention);
        return;
    }
    if (liste.ListCount() == 1) Traitement(liste.List(0));
    if (liste.ListCount() > 1) {
        fenetres_.AfficheChoix();
        if (!Mod_principal::ChoixAnnule) Traitement(champs_.Txt_Texte.Text());
    }
}

void ProceduresPrincipales::Traitement(const std::wstring& Fichier_a_executer) {
    if (champs_.Opt_Mode[1].Value() && EgalSansCasse(Fichier_a_executer, Mod_principal::DernierFichier))
        services_.FinProcessus();

    if (champs_.Chk_Instructions.Value() == CheckBox::vbChecked) fenetres_.AfficheInstructions();

    // The launcher service starts exactly this file, whatever blanks the path holds.
    const std::wstring programme = champs_.TXT_Chemin.Text() + L"\\" + Fichier_a_executer;
    if (services_.lanceur->Lance(programme, vbNormalFocus) > 30)
        Ecrit(SchemaINI::SectionDernierFichier, SchemaINI::CleNomFich, Fichier_a_executer);
    else
        services_.messages->MsgBox(Textes::EchecLancement, vbOKOnly);
    services_.FinProcessus();
}

}  // namespace tolvane
