#include "launcher/Mod_principal.h"

#include "launcher/Textes.h"
#include "platform/PageCode.h"
#include "platform/Texte.h"
#include "settings/SchemaINI.h"

namespace tolvane::Mod_principal {

std::wstring CheminFichierDernier() {
    return CheminFichierINI.substr(0, CheminFichierINI.size() - NomFichierINI.size()) + SchemaINI::NomFichierDernier;
}

bool EstDernierFichier(const std::wstring& Fichier) {
    // A file in UTF-8 or UTF-16 holds the name as it is; one in the code page holds '?' for a
    // letter the code page lacks. No file name holds a '?', so the second form matches only
    // such a stored name.
    return EgalSansCasse(Fichier, DernierFichier) || EgalSansCasse(ParLaPageCode(Fichier), DernierFichier);
}

bool VerifieChemin(Services& services, const std::wstring& CheminChoisi) {
    ISystemeFichiers& fso = services.FSO();
    const std::wstring lecteur = fso.GetDriveName(CheminChoisi);
    if (!fso.DriveExists(lecteur)) {
        services.MsgBox(Textes::LecteurAbsent, vbInformation, Textes::TitreEnfin);
        return false;
    }
    if (!fso.IsReady(lecteur)) {
        services.MsgBox(Textes::LecteurPasPret, vbInformation, Textes::TitreEnfin);
        return false;
    }
    if (fso.FolderExists(CheminChoisi)) return true;
    services.MsgBox(Textes::CheminAbsent, vbInformation, Textes::TitreEnfin);
    return false;
}

}  // namespace tolvane::Mod_principal
