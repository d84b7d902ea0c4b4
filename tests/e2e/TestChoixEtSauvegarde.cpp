// The choice window (several executables), the instructions window (shown before a launch) and
// the save command, driven with real keys and a real mouse where a user would use them.
#include <windows.h>

#include <cstdlib>

#include "Commun.h"

using namespace pilote;

namespace e2e {
namespace {

DWORD_PTR Demande(HWND controle, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR r = 0;
    SendMessageTimeoutW(controle, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &r);
    return r;
}

// The caret of an edit control (start and end of its selection).
std::pair<int, int> Curseur(HWND edition) {
    const auto r = static_cast<DWORD>(Demande(edition, EM_GETSEL));
    return {LOWORD(r), HIWORD(r)};
}

// A real double click in the middle of entry `index` of a list box, through the input queue.
bool DoubleCliqueEntree(HWND liste, int index) {
    const auto hauteur = static_cast<int>(Demande(liste, LB_GETITEMHEIGHT));
    const auto premiere = static_cast<int>(Demande(liste, LB_GETTOPINDEX));
    if (hauteur <= 0) return false;
    POINT p{TailleClient(liste).cx / 2, (index - premiere) * hauteur + hauteur / 2};
    ClientToScreen(liste, &p);
    const int largeur = GetSystemMetrics(SM_CXSCREEN), haut = GetSystemMetrics(SM_CYSCREEN);
    INPUT e[5]{};
    constexpr DWORD kGestes[5] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                  MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    for (int i = 0; i < 5; ++i) {
        e[i].type = INPUT_MOUSE;
        e[i].mi.dx = MulDiv(p.x, 65535, largeur - 1);
        e[i].mi.dy = MulDiv(p.y, 65535, haut - 1);
        e[i].mi.dwFlags = kGestes[i] | MOUSEEVENTF_ABSOLUTE;
    }
    return SendInput(5, e, sizeof(INPUT)) == 5;
}

// Presses a key and waits until the list's selection is `attendue`.
bool ToucheEtSelection(HWND liste, WORD vk, int attendue) {
    return Touche(vk) && AttendQue([&] { return SelectionListe(liste) == attendue; });
}

void Ferme(HWND fenetre) { PostMessageW(fenetre, WM_SYSCOMMAND, SC_CLOSE, 0); }

// A drive letter that names no drive of this prefix, from Q: on.
std::wstring LecteurInexistant() {
    const DWORD lecteurs = GetLogicalDrives();
    for (wchar_t l = L'Q'; l <= L'Y'; ++l)
        if (!(lecteurs & (1u << (l - L'A')))) return std::wstring(1, l) + L":";
    return L"";
}

std::vector<HWND> BoitesVisibles(DWORD pid) {
    std::vector<HWND> boites;
    for (HWND h : FenetresDuProcessus(pid))
        if (IsWindowVisible(h) && Classe(h) == L"#32770" && GetDlgItem(h, 0xFFFF)) boites.push_back(h);
    return boites;
}

// Presses Essai and returns its question once shown. Any other box still showing then was left
// by the step before: a posted click reaches the button from inside that box's loop too, so
// the question alone does not prove that the step before is over.
HWND EssaiEtQuestion(const Processus& p, HWND principale) {
    if (!Clique(Controle(principale, principale::Cmd_OK))) return nullptr;
    HWND question = AttendBoiteMessage(p.Pid(), L"Voulez vous sauver ?");
    if (!question) {
        ADD_FAILURE() << "pas de question « Voulez vous sauver ? » après Essai";
        return nullptr;
    }
    for (HWND b : BoitesVisibles(p.Pid()))
        if (b != question)
            ADD_FAILURE() << "boîte en trop : " << U8(Texte(b)) << " / " << U8(TexteBoiteMessage(b));
    return question;
}

// Scrambled on purpose, with letter case that a case-sensitive sort would put first; beside
// them files the pattern must not take.
constexpr const wchar_t* kExecutables[] = {L"gamma.exe", L"alpha.exe", L"Beta.exe"};
const std::vector<std::wstring> kListeAttendue = {L"alpha.exe", L"Beta.exe", L"gamma.exe"};

class Choix : public TestE2E {
protected:
    Reglages PrepareTrois() {
        for (const wchar_t* nom : kExecutables) AjouteSonde(L"Maj\\" + std::wstring(nom));
        AjouteSonde(L"Maj\\delta.exe1");
        EXPECT_TRUE(EcritOctets(Maj() + L"\\notes.txt", "pas un programme"));
        Reglages r;
        r.chemin = Maj();
        r.dernier = L"ancien.exe";
        EcritIni(r.Ini());
        return r;
    }

