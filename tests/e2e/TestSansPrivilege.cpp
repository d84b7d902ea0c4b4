// Refused writes. As root, Wine writes read-only files anyway, so ctest runs these cases apart
// (test e2e_sans_privilege, tests/e2e/sans-privilege.sh): the Wine server and this program are
// restarted without root's file override, and TOLVANE_E2E_SANS_PRIVILEGE=1 is set. Run by hand
// with the override still in force, they are skipped.
#include <cstdlib>

#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

class SansPrivilege : public TestE2E {
protected:
    void SetUp() override {
        TestE2E::SetUp();
        if (!HasFatalFailure()) ExigeEcrituresRefusees();
    }
};

TEST_F(SansPrivilege, EnregistrementRefuseApresLancementEstSignaleEtLeProgrammeTourne) {
    AjouteSonde(L"Maj\\setup.exe");
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    ASSERT_TRUE(MetLectureSeule(CheminIni(), true));

    const Processus& p = Lance(Build::Lanceur);
    HWND boite = AttendBoiteMessage(p.Pid(), kTitreParDefaut);
    ASSERT_NE(boite, nullptr) << "pas de boîte après l'écriture refusée";
    // The known line first, then why and where.
    EXPECT_EQ(U8(TexteBoiteMessage(boite)), EchecEcriture(CheminIni(), ERROR_FILE_READ_ONLY));
    EXPECT_EQ(BoutonsBoiteMessage(boite), std::vector<int>{IDOK});
    // The program was started before the record failed.
    EXPECT_EQ(AttendLignesSonde(1).size(), 1u);
    ASSERT_TRUE(Repond(boite, IDOK));
    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé";
    EXPECT_EQ(Ini(), r.Ini());
    MetLectureSeule(CheminIni(), false);
}

}  // namespace
}  // namespace e2e
