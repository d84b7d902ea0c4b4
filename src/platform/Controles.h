// The controls the logic reads and writes. Each object holds the state (text, value, enabled…)
// and raises the events the windows handle. On Windows a native peer (an HWND) is attached and
// kept in step both ways; in unit tests there is no peer and the test plays the user by calling
// the same setters and events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Services.h"

namespace tolvane {

// The kinds of control a window's design can hold.
enum class Genre : std::uint8_t {
    CommandButton,
    CheckBox,
    Frame,
    Label,
    Line,
    FileListBox,
    OptionButton,
    TextBox,
};

// The native side of a control: told to redraw itself from the model after a program change.
class IPairControle {
public:
    virtual ~IPairControle() = default;
    virtual void Actualise() = 0;
};

class Controle {
public:
    Controle() = default;
    Controle(const Controle&) = delete;
    Controle& operator=(const Controle&) = delete;
    virtual ~Controle() = default;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool actif);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    void AttachePair(IPairControle* pair) { pair_ = pair; }

    // The kind of control this object is: a window checks it against its design table before
    // treating the object as that kind.
    virtual Genre GenreControle() const = 0;
    // Back to the designed state, after enabled and visible: `caption` is the caption or the
    // initial text, `coche` the designed value of a check box or option button.
    virtual void RetourAuDessin(const wchar_t* /*caption*/, bool /*coche*/) {}

    // A change that comes from the user through the peer: the peer already shows it, so it is
    // not told again. Used by the Windows layer around its calls into the model.
    class SaisieUtilisateur {
    public:
        explicit SaisieUtilisateur(Controle& c) : c_(c), avant_(c.depuisPair_) { c.depuisPair_ = true; }
        ~SaisieUtilisateur() { c_.depuisPair_ = avant_; }
        SaisieUtilisateur(const SaisieUtilisateur&) = delete;
        SaisieUtilisateur& operator=(const SaisieUtilisateur&) = delete;

    private:
        Controle& c_;
        bool avant_;
    };

protected:
    void Notifie();

private:
    bool enabled_ = true;
    bool visible_ = true;
    IPairControle* pair_ = nullptr;
    bool depuisPair_ = false;
};

// A control of kind G: the kind is known from the type, so a binding can check it when compiling.
template <Genre G>
class ControleDe : public Controle {
public:
    static constexpr Genre GenreDessin = G;
    Genre GenreControle() const final { return G; }
};

class TextBox : public ControleDe<Genre::TextBox> {
public:
    const std::wstring& Text() const { return texte_; }
    void SetText(const std::wstring& texte);
    void RetourAuDessin(const wchar_t* caption, bool) override { SetText(caption); }
    std::function<void()> LostFocus;

private:
    std::wstring texte_;
};

// A control whose only text is its caption.
template <Genre G>
class ControleAvecCaption : public ControleDe<G> {
public:
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& caption) {
        if (caption == caption_) return;
        caption_ = caption;
        this->Notifie();
    }
    void RetourAuDessin(const wchar_t* caption, bool) override { SetCaption(caption); }

private:
    std::wstring caption_;
};

class Label : public ControleAvecCaption<Genre::Label> {};

class CommandButton : public ControleDe<Genre::CommandButton> {
public:
    std::function<void()> Click;
    // What a user's press does: raises Click when the button is enabled.
    void Presse();
};

// Value 0 unchecked, 1 checked, 2 greyed. Click is raised whenever the value changes, by the
// user or by the program.
class CheckBox : public ControleDe<Genre::CheckBox> {
public:
    static constexpr int vbUnchecked = 0;
    static constexpr int vbChecked = 1;
    static constexpr int vbGrayed = 2;

    int Value() const { return valeur_; }
    // Values outside 0..2 are refused (false) and leave the box as it was.
    bool SetValue(int valeur);
    void RetourAuDessin(const wchar_t*, bool coche) override { SetValue(coche ? vbChecked : vbUnchecked); }
    std::function<void()> Click;

private:
    int valeur_ = vbUnchecked;
};

class OptionButton;

// The option buttons of one frame: selecting one clears the others.
class GroupeOptions {
public:
    void Ajoute(OptionButton& bouton) { boutons_.push_back(&bouton); }
    void Selectionne(OptionButton& bouton);

private:
    std::vector<OptionButton*> boutons_;
};

class OptionButton : public ControleDe<Genre::OptionButton> {
public:
    explicit OptionButton(GroupeOptions& groupe) : groupe_(groupe) { groupe.Ajoute(*this); }
    bool Value() const { return selectionne_; }
    // Selecting clears the other buttons of the group; clearing touches only this one.
    void SetValue(bool selectionne);
    void RetourAuDessin(const wchar_t*, bool coche) override { SetValue(coche); }

private:
    friend class GroupeOptions;
    void Pose(bool selectionne);
    GroupeOptions& groupe_;
    bool selectionne_ = false;
};

// A frame's enabled state applies to the controls inside it (the window's table says which).
class Frame : public ControleAvecCaption<Genre::Frame> {};

class Line : public ControleDe<Genre::Line> {};

// The files of one directory matching a wildcard pattern. Setting the directory or the pattern
// recomputes the entries; the listing itself waits until the entries are first needed, so that
// setting the directory and then the pattern lists the directory once.
class FileListBox : public ControleDe<Genre::FileListBox> {
public:
    explicit FileListBox(IListeurRepertoire& listeur) : listeur_(listeur) {}

    const std::wstring& Path() const { return repertoire_; }
    void SetPath(const std::wstring& repertoire);
    const std::wstring& Pattern() const { return motif_; }
    void SetPattern(const std::wstring& motif);

    int ListCount();
    std::wstring List(int index);
    // 0 when the directory was listed (even if nothing matched), else the Windows error that
    // kept it from being listed.
    unsigned long Erreur();
    // Lists the directory again when the entries are next needed.
    void Refresh() { Perime(); }
    // Index of the selected entry, -1 when none.
    int ListIndex();
    void SetListIndex(int index);
    bool Selected(int index);
    void SetSelected(int index, bool selectionne);
    const std::vector<std::wstring>& Entrees();
    // No directory, every file: nothing is listed until the window sets a directory.
    void RetourAuDessin(const wchar_t*, bool) override {
        SetPath(L"");
        SetPattern(L"*.*");
    }

    std::function<void()> DblClick;

private:
    void Perime();
    IListeurRepertoire& listeur_;
    std::wstring repertoire_;
    std::wstring motif_ = L"*.*";
    std::vector<std::wstring> entrees_;
    unsigned long erreur_ = 0;
    bool aJour_ = true;  // an empty directory name lists nothing
    int selection_ = -1;
};

}  // namespace tolvane
