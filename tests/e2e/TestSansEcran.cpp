// The launcher where nobody can see it: started on the desktop of a window station that is not
// visible, as a task at machine start runs unseen, it shows nothing and ends by itself.
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

class SansEcran : public TestE2E {
protected:
    // A window station made without WSF_VISIBLE, and its desktop: once per run.
    static const std::wstring& Bureau() {
        static const std::wstring nom = [] {
            HWINSTA station = CreateWindowStationW(L"TolvaneSansEcran", 0, WINSTA_ALL_ACCESS, nullptr);
            HWINSTA notre = GetProcessWindowStation();
            if (!station || !SetProcessWindowStation(station)) return std::wstring();
            CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
            SetProcessWindowStation(notre);
            return std::wstring(L"TolvaneSansEcran\\Default");
        }();
        return nom;
    }
    // The launcher there, which must end within seconds: a window or a box would wait for ever.
    void LanceSansEcran() {
        ASSERT_FALSE(Bureau().empty()) << "station invisible impossible à créer";
        const Processus& p = Lance(Build::Lanceur, {}, Bureau());
        ASSERT_TRUE(p.Valide());
        EXPECT_EQ(p.AttendFin(), std::optional<DWORD>(0)) << "le lanceur attend quelqu'un";
    }
};

TEST_F(SansEcran, IndicationsActiveesLanceEtNoteSansLesMontrer) {
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r;
    r.chemin = Maj();
    r.activee = L"1";
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_EQ(AttendLignesSonde(1).size(), 1u);
    Reglages apres = r;
    apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

TEST_F(SansEcran, DeuxExecutablesRienNEstLance) {
    AjouteSonde(L"Maj\\a.exe");
    AjouteSonde(L"Maj\\b.exe");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_TRUE(SansLancement());
    EXPECT_EQ(Ini(), r.Ini());
}

TEST_F(SansEcran, SansFichierDeParametres) {
    LanceSansEcran();
    EXPECT_FALSE(Ini().has_value());
}

TEST_F(SansEcran, RepertoireVide) {
    Dossier().CreeDossier(L"Maj");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_EQ(Ini(), r.Ini());
}

}  // namespace
}  // namespace e2e
