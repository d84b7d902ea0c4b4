// Custom actions of the MSI that write the settings. GardeMaintenance (immediate, first) drops
// the configuration properties of a maintenance run that a user who is not an administrator
// started: any user may start one of a per-machine product. PrepareReglages (immediate) checks the
// public properties CHEMIN, OPTION, TITRE, INSTRUCTIONS, EDITEURS, DELAI_ALEATOIRE and DUREE_MAXIMALE at every install
// (an unknown OPTION fails it, CHEMIN given or not) and, when CHEMIN is given, hands them to EcritReglages (deferred,
// as the system). On a new machine it writes Tolvane.ini as one save would; on one that has it (an upgrade, a
// deployment tool passing the same CHEMIN again) it writes only what was given and keeps the last launched name while
// the folder stays the same. AnnuleReglages, its rollback, puts the files back as they were; ValideInstallation, at
// commit, forgets the copies. SupprimeReglages removes at uninstall, once it has succeeded, the files an installation
// made: a Tolvane.ini an administrator put there by hand stays. The writers hold the programs' settings locks.
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "OutilsActions.h"
#include "platform/Chemins.h"
#include "platform/Texte.h"
#include "settings/Editeurs.h"
#include "settings/SchemaINI.h"

namespace {

using namespace tolvane;
using namespace tolvane::installateur;

// Where EcritReglages records that the settings file is the installer's.
constexpr wchar_t ValeurReglagesEcrits[] = L"ReglagesEcrits";
// INSTRUCTIONS given as this turns the instructions off at an upgrade, EDITEURS the signature
// check: an empty property is the same as one not given, which keeps the machine's.
constexpr wchar_t SansInstructions[] = L"-";

bool Marque() {
    DWORD ecrits = 0, taille = sizeof ecrits;
    return RegGetValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurReglagesEcrits, RRF_RT_REG_DWORD, nullptr, &ecrits,
                        &taille) == ERROR_SUCCESS &&
           ecrits == 1;
}

void Marque(bool marque) {
    const DWORD un = 1;
    if (marque)
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurReglagesEcrits, REG_DWORD, &un, sizeof un);
    else
        RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, CleProduit, ValeurReglagesEcrits);
}

// What EcritReglages and AnnuleReglages are handed, in this order.
enum Champ {
    Dossier,
    Chemin,
    Option,
    Titre,
    Instructions,
    ListeEditeurs,
    DelaiAleatoire,
    DureeMaximale,
    Direct,
    IniExistait,
    DernierExistait,
    MarqueAvant,
    NChamps
};

