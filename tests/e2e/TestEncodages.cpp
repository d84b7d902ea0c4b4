// Settings files as administrators' tools write them: the programs read them and write them
// back in the same encoding, whatever letters the folder and the update hold.
#include "Commun.h"

using namespace pilote;
using tolvane::Encodage;

namespace e2e {
namespace {

class Encodages : public TestE2E {
protected:
    // "Mises à jour\Été 2.exe", configured to launch only when the name changes.
    Reglages Preparees() {
        Reglages r;
        r.chemin = Dossier().CreeDossier(L"Mises à jour");
        r.option = L"Verifier_lancer";
        AjouteSonde(L"Mises à jour\\Été 2.exe");
        return r;
    }
    // Launched once, recorded in the file's own encoding, not launched at the next start.
    void LanceUneFoisEtNote(const Encodage& encodage) {
        const Reglages r = Preparees();
        EcritIni(r.IniEn(encodage));
        LanceurJusquALaFin();
        ASSERT_EQ(AttendLignesSonde(1).size(), 1u);
        Reglages apres = r;
        apres.dernier = L"Été 2.exe";
        EXPECT_EQ(Ini(), apres.IniEn(encodage));
        LanceurJusquALaFin();
        EXPECT_EQ(LignesSonde().size(), 1u) << "relancé au deuxième démarrage";
    }
};

TEST_F(Encodages, Utf8SansMarqueDeNotepadResteUtf8) { LanceUneFoisEtNote({Encodage::Utf8, 0}); }

TEST_F(Encodages, Utf16DePowerShellResteUtf16) { LanceUneFoisEtNote({Encodage::Utf16LE, 2}); }

TEST_F(Encodages, SauverSurUnUtf8AvecMarqueGardeUnSeulCheminEtLaMarque) {
    const Encodage utf8Marque{Encodage::Utf8, 3};
    Reglages r = Preparees();
    r.chemin = Dossier().CreeDossier(L"Ancien répertoire");
    EcritIni(r.IniEn(utf8Marque));
    const Processus& p = Lance(Build::Configuration);
    HWND f = AttendFenetre(p.Pid(), kCaptionPrincipale);
    ASSERT_NE(f, nullptr);
    HWND saisie = Controle(f, principale::TXT_Chemin);
    Demande(saisie, EM_SETSEL, 0, -1);
    ASSERT_TRUE(Tape(saisie, Dossier() / L"Mises à jour"));
    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));

    Reglages attendu = r;
    attendu.chemin = Dossier() / L"Mises à jour";
    EXPECT_TRUE(AttendQue([&] { return Ini() == attendu.IniEn(utf8Marque); })) << Ini().value_or("(absent)");
    HWND boite = BoiteMessageVisible(p.Pid());
    EXPECT_EQ(boite, nullptr) << U8(TexteBoiteMessage(boite));
}

}  // namespace
}  // namespace e2e
