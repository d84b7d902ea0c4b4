#include "launcher/Evenement.h"
#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "platform/Chemins.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/Editeurs.h"
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

    // Where nobody is at the screen, the launcher waits for the update and knows its outcome:
    // a name that failed too often in a row is given up.
    const bool suivi = Mod_principal::ModeAuto && services_.PersonneALEcran();
    if (suivi) AbandonneSiTropDEchecs(Fichier_a_executer);

    // The allowed publishers, read before anything is shown: a list that cannot be trusted
    // stops every update rather than letting any through.
    const std::optional<Editeurs::Liste> editeurs = LitEditeurs();
    if (!editeurs) services_.FinProcessus();

    // Nobody could read the instructions, nor close their window: the update goes without them.
    const bool instructions = champs_.Chk_Instructions.Value() == CheckBox::vbChecked;
    const bool sansInstructions = instructions && services_.PersonneALEcran();
    if (instructions && !sansInstructions) fenetres_.AfficheInstructions();

    if (suivi) SuitMiseAJour(Fichier_a_executer, *editeurs);
    bool eleve = false;
    const std::wstring signe = Demarre(Fichier_a_executer, *editeurs, false, eleve);

    unsigned long erreur = 0;
    const std::wstring fichierDernier = FichierDuDernier();
    if (NoteLancement(Fichier_a_executer, fichierDernier, erreur)) {
        const Evenement lance = sansInstructions ? Evenement::LanceSansInstructions
                                : eleve          ? Evenement::LanceApresElevation
                                                 : Evenement::Lance;
        Signale(services_, lance, {Fichier_a_executer, repertoire, signe});
    } else {
        Signale(services_, Evenement::NomNonNote, {Fichier_a_executer, fichierDernier, RaisonEcriture(erreur)});
        MontreEchecEcriture(erreur, fichierDernier);
    }
    services_.FinProcessus();
}

std::wstring ProceduresPrincipales::Demarre(const std::wstring& fichier, const Editeurs::Liste& editeurs, bool suivi,
                                            bool& eleve) {
    // The launcher service starts exactly this file, whatever blanks the path holds, in its own
    // directory: installers often open files that lie beside them. It is held from its check to
    // its start, so that what was checked is what starts.
    const std::wstring repertoire = champs_.TXT_Chemin.Text();
    const std::wstring programme = repertoire + L"\\" + fichier;
    ILanceurProgrammes& lanceur = *services_.lanceur;
    std::unique_ptr<IMiseAJourTenue> tenue = lanceur.Tiens(programme);
    if (!tenue) EchoueLancement(fichier, lanceur.DerniereErreur());
    const std::optional<Signataire> signataire = VerifieMiseAJour(*tenue, editeurs, fichier);
    unsigned resultat = suivi ? lanceur.LanceSuivi(programme, repertoire, vbNormalFocus)
                              : lanceur.Lance(programme, repertoire, vbNormalFocus);
    // An installer that requires administrator rights is refused by a plain start; the shell
    // shows the consent prompt for it. A refusal there is a launch failure like any other.
    eleve = !suivi && resultat <= 30 && lanceur.DerniereErreur() == ErreurElevationRequise;
    if (eleve) {
        // The elevated process belongs to another logon session, which sees neither the drive
        // letters the user mapped nor the SUBST ones: it gets the path the system resolved the
        // held file to, else the share's own name.
        ISystemeFichiers& fso = services_.FSO();
        const std::wstring final = tenue->CheminFinal();
        resultat = final.empty() ? lanceur.LanceAvecElevation(fso.CheminUniversel(programme),
                                                              fso.CheminUniversel(repertoire), vbNormalFocus)
                                 : lanceur.LanceAvecElevation(final, RepertoireDe(final), vbNormalFocus);
    }
    if (resultat <= 30) EchoueLancement(fichier, lanceur.DerniereErreur());
    // Where someone is at the screen, a folder others may write is told, not refused: the
    // update has started, and the check cost it nothing.
    if (!services_.PersonneALEcran()) SignaleAccesOuvert(*tenue, fichier, !signataire);
    return TexteSignataire(*tenue, signataire);
}

