#include <cmath>

#include "launcher/Mod_principal.h"
#include "launcher/ProceduresPrincipales.h"
#include "launcher/Textes.h"
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

bool ProceduresPrincipales::Lit(const wchar_t* section, const wchar_t* cle, std::wstring& tampon) {
    if (Mod_FichierINI::LitDansINI(services_, section, cle, tampon, Mod_principal::CheminFichierINI)) return true;
    services_.messages->MsgBox(Textes::EchecLecture, vbOKOnly);
    return false;
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
    // not needed when the wait runs out. The lock is held until the process ends, or until it
    // is clear that this run launches nothing: a launcher whose window then stays open must
    // not keep the configuration program from saving.
    if (Mod_principal::ModeAuto && !PrendVerrou()) services_.FinProcessus();

    if (!services_.FSO().FileExists(Mod_principal::CheminFichierINI)) {
        if (Mod_principal::ModeAuto) RendVerrou();
        // Recorded before the box: at logon nobody may answer it for hours.
        services_.Signale(Evenement::FichierINIAbsent, {Mod_principal::CheminFichierINI});
        services_.messages->MsgBox(Textes::FichierINIAbsent, vbInformation, Textes::TitreMerci);
        return;
    }

    // One buffer for every read. A failed read leaves its field as it was, rather than
    // handing the previous read's value to an unrelated field.
    std::wstring tampon;
    if (Lit(SectionChemin, CleCheminDemarrage, tampon)) champs_.TXT_Chemin.SetText(tampon);
    // The stored directory is used as it is: it is checked only when the user types one.
    champs_.Flb_file.SetPath(champs_.TXT_Chemin.Text());
    champs_.Flb_file.SetPattern(L"*.exe");

    if (Lit(SectionOption, CleOptionDemarrage, tampon)) champs_.Txt_Texte.SetText(tampon);
    if (EgalSansCasse(champs_.Txt_Texte.Text(), ToujoursLancer))
        champs_.Opt_Mode[0].SetValue(true);
    else if (EgalSansCasse(champs_.Txt_Texte.Text(), VerifierLancer))
        champs_.Opt_Mode[1].SetValue(true);

    if (Lit(SectionDernierFichier, CleNomFich, tampon)) {
        champs_.Txt_Texte.SetText(tampon);
        Mod_principal::DernierFichier = champs_.Txt_Texte.Text();
    }

    if (Lit(SectionInstructions, CleActivee, tampon)) {
        // Setting a different value runs the check box's click behaviour.
        if (const auto valeur = ValeurCaseActivee(tampon)) champs_.Chk_Instructions.SetValue(*valeur);
    }
    if (Lit(SectionInstructions, CleTitreFenetre, tampon)) champs_.Txt_Titre.SetText(tampon);
    if (Lit(SectionInstructions, CleInstructions, tampon)) champs_.Txt_instructions.SetText(tampon);

    if (Mod_principal::ModeAuto) {
        Cmd_OK_Click();
        RendVerrou();
    }
}

}  // namespace tolvane
