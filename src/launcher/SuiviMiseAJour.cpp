// Where nobody is at the screen (a task at machine start), the launcher spreads the load with a
// random wait, waits for the update within a bound, reads its exit code as the deployment tools
// do, records only a success, and gives up a name that failed too often in a row. The settings
// lock is given back for every wait: a configuration program, or a Tolvane package the update
// installs, must be able to take it meanwhile.
#include <string>

#include "launcher/Evenement.h"
#include "launcher/IssueMiseAJour.h"
#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

namespace tolvane {

int ProceduresPrincipales::MinutesDuPoste(SchemaINI::IndiceReglage indice) {
    using namespace SchemaINI;
    const Reglage& r = Reglages[indice];
    const auto [minimum, maximum] = indice == IDureeMaximale ? BornesDureeMaximale : BornesDelaiAleatoire;
    const int defaut = *EntierDansBornes(r.defaut, minimum, maximum);
    const std::wstring texte =
        Mod_FichierINI::LitFacultatif(services_, r.section, r.cle, Mod_principal::CheminLectureINI).value_or(L"");
    if (texte.find_first_not_of(L' ') == std::wstring::npos) return defaut;
    if (const std::optional<int> minutes = EntierDansBornes(texte, minimum, maximum)) return *minutes;
    Signale(services_, Evenement::ValeurHorsBornes, {Mod_principal::CheminFichierINI, r.cle, texte, r.defaut});
    return defaut;
}

void ProceduresPrincipales::AttendDelaiAleatoire() {
    // Machines that start together would all read the share at once: each waits its own time,
    // drawn from the system's random source, before the folder is first read.
    const int minutes = MinutesDuPoste(SchemaINI::IDelaiAleatoire);
    if (minutes == 0 || !services_.aleatoire) return;
    const std::uint64_t attente = services_.aleatoire->Entre(static_cast<std::uint64_t>(minutes) * 60 * 1000);
    RendVerrou();
    services_.horloge->Attend(static_cast<unsigned>(attente));
    PrendVerrouDuLanceur();
}

ProceduresPrincipales::Echecs ProceduresPrincipales::LitEchecs() {
    using namespace SchemaINI;
    const std::wstring fichier = FichierDuDernier();
    const auto lit = [&](const wchar_t* cle) {
        return Mod_FichierINI::LitFacultatif(services_, SectionDernierFichier, cle, fichier).value_or(L"");
    };
    return {lit(CleNomEchec), EntierDansBornes(lit(CleEchecs), 0, 999999).value_or(0)};
}

void ProceduresPrincipales::AbandonneSiTropDEchecs(const std::wstring& fichier) {
    // With "Toujours_lancer" every run launches, as designed.
    if (!champs_.Opt_Mode[1].Value()) return;
    const Echecs echecs = LitEchecs();
    if (!EgalSansCasse(echecs.nom, fichier) || echecs.nombre < EchecsAvantAbandon) return;
    Signale(services_, Evenement::Abandonnee, {fichier, champs_.TXT_Chemin.Text(), std::to_wstring(echecs.nombre)});
    services_.FinProcessus();
}

void ProceduresPrincipales::NoteEchecs(const std::wstring& fichier, bool echec) {
    using namespace SchemaINI;
    const Echecs avant = LitEchecs();
    const bool meme = EgalSansCasse(avant.nom, fichier);
    // A success of a name that had failed starts its count afresh; other successes write nothing.
    if (!echec && !(meme && avant.nombre > 0)) return;
    const std::wstring dernier = FichierDuDernier();
    const bool surPlace = dernier != Mod_principal::CheminFichierINI;
    const int nombre = echec ? (meme ? avant.nombre : 0) + 1 : 0;
    Mod_FichierINI::EcritDansINI(services_, SectionDernierFichier, CleNomEchec, fichier, dernier, surPlace);
    Mod_FichierINI::EcritDansINI(services_, SectionDernierFichier, CleEchecs, std::to_wstring(nombre), dernier,
                                 surPlace);
}

void ProceduresPrincipales::SuitMiseAJour(const std::wstring& fichier, const Editeurs::Liste& editeurs) {
    const std::wstring repertoire = champs_.TXT_Chemin.Text();
    const int minutes = MinutesDuPoste(SchemaINI::IDureeMaximale);
    IHorloge& horloge = *services_.horloge;
    const std::uint64_t limite = static_cast<std::uint64_t>(minutes) * 60 * 1000, debut = horloge.Millisecondes();
    const auto reste = [&] {
        const std::uint64_t ecoule = horloge.Millisecondes() - debut;
        return ecoule < limite ? limite - ecoule : 0;
    };
    std::optional<unsigned long> code;
    std::wstring signe;
    for (int essai = 1;; ++essai) {
        bool eleve = false;
        signe = Demarre(fichier, editeurs, true, eleve);
        RendVerrou();
        code = services_.lanceur->AttendFin(reste());
        // Windows Installer busy (Group Policy software installation, Windows Update at boot):
        // tried again a few times, within the same bound.
        if (!code || IssueDe(*code) != Issue::AutreInstallationEnCours || essai > EssaisSiOccupee ||
            reste() <= PauseSiOccupeeMs)
            break;
        Signale(services_, Evenement::AutreInstallation, {fichier, repertoire, std::to_wstring(essai)});
        horloge.Attend(PauseSiOccupeeMs);
        PrendVerrouDuLanceur();
    }
    PrendVerrouDuLanceur();
    LitDernierFichier();

    const Issue issue = code ? IssueDe(*code) : Issue::Echec;
    if (!code || issue == Issue::Echec || issue == Issue::AutreInstallationEnCours) {
        // Not recorded: the next runs launch it again, until it has failed too often.
        if (code)
            Signale(services_, Evenement::EchecMiseAJour,
                    {fichier, repertoire, std::to_wstring(*code),
                     CodeDeWindowsInstaller(*code) ? services_.processus->TexteErreur(*code) : L""});
        else
            Signale(services_, Evenement::DureeDepassee, {fichier, repertoire, std::to_wstring(minutes)});
        NoteEchecs(fichier, true);
        services_.FinProcessus();
    }
    unsigned long erreur = 0;
    const std::wstring fichierDernier = FichierDuDernier();
    if (NoteLancement(fichier, fichierDernier, erreur)) {
        NoteEchecs(fichier, false);
        const Evenement evenement = issue == Issue::RedemarrageNecessaire      ? Evenement::RedemarrageNecessaire
                                    : issue == Issue::RedemarreeParLaMiseAJour ? Evenement::RedemarreeParElle
                                                                               : Evenement::Reussie;
        Signale(services_, evenement, {fichier, repertoire, signe});
    } else {
        Signale(services_, Evenement::NomNonNote, {fichier, fichierDernier, services_.processus->TexteErreur(erreur)});
    }
    services_.FinProcessus();
}

}  // namespace tolvane
