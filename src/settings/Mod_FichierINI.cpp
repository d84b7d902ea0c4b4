#include "settings/Mod_FichierINI.h"

#include "platform/FichierTexte.h"
#include "platform/Texte.h"

namespace tolvane::Mod_FichierINI {

namespace {
// At most `n` characters from the 0-based `debut`, clipped to the line: a short line simply
// does not match.
std::wstring_view Extrait(std::wstring_view ligne, std::size_t debut, std::size_t n) {
    if (debut >= ligne.size()) return {};
    return ligne.substr(debut, n);
}
}  // namespace

bool LitDansINI(Services& services, const std::wstring& Section, const std::wstring& Cle, std::wstring& Valeur,
                const std::wstring& Fichier) {
    if (!services.FSO().FileExists(Fichier)) {
        services.messages->MsgBox(L"Le fichier '" + Fichier +
                                      L"' n'existe pas, veuillez verifier le chemin avant "
                                      L"d'appeler LitDansINI !!!",
                                  vbInformation, L"Merci !!!");
        return false;
    }
    auto fichier = FichierTexte::Ouvre(*services.fichiers, Fichier);
    if (!fichier) return false;

    // The section name is compared from the second character on, over its own length: the
    // opening bracket is not examined and the closing one not required.
    bool trouve = false;
    while (!fichier->FinDeFichier() && !trouve) {
        const std::wstring ligne = fichier->LineInput();
        trouve = Extrait(ligne, 1, Section.size()) == Section;
    }
    if (!trouve) return false;

    // The "[" test looks at the line read in the previous pass, so the next header is read and
    // then ends the search.
    trouve = false;
    std::wstring ligne;
    while ((ligne.empty() || ligne[0] != L'[') && !fichier->FinDeFichier() && !trouve) {
        ligne = fichier->LineInput();
        if (Extrait(ligne, 0, Cle.size()) == Cle) {
            Valeur = Extrait(ligne, Cle.size() + 1, std::wstring_view::npos);
            trouve = true;
        }
    }
    return trouve;
}

bool EcritDansINI(Services& services, const std::wstring& Section, const std::wstring& Cle, const std::wstring& Valeur,
                  const std::wstring& Fichier) {
    return services.profil->WritePrivateProfileString(Section, Cle, SurUneLigne(Valeur), Fichier);
}

}  // namespace tolvane::Mod_FichierINI
