#include "settings/Mod_FichierINI.h"

#include "platform/EditionINI.h"
#include "platform/FichierTexte.h"
#include "platform/Texte.h"

namespace tolvane::Mod_FichierINI {

namespace {
constexpr unsigned IntervalleOuvertureMs = 250;
constexpr std::uint64_t AttenteOuvertureMs = 2000;

// Errors of a file that will open in a moment: an antivirus scanning it at logon, a cloud
// file whose provider has not started yet.
bool OccupePourUnInstant(unsigned long erreur) {
    switch (erreur) {
    case 32:   // ERROR_SHARING_VIOLATION
    case 33:   // ERROR_LOCK_VIOLATION
    case 362:  // ERROR_CLOUD_FILE_PROVIDER_NOT_RUNNING
    case 388:  // ERROR_CLOUD_FILE_NETWORK_UNAVAILABLE
    case 391:  // ERROR_CLOUD_FILE_IN_USE
    case 426:  // ERROR_CLOUD_FILE_REQUEST_TIMEOUT
        return true;
    default: return false;
    }
}

// The file opened, retried for about two seconds while it is only busy: once per run.
std::optional<FichierTexte> OuvreQuandLibre(Services& services, const std::wstring& chemin) {
    auto fichier = FichierTexte::Ouvre(*services.fichiers, chemin);
    if (fichier || !services.horloge || services.attenteOuvertureEpuisee) return fichier;
    IHorloge& horloge = *services.horloge;
    const std::uint64_t debut = horloge.Millisecondes();
    while (!fichier && OccupePourUnInstant(services.fichiers->DerniereErreur()) &&
           horloge.Millisecondes() - debut < AttenteOuvertureMs) {
        horloge.Attend(IntervalleOuvertureMs);
        fichier = FichierTexte::Ouvre(*services.fichiers, chemin);
    }
    services.attenteOuvertureEpuisee = !fichier;
    return fichier;
}

// Finds `Cle` in `Section`, as the reader does; `valeur` is left as it was when it is not there.
bool Cherche(FichierTexte& fichier, const std::wstring& Section, const std::wstring& Cle, std::wstring& valeur) {
    // The section name is compared from the second character on, over its own length: the
    // opening bracket is not examined and the closing one not required.
    bool trouve = false;
    while (!fichier.FinDeFichier() && !trouve) {
        const std::wstring ligne = fichier.LineInput();
        trouve = EditionINI::EstEnTete(ligne, Section);
    }
    if (!trouve) return false;

    // The "[" test looks at the line read in the previous pass, so the next header is read and
    // then ends the search.
    trouve = false;
    std::wstring ligne;
    while (!EditionINI::FinitSection(ligne) && !fichier.FinDeFichier() && !trouve) {
        ligne = fichier.LineInput();
        if (EditionINI::EstLigneCle(ligne, Cle)) {
            valeur = Cle.size() + 1 < ligne.size() ? ligne.substr(Cle.size() + 1) : std::wstring();
            trouve = true;
        }
    }
    return trouve;
}

}  // namespace

bool LitDansINI(Services& services, const std::wstring& Section, const std::wstring& Cle, std::wstring& Valeur,
                const std::wstring& Fichier) {
    if (!services.FSO().FileExists(Fichier)) {
        services.MsgBox(L"Le fichier '" + Fichier +
                            L"' n'existe pas, veuillez verifier le chemin avant "
                            L"d'appeler LitDansINI !!!",
                        vbInformation, L"Merci !!!");
        return false;
    }
    auto fichier = OuvreQuandLibre(services, Fichier);
    return fichier && Cherche(*fichier, Section, Cle, Valeur);
}

std::optional<std::wstring> LitFacultatif(Services& services, const std::wstring& Section, const std::wstring& Cle,
                                          const std::wstring& Fichier) {
    auto fichier = OuvreQuandLibre(services, Fichier);
    if (!fichier) return std::nullopt;
    std::wstring valeur;
    Cherche(*fichier, Section, Cle, valeur);
    return valeur;
}

bool EcritDansINI(Services& services, const std::wstring& Section, const std::wstring& Cle, const std::wstring& Valeur,
                  const std::wstring& Fichier, bool surPlace) {
    if (surPlace) return services.profil->EcritSurPlace(Section, Cle, SurUneLigne(Valeur), Fichier);
    return services.profil->WritePrivateProfileString(Section, Cle, SurUneLigne(Valeur), Fichier);
}

}  // namespace tolvane::Mod_FichierINI
