// Custom actions of the MSI. PrepareReglages (immediate) checks the public properties CHEMIN,
// OPTION, TITRE and INSTRUCTIONS at every install (an unknown OPTION fails it, CHEMIN given or
// not) and, when CHEMIN is given, hands them to EcritReglages (deferred, as the system), which
// writes Tolvane.ini as one save of the configuration program would: the same writer, the
// schema's keys in its order. SupprimeReglages removes the file on uninstall, only where an
// installation wrote it: a file an administrator put there by hand stays.
#include <iterator>
#include <string>
#include <vector>

#include "OutilsActions.h"
#include "platform/Texte.h"
#include "platform/win32/ServicesWin32.h"
#include "settings/SchemaINI.h"

namespace {

using namespace tolvane;
using namespace tolvane::installateur;

// Where EcritReglages records that the settings file is the installer's.
constexpr wchar_t ValeurReglagesEcrits[] = L"ReglagesEcrits";

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall PrepareReglages(MSIHANDLE session) {
    const std::wstring chemin = Propriete(session, L"CHEMIN");
    std::wstring option = Propriete(session, L"OPTION");
    std::wstring titre = Propriete(session, L"TITRE");
    const std::wstring instructions = Propriete(session, L"INSTRUCTIONS");
    if (option.empty()) option = SchemaINI::VerifierLancer;
    // Without regard to case, as the programs read it.
    if (EgalSansCasse(option, SchemaINI::ToujoursLancer))
        option = SchemaINI::ToujoursLancer;
    else if (EgalSansCasse(option, SchemaINI::VerifierLancer))
        option = SchemaINI::VerifierLancer;
    else {
        Note(session, L"Tolvane : OPTION doit valoir Toujours_lancer ou Verifier_lancer, pas « " + option + L" ».");
        return ERROR_INSTALL_FAILURE;
    }
    const bool activee = !instructions.empty();
    if (!activee || titre.empty()) titre = SchemaINI::TitreParDefaut;
    const std::wstring texte = activee ? instructions : std::wstring(SchemaINI::InstructionsParDefaut);
    // A line break would end the value in the file and start a line the programs never wrote.
    const std::wstring* const valeurs[] = {&chemin, &titre, &texte};
    for (const std::wstring* v : valeurs) {
        if (v->find_first_of(L"\r\n\x1f") != std::wstring::npos) {
            Note(session, L"Tolvane : CHEMIN, TITRE et INSTRUCTIONS tiennent sur une ligne.");
            return ERROR_INSTALL_FAILURE;
        }
    }
    if (chemin.empty()) return ERROR_SUCCESS;  // nothing to write: the machine's file stays
    const std::wstring fichier = Propriete(session, L"INSTALLDIR") + SchemaINI::NomFichier;
    const std::wstring donnees = fichier + Separateur + chemin + Separateur + option + Separateur +
                                 (activee ? L"1" : L"0") + Separateur + titre + Separateur + texte;
    return MsiSetPropertyW(session, L"EcritReglages", donnees.c_str()) == ERROR_SUCCESS ? ERROR_SUCCESS
                                                                                        : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall EcritReglages(MSIHANDLE session) {
    const std::vector<std::wstring> champs = Coupe(Propriete(session, L"CustomActionData"));
    // The file, then a value for every setting but the last launched name.
    if (champs.size() != std::size(SchemaINI::Reglages)) return ERROR_INSTALL_FAILURE;
    const std::wstring& fichier = champs[0];
    // Fresh, as the first save of a new machine writes it: an older file's order, comments or
    // last launched name would otherwise stay.
    if (!DeleteFileW(fichier.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        Note(session, L"Tolvane : impossible de remplacer " + fichier);
        return ERROR_INSTALL_FAILURE;
    }
    // The schema's settings in its order, as a save writes them: a fixed value where the save
    // has one (the last launched name), else the next field handed over.
    std::size_t champ = 1;
    win32::EcrivainProfilWin32 ecrivain;
    for (const SchemaINI::Reglage& r : SchemaINI::Reglages) {
        const std::wstring valeur = r.apresSauvegarde ? std::wstring(r.apresSauvegarde) : champs[champ++];
        if (!ecrivain.WritePrivateProfileString(r.section, r.cle, valeur, fichier)) {
            Note(session, L"Tolvane : échec de l'écriture de " + fichier + L" (erreur " +
                              std::to_wstring(ecrivain.DerniereErreur()) + L")");
            return ERROR_INSTALL_FAILURE;
        }
    }
    const DWORD un = 1;
    if (RegSetKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurReglagesEcrits, REG_DWORD, &un, sizeof un) !=
        ERROR_SUCCESS)
        Note(session, L"Tolvane : la désinstallation laissera " + fichier);
    Note(session, L"Tolvane : paramètres écrits dans " + fichier);
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall SupprimeReglages(MSIHANDLE session) {
    const std::wstring fichier = Propriete(session, L"CustomActionData");
    DWORD ecrits = 0, taille = sizeof ecrits;
    const bool notre = RegGetValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurReglagesEcrits, RRF_RT_REG_DWORD, nullptr,
                                    &ecrits, &taille) == ERROR_SUCCESS &&
                       ecrits == 1;
    // A file already gone is as good; removal never fails an uninstall.
    if (notre && !fichier.empty()) {
        DeleteFileW(fichier.c_str());
        Note(session, L"Tolvane : paramètres supprimés : " + fichier);
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurReglagesEcrits);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, CleProduit);
    return ERROR_SUCCESS;
}
