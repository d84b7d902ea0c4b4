#include "Fenetre.h"

#include <cassert>

namespace tolvane {

Fenetre::Fenetre(const DescriptionFenetre& description, std::vector<Controle*> controles)
    : description_(description), controles_(std::move(controles)) {
    assert(controles_.size() == description_.controles.size());
}

void Fenetre::SetCaption(const std::wstring& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    if (pair_) pair_->ActualiseCaption();
}

void Fenetre::Charge() {
    // Frames learn their children here rather than in the constructor: a derived window's
    // controls do not exist yet while this base is being built.
    if (!enfantsConnus_) {
        for (std::size_t i = 0; i < controles_.size(); ++i) {
            const int parent = description_.controles[i].parent;
            if (parent >= 0)
                static_cast<Frame*>(controles_[static_cast<std::size_t>(parent)])->AjouteEnfant(*controles_[i]);
        }
        enfantsConnus_ = true;
    }
    caption_ = description_.caption;
    for (std::size_t i = 0; i < controles_.size(); ++i) {
        const DescriptionControle& d = description_.controles[i];
        Controle& c = *controles_[i];
        c.SetEnabled(true);
        c.SetVisible((d.style & Cache) == 0);
        const bool coche = (d.style & Coche) != 0;
        switch (d.genre) {
        case Genre::TextBox: static_cast<TextBox&>(c).SetText(d.caption); break;
        case Genre::Label: static_cast<Label&>(c).SetCaption(d.caption); break;
        case Genre::Frame: static_cast<Frame&>(c).SetCaption(d.caption); break;
        case Genre::CheckBox:
            static_cast<CheckBox&>(c).SetValue(coche ? CheckBox::vbChecked : CheckBox::vbUnchecked);
            break;
        case Genre::OptionButton: static_cast<OptionButton&>(c).SetValue(coche); break;
        case Genre::FileListBox: {
            auto& liste = static_cast<FileListBox&>(c);
            liste.SetPath(L"");
            liste.SetPattern(L"*.*");
            break;
        }
        case Genre::CommandButton:
        case Genre::Line: break;
        }
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