    // The choice window as it opens: caption, sorted entries, first one selected, focus on it.
    HWND AttendChoix(const Processus& p) {
        HWND c = AttendFenetre(p.Pid(), kCaptionChoix);
        if (!c) {
            ADD_FAILURE() << "pas de fenêtre de choix";
            return nullptr;
        }
        EXPECT_EQ(U8(Texte(c)), U8(kCaptionChoix));
        HWND liste = Controle(c, choix::Flb_file);
        EXPECT_EQ(EntreesListe(liste), kListeAttendue);
        EXPECT_EQ(SelectionListe(liste), 0);
        EXPECT_EQ(Focus(c), liste);
        EXPECT_TRUE(SansLancement()) << "lancé avant le choix";
        return c;
    }

    // Through the save question ("Non") to the choice window of the configuration program.
    HWND EssaiJusquAuChoix(const Processus& p, HWND principale) {
        HWND question = EssaiEtQuestion(p, principale);
        if (!question) return nullptr;
        EXPECT_TRUE(Repond(question, IDNO));
        return AttendChoix(p);
    }

    // The launched probe is the one named, and its name is the recorded one.
    void VerifieLance(const Reglages& r, const std::wstring& nom) {
        auto lignes = AttendLignesSonde(1);
        ASSERT_EQ(lignes.size(), 1u) << "un seul programme devait démarrer";
        EXPECT_EQ(Minuscules(lignes[0].chemin), Minuscules(Maj() + L"\\" + nom));
        Reglages apres = r;
        apres.dernier = nom;
        EXPECT_TRUE(AttendQue([&] { return Ini() == apres.Ini(); })) << "Nom_Fich non enregistré";
    }
};

TEST_F(Choix, LanceurBasBasEntreeLanceLeTroisiemeEtLeNote) {
    const Reglages r = PrepareTrois();
    const Processus& p = Lance(Build::Lanceur);
    HWND c = AttendChoix(p);
    ASSERT_NE(c, nullptr);
    HWND liste = Controle(c, choix::Flb_file);

    ASSERT_TRUE(MetAuPremierPlan(c));
    ASSERT_TRUE(ToucheEtSelection(liste, VK_DOWN, 1));
    ASSERT_TRUE(ToucheEtSelection(liste, VK_DOWN, 2));
    ASSERT_TRUE(Touche(VK_RETURN));

    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après Entrée";
    VerifieLance(r, L"gamma.exe");
}

TEST_F(Choix, DoubleClicSurUneEntreeLanceCetteEntree) {
    const Reglages r = PrepareTrois();
    const Processus& p = Lance(Build::Lanceur);
    HWND c = AttendChoix(p);
    ASSERT_NE(c, nullptr);

    ASSERT_TRUE(MetAuPremierPlan(c));
    // The second entry, not the one selected at load.
    ASSERT_TRUE(DoubleCliqueEntree(Controle(c, choix::Flb_file), 1));

    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après le double clic";
    VerifieLance(r, L"Beta.exe");
}

enum class Sortie { BoutonAnnuler, Echap, CaseFermeture };

struct CasAnnulation {
    const char* nom;
    Build build;
    Sortie sortie;
};

constexpr CasAnnulation kCasAnnulation[] = {
    {"LanceurEchap", Build::Lanceur, Sortie::Echap},
    {"LanceurCaseFermeture", Build::Lanceur, Sortie::CaseFermeture},
    {"LanceurBoutonAnnuler", Build::Lanceur, Sortie::BoutonAnnuler},
    {"ConfigurationBoutonAnnuler", Build::Configuration, Sortie::BoutonAnnuler},
    {"ConfigurationEchap", Build::Configuration, Sortie::Echap},
    {"ConfigurationCaseFermeture", Build::Configuration, Sortie::CaseFermeture},
};

void PrintTo(const CasAnnulation& cas, std::ostream* os) { *os << cas.nom; }

class Annulation : public Choix, public ::testing::WithParamInterface<CasAnnulation> {};

TEST_P(Annulation, NeLanceRienNiNEcritEtLeLanceurSArrete) {
    const CasAnnulation& cas = GetParam();
    const Reglages r = PrepareTrois();
    const Processus& p = Lance(cas.build);
    HWND principale = nullptr;
    HWND c = nullptr;
    if (cas.build == Build::Lanceur) {
        c = AttendChoix(p);
    } else {
        std::vector<Boite> boites;
        principale = FenetrePrincipaleApresBoites(p, boites);
        ASSERT_NE(principale, nullptr);
        ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;
        c = EssaiJusquAuChoix(p, principale);
    }
    ASSERT_NE(c, nullptr);
    // Moved, so that a second showing can be seen to start again from the first entry.
    ASSERT_TRUE(MetAuPremierPlan(c));
    ASSERT_TRUE(ToucheEtSelection(Controle(c, choix::Flb_file), VK_DOWN, 1));

    switch (cas.sortie) {
    case Sortie::BoutonAnnuler: ASSERT_TRUE(Clique(Controle(c, choix::Cmd_Annuler))); break;
    case Sortie::Echap: ASSERT_TRUE(Touche(VK_ESCAPE)); break;
    case Sortie::CaseFermeture: Ferme(c); break;
    }

    if (cas.build == Build::Lanceur) {
        EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé";
        EXPECT_TRUE(SansLancement());
        EXPECT_EQ(Ini(), r.Ini()) << "Tolvane.ini modifié";
        return;
    }

    ASSERT_TRUE(AttendDisparition(c)) << "la fenêtre de choix est restée";
    EXPECT_TRUE(p.EnCours());
    EXPECT_TRUE(Visible(principale));
    EXPECT_TRUE(AttendQue([&] { return Actif(principale); })) << "fenêtre principale inutilisable";
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);
    EXPECT_TRUE(SansLancement());
    EXPECT_EQ(Ini(), r.Ini()) << "Tolvane.ini modifié";

