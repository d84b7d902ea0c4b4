// A fixture that starts one of the two programs on the fakes, as its entry point would: the
// settings written from `reglages`, then the main window loaded.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Exemple.h"
#include "Faux.h"
#include "platform/PageCode.h"
#include "ui/Frm_principale.h"

namespace tolvane::test {

// An event as a failure shows it: its code and its strings.
inline void PrintTo(const EvenementVu& e, std::ostream* os) {
    *os << static_cast<int>(e.evenement) << ' ' << testing::PrintToString(e.chaines);
}

class AvecProgramme : public ::testing::Test {
protected:
    Banc banc;
    Reglages reglages;
    std::unique_ptr<Frm_principale> frm;

    // Runs the program's start; for the configuration build, then `avantEssai` and "Essai".
    // True when the process ended.
    bool Demarre(bool modeAuto, const std::function<void(Frm_principale&)>& avantEssai = {}) {
        banc.EcritINI(reglages.Fichier());
        return Redemarre(modeAuto, avantEssai);
    }
    // The same on the settings file as the last run left it.
    bool Redemarre(bool modeAuto, const std::function<void(Frm_principale&)>& avantEssai = {}) {
        frm = std::make_unique<Frm_principale>(banc.services, modeAuto);
        try {
            frm->Charge();
            if (!modeAuto) {
                if (avantEssai) avantEssai(*frm);
                frm->Cmd_OK.Presse();
            }
        } catch (const FinDuProcessus&) {
            return true;
        }
        return false;
    }
    // The launched name the settings file records, as the reader would read it.
    std::wstring NomFich() {
        std::wstring v = L"<absent>";
        const std::string f = banc.LitINI();
        const auto p = f.find("Nom_Fich=");
        if (p != std::string::npos) v = DepuisPageCode(f.substr(p + 9, f.find("\r\n", p) - p - 9));
        return v;
    }
};

// The usual run: the updates in D:\\Maj on a drive that is there, maj1.exe the last launched.
class AvecMaj : public AvecProgramme {
protected:
    AvecMaj() {
        banc.fso.lecteurs[L"D:"] = true;
        reglages.nomFich = L"maj1.exe";
    }
};

}  // namespace tolvane::test
