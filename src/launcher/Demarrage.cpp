#include <cmath>
#include <iterator>

#include "launcher/Evenement.h"
#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
#include "platform/Remplacement.h"
#include "platform/Texte.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

namespace tolvane {

namespace {
bool EstChiffre(wchar_t c) { return c >= L'0' && c <= L'9'; }
}  // namespace

std::optional<int> ValeurCaseActivee(std::wstring_view texte) {
    // Trim blanks, then read the leading number (sign, digits, fraction, exponent); no digits
    // give 0.
    while (!texte.empty() && texte.front() == L' ') texte.remove_prefix(1);
    while (!texte.empty() && texte.back() == L' ') texte.remove_suffix(1);
    std::string nombre;
    std::size_t i = 0;
    if (i < texte.size() && (texte[i] == L'+' || texte[i] == L'-')) nombre.push_back(static_cast<char>(texte[i++]));
    bool chiffres = false;
    // Long runs of digits cannot change the verdict beyond their order of magnitude; keep the
    // text short enough for strtod either way.
    while (i < texte.size() && EstChiffre(texte[i])) {
        if (nombre.size() < 400) nombre.push_back(static_cast<char>(texte[i]));
        chiffres = true;
        ++i;
    }
    if (i < texte.size() && texte[i] == L'.') {
        nombre.push_back('.');
        ++i;
        while (i < texte.size() && EstChiffre(texte[i])) {
            if (nombre.size() < 400) nombre.push_back(static_cast<char>(texte[i]));
            chiffres = true;
            ++i;
        }
    }
    if (!chiffres) return 0;
    if (i < texte.size() && (texte[i] == L'E' || texte[i] == L'e')) {
        std::size_t j = i + 1;
        std::string exposant = "e";
        if (j < texte.size() && (texte[j] == L'+' || texte[j] == L'-'))
            exposant.push_back(static_cast<char>(texte[j++]));
        const std::size_t debut = j;
        while (j < texte.size() && EstChiffre(texte[j]) && j - debut < 6)
            exposant.push_back(static_cast<char>(texte[j++]));
        if (j > debut) nombre += exposant;
    }
    const double valeur = std::strtod(nombre.c_str(), nullptr);
    if (!(valeur > -1.0 && valeur < 3.0)) return std::nullopt;  // also rejects NaN
    // Halves go to the even integer, as the conversion of a number to an integer does here.
    const int entier = static_cast<int>(std::nearbyint(valeur));
    if (entier < CheckBox::vbUnchecked || entier > CheckBox::vbGrayed) return std::nullopt;
    return entier;
}

bool ProceduresPrincipales::Lit(const SchemaINI::Reglage& reglage, std::wstring& tampon, const std::wstring& fichier) {
    if (Mod_FichierINI::LitDansINI(services_, reglage.section, reglage.cle, tampon, fichier)) return true;
    services_.MsgBox(Textes::EchecLecture, vbOKOnly);
    return false;
}

void ProceduresPrincipales::Applique(SchemaINI::IndiceReglage indice, bool lu, const std::wstring& valeur) {
    using namespace SchemaINI;
    switch (indice) {
    case ICheminDemarrage:
        if (lu) champs_.TXT_Chemin.SetText(valeur);
        // The stored directory is used as it is: it is checked only when the user types one.
        champs_.Flb_file.SetPath(champs_.TXT_Chemin.Text());
        champs_.Flb_file.SetPattern(L"*.exe");
        break;
    case IOptionDemarrage:
        // The carrier keeps its text when the read failed, and is compared all the same.
        if (lu) champs_.Txt_Texte.SetText(valeur);
        if (EgalSansCasse(champs_.Txt_Texte.Text(), ToujoursLancer))
            champs_.Opt_Mode[0].SetValue(true);
        else if (EgalSansCasse(champs_.Txt_Texte.Text(), VerifierLancer))
            champs_.Opt_Mode[1].SetValue(true);
        break;
    case INomFich:
        if (!lu) break;
        champs_.Txt_Texte.SetText(valeur);
        Mod_principal::DernierFichier = champs_.Txt_Texte.Text();
        break;
    case IActivee:
        // Setting a different value runs the check box's click behaviour.
        if (const auto v = lu ? ValeurCaseActivee(valeur) : std::nullopt) champs_.Chk_Instructions.SetValue(*v);
        break;
    case ITitreFenetre:
        if (lu) champs_.Txt_Titre.SetText(valeur);
        break;
    case IInstructions:
        if (lu) champs_.Txt_instructions.SetText(valeur);
        break;
    case IEditeurs:  // read where an update is about to start
    case IDelaiAleatoire:
    case IDureeMaximale: break;  // read where nobody is at the screen
    }
}

void ProceduresPrincipales::PrendVerrouDuLanceur() {
    if (PrendVerrou()) return;
    if (erreurVerrou_ == AttenteEcoulee) {
        Signale(services_, Evenement::VerrouOccupe, {Mod_principal::CheminFichierINI});
        services_.FinProcessus();
    }
    // No lock to be had at all (its name taken by another object or, at machine start, by a
    // user's, a system refusing it): one possible double launch is better than no update ever.
    const std::wstring proprietaire = VerrouDuLanceur()->ProprietaireRefuse();
    Signale(services_, Evenement::SansVerrou,
            {Mod_principal::CheminFichierINI, proprietaire.empty() ? services_.processus->TexteErreur(erreurVerrou_)
                                                                   : Textes::VerrouNonFiable + proprietaire});
    sansVerrou_ = true;
}

std::wstring ProceduresPrincipales::FichierDuDernier() {
    return Recupere(Mod_principal::CheminFichierDernier()).value_or(Mod_principal::CheminLectureINI);
}

std::optional<std::wstring> ProceduresPrincipales::Recupere(const std::wstring& fichier) {
    ISystemeFichiers& fso = services_.FSO();
    if (fso.FileExists(fichier)) return fichier;
    if (!fso.FileExists(Remplacement::Sauvegarde(fichier))) return std::nullopt;
    // The launcher holds the lock already; the configuration program takes it for the move, so
    // that no write is half-way through its renames meanwhile.
    const bool prend = !Mod_principal::ModeAuto;
    if (prend && !PrendVerrou()) return Remplacement::Sauvegarde(fichier);
    std::wstring lu = services_.profil->Recupere(fichier);
    if (prend) RendVerrou();
    return lu;
}

void ProceduresPrincipales::LitDernierFichier() {
    std::wstring nom;
    Applique(SchemaINI::INomFich, Lit(SchemaINI::Reglages[SchemaINI::INomFich], nom, FichierDuDernier()), nom);
}

void ProceduresPrincipales::Form_Load() {
    using namespace SchemaINI;
    champs_.Label3.SetCaption(Textes::APropos);

    Mod_principal::NomFichierINI = NomFichier;
    Mod_principal::CheminFichierINI =
        services_.processus->RepertoireApplication() + L"\\" + Mod_principal::NomFichierINI;
    Mod_principal::ModeAuto = modeAutoDuBuild_;
    services_.auDemarrageDuPoste = Mod_principal::ModeAuto;

    // Two launchers started together (a Run entry and a Startup shortcut, two sessions) would
    // both launch the update: the second waits for the first, before it reads anything, and is
    // not needed when the wait runs out (the event says why nothing ran). The lock is held until
    // the process ends, or until it is clear that this run launches nothing: a launcher whose
    // window then stays open must not keep the configuration program from saving.
    if (Mod_principal::ModeAuto) PrendVerrouDuLanceur();

    const std::optional<std::wstring> lu = Recupere(Mod_principal::CheminFichierINI);
    Mod_principal::CheminLectureINI = lu.value_or(Mod_principal::CheminFichierINI);
    if (!lu) {
        if (Mod_principal::ModeAuto) RendVerrou();
        // Recorded before the box: at logon nobody may answer it for hours.
        Signale(services_, Evenement::FichierINIAbsent, {Mod_principal::CheminFichierINI});
        services_.MsgBox(Textes::FichierINIAbsent, vbInformation, Textes::TitreMerci);
        return;
    }

    // Before the folder is first read.
    if (Mod_principal::ModeAuto && services_.PersonneALEcran()) AttendDelaiAleatoire();

    // One buffer for every read. A failed read leaves its field as it was, rather than
    // handing the previous read's value to an unrelated field.
    std::wstring tampon;
    for (std::size_t i = 0; i < NombreReglagesFenetre; ++i) {
        const auto indice = static_cast<IndiceReglage>(i);
        const bool lu =
            Lit(Reglages[i], tampon, indice == INomFich ? FichierDuDernier() : Mod_principal::CheminLectureINI);
        Applique(indice, lu, tampon);
    }

    if (Mod_principal::ModeAuto) {
        Cmd_OK_Click();
        RendVerrou();
    }
}

}  // namespace tolvane
