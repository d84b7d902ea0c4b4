// How the launcher starts, chosen at install by the public property DEMARRAGE and remembered
// for the installs that follow: SESSION, the HKLM Run value, in each user's session at logon;
// POSTE, the scheduled task \Tolvane, as the system account at machine start and at any logon.
// PrepareDemarrage (immediate) checks the property and hands the mode to AppliqueDemarrage
// (deferred, as the system), whose rollback AnnuleDemarrage puts back the way the machine
// started before; RetireDemarrage removes both ways at uninstall, never during an upgrade.
#include <string>
#include <vector>

#include "OutilsActions.h"
#include "TachePoste.h"
#include "platform/Texte.h"
#include "platform/win32/ServicesWin32.h"
#include "settings/Mod_FichierINI.h"
#include "settings/SchemaINI.h"

namespace {

using namespace tolvane;
using namespace tolvane::installateur;

constexpr wchar_t ModeSession[] = L"SESSION";
constexpr wchar_t ModePoste[] = L"POSTE";
constexpr wchar_t ValeurDemarrage[] = L"Demarrage";
constexpr wchar_t CleRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t ValeurRun[] = L"Tolvane";
constexpr wchar_t Lanceur[] = L"Tolvane_Lanceur.exe";
// The Users group by its SID, whatever the system's language calls it.
constexpr wchar_t Utilisateurs[] = L"*S-1-5-32-545";

std::wstring ModeMemorise() {
    wchar_t valeur[32] = L"";
    DWORD taille = sizeof valeur;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurDemarrage, RRF_RT_REG_SZ, nullptr, valeur, &taille) !=
        ERROR_SUCCESS)
        return {};
    return valeur;
}

bool Existe(const std::wstring& fichier) { return GetFileAttributesW(fichier.c_str()) != INVALID_FILE_ATTRIBUTES; }

void EcritRun(MSIHANDLE session, const std::wstring& dossier) {
    const std::wstring valeur = L"\"" + dossier + Lanceur + L"\"";
    const LSTATUS r = RegSetKeyValueW(HKEY_LOCAL_MACHINE, CleRun, ValeurRun, REG_SZ, valeur.c_str(),
                                      static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t)));
    Note(session, L"Tolvane : valeur Run " + valeur + (r == ERROR_SUCCESS ? L"" : L" impossible à écrire"));
}

void SupprimeRun(MSIHANDLE session) {
    if (RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, CleRun, ValeurRun) == ERROR_SUCCESS)
        Note(session, L"Tolvane : valeur Run supprimée");
}

