#include <iterator>
#include <string>

#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

namespace tolvane {

void ProceduresPrincipales::Ecrit(const SchemaINI::Reglage& reglage, const std::wstring& valeur,
                                  const std::wstring& fichier) {
    const bool surPlace = fichier != Mod_principal::CheminFichierINI;
    if (!Mod_FichierINI::EcritDansINI(services_, reglage.section, reglage.cle, valeur, fichier, surPlace))
        MontreEchecEcriture(services_.profil->DerniereErreur(), fichier);
}

std::wstring ProceduresPrincipales::ValeurSauvee(SchemaINI::IndiceReglage indice) {
    using namespace SchemaINI;
    const Reglage& reglage = Reglages[indice];
    if (reglage.apresSauvegarde) return reglage.apresSauvegarde;
    // The check box is read again for each of the instructions' writes.
    const bool instructions = champs_.Chk_Instructions.Value() == CheckBox::vbChecked;
    switch (indice) {
    case ICheminDemarrage: return champs_.TXT_Chemin.Text();
    case IOptionDemarrage: return champs_.Opt_Mode[0].Value() ? ToujoursLancer : VerifierLancer;
    case IActivee: return std::to_wstring(champs_.Chk_Instructions.Value());
    case ITitreFenetre: return instructions ? champs_.Txt_Titre.Text() : reglage.defaut;
    case IInstructions: return instructions ? champs_.Txt_instructions.Text() : reglage.defaut;
    case INomFich:
    case IEditeurs:
    case IDelaiAleatoire:
    case IDureeMaximale: break;
    }
    return reglage.defaut;
}

void ProceduresPrincipales::MontreEchecEcriture(unsigned long erreur, const std::wstring& fichier) {
    // The known first line, then why and where: "Accès refusé." on a file under Program Files
    // tells the administrator what to change. The configuration program refused so has to be
    // run as an administrator: only they may change what the workstations run.
    std::wstring ligne = SurUneLigne(RaisonEcriture(erreur)) + L" (" + fichier + L")";
    if (!Mod_principal::ModeAuto && erreur == ErreurAccesRefuse) ligne += std::wstring(L" ") + Textes::EnAdministrateur;
    services_.MsgBox(std::wstring(Textes::EchecEcriture) + L"\r\n" + ligne, vbOKOnly);
}

std::wstring ProceduresPrincipales::RaisonEcriture(unsigned long erreur) {
    return erreur == ErreurLectureSeule ? Textes::LectureSeule : services_.processus->TexteErreur(erreur);
}

IVerrouReglages* ProceduresPrincipales::VerrouDuLanceur() {
    // Session 0 is where the system account's task runs.
    return services_.verrouPoste && services_.processus->EnSessionZero() ? services_.verrouPoste : services_.verrou;
}

bool ProceduresPrincipales::PrendVerrou() {
    const std::wstring& ini = Mod_principal::CheminFichierINI;
    const auto prend = [&](IVerrouReglages* verrou) {
        if (!verrou || verrou->Prend(ini, AttenteVerrouMs)) return true;
        erreurVerrou_ = verrou->DerniereErreur();
        return false;
    };
    if (Mod_principal::ModeAuto) return sansVerrou_ || prend(VerrouDuLanceur());
    // The configuration program keeps out both launchers: the machine-start lock first, then
    // the shared one, always in that order. One that cannot have the machine-start lock at all
    // (a user who is not an administrator) may not write the files that run reads either: only
    // a wait that ran out refuses the write.
    IVerrouReglages* poste = services_.verrouPoste;
    posteTenu_ = prend(poste) && poste;
    if (poste && !posteTenu_ && erreurVerrou_ == AttenteEcoulee) return false;
    if (prend(services_.verrou)) return true;
    if (posteTenu_) poste->Rend();
    posteTenu_ = false;
    return false;
}

void ProceduresPrincipales::RendVerrou() {
    if (Mod_principal::ModeAuto) {
        if (IVerrouReglages* verrou = VerrouDuLanceur(); verrou && !sansVerrou_) verrou->Rend();
        return;
    }
    if (services_.verrou) services_.verrou->Rend();
    if (posteTenu_) services_.verrouPoste->Rend();
    posteTenu_ = false;
}

bool ProceduresPrincipales::Cmd_Sauver_Click() {
    using namespace SchemaINI;
    if (!Mod_principal::VerifieChemin(services_, champs_.TXT_Chemin.Text())) {
        services_.MsgBox(Textes::SauvegardeAnnulee, vbOKOnly);
        return false;
    }
    // A launcher working on the same file would otherwise read a half-written one. Without the
    // lock nothing is written, and the trial that asked for the save does not go on.
    if (!PrendVerrou()) {
        MontreEchecEcriture(erreurVerrou_, Mod_principal::CheminFichierINI);
        return false;
    }
    // Each write is attempted even when an earlier one failed.
    for (std::size_t i = 0; i < NombreReglagesFenetre; ++i)
        Ecrit(Reglages[i], ValeurSauvee(static_cast<IndiceReglage>(i)), Mod_principal::CheminFichierINI);
    // The record file, where there is one, starts afresh as well.
    if (const std::wstring dernier = FichierDuDernier(); dernier != Mod_principal::CheminFichierINI)
        Ecrit(Reglages[INomFich], Aucun, dernier);
    RendVerrou();
    return true;
}

}  // namespace tolvane
