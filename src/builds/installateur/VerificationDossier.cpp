// The program folder belongs to administrators wherever it is. The package gives INSTALLDIR a
// protected access list (MsiLockPermissionsEx), but a folder that already exists may hold what a
// user put there before: a file they own (an owner may always rewrite its list), an explicit
// grant the new list does not remove, a DLL the programs would load. VerifieDossier
// (immediate, before anything changes) fails the install on any of them, each named in the log.
#include <string>
#include <vector>

#include "OutilsActions.h"
#include "platform/Acces.h"
#include "platform/Texte.h"
#include "platform/win32/Poignees.h"
#include "platform/win32/SecuriteWin32.h"
#include "settings/SchemaINI.h"

namespace {

using namespace tolvane;
using namespace tolvane::installateur;

// What is wrong with one object of the folder, as lines of the log; `permis`, rights the package
// itself grants on it.
std::vector<std::wstring> Examine(const std::wstring& chemin, Acces::Genre genre, const std::wstring& installateur,
                                  std::uint32_t permis = 0) {
    // Its own owner and list, not those of what a link points to.
    win32::PoigneeFichier f(CreateFileW(chemin.c_str(), READ_CONTROL,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    DWORD erreur = f ? ERROR_SUCCESS : GetLastError();
    const std::optional<Acces::Objet> objet = f ? win32::LitSecurite(f.get(), chemin, genre, erreur) : std::nullopt;
    if (!objet) return {chemin + L" : droits illisibles (erreur " + std::to_wstring(erreur) + L")"};
    // Inherited entries go with the protected list the package sets; explicit ones and owners stay.
    std::vector<std::wstring> lignes;
    const auto suspect = [&](const std::wstring& sid) { return Acces::HorsAdministrateurs(sid, installateur); };
    for (Acces::Infraction& i : Acces::Infractions(*objet, suspect, true)) {
        const bool proprietaire = i.droits == 0;
        i.droits &= ~permis;
        if (proprietaire || i.droits) lignes.push_back(Acces::Decrit(i));
    }
    return lignes;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall VerifieDossier(MSIHANDLE session) {
    std::wstring dossier = Propriete(session, L"INSTALLDIR");
    while (dossier.size() > 3 && dossier.back() == L'\\') dossier.pop_back();
    if (dossier.empty() || GetFileAttributesW(dossier.c_str()) == INVALID_FILE_ATTRIBUTES) return ERROR_SUCCESS;
    const std::wstring installateur = Propriete(session, L"UserSID");
    std::vector<std::wstring> problemes = Examine(dossier, Acces::Genre::Dossier, installateur);
    WIN32_FIND_DATAW donnees;
    win32::PoigneeRecherche recherche(
        FindFirstFileExW((dossier + L"\\*").c_str(), FindExInfoBasic, &donnees, FindExSearchNameMatch, nullptr, 0));
    for (bool suite = static_cast<bool>(recherche); suite; suite = FindNextFileW(recherche.get(), &donnees)) {
        const std::wstring nom = donnees.cFileName;
        if (nom == L"." || nom == L"..") continue;
        const std::wstring chemin = dossier + L"\\" + nom;
        const bool sousDossier = donnees.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (sousDossier || !FichierDuDossier(nom)) problemes.push_back(chemin + L" : n'est pas un fichier de Tolvane");
        // The Users may write the record file's data (SESSION mode), and nothing more.
        const bool dernier = EgalSansCasse(nom, SchemaINI::NomFichierDernier);
        const std::vector<std::wstring> lignes =
            Examine(chemin, sousDossier ? Acces::Genre::Dossier : Acces::Genre::Fichier, installateur,
                    dernier ? Acces::EcritureDonnees : 0);
        problemes.insert(problemes.end(), lignes.begin(), lignes.end());
    }
    if (problemes.empty()) {
        Note(session, L"Tolvane : " + dossier + L" et ce qu'il contient n'appartiennent qu'aux administrateurs");
        return ERROR_SUCCESS;
    }
    Note(session, L"Tolvane : " + dossier +
                      L" existe déjà et un autre compte que les administrateurs peut y décider de ce que le compte "
                      L"système lancera ; installation refusée :");
    for (const std::wstring& p : problemes) Note(session, L"Tolvane :   " + p);
    return ERROR_INSTALL_FAILURE;
}
