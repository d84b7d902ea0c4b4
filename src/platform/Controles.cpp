#include "Controles.h"

namespace tolvane {

void Controle::Notifie() {
    if (pair_ && !depuisPair_) pair_->Actualise();
}

void Controle::SetEnabled(bool actif) {
    if (actif == enabled_) return;
    enabled_ = actif;
    Notifie();
}

void Controle::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Notifie();
}

void TextBox::SetText(const std::wstring& texte) {
    if (texte == texte_) return;
    texte_ = texte;
    Notifie();
}

void CommandButton::Presse() {
    if (Enabled() && Click) Click();
}

bool CheckBox::SetValue(int valeur) {
    if (valeur < vbUnchecked || valeur > vbGrayed) return false;
    if (valeur == valeur_) return true;
    valeur_ = valeur;
    Notifie();
    if (Click) Click();
    return true;
}

void GroupeOptions::Selectionne(OptionButton& bouton) {
    for (OptionButton* b : boutons_) b->Pose(b == &bouton);
}

void OptionButton::Pose(bool selectionne) {
    if (selectionne == selectionne_) return;
    selectionne_ = selectionne;
    Notifie();
}

void OptionButton::SetValue(bool selectionne) {
    if (selectionne)
        groupe_.Selectionne(*this);
    else
        Pose(false);
}

void FileListBox::Perime() {
    aJour_ = repertoire_.empty();
    entrees_.clear();
    erreur_ = 0;
    selection_ = -1;
    Notifie();
}

void FileListBox::SetPath(const std::wstring& repertoire) {
    repertoire_ = repertoire;
    Perime();
}

void FileListBox::SetPattern(const std::wstring& motif) {
    motif_ = motif;
    Perime();
}

const std::vector<std::wstring>& FileListBox::Entrees() {
    if (!aJour_) {
        entrees_.clear();
        erreur_ = listeur_.Liste(repertoire_, motif_, entrees_);
        aJour_ = true;
    }
    return entrees_;
}

unsigned long FileListBox::Erreur() {
    Entrees();
    return erreur_;
}

int FileListBox::ListCount() { return static_cast<int>(Entrees().size()); }

std::wstring FileListBox::List(int index) {
    const auto& e = Entrees();
    if (index < 0 || index >= static_cast<int>(e.size())) return {};
    return e[static_cast<std::size_t>(index)];
}

int FileListBox::ListIndex() {
    Entrees();
    return selection_;
}

void FileListBox::SetListIndex(int index) {
    const int n = ListCount();
    const int nouvelle = (index >= 0 && index < n) ? index : -1;
    if (nouvelle == selection_) return;
    selection_ = nouvelle;
    Notifie();
}

bool FileListBox::Selected(int index) { return index >= 0 && ListIndex() == index; }

void FileListBox::SetSelected(int index, bool selectionne) {
    if (selectionne)
        SetListIndex(index);
    else if (Selected(index))
        SetListIndex(-1);
}

}  // namespace tolvane
