// The launcher's events and the message table that windmc compiles from Evenements.mc, kept in
// step: an event whose code is not its text's would show the administrator another event's
// words. Both are visible only here.
#include <windows.h>

#include "Evenements.h"
#include "launcher/Evenement.h"

#define TOLVANE_MEME_CODE(evenement, symbole)                                   \
    static_assert(static_cast<DWORD>(tolvane::Evenement::evenement) == symbole, \
                  #evenement " is not " #symbole " of Evenements.mc")

TOLVANE_MEME_CODE(Lance, TOLVANE_EV_LANCE);
TOLVANE_MEME_CODE(LanceApresElevation, TOLVANE_EV_LANCE_APRES_ELEVATION);
TOLVANE_MEME_CODE(NomInchange, TOLVANE_EV_NOM_INCHANGE);
TOLVANE_MEME_CODE(AucunExecutable, TOLVANE_EV_AUCUN_EXECUTABLE);
TOLVANE_MEME_CODE(RepertoireInaccessible, TOLVANE_EV_REPERTOIRE_INACCESSIBLE);
TOLVANE_MEME_CODE(EchecLancement, TOLVANE_EV_ECHEC_LANCEMENT);
TOLVANE_MEME_CODE(ChoixAnnule, TOLVANE_EV_CHOIX_ANNULE);
TOLVANE_MEME_CODE(FichierINIAbsent, TOLVANE_EV_FICHIER_INI_ABSENT);
TOLVANE_MEME_CODE(NomNonNote, TOLVANE_EV_NOM_NON_NOTE);
TOLVANE_MEME_CODE(RepertoireIllisible, TOLVANE_EV_REPERTOIRE_ILLISIBLE);
TOLVANE_MEME_CODE(VerrouOccupe, TOLVANE_EV_VERROU_OCCUPE);
TOLVANE_MEME_CODE(SansVerrou, TOLVANE_EV_SANS_VERROU);
TOLVANE_MEME_CODE(LanceSansInstructions, TOLVANE_EV_LANCE_SANS_INSTRUCTIONS);
TOLVANE_MEME_CODE(PlusieursExecutables, TOLVANE_EV_PLUSIEURS_EXECUTABLES);
TOLVANE_MEME_CODE(LettreSansSession, TOLVANE_EV_LETTRE_SANS_SESSION);
TOLVANE_MEME_CODE(MiseAJourRefusee, TOLVANE_EV_MISE_A_JOUR_REFUSEE);
TOLVANE_MEME_CODE(DossierModifiable, TOLVANE_EV_DOSSIER_MODIFIABLE);
TOLVANE_MEME_CODE(LanceDossierModifiable, TOLVANE_EV_LANCE_DOSSIER_MODIFIABLE);
TOLVANE_MEME_CODE(EditeursInvalides, TOLVANE_EV_EDITEURS_INVALIDES);
TOLVANE_MEME_CODE(Reussie, TOLVANE_EV_REUSSIE);
TOLVANE_MEME_CODE(RedemarrageNecessaire, TOLVANE_EV_REDEMARRAGE_NECESSAIRE);
TOLVANE_MEME_CODE(RedemarreeParElle, TOLVANE_EV_REDEMARREE_PAR_ELLE);
TOLVANE_MEME_CODE(EchecMiseAJour, TOLVANE_EV_ECHEC_MISE_A_JOUR);
TOLVANE_MEME_CODE(DureeDepassee, TOLVANE_EV_DUREE_DEPASSEE);
TOLVANE_MEME_CODE(Abandonnee, TOLVANE_EV_ABANDONNEE);
TOLVANE_MEME_CODE(AutreInstallation, TOLVANE_EV_AUTRE_INSTALLATION);
TOLVANE_MEME_CODE(ValeurHorsBornes, TOLVANE_EV_VALEUR_HORS_BORNES);
