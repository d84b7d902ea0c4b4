#include "launcher/Evenement.h"
#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

namespace tolvane {

namespace {
constexpr int vbNormalFocus = 1;
}

void ProceduresPrincipales::Cmd_OK_Click() {
    if (!Mod_principal::ModeAuto) {
        const int reponse = services_.MsgBox(Textes::QuestionSauver, vbYesNoQuestion, Textes::TitreSauver);
        // A refused save stops the trial: the launch would end the process and lose the
        // settings the user has just asked to keep.
        if (reponse == vbYes && !Cmd_Sauver_Click()) return;
    }
    FileListBox& liste = champs_.Flb_file;
    if (liste.ListCount() == 0 && !RepertoireLisible()) return;
    if (liste.ListCount() == 0) {
        Signale(services_, Evenement::AucunExecutable, {champs_.TXT_Chemin.Text()});
        services_.MsgBox(std::wstring(Textes::AucunExecutable) + L"\r\n" + champs_.TXT_Chemin.Text() + L"\r\n" +
                             Textes::ParametrerRepertoire,
                         vbCritical, Textes::TitreAttention);
        return;
    }
    if (liste.ListCount() == 1) Traitement(liste.List(0));
    if (liste.ListCount() > 1) {
        if (services_.PersonneALEcran()) {
            // Nobody to choose: launching one of them would be a guess.
            Signale(services_, Evenement::PlusieursExecutables,
                    {champs_.TXT_Chemin.Text(), std::to_wstring(liste.ListCount())});
            services_.FinProcessus();
        }
        fenetres_.AfficheChoix();
        if (!Mod_principal::ChoixAnnule) Traitement(champs_.Txt_Texte.Text());
    }
}

void ProceduresPrincipales::Traitement(const std::wstring& Fichier_a_executer) {
    // The event of each outcome is written before anything waits for the user, who may leave
    // the last message on screen for ever.
    const std::wstring repertoire = champs_.TXT_Chemin.Text();
    if (champs_.Opt_Mode[1].Value() && Mod_principal::EstDernierFichier(Fichier_a_executer)) {
        Signale(services_, Evenement::NomInchange, {Fichier_a_executer, repertoire});
        services_.FinProcessus();
    }

    // Nobody could read the instructions, nor close their window: the update goes without them.
    const bool instructions = champs_.Chk_Instructions.Value() == CheckBox::vbChecked;
    const bool sansInstructions = instructions && services_.PersonneALEcran();
    if (instructions && !sansInstructions) fenetres_.AfficheInstructions();

    // The launcher service starts exactly this file, whatever blanks the path holds, in its own
    // directory: installers often open files that lie beside them.
    const std::wstring programme = repertoire + L"\\" + Fichier_a_executer;
    ILanceurProgrammes& lanceur = *services_.lanceur;
    unsigned resultat = lanceur.Lance(programme, repertoire, vbNormalFocus);
    // An installer that requires administrator rights is refused by a plain start; the shell
    // shows the consent prompt for it. A refusal there is a launch failure like any other.
    const bool eleve = resultat <= 30 && lanceur.DerniereErreur() == ErreurElevationRequise;
    if (eleve) {
        // The elevated process belongs to another logon session, which does not see the drive
        // letters the user mapped: it gets the share's own name.
        ISystemeFichiers& fso = services_.FSO();
        resultat =
            lanceur.LanceAvecElevation(fso.CheminUniversel(programme), fso.CheminUniversel(repertoire), vbNormalFocus);
    }
    if (resultat <= 30) {
        Signale(services_, Evenement::EchecLancement,
                {Fichier_a_executer, repertoire, services_.processus->TexteErreur(lanceur.DerniereErreur())});
        services_.MsgBox(Textes::EchecLancement, vbOKOnly);
        services_.FinProcessus();
    }

    unsigned long erreur = 0;
    const std::wstring fichierDernier = FichierDuDernier();
    if (NoteLancement(Fichier_a_executer, fichierDernier, erreur)) {
        const Evenement lance = sansInstructions ? Evenement::LanceSansInstructions
                                : eleve          ? Evenement::LanceApresElevation
                                                 : Evenement::Lance;
        Signale(services_, lance, {Fichier_a_executer, repertoire});
    } else {
        Signale(services_, Evenement::NomNonNote,
                {Fichier_a_executer, fichierDernier, services_.processus->TexteErreur(erreur)});
        MontreEchecEcriture(erreur, fichierDernier);
    }
    services_.FinProcessus();
}

bool ProceduresPrincipales::NoteLancement(const std::wstring& nom, const std::wstring& fichier, unsigned long& erreur) {
    if (!PrendVerrou()) {
        erreur = erreurVerrou_;
        return false;
    }
    const bool note = Mod_FichierINI::EcritDansINI(services_, SchemaINI::SectionDernierFichier, SchemaINI::CleNomFich,
                                                   nom, fichier, fichier != Mod_principal::CheminFichierINI);
    if (!note) erreur = services_.profil->DerniereErreur();
    RendVerrou();
    return note;
}

}  // namespace tolvane