    // Still usable: Essai asks again and the choice starts afresh; OK then launches.
    HWND encore = EssaiJusquAuChoix(p, principale);
    ASSERT_NE(encore, nullptr);
    ASSERT_TRUE(Clique(Controle(encore, choix::Cmd_OK)));
    EXPECT_TRUE(p.AttendFin().has_value()) << "Tolvane ne s'est pas terminé après le lancement";
    VerifieLance(r, kListeAttendue[0]);
}

INSTANTIATE_TEST_SUITE_P(Cas, Annulation, ::testing::ValuesIn(kCasAnnulation),
                         [](const auto& info) { return std::string(info.param.nom); });

// ---- the instructions window ----

constexpr char kTexteStocke[] = "Fermez vos programmes : la mise à jour redémarre le poste";

class Instructions : public TestE2E {
protected:
    Reglages PrepareUne() {
        AjouteSonde(L"Maj\\setup.exe");
        Reglages r;
        r.chemin = Maj();
        r.activee = L"1";
        r.titre = L"TITRE";
        r.instructions = DeU8(kTexteStocke);
        EcritIni(r.Ini());
        return r;
    }

    // The window as it opens, before anything is launched.
    HWND AttendInstructions(const Processus& p) {
        HWND f = AttendFenetre(p.Pid(), L"TITRE");
        if (!f) {
            ADD_FAILURE() << "pas de fenêtre d'instructions";
            return nullptr;
        }
        EXPECT_EQ(U8(Texte(f)), "TITRE");
        EXPECT_EQ(U8(Texte(Controle(f, instructions::Lbl_Titre))), "TITRE");
        HWND texte = Controle(f, instructions::Txt_instructions);
        EXPECT_EQ(U8(Texte(texte)), kTexteStocke);
        EXPECT_EQ(Style(texte) & (WS_HSCROLL | WS_VSCROLL), 0) << "barres de défilement";
        EXPECT_EQ(Focus(f), texte);
        EXPECT_TRUE(SansLancement()) << "lancé avant la fermeture des instructions";
        return f;
    }
};

TEST_F(Instructions, LaSaisieNeChangeRienPuisOKLance) {
    const Reglages r = PrepareUne();
    const Processus& p = Lance(Build::Lanceur);
    HWND f = AttendInstructions(p);
    ASSERT_NE(f, nullptr);
    HWND texte = Controle(f, instructions::Txt_instructions);
    ASSERT_TRUE(MetAuPremierPlan(f));
    // Each caret move shows that the keys before it have been handled. The text wraps, so
    // End reaches the end of the first line only.
    ASSERT_EQ(Curseur(texte), (std::pair{0, 0}));
    ASSERT_TRUE(Touche(VK_END));
    ASSERT_TRUE(AttendQue([&] { return Curseur(texte).first > 0; }))
        << "le curseur n'a pas bougé : " << Curseur(texte).first << "," << Curseur(texte).second;
    ASSERT_TRUE(TapeClavier(L"xyz"));
    ASSERT_TRUE(Touche(VK_BACK));
    ASSERT_TRUE(Touche(VK_HOME));
    ASSERT_TRUE(Touche(VK_DELETE));
    ASSERT_TRUE(Touche(VK_RIGHT));
    ASSERT_TRUE(AttendQue([&] { return Curseur(texte) == std::pair{1, 1}; }))
        << "curseur : " << Curseur(texte).first << "," << Curseur(texte).second;
    Tape(texte, L"par message");
    EXPECT_EQ(U8(Texte(texte)), kTexteStocke) << "la zone d'instructions a été modifiée";
    EXPECT_TRUE(p.EnCours());
    EXPECT_TRUE(SansLancement());

    ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK)));
    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé après OK";
    ASSERT_EQ(AttendLignesSonde(1).size(), 1u);
    Reglages apres = r;
    apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

