// Every Win32 service in one object, which fills the Services handed to the logic.
#pragma once

#include <windows.h>

#include "HoteFenetresWin32.h"
#include "ServicesWin32.h"

namespace tolvane::win32 {

class PlateformeWin32 {
public:
    explicit PlateformeWin32(HINSTANCE instance = GetModuleHandleW(nullptr));
    PlateformeWin32(const PlateformeWin32&) = delete;
    PlateformeWin32& operator=(const PlateformeWin32&) = delete;

    Services& services() { return services_; }
    HoteFenetresWin32& hote() { return hote_; }

private:
    ListeurWin32 listeur_;
    SourceFichiersWin32 fichiers_;
    EcrivainProfilWin32 profil_;
    HoteFenetresWin32 hote_;
    LanceurWin32 lanceur_;
    VerrouReglagesWin32 verrou_;
    VerrouReglagesWin32 verrouPoste_;
    BoitesMessageWin32 messages_;
    ProcessusWin32 processus_;
    JournalEvenementsWin32 journal_;
    HorlogeWin32 horloge_;
    AleatoireWin32 aleatoire_;
    Services services_;
};

}  // namespace tolvane::win32
