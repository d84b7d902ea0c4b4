#include "Commun.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "commun/TexteReglages.h"
#include "platform/win32/Poignees.h"

using namespace pilote;

namespace e2e {

const Programmes& Chemins() {
    static const Programmes chemins{CheminWindows(E2E_CHEMIN_Tolvane), CheminWindows(E2E_CHEMIN_Tolvane_Lanceur),
                                    CheminWindows(E2E_CHEMIN_sonde)};
    return chemins;
}

std::string NomBuild(Build b) { return b == Build::Configuration ? "Tolvane" : "Tolvane_Lanceur"; }

std::wstring Reglages::Texte() const {
    return tolvane::test::TexteReglages({chemin, option, dernier, activee, titre, instructions});
}

std::string RaisonSysteme(DWORD code) {
    tolvane::win32::MemoireLocale<wchar_t> texte;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), reinterpret_cast<LPWSTR>(texte.put()), 0, nullptr);
    std::wstring s = n ? std::wstring(texte.get(), n) : L"";
    while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ')) s.pop_back();
    return U8(s);
}

std::string EchecEcriture(const std::wstring& ini, DWORD code) {
    // ERROR_FILE_READ_ONLY: the programs' own words, the system's would send the user after rights.
    return "echec de WritePrivateProfilesstring\r\n" +
           (code == 6009 ? "fichier en lecture seule" : RaisonSysteme(code)) + " (" + U8(ini) + ")";
}

std::string Reglages::Ini() const { return EnAnsi(Texte()); }

std::string Reglages::IniEn(const tolvane::Encodage& encodage) const { return tolvane::EnOctets(Texte(), encodage); }

namespace {

std::vector<HWND> BoitesVisibles(DWORD pid) {
    std::vector<HWND> boites;
    for (HWND h : FenetresDuProcessus(pid))
        if (IsWindowVisible(h) && EstBoiteMessage(h)) boites.push_back(h);
    return boites;
}

}  // namespace

HWND EssaiEtQuestion(const Processus& p, HWND principale) {
    if (!Clique(Controle(principale, principale::Cmd_OK))) return nullptr;
    HWND question = AttendBoiteMessage(p.Pid(), L"Voulez vous sauver ?");
    if (!question) {
        ADD_FAILURE() << "pas de question « Voulez vous sauver ? » après Essai";
        return nullptr;
    }
    for (HWND b : BoitesVisibles(p.Pid()))
        if (b != question) ADD_FAILURE() << "boîte en trop : " << U8(Texte(b)) << " / " << U8(TexteBoiteMessage(b));
    return question;
}

void TestE2E::SetUp() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string nom = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(nom.begin(), nom.end(), '/', '_');
    dossier_ = std::make_unique<DossierTemporaire>(DeU8(nom));
    Dossier().CreeDossier(L"Programme");
    Dossier().CreeDossier(L"Maj");
    Dossier().CreeDossier(L"Ailleurs");
    Dossier().CopieIci(Chemins().tolvane, L"Programme\\Tolvane.exe");
    Dossier().CopieIci(Chemins().lanceur, L"Programme\\Tolvane_Lanceur.exe");
    Reglages leurre;
    leurre.chemin = L"C:\\leurre-du-repertoire-courant";
    leurre.titre = L"leurre";
    ASSERT_TRUE(EcritOctets(Dossier() / L"Ailleurs\\Tolvane.ini", leurre.Ini()));
}

void TestE2E::TearDown() {
    if (HasFailure()) {
        std::cout << "---- ce que le pilote a vu (" << U8(Dossier().Chemin()) << ", gardé) ----\n";
        for (DWORD pid : ProcessusSous(Dossier().Chemin()))
            std::cout << "processus " << pid << " :\n" << U8(DecritFenetres(pid));
        auto ini = Ini();
        // The settings file is in the ANSI code page; the log is UTF-8.
        std::cout << "Tolvane.ini : " << (ini ? "\n" + U8(DeAnsi(*ini)) : std::string("(absent)")) << "\n";
        auto journal = LitOctets(Journal());
        std::cout << "sonde.log : " << (journal ? "\n" + *journal : std::string("(absent)")) << "\n----\n";
        dossier_->Garde();
    }
    // Whatever a test left running from its folder; a failed test may leave a program
    // waiting on a message box.
    processus_.clear();
    TermineProcessusSous(Dossier().Chemin());
}

