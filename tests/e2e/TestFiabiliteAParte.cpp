// Reliability cases that are not one run of the launcher: the start through the shell, and two
// launchers at once. Their outcomes go into the same report as the other cases.
#include <algorithm>
#include <iostream>

#include "Fiabilite.h"
#include "platform/win32/ServicesWin32.h"

namespace e2e::fiabilite {
namespace {

class AParte : public TestE2E {
protected:
    std::string Relatif(const std::wstring& texte) const {
        std::string r = U8(texte);
        const std::string dossier = U8(Dossier().Chemin());
        for (size_t i = 0; (i = r.find(dossier, i)) != std::string::npos; i += 3) r.replace(i, dossier.size(), "…");
        return r;
    }
};

TEST_F(AParte, CheminDuShell) {
    const std::wstring dossier = Dossier().CreeDossier(L"Maj 2");
    const std::wstring sonde = AjouteSonde(L"Maj 2\\setup 2.exe");
    tolvane::win32::LanceurWin32 lanceur;
    const unsigned resultat = lanceur.LanceAvecElevation(sonde, dossier, SW_SHOWNORMAL);
    std::vector<LigneSonde> lignes;
    AttendQue([&] { return !(lignes = LitJournalSonde(dossier + L"\\sonde.log")).empty(); });
    std::string issue = "result " + std::to_string(resultat);
    for (const auto& l : lignes)
        issue += "; started `" + Relatif(l.chemin) + "`, command line `" + Relatif(l.ligneCommande) + "`, in `" +
                 Relatif(l.repertoire) + "`";
    if (lignes.empty()) issue += "; nothing started";
    IssuesVues()["CheminDuShell"] = issue;
    std::cout << "[ issue ] " << issue << "\n";

    EXPECT_GT(resultat, 30u);
    ASSERT_EQ(lignes.size(), 1u);
    EXPECT_EQ(U8(Minuscules(lignes[0].chemin)), U8(Minuscules(sonde)));
    EXPECT_EQ(U8(Minuscules(lignes[0].repertoire)), U8(Minuscules(dossier)));
}

// Both launchers are created suspended and resumed back to back: as near to the same instant as
// the system allows.
TEST_F(AParte, DeuxLanceursSimultanes) {
    constexpr int kTours = 20;
    const std::wstring exe = Programme() + L"\\Tolvane_Lanceur.exe";
    const std::wstring journal = Maj() + L"\\sonde.log";
    std::vector<int> departsParTour;
    std::wstring precedent;
    for (int tour = 1; tour <= kTours; ++tour) {
        if (!precedent.empty()) DeleteFileW(precedent.c_str());
        DeleteFileW(journal.c_str());
        const std::wstring nom = L"maj-" + std::to_wstring(tour) + L".exe";
        precedent = Maj() + L"\\" + nom;
        ASSERT_TRUE(Copie(Chemins().sonde, precedent));
        Reglages r;
        r.chemin = Maj();
        r.option = L"Verifier_lancer";
        EcritIni(r.Ini());

        PROCESS_INFORMATION pi[2]{};
        for (auto& p : pi) {
            STARTUPINFOW si{};
            si.cb = sizeof si;
            std::wstring ligne = L"\"" + exe + L"\"";
            ASSERT_TRUE(CreateProcessW(exe.c_str(), ligne.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                       (Dossier() / L"Ailleurs").c_str(), &si, &p));
        }
        for (auto& p : pi) ResumeThread(p.hThread);
        const HANDLE processus[2] = {pi[0].hProcess, pi[1].hProcess};
        const bool finis = WaitForMultipleObjects(2, processus, TRUE, 30000) == WAIT_OBJECT_0;
        for (auto& p : pi) {
            if (!finis) TerminateProcess(p.hProcess, 1);
            const tolvane::win32::ProcessusCree ferme(p);
        }
        ASSERT_TRUE(finis) << "tour " << tour << " : un lanceur ne s'est pas terminé";
        // Every probe started has been created by now; let them write their line.
        AttendQue([&] { return ProcessusSous(Maj()).empty(); });
        const auto lignes = LitJournalSonde(journal);
        departsParTour.push_back(static_cast<int>(
            std::count_if(lignes.begin(), lignes.end(), [](const LigneSonde& l) { return l.evenement == L"debut"; })));
    }
    const int uns = static_cast<int>(std::count(departsParTour.begin(), departsParTour.end(), 1));
    const int doubles =
        static_cast<int>(std::count_if(departsParTour.begin(), departsParTour.end(), [](int n) { return n > 1; }));
    const std::string issue = std::to_string(uns) + " of " + std::to_string(kTours) +
                              " rounds started the update exactly once, " + std::to_string(doubles) + " twice, " +
                              std::to_string(kTours - uns - doubles) + " not at all";
    IssuesVues()["DeuxLanceursSimultanes"] = issue;
    std::cout << "[ issue ] " << issue << "\n";
    EXPECT_EQ(uns, kTours);
}

}  // namespace
}  // namespace e2e::fiabilite