bool InscritTache(MSIHANDLE session, const std::wstring& dossier) {
    // schtasks reads the definition from a file, in UTF-16 with its mark.
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) return false;
    const std::wstring fichier = std::wstring(temp) + L"Tolvane-tache.xml";
    const std::wstring xml = L"\xFEFF" + XmlTachePoste(dossier + Lanceur);
    win32::PoigneeFichier f(
        CreateFileW(fichier.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    DWORD ecrits = 0;
    const DWORD taille = static_cast<DWORD>(xml.size() * sizeof(wchar_t));
    const bool ecrit = f && WriteFile(f.get(), xml.data(), taille, &ecrits, nullptr) && ecrits == taille;
    f.Reinitialise();
    const bool inscrite =
        ecrit && LanceOutil(session, L"schtasks.exe",
                            std::wstring(L"/create /tn ") + NomTache + L" /xml \"" + fichier + L"\" /f") == 0;
    DeleteFileW(fichier.c_str());
    return inscrite;
}

void SupprimeTache(MSIHANDLE session) {
    // A task that is not there answers an error: nothing to remove.
    LanceOutil(session, L"schtasks.exe", std::wstring(L"/delete /tn ") + NomTache + L" /f");
}

// The last launched name Tolvane.ini holds, "aucun" when there is none to read.
std::wstring NomFichActuel(const std::wstring& reglages) {
    if (!Existe(reglages)) return SchemaINI::Aucun;
    win32::SourceFichiersWin32 source;
    Services services;
    services.CreeSystemeFichiers = [] { return std::make_unique<win32::SystemeFichiersWin32>(); };
    services.fichiers = &source;
    std::wstring nom = SchemaINI::Aucun;
    const SchemaINI::Reglage& r = SchemaINI::Reglages[SchemaINI::INomFich];
    Mod_FichierINI::LitDansINI(services, r.section, r.cle, nom, reglages);
    return nom;
}

// The record file a standard user's launcher writes. Never through the File or IniFile tables,
// which a major upgrade would delete and make again; made only where it is missing, seeded with
// the name Tolvane.ini holds, or every machine would launch its current update once more.
bool PrepareFichierDernier(MSIHANDLE session, const std::wstring& dossier) {
    const std::wstring dernier = dossier + SchemaINI::NomFichierDernier;
    if (Existe(dernier)) {
        // A user who made it read-only would make every later write fail, upgrades included.
        SetFileAttributesW(dernier.c_str(), FILE_ATTRIBUTE_NORMAL);
    } else {
        const std::wstring nom = NomFichActuel(dossier + SchemaINI::NomFichier);
        const SchemaINI::Reglage& r = SchemaINI::Reglages[SchemaINI::INomFich];
        win32::EcrivainProfilWin32 ecrivain;
        if (!ecrivain.WritePrivateProfileString(r.section, r.cle, nom, dernier)) {
            Note(session, L"Tolvane : impossible de créer " + dernier + L" (erreur " +
                              std::to_wstring(ecrivain.DerniereErreur()) + L")");
            return false;
        }
        Note(session, L"Tolvane : " + dernier + L" créé, dernier lancé : " + nom);
    }
    // Read and write its data, nothing more: W would let them change its attributes too.
    return LanceOutil(session, L"icacls.exe", L"\"" + dernier + L"\" /grant " + Utilisateurs + L":(RX,WD)") == 0;
}

void SupprimeFichierDernier(MSIHANDLE session, const std::wstring& dossier) {
    const std::wstring dernier = dossier + SchemaINI::NomFichierDernier;
    SetFileAttributesW(dernier.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileW(dernier.c_str())) Note(session, L"Tolvane : " + dernier + L" supprimé");
}

// The right 1.0.0 gave the Users group on Tolvane.ini: any user could choose what the next
// session runs, an administrator's included.
bool RetireDroitsUtilisateurs(MSIHANDLE session, const std::wstring& dossier) {
    const std::wstring reglages = dossier + SchemaINI::NomFichier;
    if (!Existe(reglages)) return true;
    return LanceOutil(session, L"icacls.exe", L"\"" + reglages + L"\" /remove:g " + Utilisateurs) == 0;
}

bool Memorise(const std::wstring& mode) {
    if (mode.empty()) return RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurDemarrage) == ERROR_SUCCESS;
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurDemarrage, REG_SZ, mode.c_str(),
                           static_cast<DWORD>((mode.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// One way to start and never the other; no mode at all removes both.
bool MetEnPlace(MSIHANDLE session, const std::wstring& dossier, const std::wstring& mode) {
    if (mode == ModePoste) {
        SupprimeRun(session);
        return InscritTache(session, dossier);
    }
    SupprimeTache(session);
    if (mode == ModeSession) EcritRun(session, dossier);
    if (mode.empty()) SupprimeRun(session);
    return true;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall PrepareDemarrage(MSIHANDLE session) {
    const std::wstring avant = ModeMemorise();
    std::wstring mode = Propriete(session, L"DEMARRAGE");
    if (mode.empty()) mode = avant.empty() ? std::wstring(ModeSession) : avant;
    if (EgalSansCasse(mode, ModeSession))
        mode = ModeSession;
    else if (EgalSansCasse(mode, ModePoste))
        mode = ModePoste;
    else {
        Note(session, L"Tolvane : DEMARRAGE doit valoir SESSION ou POSTE, pas « " + mode + L" ».");
        return ERROR_INSTALL_FAILURE;
    }
    const std::wstring donnees = Joint({Propriete(session, L"INSTALLDIR"), mode, avant});
    Note(session, L"Tolvane : démarrage " + mode + (avant.empty() ? L"" : L" (avant : " + avant + L")"));
    for (const wchar_t* action : {L"AppliqueDemarrage", L"AnnuleDemarrage"})
        if (MsiSetPropertyW(session, action, donnees.c_str()) != ERROR_SUCCESS) return ERROR_INSTALL_FAILURE;
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall AppliqueDemarrage(MSIHANDLE session) {
    const std::vector<std::wstring> champs = Coupe(Propriete(session, L"CustomActionData"));
    if (champs.size() != 3) return ERROR_INSTALL_FAILURE;
    const std::wstring &dossier = champs[0], &mode = champs[1];
    bool ok = RetireDroitsUtilisateurs(session, dossier) && MetEnPlace(session, dossier, mode);
    // The system account must never read a file users can write.
    if (mode == ModePoste)
        SupprimeFichierDernier(session, dossier);
    else
        ok = ok && PrepareFichierDernier(session, dossier);
    return ok && Memorise(mode) ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall AnnuleDemarrage(MSIHANDLE session) {
    const std::vector<std::wstring> champs = Coupe(Propriete(session, L"CustomActionData"));
    if (champs.size() != 3) return ERROR_SUCCESS;
    const std::wstring &dossier = champs[0], &avant = champs[2];
    Note(session, L"Tolvane : retour au démarrage d'avant (" + (avant.empty() ? std::wstring(L"aucun") : avant) + L")");
    MetEnPlace(session, dossier, avant);
    // Only a machine that started in users' sessions had a record file.
    if (avant != ModeSession) SupprimeFichierDernier(session, dossier);
    Memorise(avant);
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall RetireDemarrage(MSIHANDLE session) {
    const std::wstring dossier = Propriete(session, L"CustomActionData");
    MetEnPlace(session, dossier, {});
    SupprimeFichierDernier(session, dossier);
    Memorise({});
    return ERROR_SUCCESS;
}
