#include "PlateformeWin32.h"

namespace tolvane::win32 {

PlateformeWin32::PlateformeWin32(HINSTANCE instance)
    : hote_(instance, [this] { return services_.AvantFenetrePrincipale(); }),
      lanceur_([this] { return hote_.FenetreCourante(); }, [this] { return services_.PersonneALEcran(); }),
      verrou_([this] { return hote_.FenetreCourante(); }),
      verrouPoste_([this] { return hote_.FenetreCourante(); }, true),
      messages_([this] { return hote_.FenetreCourante(); }, [this] { return services_.AvantFenetrePrincipale(); }) {
    services_.CreeSystemeFichiers = [] { return std::make_unique<SystemeFichiersWin32>(); };
    services_.listeur = &listeur_;
    services_.fichiers = &fichiers_;
    services_.profil = &profil_;
    services_.lanceur = &lanceur_;
    services_.messages = &messages_;
    services_.processus = &processus_;
    services_.fenetres = &hote_;
    services_.journal = &journal_;
    services_.verrou = &verrou_;
    services_.verrouPoste = &verrouPoste_;
    services_.horloge = &horloge_;
    services_.aleatoire = &aleatoire_;
}

}  // namespace tolvane::win32