// At logon the launcher's window may open behind the user's: it has a taskbar button then.
// The configuration program, which the user starts, keeps the designed window without one.
TEST_F(Instructions, BoutonDeBarreDesTachesAuDemarrageDuPosteSeulement) {
    PrepareUne();
    for (const Build b : {Build::Lanceur, Build::Configuration}) {
        SCOPED_TRACE(NomBuild(b));
        const Processus& p = Lance(b);
        if (b == Build::Configuration) {
            std::vector<Boite> boites;
            HWND principale = FenetrePrincipaleApresBoites(p, boites);
            ASSERT_NE(principale, nullptr);
            HWND question = EssaiEtQuestion(p, principale);
            ASSERT_NE(question, nullptr);
            ASSERT_TRUE(Repond(question, IDNO));
        }
        HWND f = AttendInstructions(p);
        ASSERT_NE(f, nullptr);
        const LONG_PTR ex = GetWindowLongPtrW(f, GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_APPWINDOW) != 0, b == Build::Lanceur);
        EXPECT_NE(GetWindow(f, GW_OWNER), nullptr);
        ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK)));
        EXPECT_TRUE(p.AttendFin().has_value());
        // The next run starts with no launch on record.
        ASSERT_EQ(AttendLignesSonde(1).size(), 1u);
        ASSERT_TRUE(AttendQue([&] { return ProcessusSous(Maj()).empty() && DeleteFileW(Journal().c_str()); }));
    }
}

enum class Fermeture { BoutonOK, Entree, Echap, CaseFermeture };

struct CasFermeture {
    const char* nom;
    Fermeture fermeture;
};

constexpr CasFermeture kCasFermeture[] = {
    {"BoutonOK", Fermeture::BoutonOK},
    {"Entree", Fermeture::Entree},
    {"Echap", Fermeture::Echap},
    {"CaseFermeture", Fermeture::CaseFermeture},
};