void TestE2E::EcritIni(std::string_view octets) const { ASSERT_TRUE(EcritOctets(CheminIni(), octets)); }

std::optional<std::string> TestE2E::Ini() const { return LitOctets(CheminIni()); }

std::wstring TestE2E::AjouteSonde(const std::wstring& relatif) const {
    return Dossier().CopieIci(Chemins().sonde, relatif);
}

std::vector<LigneSonde> TestE2E::LignesSonde() const { return LitJournalSonde(Journal()); }

std::vector<LigneSonde> TestE2E::AttendLignesSonde(size_t n) const {
    std::vector<LigneSonde> lignes;
    AttendQue([&] {
        lignes = LignesSonde();
        return lignes.size() >= n;
    });
    return lignes;
}

bool TestE2E::SansLancement() const {
    if (!LignesSonde().empty()) return false;
    for (DWORD pid : ProcessusSous(Dossier().Chemin())) {
        bool notre = std::any_of(processus_.begin(), processus_.end(), [&](const auto& p) { return p->Pid() == pid; });
        if (!notre) return false;
    }
    return LignesSonde().empty();
}

void TestE2E::ExigeEcrituresRefusees() const {
    const std::wstring temoin = Dossier() / L"temoin.txt";
    ASSERT_TRUE(pilote::EcritOctets(temoin, "x"));
    ASSERT_TRUE(pilote::MetLectureSeule(temoin, true));
    const bool ecrit = pilote::EcritOctets(temoin, "y");
    pilote::MetLectureSeule(temoin, false);
    if (!ecrit) return;
    if (std::getenv("TOLVANE_E2E_SANS_PRIVILEGE"))
        FAIL() << "un fichier en lecture seule reste inscriptible : le passage sans privilège n'a pas eu lieu";
    GTEST_SKIP() << "écriture des fichiers en lecture seule permise (root)";
}

bool TestE2E::Repond(HWND boite, int idBouton) { return PresseBouton(boite, idBouton) && AttendDisparition(boite); }

const Processus& TestE2E::Lance(Build b, const Environnement& ajouts, const std::wstring& bureau) {
    const std::wstring exe = Programme() + (b == Build::Configuration ? L"\\Tolvane.exe" : L"\\Tolvane_Lanceur.exe");
    Environnement env = ajouts;
    env.emplace_back(L"SONDE_JOURNAL", Dossier().Chemin());
    processus_.push_back(
        std::make_unique<Processus>(Processus::Demarre(exe, Dossier() / L"Ailleurs", env, {}, bureau)));
    return *processus_.back();
}

void TestE2E::LanceurJusquALaFin(const Environnement& env) {
    const Processus& p = Lance(Build::Lanceur, env);
    ASSERT_TRUE(p.Valide());
    bool fenetreVue = false;
    const bool fini = AttendQue([&] {
        if (AttendFenetre(p.Pid(), kCaptionPrincipale, 0)) fenetreVue = true;
        if (HWND b = BoiteMessageVisible(p.Pid())) {
            ADD_FAILURE() << "boîte inattendue : " << U8(Texte(b)) << " / " << U8(TexteBoiteMessage(b));
            Repond(b, IDOK);
        }
        return !p.EnCours();
    });
    ASSERT_TRUE(fini) << "le lanceur ne s'est pas terminé";
    EXPECT_FALSE(fenetreVue) << "la fenêtre principale a été montrée";
}

HWND TestE2E::FenetrePrincipaleApresBoites(const Processus& p, std::vector<Boite>& boites, int maxBoites) {
    for (int i = 0; i <= maxBoites; ++i) {
        HWND boite = nullptr, fenetre = nullptr;
        AttendQue([&] {
            boite = BoiteMessageVisible(p.Pid());
            if (!boite) fenetre = AttendFenetre(p.Pid(), kCaptionPrincipale, 0);
            return boite || fenetre;
        });
        if (!boite) return fenetre;
        boites.push_back({U8(Texte(boite)), U8(TexteBoiteMessage(boite))});
        Repond(boite, IDOK);
    }
    return nullptr;
}

}  // namespace e2e
