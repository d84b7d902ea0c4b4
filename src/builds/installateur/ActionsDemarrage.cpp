// How the launcher starts, chosen at install by the public property DEMARRAGE and remembered
// for the installs that follow (with the installation folder): SESSION, the HKLM Run value, in
// each user's session at logon; POSTE, the scheduled task \Tolvane, as the system account at
// machine start and at any logon. PrepareDemarrage (immediate) checks the property and hands
// the mode to AppliqueDemarrage (deferred, as the system), whose rollback AnnuleDemarrage puts
// back the way the machine started before. At uninstall, never during an upgrade, RetireDemarrage
// removes both ways, and its rollback AnnuleRetrait puts back the remembered one.
#include <string>
#include <vector>

#include "ChoixDemarrage.h"
#include "OutilsActions.h"
#include "platform/Texte.h"
#include "settings/SchemaINI.h"

namespace {

using namespace tolvane;
using namespace tolvane::installateur;

constexpr wchar_t ValeurDemarrage[] = L"Demarrage";
constexpr wchar_t ValeurDossier[] = L"Dossier";
constexpr wchar_t CleRun[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t ValeurRun[] = L"Tolvane";
constexpr wchar_t Lanceur[] = L"Tolvane_Lanceur.exe";
// The Users group by its SID, whatever the system's language calls it.
constexpr wchar_t Utilisateurs[] = L"*S-1-5-32-545";

// False when it was refused (an endpoint-security product guarding the Run key): nothing would
// ever start the launcher.
bool EcritRun(MSIHANDLE session, const std::wstring& dossier) {
    const std::wstring valeur = L"\"" + dossier + Lanceur + L"\"";
    const LSTATUS r = RegSetKeyValueW(HKEY_LOCAL_MACHINE, CleRun, ValeurRun, REG_SZ, valeur.c_str(),
                                      static_cast<DWORD>((valeur.size() + 1) * sizeof(wchar_t)));
    if (r == ERROR_SUCCESS) {
        Note(session, L"Tolvane : valeur Run " + valeur);
        return true;
    }
    Erreur(session, L"Tolvane : la valeur Run " + valeur + L" n'a pas pu être écrite (erreur " + std::to_wstring(r) +
                        L") : rien ne démarrerait le lanceur.");
    return false;
}

void SupprimeRun(MSIHANDLE session) {
    if (RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, CleRun, ValeurRun) == ERROR_SUCCESS)
        Note(session, L"Tolvane : valeur Run supprimée");
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
        const SchemaINI::Reglage& r = SchemaINI::Reglages[SchemaINI::INomFich];
        const std::wstring nom = LitReglage(dossier + SchemaINI::NomFichier, r).value_or(r.defaut);
        if (!EcritReglage(session, dernier, r, nom)) return false;
        Note(session, L"Tolvane : " + dernier + L" créé, dernier lancé : " + nom);
    }
    // Read and write its data, nothing more: W would let them change its attributes too.
    return LanceOutil(session, L"icacls.exe", L"\"" + dernier + L"\" /grant " + Utilisateurs + L":(RX,WD)") == 0;
}

// The right 1.0.0 gave the Users group on Tolvane.ini: any user could choose what the next
// session runs, an administrator's included.
bool RetireDroitsUtilisateurs(MSIHANDLE session, const std::wstring& dossier) {
    const std::wstring reglages = dossier + SchemaINI::NomFichier;
    if (!Existe(reglages)) return true;
    return LanceOutil(session, L"icacls.exe", L"\"" + reglages + L"\" /remove:g " + Utilisateurs) == 0;
}

