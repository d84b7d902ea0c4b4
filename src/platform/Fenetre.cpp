#include "Fenetre.h"

#include <stdexcept>

namespace tolvane {

Fenetre::Fenetre(const DescriptionFenetre& description, std::initializer_list<Liaison> liaisons)
    : description_(description), controles_(description.controles.size(), nullptr) {
    for (const Liaison& l : liaisons) {
        if (l.table != description_.controles.data() || l.ligne >= controles_.size())
            throw std::logic_error("a binding names a row of another window");
        if (controles_[l.ligne]) throw std::logic_error("a row of the window is bound twice");
        controles_[l.ligne] = l.controle;
    }
    for (const Controle* c : controles_)
        if (!c) throw std::logic_error("a row of the window is bound to no control");
}

void Fenetre::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (pair_) pair_->ActualiseCaption();
}

void Fenetre::Charge() {
    caption_ = description_.caption;
    for (std::size_t i = 0; i < controles_.size(); ++i) {
        const DescriptionControle& d = description_.controles[i];
        Controle& c = *controles_[i];
        c.SetEnabled(true);
        c.SetVisible((d.style & Cache) == 0);
        c.RetourAuDessin(d.caption, (d.style & Coche) != 0);
    }
    chargee_ = true;
    Form_Load();
}

void Fenetre::Unload() {
    if (!chargee_) return;
    chargee_ = false;
    if (pair_) pair_->Decharge();
}

}  // namespace tolvane
