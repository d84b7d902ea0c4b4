// The main window: the configuration screen of Tolvane and the start-up object of both builds.
#pragma once

#include "launcher/ChampsPrincipaux.h"
#include "launcher/ProceduresPrincipales.h"
#include "platform/Fenetre.h"
#include "ui/Frm_Choix.h"
#include "ui/Frm_Instructions.h"

namespace tolvane {

class Frm_principale : public ChampsPrincipaux, public Fenetre, private IFenetresLancement {
public:
    Frm_principale(Services& services, bool modeAutoDuBuild);

    CommandButton Cmd_quitter;
    Frame Fra_indication;
    Label Lbl_instructions;
    Label Lbl_titre;
    Frame Fra_Option;
    CommandButton Cmd_Sauver;
    CommandButton Cmd_OK;
    Line Line3;
    Line Line2;
    Line Line1;
    Label Label2;
    Label Label1;

    Frm_Choix Choix;
    Frm_Instructions Instructions;

    [[noreturn]] void Traitement(const std::wstring& Fichier_a_executer);
    // Shows the loaded window until the program ends; one that cannot be created ends it.
    void AfficheEtAttend();

    // The close box ends the program as "Quitter" does.
    void SurCaseFermeture() override { Cmd_quitter_Click(); }

private:
    void Chk_Instructions_Click();
    void Cmd_OK_Click();
    [[noreturn]] void Cmd_quitter_Click();
    void Cmd_Sauver_Click();
    void Form_Load() override;
    void TXT_Chemin_LostFocus();

    void AfficheChoix() override;
    void AfficheInstructions() override;

    Services& services_;
    ProceduresPrincipales procedures_;
};

}  // namespace tolvane
