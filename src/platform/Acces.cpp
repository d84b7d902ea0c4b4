#include "platform/Acces.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

namespace tolvane::Acces {

std::uint32_t DroitsQuiComptent(Genre genre) {
    const std::uint32_t communs =
        Suppression | EcritureListe | EcritureProprietaire | ToutGenerique | EcritureGenerique;
    // A folder's write and append rights add a file and a subfolder; deleting a child lets a
    // file be replaced even where the file itself refuses it.
    return communs | EcritureDonnees | AjoutDonnees | (genre == Genre::Dossier ? SuppressionEnfant : 0);
}

std::vector<Infraction> Infractions(const Objet& objet, const std::function<bool(const std::wstring&)>& suspect,
                                    bool sansHerites) {
    std::vector<Infraction> infractions;
    if (suspect(objet.proprietaire)) infractions.push_back({objet.chemin, objet.proprietaire, 0});
    const std::uint32_t droits = DroitsQuiComptent(objet.genre);
    if (!objet.listePresente) {
        infractions.push_back({objet.chemin, SidToutLeMonde, droits});
        return infractions;
    }
    for (const Entree& e : objet.entrees) {
        if (!e.autorise || (e.drapeaux & HeriteSeulement) || e.sid == SidCreateurProprietaire) continue;
        if (sansHerites && (e.drapeaux & Herite)) continue;
        if ((e.masque & droits) && suspect(e.sid)) infractions.push_back({objet.chemin, e.sid, e.masque & droits});
    }
    return infractions;
}

bool HorsAdministrateurs(const std::wstring& sid, const std::wstring& installateur) {
    for (const wchar_t* confiance : {SidSysteme, SidAdministrateurs, SidTrustedInstaller})
        if (sid == confiance) return false;
    return installateur.empty() || sid != installateur;
}

bool GroupeLarge(const std::wstring& sid) {
    for (const wchar_t* large : {SidToutLeMonde, L"S-1-5-11", SidUtilisateurs, L"S-1-5-4", L"S-1-5-2", L"S-1-5-7",
                                 L"S-1-5-15", L"S-1-5-32-546"})
        if (sid == large) return true;
    // S-1-5-21-a-b-c-RID: three sub-authorities name the domain, the last one the group.
    constexpr std::wstring_view domaine = L"S-1-5-21-";
    if (sid.compare(0, domaine.size(), domaine) != 0) return false;
    if (std::count(sid.begin() + domaine.size(), sid.end(), L'-') != 3) return false;
    const std::wstring rid = sid.substr(sid.rfind(L'-') + 1);
    return rid == L"513" || rid == L"514" || rid == L"515";
}

std::wstring Decrit(const Infraction& infraction) {
    std::wstring texte = infraction.chemin + L" : " + infraction.sid;
    if (infraction.droits == 0) return texte + L" en est propriétaire";
    static constexpr struct {
        std::uint32_t droit;
        const wchar_t* nom;
    } noms[] = {{EcritureDonnees, L"écrire"},
                {AjoutDonnees, L"ajouter"},
                {SuppressionEnfant, L"supprimer ce qu'il contient"},
                {Suppression, L"supprimer"},
                {EcritureListe, L"changer les droits"},
                {EcritureProprietaire, L"changer le propriétaire"},
                {ToutGenerique, L"tout faire"},
                {EcritureGenerique, L"écrire"}};
    texte += L" peut ";
    bool premier = true;
    std::uint32_t dits = 0;
    for (const auto& n : noms) {
        // GENERIC_WRITE says "écrire" once with FILE_WRITE_DATA.
        if (!(infraction.droits & n.droit) || (n.droit == EcritureGenerique && (dits & EcritureDonnees))) continue;
        texte += (premier ? L"" : L", ") + std::wstring(n.nom);
        premier = false;
        dits |= n.droit;
    }
    return texte;
}

}  // namespace tolvane::Acces