void PrintTo(const CasFermeture& cas, std::ostream* os) { *os << cas.nom; }

class FermetureInstructions : public Instructions,
                              public ::testing::WithParamInterface<CasFermeture> {};

TEST_P(FermetureInstructions, ChaqueSortieMeneAuLancement) {
    const Reglages r = PrepareUne();
    const Processus& p = Lance(Build::Lanceur);
    HWND f = AttendInstructions(p);
    ASSERT_NE(f, nullptr);

    switch (GetParam().fermeture) {
    case Fermeture::BoutonOK: ASSERT_TRUE(Clique(Controle(f, instructions::Cmd_OK))); break;
    case Fermeture::Entree:
        ASSERT_TRUE(MetAuPremierPlan(f));
        ASSERT_TRUE(Touche(VK_RETURN));
        break;
    case Fermeture::Echap:
        ASSERT_TRUE(MetAuPremierPlan(f));
        ASSERT_TRUE(Touche(VK_ESCAPE));
        break;
    case Fermeture::CaseFermeture: Ferme(f); break;
    }

    EXPECT_TRUE(p.AttendFin().has_value()) << "le lanceur ne s'est pas terminé";
    auto lignes = AttendLignesSonde(1);
    ASSERT_EQ(lignes.size(), 1u) << "rien de lancé après la fermeture des instructions";
    EXPECT_EQ(Minuscules(lignes[0].chemin), Minuscules(Maj() + L"\\setup.exe"));
    Reglages apres = r;
    apres.dernier = L"setup.exe";
    EXPECT_EQ(Ini(), apres.Ini());
}

INSTANTIATE_TEST_SUITE_P(Cas, FermetureInstructions, ::testing::ValuesIn(kCasFermeture),
                         [](const auto& info) { return std::string(info.param.nom); });

// ---- the save command ----

// The file one save writes on a fresh folder, written out in full rather than built from the
// fixture's helper, so that both cannot share a fault.
std::string FichierDeReference(const std::wstring& chemin, const char* option) {
    return "[Chemin]\r\nChemin_Demarrage=" + EnAnsi(chemin) +
           "\r\n[Option]\r\nOption_Demarrage=" + option +
           "\r\n[Dernier Fichier Execute]\r\nNom_Fich=aucun\r\n[Instructions]\r\nActivee=0\r\n"
           "Titre_Fenetre=TITRE\r\nInstructions=" +
           EnAnsi(DeU8(kInstructionsParDefaut)) + "\r\n";
}

class Sauvegarde : public TestE2E {
protected:
    // Replaces the text of TXT_Chemin as typed, then leaves the box with a real Tab, which runs
    // the path check.
    void SaisitCheminEtQuitte(HWND principale, const std::wstring& chemin) {
        HWND saisie = Controle(principale, principale::TXT_Chemin);
        Demande(saisie, EM_SETSEL, 0, -1);
        ASSERT_TRUE(Tape(saisie, chemin.empty() ? std::wstring(L"\b") : chemin));
        ASSERT_EQ(Texte(saisie), chemin);
        ASSERT_TRUE(MetAuPremierPlan(principale));
        ASSERT_EQ(Focus(principale), saisie);
        ASSERT_TRUE(Touche(VK_TAB));
    }

    // Ticks an option button or toggles the check box, and waits for the new state.
    static void CliqueEtAttend(HWND principale, int id, int etat) {
        HWND b = Controle(principale, id);
        ASSERT_TRUE(Clique(b));
        ASSERT_TRUE(AttendQue([&] { return EtatCoche(b) == etat; })) << "contrôle " << id;
    }

    // The next message box: its title and prompt, answered with OK.
    Boite BoiteSuivante(const Processus& p) {
        HWND b = nullptr;
        AttendQue([&] { return (b = BoiteMessageVisible(p.Pid())) != nullptr; });
        if (!b) return {"(aucune)", ""};
        Boite vue{U8(Texte(b)), U8(TexteBoiteMessage(b))};
        EXPECT_EQ(BoutonsBoiteMessage(b), std::vector<int>{IDOK}) << vue.titre;
        Repond(b, IDOK);
        return vue;
    }