// A folder as typed, compared without its trailing separators and without regard to case.
bool MemeDossier(std::wstring a, std::wstring b) {
    for (std::wstring* s : {&a, &b})
        while (s->size() > 1 && EstSeparateur(s->back())) s->pop_back();
    return EgalSansCasse(a, b);
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall GardeMaintenance(MSIHANDLE session) {
    if (ConfigurationRecevable(!Propriete(session, L"Installed").empty(),
                               !Propriete(session, L"RestrictedUserControl").empty()))
        return ERROR_SUCCESS;
    // DEMARRAGE not given was set from the remembered mode (RappelleDemarrage): that one stays.
    const std::wstring retenu = Propriete(session, L"TolvaneDemarrage");
    std::wstring ignorees;
    for (const wchar_t* nom : ProprietesConfiguration) {
        const std::wstring garde = std::wstring_view(nom) == L"DEMARRAGE" ? retenu : L"";
        if (Propriete(session, nom) == garde) continue;
        ignorees += (ignorees.empty() ? L" : " : L", ") + std::wstring(nom);
        MsiSetPropertyW(session, nom, garde.c_str());
    }
    Note(session,
         L"Tolvane : maintenance du produit installé par un utilisateur qui n'est pas administrateur (ou "
         L"depuis une invite non élevée) : propriétés de configuration ignorées" +
             ignorees);
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall PrepareReglages(MSIHANDLE session) {
    const std::wstring chemin = Propriete(session, L"CHEMIN");
    std::wstring option = Propriete(session, L"OPTION");
    const std::wstring titre = Propriete(session, L"TITRE");
    const std::wstring instructions = Propriete(session, L"INSTRUCTIONS");
    // Without regard to case, as the programs read it; not given stays empty.
    if (EgalSansCasse(option, SchemaINI::ToujoursLancer))
        option = SchemaINI::ToujoursLancer;
    else if (EgalSansCasse(option, SchemaINI::VerifierLancer))
        option = SchemaINI::VerifierLancer;
    else if (!option.empty()) {
        Note(session, L"Tolvane : OPTION doit valoir Toujours_lancer ou Verifier_lancer, pas « " + option + L" ».");
        return ERROR_INSTALL_FAILURE;
    }
    // A typo in a thumbprint would stop every update on every machine: refused here, and
    // written in its normal form.
    std::wstring editeurs = Propriete(session, L"EDITEURS");
    if (!editeurs.empty() && editeurs != SansInstructions) {
        const Editeurs::Liste liste = Editeurs::Lit(editeurs);
        if (!liste.Valide()) {
            Note(session, L"Tolvane : EDITEURS : « " + liste.fautive +
                              L" » n'est pas une empreinte SHA-1 (40 chiffres hexadécimaux) ou SHA-256 (64).");
            return ERROR_INSTALL_FAILURE;
        }
        editeurs = Editeurs::Normalise(liste);
    }
    // The minutes of section "Poste", whole and within their bounds.
    const std::wstring delai = Propriete(session, L"DELAI_ALEATOIRE"), duree = Propriete(session, L"DUREE_MAXIMALE");
    for (const auto& [nom, valeur, bornes] : {std::tuple{L"DELAI_ALEATOIRE", &delai, SchemaINI::BornesDelaiAleatoire},
                                              std::tuple{L"DUREE_MAXIMALE", &duree, SchemaINI::BornesDureeMaximale}}) {
        if (!valeur->empty() && !EntierDansBornes(*valeur, bornes.minimum, bornes.maximum)) {
            Note(session, L"Tolvane : " + std::wstring(nom) + L" doit être un nombre entier de minutes de " +
                              std::to_wstring(bornes.minimum) + L" à " + std::to_wstring(bornes.maximum) + L", pas « " +
                              *valeur + L" ».");
            return ERROR_INSTALL_FAILURE;
        }
    }
    // A line break would end the value in the file and start a line the programs never wrote.
    for (const std::wstring* v : {&chemin, &titre, &instructions}) {
        if (v->find_first_of(L"\r\n\x1f") != std::wstring::npos) {
            Note(session, L"Tolvane : CHEMIN, TITRE et INSTRUCTIONS tiennent sur une ligne.");
            return ERROR_INSTALL_FAILURE;
        }
    }
    if (chemin.empty()) return ERROR_SUCCESS;  // nothing to write: the machine's file stays
    const std::wstring dossier = Propriete(session, L"INSTALLDIR");
    std::vector<std::wstring> champs(NChamps);
    champs[Dossier] = dossier;
    champs[Chemin] = chemin;
    champs[Option] = option;
    champs[Titre] = titre;
    champs[Instructions] = instructions;
    champs[ListeEditeurs] = editeurs;
    champs[DelaiAleatoire] = delai;
    champs[DureeMaximale] = duree;
    champs[Direct] = SansRetourArriere(session);
    champs[IniExistait] = Drapeau(Existe(dossier + SchemaINI::NomFichier));
    champs[DernierExistait] = Drapeau(Existe(dossier + SchemaINI::NomFichierDernier));
    champs[MarqueAvant] = Drapeau(Marque());
    return Transmet(session, {L"EcritReglages", L"AnnuleReglages"}, Joint(champs)) ? ERROR_SUCCESS
                                                                                   : ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall EcritReglages(MSIHANDLE session) {
    using namespace SchemaINI;
    const std::vector<std::wstring> c = Coupe(Propriete(session, L"CustomActionData"));
    if (c.size() != NChamps) return ERROR_INSTALL_FAILURE;
    const VerrousReglages verrous(session, c[Dossier]);
    if (!verrous.Tenus()) return ERROR_INSTALL_FAILURE;
    const std::wstring ini = c[Dossier] + NomFichier, dernier = c[Dossier] + NomFichierDernier;
    const bool nouveau = !Existe(ini);
    const std::optional<std::wstring> ancienChemin = LitReglage(ini, Reglages[ICheminDemarrage]);
    if (!MetDeCote(session, ini) || !MetDeCote(session, dernier)) return ERROR_INSTALL_FAILURE;

    // A new machine gets the file a save makes. Elsewhere only what was given is written, and
    // the last launched name stays while the folder does: every machine would otherwise launch
    // its current update again.
    const bool memeDossier = ancienChemin && MemeDossier(*ancienChemin, c[Chemin]);
    const std::wstring& instructions = c[Instructions];
    const bool arret = instructions == SansInstructions;
    const bool consignes = !instructions.empty() && !arret;
    const bool defauts = nouveau || arret;
    std::optional<std::wstring> valeurs[std::size(Reglages)];
    valeurs[ICheminDemarrage] = c[Chemin];
    // The schema's defaults, as every writer takes them.
    const auto defaut = [](IndiceReglage i) { return std::wstring(Reglages[i].defaut); };
    if (!c[Option].empty() || nouveau)
        valeurs[IOptionDemarrage] = c[Option].empty() ? defaut(IOptionDemarrage) : c[Option];
    if (!memeDossier) valeurs[INomFich] = defaut(INomFich);
    if (consignes || defauts) {
        valeurs[IActivee] = consignes ? L"1" : defaut(IActivee);
        valeurs[ITitreFenetre] = consignes && !c[Titre].empty() ? c[Titre] : defaut(ITitreFenetre);
        valeurs[IInstructions] = consignes ? instructions : defaut(IInstructions);
    } else if (!c[Titre].empty()) {
        valeurs[ITitreFenetre] = c[Titre];
    }
    if (!c[DelaiAleatoire].empty()) valeurs[IDelaiAleatoire] = c[DelaiAleatoire];
    if (!c[DureeMaximale].empty()) valeurs[IDureeMaximale] = c[DureeMaximale];
    if (!c[ListeEditeurs].empty()) valeurs[IEditeurs] = c[ListeEditeurs] == SansInstructions ? L"" : c[ListeEditeurs];
    for (std::size_t i = 0; i < std::size(Reglages); ++i)
        if (valeurs[i] && !EcritReglage(session, ini, Reglages[i], *valeurs[i])) return ERROR_INSTALL_FAILURE;
    if (!memeDossier && Existe(dernier) && !EcritReglage(session, dernier, Reglages[INomFich], defaut(INomFich)))
        return ERROR_INSTALL_FAILURE;
    Note(session, L"Tolvane : paramètres écrits dans " + ini +
                      (memeDossier ? L" ; même répertoire, dernier nom lancé gardé" : L" ; dernier nom lancé : aucun"));
    if (nouveau) Marque(true);
    if (!c[Direct].empty()) {
        OublieSauvegarde(ini);
        OublieSauvegarde(dernier);
    }
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall AnnuleReglages(MSIHANDLE session) {
    const std::vector<std::wstring> c = Coupe(Propriete(session, L"CustomActionData"));
    if (c.size() != NChamps) return ERROR_SUCCESS;
    const VerrousReglages verrous(session, c[Dossier]);
    RemetEnPlace(session, c[Dossier] + SchemaINI::NomFichier, !c[IniExistait].empty());
    RemetEnPlace(session, c[Dossier] + SchemaINI::NomFichierDernier, !c[DernierExistait].empty());
    Marque(!c[MarqueAvant].empty());
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall ValideInstallation(MSIHANDLE session) {
    const std::wstring dossier = Propriete(session, L"CustomActionData");
    OublieSauvegarde(dossier + SchemaINI::NomFichier);
    OublieSauvegarde(dossier + SchemaINI::NomFichierDernier);
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall SupprimeReglages(MSIHANDLE session) {
    // Once the uninstall has succeeded (at commit, or at once while rollback is disabled), and
    // never during an upgrade: a file an upgrade deleted would be lost with the new version.
    const std::wstring dossier = Propriete(session, L"CustomActionData");
    const std::wstring ini = dossier + SchemaINI::NomFichier, dernier = dossier + SchemaINI::NomFichierDernier;
    // A file already gone is as good; removal never fails an uninstall.
    const VerrousReglages verrous(session, dossier);
    if (Marque() && DeleteFileW(ini.c_str())) Note(session, L"Tolvane : paramètres supprimés : " + ini);
    SetFileAttributesW(dernier.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (DeleteFileW(dernier.c_str())) Note(session, L"Tolvane : " + dernier + L" supprimé");
    Marque(false);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, CleProduit);
    // Windows Installer left the folder while these files were in it.
    if (!dossier.empty() && RemoveDirectoryW(dossier.c_str())) Note(session, L"Tolvane : " + dossier + L" supprimé");
    return ERROR_SUCCESS;
}
