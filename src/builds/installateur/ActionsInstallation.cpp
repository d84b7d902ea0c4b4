// Custom actions of the MSI. PrepareReglages (immediate) checks the public properties CHEMIN,
// OPTION, TITRE and INSTRUCTIONS and hands them to EcritReglages (deferred, as the system),
// which writes Tolvane.ini as one save of the configuration program would: the same writer, the
// same six keys in the same order. DroitsReglages (deferred, as the system) lets the Users group
// modify that file, and only it, so that a standard user's launcher records the launched name.
// SupprimeReglages removes the file on uninstall, only where an installation wrote it: a file an
// administrator put there by hand stays.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <string>
#include <vector>

#include "platform/Texte.h"
#include "platform/win32/Poignees.h"
#include "platform/win32/ServicesWin32.h"
#include "settings/SchemaINI.h"

namespace {

using namespace tolvane;

// Separates the fields handed to the deferred action; refused inside a value.
constexpr wchar_t Separateur = L'\x1f';

std::wstring Propriete(MSIHANDLE session, const wchar_t* nom) {
    DWORD n = 0;
    wchar_t vide[1] = L"";
    if (MsiGetPropertyW(session, nom, vide, &n) != ERROR_MORE_DATA) return {};
    std::wstring valeur(++n, L'\0');
    if (MsiGetPropertyW(session, nom, valeur.data(), &n) != ERROR_SUCCESS) return {};
    valeur.resize(n);
    return valeur;
}

// A line in the verbose log (msiexec /l*v).
void Note(MSIHANDLE session, const std::wstring& texte) {
    PMSIHANDLE ligne = MsiCreateRecord(1);
    MsiRecordSetStringW(ligne, 0, texte.c_str());
    MsiProcessMessage(session, INSTALLMESSAGE_INFO, ligne);
}

// Where EcritReglages records that the settings file is the installer's.
constexpr wchar_t CleProduit[] = L"Software\\Tolvane";
constexpr wchar_t ValeurReglagesEcrits[] = L"ReglagesEcrits";

std::vector<std::wstring> Coupe(const std::wstring& texte) {
    std::vector<std::wstring> champs(1);
    for (const wchar_t c : texte) {
        if (c == Separateur)
            champs.emplace_back();
        else
            champs.back().push_back(c);
    }
    return champs;
}

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
    const std::wstring fichier = Propriete(session, L"INSTALLDIR") + SchemaINI::NomFichier;
    const std::wstring donnees = fichier + Separateur + chemin + Separateur + option + Separateur +
                                 (activee ? L"1" : L"0") + Separateur + titre + Separateur + texte;
    return MsiSetPropertyW(session, L"EcritReglages", donnees.c_str()) == ERROR_SUCCESS ? ERROR_SUCCESS
                                                                                        : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall EcritReglages(MSIHANDLE session) {
    const std::vector<std::wstring> champs = Coupe(Propriete(session, L"CustomActionData"));
    if (champs.size() != 6) return ERROR_INSTALL_FAILURE;
    const std::wstring& fichier = champs[0];
    // Fresh, as the first save of a new machine writes it: an older file's order, comments or
    // last launched name would otherwise stay.
    if (!DeleteFileW(fichier.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        Note(session, L"Tolvane : impossible de remplacer " + fichier);
        return ERROR_INSTALL_FAILURE;
    }
    using namespace SchemaINI;
    const std::wstring aucun = Aucun;
    const struct {
        const wchar_t* section;
        const wchar_t* cle;
        const std::wstring& valeur;
    } entrees[] = {
        {SectionChemin, CleCheminDemarrage, champs[1]},    {SectionOption, CleOptionDemarrage, champs[2]},
        {SectionDernierFichier, CleNomFich, aucun},        {SectionInstructions, CleActivee, champs[3]},
        {SectionInstructions, CleTitreFenetre, champs[4]}, {SectionInstructions, CleInstructions, champs[5]},
    };
    win32::EcrivainProfilWin32 ecrivain;
    for (const auto& e : entrees) {
        if (!ecrivain.WritePrivateProfileString(e.section, e.cle, e.valeur, fichier)) {
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

extern "C" __declspec(dllexport) UINT __stdcall DroitsReglages(MSIHANDLE session) {
    // icacls rather than a permission table: the table would replace the file's whole access
    // list, and can only name files the package installs. The group by its SID, whose name
    // depends on the system's language ("Utilisateurs", "Users"); no inheritance flag on a file.
    wchar_t systeme[MAX_PATH];
    const UINT n = GetSystemDirectoryW(systeme, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return ERROR_INSTALL_FAILURE;
    const std::wstring programme = std::wstring(systeme) + L"\\icacls.exe";
    std::wstring ligne =
        L"\"" + programme + L"\" \"" + Propriete(session, L"CustomActionData") + L"\" /grant *S-1-5-32-545:M";
    Note(session, L"Tolvane : droits sur les paramètres : " + ligne);

    SECURITY_ATTRIBUTES heritable{sizeof heritable, nullptr, TRUE};
    HANDLE l = nullptr, e = nullptr;
    if (!CreatePipe(&l, &e, &heritable, 0)) return ERROR_INSTALL_FAILURE;
    win32::PoigneeNoyau lecture(l), ecriture(e);
    SetHandleInformation(lecture.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = ecriture.get();
    PROCESS_INFORMATION pi{};
    const BOOL lance = CreateProcessW(programme.c_str(), ligne.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                      nullptr, nullptr, &si, &pi);
    if (!lance) {
        Note(session, L"Tolvane : icacls n'a pas démarré (erreur " + std::to_wstring(GetLastError()) + L")");
        return ERROR_INSTALL_FAILURE;
    }
    const win32::ProcessusCree icacls(pi);
    // Our end of the pipe closed, the reads end with icacls's own.
    ecriture.Reinitialise();
    std::string sortie;
    char tampon[512];
    DWORD lus = 0;
    while (ReadFile(lecture.get(), tampon, sizeof tampon, &lus, nullptr) && lus) sortie.append(tampon, lus);
    WaitForSingleObject(icacls.processus.get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(icacls.processus.get(), &code);
    // icacls answers in the console's code page.
    std::wstring texte(sortie.size(), L'\0');
    texte.resize(MultiByteToWideChar(CP_OEMCP, 0, sortie.data(), static_cast<int>(sortie.size()), texte.data(),
                                     static_cast<int>(texte.size())));
    Note(session, L"Tolvane : icacls a répondu " + std::to_wstring(code) + L" : " + texte);
    return code == 0 ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
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
