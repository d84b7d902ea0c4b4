// The launcher where nobody can see it: started on the desktop of a window station that is not
// visible, as a task at machine start runs unseen, it shows nothing and ends by itself.
#include "SansEcran.h"

using namespace pilote;

namespace e2e {
namespace {

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
