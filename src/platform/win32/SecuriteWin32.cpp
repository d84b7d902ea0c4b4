#include "SecuriteWin32.h"

#include <aclapi.h>
#include <sddl.h>

#include "Poignees.h"

namespace tolvane::win32 {

std::wstring TexteSid(PSID sid) {
    MemoireLocale<wchar_t> texte;
    if (!sid || !ConvertSidToStringSidW(sid, texte.put())) return {};
    return texte.get();
}

std::optional<Acces::Objet> LitSecurite(HANDLE objet, const std::wstring& chemin, Acces::Genre genre, DWORD& erreur) {
    PSID proprietaire = nullptr;
    PACL liste = nullptr;
    MemoireLocale<void> descripteur;
    erreur = GetSecurityInfo(objet, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                             &proprietaire, nullptr, &liste, nullptr, descripteur.put());
    if (erreur != ERROR_SUCCESS) return std::nullopt;
    Acces::Objet o{chemin, genre, TexteSid(proprietaire), liste != nullptr, {}};
    for (DWORD i = 0; liste && i < liste->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(liste, i, &ace)) continue;
        const auto* entete = static_cast<const ACE_HEADER*>(ace);
        // Allow and deny entries, plain or conditional (callback), share one layout: the mask,
        // then the SID. Object entries (directory services) and audit entries are not for files.
        bool autorise = false;
        switch (entete->AceType) {
        case ACCESS_ALLOWED_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_ACE_TYPE: autorise = true; break;
        case ACCESS_DENIED_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_ACE_TYPE: break;
        default: continue;
        }
        const auto* entree = static_cast<const ACCESS_ALLOWED_ACE*>(ace);
        o.entrees.push_back(
            {TexteSid(const_cast<DWORD*>(&entree->SidStart)), entree->Mask, autorise, entete->AceFlags});
    }
    return o;
}

}  // namespace tolvane::win32