// Read back by the package's AppSearch at the next install (TolvaneDemarrage, TolvaneDossier).
bool Memorise(const wchar_t* valeur, const std::wstring& texte) {
    if (texte.empty()) {
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, valeur);
        return true;
    }
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, valeur, REG_SZ, texte.c_str(),
                           static_cast<DWORD>((texte.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// What AppliqueDemarrage and AnnuleDemarrage are handed, in this order.
enum Champ { Dossier, Mode, Avant, DossierAvant, Direct, DernierExistait, IniDeCote, NChamps };

// One way to start and never the other; no mode at all removes both. False when the way asked
// for was refused.
bool MetEnPlace(MSIHANDLE session, const Demarrage& demarrage) {
    if (demarrage.mode == ModePoste) {
        SupprimeRun(session);
        return InscritTache(session, demarrage.dossier + Lanceur);
    }
    SupprimeTache(session);
    if (demarrage.mode == ModeSession) return EcritRun(session, demarrage.dossier);
    SupprimeRun(session);
    return true;
}

// From SESSION to POSTE: the name the record file holds goes into Tolvane.ini before the record
// file is set aside, whose own "Nom_Fich" has been stale since the record file took over; else
// every machine would launch its current update once more, as the system account.
bool PorteDernierNom(MSIHANDLE session, const std::wstring& dossier, bool iniDeCote) {
    const SchemaINI::Reglage& r = SchemaINI::Reglages[SchemaINI::INomFich];
    const std::wstring ini = dossier + SchemaINI::NomFichier;
    const std::optional<std::wstring> nom = LitReglage(dossier + SchemaINI::NomFichierDernier, r);
    if (!nom || !Existe(ini)) return true;
    // Set aside by the settings action already when it ran in this install.
    if (!iniDeCote && !MetDeCote(session, ini)) return false;
    if (!EcritReglage(session, ini, r, *nom)) return false;
    Note(session, L"Tolvane : dernier nom lancé porté dans " + ini + L" : " + *nom);
    return true;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall PrepareDemarrage(MSIHANDLE session) {
    // DEMARRAGE, when not given, was copied from the remembered mode (TolvaneDemarrage).
    const std::wstring avant = Propriete(session, L"TolvaneDemarrage");
    const std::optional<std::wstring> demande = ModeDemande(Propriete(session, L"DEMARRAGE"));
    if (!demande) {
        Note(session,
             L"Tolvane : DEMARRAGE doit valoir SESSION ou POSTE, pas « " + Propriete(session, L"DEMARRAGE") + L" ».");
        return ERROR_INSTALL_FAILURE;
    }
    const std::wstring& mode = *demande;
    const std::wstring dossier = Propriete(session, L"INSTALLDIR");
    std::vector<std::wstring> champs(NChamps);
    champs[Dossier] = dossier;
    champs[Mode] = mode;
    champs[Avant] = avant;
    champs[DossierAvant] = Propriete(session, L"TolvaneDossier");
    champs[Direct] = SansRetourArriere(session);
    champs[DernierExistait] = Drapeau(Existe(dossier + SchemaINI::NomFichierDernier));
    // EcritReglages runs in this install, and sets Tolvane.ini aside itself.
    champs[IniDeCote] = Drapeau(!Propriete(session, L"CHEMIN").empty());
    Note(session, L"Tolvane : démarrage " + mode + (avant.empty() ? L"" : L" (avant : " + avant + L")"));
    return Transmet(session, {L"AppliqueDemarrage", L"AnnuleDemarrage"}, Joint(champs)) &&
                   Transmet(session, {L"ValideInstallation"}, dossier)
               ? ERROR_SUCCESS
               : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall AppliqueDemarrage(MSIHANDLE session) {
    const std::vector<std::wstring> c = Coupe(Propriete(session, L"CustomActionData"));
    if (c.size() != NChamps) return ERROR_INSTALL_FAILURE;
    const std::wstring &dossier = c[Dossier], &mode = c[Mode];
    const VerrousReglages verrous(session, dossier);
    bool ok = verrous.Tenus() && RetireDroitsUtilisateurs(session, dossier) && MetEnPlace(session, {mode, dossier});
    const std::wstring dernier = dossier + SchemaINI::NomFichierDernier;
    if (mode == ModePoste) {
        // The system account must never read a file users can write: set aside until the
        // install has succeeded.
        ok = ok && PorteDernierNom(session, dossier, !c[IniDeCote].empty()) && MetDeCote(session, dernier, false);
        if (!c[Direct].empty()) {
            OublieSauvegarde(dernier);
            if (c[IniDeCote].empty()) OublieSauvegarde(dossier + SchemaINI::NomFichier);
        }
    } else {
        ok = ok && PrepareFichierDernier(session, dossier);
    }
    return ok && Memorise(ValeurDemarrage, mode) && Memorise(ValeurDossier, dossier) ? ERROR_SUCCESS
                                                                                     : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall AnnuleDemarrage(MSIHANDLE session) {
    const std::vector<std::wstring> c = Coupe(Propriete(session, L"CustomActionData"));
    if (c.size() != NChamps) return ERROR_SUCCESS;
    const std::wstring &dossier = c[Dossier], &avant = c[Avant];
    const Demarrage retour = Retour({c[Mode], dossier}, avant, c[DossierAvant]);
    Note(session, L"Tolvane : retour au démarrage d'avant (" + (avant.empty() ? std::wstring(L"aucun") : avant) +
                      L", depuis " + retour.dossier + L")");
    const VerrousReglages verrous(session, dossier);
    MetEnPlace(session, retour);
    RemetEnPlace(session, dossier + SchemaINI::NomFichierDernier, !c[DernierExistait].empty());
    if (c[IniDeCote].empty()) RemetEnPlace(session, dossier + SchemaINI::NomFichier, true);
    Memorise(ValeurDemarrage, avant);
    Memorise(ValeurDossier, c[DossierAvant]);
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall PrepareRetrait(MSIHANDLE session) {
    const std::wstring dossier = Propriete(session, L"INSTALLDIR");
    return Transmet(session, {L"RetireDemarrage", L"AnnuleRetrait"},
                    Joint({dossier, Propriete(session, L"TolvaneDemarrage")})) &&
                   Transmet(session, {L"SupprimeReglages", L"SupprimeReglagesDirect"}, dossier)
               ? ERROR_SUCCESS
               : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall RetireDemarrage(MSIHANDLE session) {
    const std::vector<std::wstring> c = Coupe(Propriete(session, L"CustomActionData"));
    if (c.size() == 2) MetEnPlace(session, {{}, c[0]});
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall AnnuleRetrait(MSIHANDLE session) {
    const std::vector<std::wstring> c = Coupe(Propriete(session, L"CustomActionData"));
    if (c.size() == 2) MetEnPlace(session, {c[1], c[0]});
    return ERROR_SUCCESS;
}
