// Compiled twice by tests/compilation/attend-echec.cmake: as it stands it must compile; with
// TOLVANE_MAUVAIS_GENRE a label is bound to a command button's row, and the binding's own check
// must stop the build.
#include "platform/Controles.h"
#include "ui/Dispositions.h"

namespace D = tolvane::Dispositions::Choix;

int main() {
#ifdef TOLVANE_MAUVAIS_GENRE
    tolvane::Label controle;
#else
    tolvane::CommandButton controle;
#endif
    const tolvane::Liaison liaison = tolvane::Lie<D::Cmd_OK>(controle);
    return liaison.ligne == D::Cmd_OK ? 0 : 1;
}
