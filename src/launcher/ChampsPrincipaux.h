// The fields of the main window: the only in-memory settings. The logic reads and writes these
// controls; the main window (ui) lays them out and binds their events.
#pragma once

#include "platform/Controles.h"

namespace tolvane {

struct ChampsPrincipaux {
    explicit ChampsPrincipaux(IListeurRepertoire& listeur) : Flb_file(listeur) {}

    TextBox TXT_Chemin;
    FileListBox Flb_file;
    GroupeOptions GroupeMode;
    // (0) "Lancer l'exécutable à chaque démarrage", (1) "Ne le lancer que si le nom change".
    OptionButton Opt_Mode[2]{OptionButton{GroupeMode}, OptionButton{GroupeMode}};
    // Hidden carrier: the stored option text, then the stored last name, then the chosen name.
    TextBox Txt_Texte;
    CheckBox Chk_Instructions;
    TextBox Txt_Titre;
    TextBox Txt_instructions;
    Label Label3;
};

// The windows the launch needs, which live in the layer above.
class IFenetresLancement {
public:
    virtual ~IFenetresLancement() = default;
    // Frm_Choix, modal: leaves the chosen name in Txt_Texte and sets ChoixAnnule.
    virtual void AfficheChoix() = 0;
    // Frm_Instructions, modal.
    virtual void AfficheInstructions() = 0;
};

}  // namespace tolvane
