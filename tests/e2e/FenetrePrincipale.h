// The main window of Tolvane.exe opened on a stored directory holding two executables, for the
// tests of its keys, its controls and its layout.
#pragma once

#include "Commun.h"

namespace e2e {

using namespace pilote;

inline int IdFocus(HWND f) {
    HWND h = Focus(f);
    return h ? GetDlgCtrlID(h) : 0;
}

class FenetrePrincipale : public TestE2E {
protected:
    // Maj\ holds two executables and is the stored directory, so that leaving the directory
    // box passes the check unless a test types something else.
    void SetUp() override {
        TestE2E::SetUp();
        AjouteSonde(L"Maj\\a.exe");
        AjouteSonde(L"Maj\\b.exe");
        reglages_.chemin = Maj();
        reglages_.option = L"Verifier_lancer";
        reglages_.activee = L"1";
        reglages_.titre = L"Mise à jour";
        reglages_.instructions = L"Fermez vos applications";
    }

    // Starts Tolvane.exe on reglages_ and returns its main window, shown without any box.
    HWND Ouvre() {
        EcritIni(reglages_.Ini());
        const Processus& p = Lance(Build::Configuration);
        pid_ = p.Pid();
        processus_ = &p;
        std::vector<Boite> boites;
        HWND f = FenetrePrincipaleApresBoites(p, boites);
        EXPECT_TRUE(boites.empty()) << boites.size() << " boîte(s), la première : " << boites[0].titre << " / "
                                    << boites[0].texte;
        return f;
    }

    // In front, with the focus where the window puts it when activated.
    bool AuPremierPlan(HWND f) {
        return MetAuPremierPlan(f) && AttendQue([&] { return Focus(f) != nullptr; }, 2000);
    }

    // Replaces the text of the focused box by real key presses.
    bool RemplaceTexteClavier(HWND boite, const std::wstring& texte) {
        Demande(boite, EM_SETSEL, 0, -1);
        if (!Touche(VK_BACK) || (!texte.empty() && !TapeClavier(texte))) return false;
        return AttendQue([&] { return Texte(boite) == texte; }, 2000);
    }

    // Presses Tab (or Shift+Tab) and returns the ID that has the focus once it has moved.
    int Tabule(HWND f, bool arriere = false) {
        const int avant = IdFocus(f);
        Touche(VK_TAB, arriere);
        int apres = avant;
        AttendQue([&] { return (apres = IdFocus(f)) != avant; }, 2000);
        return apres;
    }

    Reglages reglages_;
    DWORD pid_ = 0;
    const Processus* processus_ = nullptr;
};

}  // namespace e2e