    // Proves that the handler before has shown all its boxes: Essai's question must come
    // alone. Answered "Non"; Maj holds no executable, so the run command ends on its
    // warning.
    void VerifieQueLaSuiteEstEssai(const Processus& p, HWND principale) {
        HWND question = EssaiEtQuestion(p, principale);
        ASSERT_NE(question, nullptr);
        ASSERT_TRUE(Repond(question, IDNO));
        EXPECT_EQ(BoiteSuivante(p).titre, "Attention !!!");
    }
};

struct CasOption {
    const char* nom;
    int avant, choisie;  // clicked first, then the one that is saved
    const char* valeur;
};

constexpr CasOption kCasOption[] = {
    {"NeLeLancerQueSiLeNomChange", principale::Opt_Mode0, principale::Opt_Mode1,
     "Verifier_lancer"},
    {"LancerAChaqueDemarrage", principale::Opt_Mode1, principale::Opt_Mode0, "Toujours_lancer"},
};

void PrintTo(const CasOption& cas, std::ostream* os) { *os << cas.nom; }

class SauvegardeOption : public Sauvegarde, public ::testing::WithParamInterface<CasOption> {};

TEST_P(SauvegardeOption, SansFichierEcritLeFichierDeReferencePuisRemplaceEnPlace) {
    const CasOption& cas = GetParam();
    AjouteSonde(L"Maj\\setup.exe");
    const Processus& p = Lance(Build::Configuration);
    HWND merci = AttendBoiteMessage(p.Pid(), L"Merci !!!");
    ASSERT_NE(merci, nullptr);
    ASSERT_TRUE(Repond(merci, IDOK));
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;

    SaisitCheminEtQuitte(f, Maj());
    // A valid path: no message, and the list now shows that folder.
    EXPECT_TRUE(AttendQue([&] {
        return EntreesListe(Controle(f, principale::Flb_file)) ==
               std::vector<std::wstring>{L"setup.exe"};
    })) << "la liste n'a pas suivi le chemin saisi";
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);

    CliqueEtAttend(f, cas.avant, BST_CHECKED);
    CliqueEtAttend(f, cas.choisie, BST_CHECKED);
    EXPECT_EQ(EtatCoche(Controle(f, cas.avant)), BST_UNCHECKED);
    // A title typed and then switched off: the fixed texts are saved, not the boxes'.
    ASSERT_TRUE(Tape(Controle(f, principale::Txt_Titre), L" du poste"));
    CliqueEtAttend(f, principale::Chk_Instructions, BST_UNCHECKED);
    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));

    const std::string attendu = FichierDeReference(Maj(), cas.valeur);
    EXPECT_TRUE(AttendQue([&] { return Ini() == attendu; }))
        << "attendu :\n" << U8(DeAnsi(attendu));
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);

    // A launch recorded since: the second save puts every key back in its place.
    std::string lance = attendu;
    lance.replace(lance.find("Nom_Fich=aucun"), 14, "Nom_Fich=setup.exe");
    EcritIni(lance);
    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));
    EXPECT_TRUE(AttendQue([&] { return Ini() == attendu; })) << "la seconde sauvegarde diffère";
    EXPECT_EQ(BoiteMessageVisible(p.Pid()), nullptr);
    EXPECT_TRUE(SansLancement());
}

INSTANTIATE_TEST_SUITE_P(Cas, SauvegardeOption, ::testing::ValuesIn(kCasOption),
                         [](const auto& info) { return std::string(info.param.nom); });

enum class Refus { LecteurAbsent, LecteurPasPret, DossierAbsent, Vide };

struct CasRefus {
    const char* nom;
    Refus refus;
    const char* raison;
};

constexpr CasRefus kCasRefus[] = {
    {"LecteurAbsent", Refus::LecteurAbsent,
     "Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
     "chemin, merci !"},
    {"LecteurPasPret", Refus::LecteurPasPret, "Le lecteur que vous avez choisi n'est pas prêt !!!"},
    {"DossierAbsent", Refus::DossierAbsent, "Le chemin que vous avez choisi n'existe pas !!!"},
    {"Vide", Refus::Vide,
     "Le lecteur que vous avez choisi n'existe pas physiquement !\r\nVeuillez choisir un autre "
     "chemin, merci !"},
};

