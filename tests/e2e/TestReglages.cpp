// Settings written from a program folder whose name the 8-bit code page cannot hold.
#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

class DossierHorsPageDeCode : public TestE2E {};

TEST_F(DossierHorsPageDeCode, SauverEcritLeFichierDeReferenceDansLeDossierLodz) {
    // "Łódź": neither Ł nor ź exists in Windows-1252. Squeezed through it, the path would
    // name "…\?ód?\Tolvane.ini" and every write would fail.
    const std::wstring programme = Dossier().CreeDossier(L"Łódź");
    const std::wstring exe = Dossier().CopieIci(Chemins().tolvane, L"Łódź\\Tolvane.exe");
    const std::wstring ini = programme + L"\\Tolvane.ini";
    AjouteSonde(L"Maj\\setup.exe");

    Processus p = Processus::Demarre(exe, Dossier() / L"Ailleurs");
    ASSERT_TRUE(p.Valide());
    HWND merci = AttendBoiteMessage(p.Pid(), L"Merci !!!");
    ASSERT_NE(merci, nullptr) << "le fichier absent n'a pas été signalé";
    ASSERT_TRUE(Repond(merci, IDOK));
    HWND f = AttendFenetre(p.Pid(), kCaptionPrincipale);
    ASSERT_NE(f, nullptr);

    ASSERT_TRUE(Tape(Controle(f, principale::TXT_Chemin), Maj()));
    HWND coche = Controle(f, principale::Chk_Instructions);
    ASSERT_TRUE(Clique(coche));
    ASSERT_TRUE(AttendQue([&] { return EtatCoche(coche) == BST_UNCHECKED; }));
    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));

    Reglages attendu;
    attendu.chemin = Maj();
    attendu.option = L"Verifier_lancer";
    EXPECT_TRUE(AttendQue([&] { return LitOctets(ini) == attendu.Ini(); }))
        << "Tolvane.ini : " << U8(DeAnsi(LitOctets(ini).value_or("(absent)")));
    HWND boite = BoiteMessageVisible(p.Pid());
    EXPECT_EQ(boite, nullptr) << U8(TexteBoiteMessage(boite));
    EXPECT_TRUE(LignesSonde().empty()) << "un programme a été lancé";
}

}  // namespace
}  // namespace e2e
