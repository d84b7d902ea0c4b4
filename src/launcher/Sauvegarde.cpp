#include <string>

#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

namespace tolvane {

void ProceduresPrincipales::Ecrit(const wchar_t* section, const wchar_t* cle, const std::wstring& valeur) {
    if (!Mod_FichierINI::EcritDansINI(services_, section, cle, valeur, Mod_principal::CheminFichierINI))
        MontreEchecEcriture(services_.profil->DerniereErreur());
}

void ProceduresPrincipales::MontreEchecEcriture(unsigned long erreur) {
    // The known first line, then why and where: "Accès refusé." on a file under Program Files
    // tells the administrator what to change.
    const std::wstring raison = services_.processus->TexteErreur(erreur);
    services_.messages->MsgBox(std::wstring(Textes::EchecEcriture) + L"\r\n" + SurUneLigne(raison) + L" (" +
                                   Mod_principal::CheminFichierINI + L")",
                               vbOKOnly);
}

bool ProceduresPrincipales::PrendVerrou() {
    return !services_.verrou || services_.verrou->Prend(Mod_principal::CheminFichierINI, AttenteVerrouMs);
}

void ProceduresPrincipales::RendVerrou() {
    if (services_.verrou) services_.verrou->Rend();
}

bool ProceduresPrincipales::Cmd_Sauver_Click() {
    using namespace SchemaINI;
    if (!Mod_principal::VerifieChemin(services_, champs_.TXT_Chemin.Text())) {
        services_.messages->MsgBox(Textes::SauvegardeAnnulee, vbOKOnly);
        return false;
    }
    // A launcher working on the same file would otherwise read a half-written one. Without the
    // lock nothing is written, and the trial that asked for the save does not go on.
    if (!PrendVerrou()) {
        MontreEchecEcriture(services_.verrou->DerniereErreur());
        return false;
    }
    // Each write is attempted even when an earlier one failed.
    Ecrit(SectionChemin, CleCheminDemarrage, champs_.TXT_Chemin.Text());
    Ecrit(SectionOption, CleOptionDemarrage, champs_.Opt_Mode[0].Value() ? ToujoursLancer : VerifierLancer);
    Ecrit(SectionDernierFichier, CleNomFich, Aucun);
    Ecrit(SectionInstructions, CleActivee, std::to_wstring(champs_.Chk_Instructions.Value()));
    // The check box is read again for each of the last two writes.
    Ecrit(SectionInstructions, CleTitreFenetre,
          champs_.Chk_Instructions.Value() == CheckBox::vbChecked ? champs_.Txt_Titre.Text()
                                                                  : std::wstring(TitreParDefaut));
    Ecrit(SectionInstructions, CleInstructions,
          champs_.Chk_Instructions.Value() == CheckBox::vbChecked ? champs_.Txt_instructions.Text()
                                                                  : std::wstring(InstructionsParDefaut));
    RendVerrou();
    return true;
}

}  // namespace tolvane