void PrintTo(const CasRefus& cas, std::ostream* os) { *os << cas.nom; }

class SauvegardeRefusee : public Sauvegarde, public ::testing::WithParamInterface<CasRefus> {};

TEST_P(SauvegardeRefusee, DeuxMessagesEtFichierIntact) {
    const CasRefus& cas = GetParam();
    std::wstring chemin;
    switch (cas.refus) {
    case Refus::LecteurAbsent:
        chemin = LecteurInexistant();
        ASSERT_FALSE(chemin.empty()) << "toutes les lettres de Q: à Y: sont prises";
        chemin += L"\\Maj";
        break;
    case Refus::LecteurPasPret:
        // The test prefix's D: is a CD drive without a medium (prepare-wine.sh).
        if (GetDriveTypeW(L"D:\\") != DRIVE_CDROM)
            GTEST_SKIP() << "pas de lecteur D: sans support dans ce préfixe (prepare-wine.sh)";
        chemin = L"D:\\Maj";
        break;
    case Refus::DossierAbsent: chemin = Maj() + L"\\absent"; break;
    case Refus::Vide: break;
    }
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    const std::string avant = r.Ini();

    const Processus& p = Lance(Build::Configuration);
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;

    // Leaving the box already checks the path: one message.
    SaisitCheminEtQuitte(f, chemin);
    Boite b = BoiteSuivante(p);
    EXPECT_EQ(b.titre, "Enfin, voyons !!!");
    EXPECT_EQ(b.texte, cas.raison);

    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));
    b = BoiteSuivante(p);
    EXPECT_EQ(b.titre, "Enfin, voyons !!!");
    EXPECT_EQ(b.texte, cas.raison);
    b = BoiteSuivante(p);
    EXPECT_EQ(b.titre, U8(kTitreParDefaut));
    EXPECT_EQ(b.texte,
              "Le chemin Entré n'est pas valide, sauvegarde dans le fichier INI annulée ...");

    VerifieQueLaSuiteEstEssai(p, f);
    EXPECT_EQ(Ini(), avant) << "Tolvane.ini modifié par une sauvegarde refusée";
    EXPECT_TRUE(SansLancement());
}

INSTANTIATE_TEST_SUITE_P(Cas, SauvegardeRefusee, ::testing::ValuesIn(kCasRefus),
                         [](const auto& info) { return std::string(info.param.nom); });

// Refused writes need the run without root's file override (see TestSansPrivilege.cpp); the
// suite's name puts it in that run.
class SansPrivilegeSauvegarde : public Sauvegarde {
protected:
    void SetUp() override {
        Sauvegarde::SetUp();
        if (!HasFatalFailure()) ExigeEcrituresRefusees();
    }
};

TEST_F(SansPrivilegeSauvegarde, FichierEnLectureSeuleUnMessageParEcriture) {
    Reglages r;
    r.chemin = Maj();
    EcritIni(r.Ini());
    ASSERT_TRUE(MetLectureSeule(CheminIni(), true));

    const Processus& p = Lance(Build::Configuration);
    std::vector<Boite> boites;
    HWND f = FenetrePrincipaleApresBoites(p, boites);
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(boites.empty()) << boites[0].titre << " / " << boites[0].texte;

    ASSERT_TRUE(Clique(Controle(f, principale::Cmd_Sauver)));
    for (int i = 1; i <= 6; ++i) {
        Boite b = BoiteSuivante(p);
        EXPECT_EQ(b.titre, U8(kTitreParDefaut)) << "écriture " << i;
        EXPECT_EQ(b.texte, EchecEcriture(CheminIni(), ERROR_ACCESS_DENIED)) << "écriture " << i;
    }
    VerifieQueLaSuiteEstEssai(p, f);
    EXPECT_EQ(Ini(), r.Ini());
    MetLectureSeule(CheminIni(), false);
}

}  // namespace
}  // namespace e2e