void ProceduresPrincipales::EchoueLancement(const std::wstring& fichier, unsigned long erreur) {
    Signale(services_, Evenement::EchecLancement,
            {fichier, champs_.TXT_Chemin.Text(), services_.processus->TexteErreur(erreur)});
    services_.MsgBox(Textes::EchecLancement, vbOKOnly);
    services_.FinProcessus();
}

std::optional<Editeurs::Liste> ProceduresPrincipales::LitEditeurs() {
    using namespace SchemaINI;
    const std::optional<std::wstring> texte = Mod_FichierINI::LitFacultatif(
        services_, Reglages[IEditeurs].section, Reglages[IEditeurs].cle, Mod_principal::CheminLectureINI);
    Editeurs::Liste liste = Editeurs::Lit(texte.value_or(L""));
    // A file that could not be read again says nothing of the list: not "no list".
    if (!texte) liste.fautive = services_.processus->TexteErreur(services_.fichiers->DerniereErreur());
    if (liste.Valide()) return liste;
    Signale(services_, Evenement::EditeursInvalides, {Mod_principal::CheminFichierINI, liste.fautive});
    services_.MsgBox(std::wstring(Textes::EditeursInvalides) + L"\r\n« " + liste.fautive + L" »", vbCritical,
                     Textes::TitreAttention);
    return std::nullopt;
}

std::optional<Signataire> ProceduresPrincipales::VerifieMiseAJour(IMiseAJourTenue& tenue,
                                                                  const Editeurs::Liste& editeurs,
                                                                  const std::wstring& fichier) {
    std::optional<Signataire> signataire;
    if (!editeurs.empreintes.empty()) {
        Signataire s;
        const VerdictSignature verdict = tenue.Verifie(editeurs.empreintes, s);
        if (verdict != VerdictSignature::Autorisee) {
            const std::wstring raison = Textes::RaisonRefus(verdict);
            Signale(services_, Evenement::MiseAJourRefusee,
                    {fichier, champs_.TXT_Chemin.Text(), raison, s.sujet, s.empreinte});
            services_.MsgBox(std::wstring(Textes::MiseAJourRefusee) + L"« " + fichier + L" » : " + raison + L"\r\n" +
                                 Textes::Signataire + (s.sujet.empty() ? Textes::NonSigne : s.sujet) +
                                 (s.empreinte.empty() ? L"" : L", " + s.empreinte),
                             vbCritical, Textes::TitreAttention);
            services_.FinProcessus();
        }
        signataire = s;
    }
    // Nobody at the screen is the system account, which must run only what administrators
    // placed. A valid signature of an allowed publisher vouches for the file's bytes, never for
    // the folder, whose other files an installer loads and reads.
    if (services_.PersonneALEcran()) SignaleAccesOuvert(tenue, fichier, !signataire);
    return signataire;
}

void ProceduresPrincipales::SignaleAccesOuvert(IMiseAJourTenue& tenue, const std::wstring& fichier,
                                               bool avecLeFichier) {
    const bool refuse = services_.PersonneALEcran();
    for (const bool dossier : {true, false}) {
        if (!dossier && !avecLeFichier) continue;
        const std::optional<Acces::Objet> objet = tenue.Securite(dossier);
        if (!objet) continue;  // a share's server that keeps its lists to itself
        const std::vector<Acces::Infraction> infractions = Acces::Infractions(*objet, Acces::GroupeLarge);
        if (infractions.empty()) continue;
        Signale(services_, refuse ? Evenement::DossierModifiable : Evenement::LanceDossierModifiable,
                {fichier, champs_.TXT_Chemin.Text(), Acces::Decrit(infractions.front())});
        if (refuse) services_.FinProcessus();
        return;
    }
}

std::wstring ProceduresPrincipales::TexteSignataire(IMiseAJourTenue& tenue, const std::optional<Signataire>& verifie) {
    // Only where nobody sees the update start does the event name who signed it, checked or not.
    if (!verifie && !services_.PersonneALEcran()) return {};
    const std::optional<Signataire> s = verifie ? verifie : tenue.LitSignataire();
    if (!s) return std::wstring(L" ") + Textes::Signataire + Textes::NonSigne + L".";
    return std::wstring(L" ") + Textes::Signataire + s->sujet + L", " + s->empreinte +
           (verifie ? L"." : std::wstring(L" (") + Textes::NonVerifie + L").");
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
