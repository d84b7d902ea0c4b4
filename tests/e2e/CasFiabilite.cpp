// The reliability cases: what each prepares, and what it does on the windows it meets.
#include <algorithm>
#include <cstdio>
#include <random>

#include "Fiabilite.h"

namespace e2e::fiabilite {
namespace {

LRESULT Envoie(HWND h, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &r)) return -1;
    return static_cast<LRESULT>(r);
}

void UnFichierDeDixMoSurUneLigne(Contexte& c) {
    std::string octets = c.Ordinaire().Ini();
    c.lance.clear();
    c.enregistre.clear();
    octets.erase(std::remove_if(octets.begin(), octets.end(), [](char x) { return x == '\r' || x == '\n'; }),
                 octets.end());
    octets.resize(10u << 20, 'x');
    c.Ecrit(octets);
    c.boites = SixEchecsPuisAucun();
    c.fin = Fin::FenetrePrincipale;
}

void OctetsAleatoires(Contexte& c) {
    c.Sonde(L"Maj\\setup.exe");
    std::mt19937 aleas(20240611);
    std::string octets(256 * 1024, '\0');
    for (auto& o : octets) o = static_cast<char>(aleas() & 0xFF);
    ASSERT_NE(octets.find('\0'), std::string::npos);
    c.Ecrit(octets);
    c.boites = SixEchecsPuisAucun();
    c.fin = Fin::FenetrePrincipale;
}

void QueDesCrochets(Contexte& c) {
    c.Sonde(L"Maj\\setup.exe");
    std::string octets;
    for (int i = 0; i < 100000; ++i) octets += "[\r\n";
    c.Ecrit(octets);
    c.boites = SixEchecsPuisAucun();
    c.fin = Fin::FenetrePrincipale;
}

void SectionRepetee(Contexte& c) {
    // The first [Chemin] wins; the second names a decoy directory.
    std::string octets = c.Ordinaire().Ini();
    const std::wstring leurre = c.dossier.CreeDossier(L"Leurre");
    c.Sonde(L"Leurre\\leurre.exe");
    octets += EnAnsi(L"[Chemin]\r\nChemin_Demarrage=" + leurre + L"\r\n");
    c.Ecrit(octets);
}

void DixMilleSections(Contexte& c) {
    std::string octets;
    char ligne[64];
    for (int i = 0; i < 10000; ++i) {
        std::snprintf(ligne, sizeof ligne, "[Section%05d]\r\nCle%05d=valeur\r\n", i, i);
        octets += ligne;
    }
    octets += c.Ordinaire().Ini();
    c.Ecrit(octets);
}

std::string EnFinsDeLigneCR(std::string octets) {
    std::string r;
    for (char x : octets)
        if (x != '\n') r += x;
    return r;
}

void FinsDeLigneCR(Contexte& c) { c.Ecrit(EnFinsDeLigneCR(c.Ordinaire().Ini())); }

void FinsDeLigneCRNomInchange(Contexte& c) {
    // Read up to the last key: "only if the name changed" with the same name launches nothing
    // and shows nothing.
    Reglages r = c.Ordinaire();
    r.option = L"Verifier_lancer";
    r.dernier = L"setup.exe";
    r.activee = L"1";
    r.titre = kTitreConsignes;
    c.lance.clear();
    c.enregistre.clear();
    c.Ecrit(EnFinsDeLigneCR(r.Ini()));
}

void CinqMilleFichiers(Contexte& c) {
    // 1,000 executables among 5,000 files; all but the one launched are hard links to one
    // probe, so the folder costs one copy.
    const std::wstring modele = c.Sonde(L"modele.exe");
    wchar_t nom[64];
    const wchar_t* autres[] = {L"txt", L"dll", L"exe1", L"ini"};
    for (int i = 0; i < 1000; ++i) {
        std::swprintf(nom, 64, L"prog%04d.exe", i);
        const std::wstring exe = c.maj + L"\\" + nom;
        if (i == 999)
            c.lance = c.Sonde(L"Maj\\" + std::wstring(nom));
        else if (!CreateHardLinkW(exe.c_str(), modele.c_str(), nullptr)) {
            ASSERT_TRUE(Copie(modele, exe));
        }
        for (const wchar_t* ext : autres) {
            std::swprintf(nom, 64, L"prog%04d.%ls", i, ext);
            ASSERT_TRUE(EcritOctets(c.maj + L"\\" + nom, ""));
        }
    }
    c.enregistre = L"prog0999.exe";
    Reglages r;
    r.chemin = c.maj;
    c.Ecrit(r.Ini());
}

void ChoisitLeDernierAuClavier(Contexte& c, HWND choix) {
    HWND liste = Controle(choix, choix::Flb_file);
    ASSERT_NE(liste, nullptr);
    const LRESULT n = Envoie(liste, LB_GETCOUNT);
    c.remarques.push_back("LB_GETCOUNT " + std::to_string(n));
    ASSERT_EQ(n, 1000);
    EXPECT_EQ(U8(EntreesListe(liste).back()), "prog0999.exe");
    // The list scrolls: asking for the last entry on top moves the view down.
    Envoie(liste, LB_SETTOPINDEX, 999);
    const LRESULT haut = Envoie(liste, LB_GETTOPINDEX);
    c.remarques.push_back("LB_SETTOPINDEX 999 → top index " + std::to_string(haut));
    EXPECT_GT(haut, 0);
    Envoie(liste, LB_SETTOPINDEX, 0);
    ASSERT_TRUE(MetAuPremierPlan(choix));
    ASSERT_EQ(Focus(choix), liste) << "le focus n'est pas sur la liste";
    ASSERT_TRUE(Touche(VK_END));
    ASSERT_TRUE(AttendQue([&] { return SelectionListe(liste) == 999; }))
        << "End n'a pas sélectionné la dernière entrée : " << SelectionListe(liste);
    c.remarques.push_back("End → entry " + std::to_string(SelectionListe(liste)) + ", top index " +
                          std::to_string(Envoie(liste, LB_GETTOPINDEX)));
    EXPECT_GT(Envoie(liste, LB_GETTOPINDEX), 0);
    ASSERT_TRUE(Touche(VK_RETURN));
}

void NomAccentue(Contexte& c) { c.Ecrit(c.Ordinaire(L"mise à jour éüç.exe").Ini()); }
std::wstring NomDe200() {
    std::wstring nom;
    while (nom.size() < 196) nom += L"abcdefghij";
    nom.resize(196);
    return nom + L".exe";
}
void NomDe200Caracteres(Contexte& c) {
    // Through a drive letter mapped to the test folder, so that the full path stays under 260
    // characters as in an ordinary directory.
    c.lecteur = std::make_unique<LecteurTemporaire>(c.dossier.Chemin());
    ASSERT_FALSE(c.lecteur->Nom().empty());
    c.maj = c.lecteur->Nom() + L"\\Maj";
    c.Ecrit(c.Ordinaire(NomDe200()).Ini());
    c.abreges.emplace_back(NomDe200(), "‹200-character name›");
}
void NomDe200CheminLong(Contexte& c) {
    // Listed, but a path beyond MAX_PATH cannot be started: the launch failure is told.
    c.Ecrit(c.Ordinaire(NomDe200()).Ini());
    c.abreges.emplace_back(NomDe200(), "‹200-character name›");
    ASSERT_GT(c.lance.size(), static_cast<size_t>(MAX_PATH));
    c.lance.clear();
    c.enregistre.clear();
    c.boites = {DeTolvane(kEchecLancement)};
}
void NomEsperluette(Contexte& c) { c.Ecrit(c.Ordinaire(L"a&b & c.exe").Ini()); }
void NomPourcent(Contexte& c) { c.Ecrit(c.Ordinaire(L"%TEMP% 100%.exe").Ini()); }
void NomCirconflexe(Contexte& c) { c.Ecrit(c.Ordinaire(L"x^y^^z.exe").Ini()); }
void NomApostrophe(Contexte& c) { c.Ecrit(c.Ordinaire(L"l'outil d'essai.exe").Ini()); }
void NomBlancsEnTete(Contexte& c) {
    // Recorded with its blanks, so that "only if the name changed" knows it at the next start.
    c.Ecrit(c.Ordinaire(L"  blancs.exe").Ini());
}

void CheminDe240Caracteres(Contexte& c) {
    std::wstring rep = c.maj;
    while (rep.size() < 240) {
        const size_t reste = 240 - rep.size() - 1;  // minus the separator
        rep += L"\\" + std::wstring(std::min<size_t>(reste, 60), L'r');
    }
    ASSERT_EQ(rep.size(), 240u);
    c.dossier.CreeDossier(rep.substr(c.dossier.Chemin().size() + 1));
    c.maj = rep;
    c.Ecrit(c.Ordinaire().Ini());
    c.abreges.emplace_back(rep, "‹240-character directory›");
}

void RacineDeLecteur(Contexte& c) {
    const std::wstring racine = c.dossier.CreeDossier(L"Racine");
    c.lecteur = std::make_unique<LecteurTemporaire>(racine);
    const std::wstring lecteur = c.lecteur->Nom();
    ASSERT_FALSE(lecteur.empty()) << "aucune lettre de lecteur n'a pu être associée";
    ASSERT_TRUE(Copie(Chemins().lanceur, lecteur + L"\\Tolvane_Lanceur.exe"));
    c.dossier.CreeDossier(L"Racine\\Maj");
    c.exe = lecteur + L"\\Tolvane_Lanceur.exe";
    c.ini = lecteur + L"\\Tolvane.ini";
    c.maj = lecteur + L"\\Maj";
    c.Ecrit(c.Ordinaire().Ini());
}

void IniEnLectureSeule(Contexte& c) {
    c.Ecrit(c.Ordinaire().Ini());
    ASSERT_TRUE(MetLectureSeule(c.ini, true));
    c.aRemettreEnEcriture.push_back(c.ini);
    c.enregistre.clear();
    c.boites = {DeTolvane(EchecEcriture(c.ini, ERROR_FILE_READ_ONLY))};
}

void DossierEnLectureSeule(Contexte& c) {
    c.Ecrit(c.Ordinaire().Ini());
    c.dossiersARouvrir.push_back(c.programme);
    ASSERT_TRUE(RendInscriptible(c.programme, false)) << "le dossier reste inscriptible";
    // Wine writes the profile in place: the file needs no new entry in its folder.
}

void IniVerrouilleAuDemarrage(Contexte& c) {
    c.Ecrit(c.Ordinaire().Ini());
    c.verrouAuLancement = true;
    c.lance.clear();
    c.enregistre.clear();
    c.boites = SixEchecsPuisAucun();
    c.fin = Fin::FenetrePrincipale;
}

void IniVerrouilleAvantLEnregistrement(Contexte& c) {
    c.Ecrit(c.AvecConsignes().Ini());
    c.enregistre.clear();
    c.boites = {DeTolvane(EchecEcriture(c.ini, ERROR_SHARING_VIOLATION))};
}

void VerrouillePuisOK(Contexte& c, HWND consignes) {
    ASSERT_TRUE(c.verrou.Prend(c.ini));
    ASSERT_TRUE(Clique(Controle(consignes, instructions::Cmd_OK)));
}

void ExecutableSupprime(Contexte& c) {
    c.Ecrit(c.AvecConsignes().Ini());
    c.enregistre.clear();
    c.boites = {DeTolvane(kEchecLancement)};
}

void SupprimePuisOK(Contexte& c, HWND consignes) {
    ASSERT_TRUE(DeleteFileW(c.lance.c_str()));
    c.lance.clear();
    ASSERT_TRUE(Clique(Controle(consignes, instructions::Cmd_OK)));
}

void IniUtf8SansMarque(Contexte& c) {
    // As Notepad saves it since Windows 10 1903: read as code page, the directory would be
    // "Mises Ã  jour" and never found.
    c.maj = c.dossier.CreeDossier(L"Mises à jour");
    Reglages r = c.Ordinaire();
    r.titre = L"Été";
    c.Ecrit(r.IniEn({tolvane::Encodage::Utf8, 0}));
}

void DossierHorsPageDeCode(Contexte& c) {
    // A program folder named in a script Windows-1252 lacks: the settings are read through the
    // wide path, and the record must reach the same file.
    const std::wstring programme = c.dossier.CreeDossier(L"Łódź");
    ASSERT_TRUE(Copie(Chemins().lanceur, programme + L"\\Tolvane_Lanceur.exe"));
    c.exe = programme + L"\\Tolvane_Lanceur.exe";
    c.ini = programme + L"\\Tolvane.ini";
    c.Ecrit(c.Ordinaire().Ini());
}

void TitreEsperluette(Contexte& c) {
    Reglages r = c.AvecConsignes();
    r.titre = c.titreConsignes = L"R&D";
    c.Ecrit(r.Ini());
}

void TitreTelQuelPuisOK(Contexte& c, HWND consignes) {
    HWND titre = Controle(consignes, instructions::Lbl_Titre);
    ASSERT_NE(titre, nullptr);
    EXPECT_EQ(U8(Texte(titre)), "R&D");
    EXPECT_TRUE(Style(titre) & SS_NOPREFIX) << "le titre prend « & » pour un raccourci";
    c.remarques.push_back("title label «" + U8(Texte(titre)) + "»" +
                          ((Style(titre) & SS_NOPREFIX) ? " with SS_NOPREFIX" : " without SS_NOPREFIX"));
    ASSERT_TRUE(Clique(Controle(consignes, instructions::Cmd_OK)));
}

void SondeEnErreur(Contexte& c) {
    c.Ecrit(c.Ordinaire().Ini());
    c.env.emplace_back(L"SONDE_CODE", L"7");
}

void LecteurReseauTardif(Contexte& c) {
    // A network drive whose root answers at once, while the folder of executables appears only
    // later, as a share does once the network is up: under Wine a missing folder answers "path
    // not found", which a mapped drive not reconnected yet also answers on Windows.
    c.lecteur = std::make_unique<LecteurTemporaire>(c.dossier.CreeDossier(L"Partage"), DRIVE_REMOTE);
    const std::wstring lecteur = c.lecteur->Nom();
    ASSERT_FALSE(lecteur.empty()) << "aucune lettre de lecteur n'a pu être associée";
    ASSERT_EQ(GetDriveTypeW((lecteur + L"\\").c_str()), static_cast<UINT>(DRIVE_REMOTE));
    c.maj = lecteur + L"\\Maj";
    Reglages r;
    r.chemin = c.maj;
    c.Ecrit(r.Ini());
    c.lance = c.maj + L"\\setup.exe";
    c.enregistre = L"setup.exe";
    c.apresLeDemarrage = [&c] {
        Sleep(3000);
        const std::wstring partage = c.dossier / L"Partage";
        CreateDirectoryW((partage + L"\\Maj.tmp").c_str(), nullptr);
        Copie(Chemins().sonde, partage + L"\\Maj.tmp\\setup.exe");
        // All at once, so that no try sees the folder without its executable.
        MoveFileW((partage + L"\\Maj.tmp").c_str(), (partage + L"\\Maj").c_str());
    };
}

void ConsignesAuDemarrage(Contexte& c) { c.Ecrit(c.AvecConsignes().Ini()); }

void BoutonDeBarreDesTaches(Contexte& c, HWND consignes) {
    const bool bouton = (GetWindowLongPtrW(consignes, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    c.remarques.push_back(bouton ? "WS_EX_APPWINDOW set (taskbar button)" : "no WS_EX_APPWINDOW");
    EXPECT_TRUE(bouton) << "pas de bouton dans la barre des tâches";
    ASSERT_TRUE(Clique(Controle(consignes, instructions::Cmd_OK)));
}

}  // namespace

const Cas kTableAvecPrivilege[] = {
    {"Ini10MoSurUneLigne", false, "settings file of 10 MB on one line (the six entries, line ends lost, then padding)",
     UnFichierDeDixMoSurUneLigne},
    {"OctetsAleatoires", false, "settings file of 256 KiB of random bytes, NULs included", OctetsAleatoires},
    {"QueDesCrochets", false, "settings file of 100,000 lines holding only `[`", QueDesCrochets},
    {"SectionRepetee", false, "`[Chemin]` twice, the second naming a decoy directory", SectionRepetee},
    {"DixMilleSections", false, "10,000 unknown sections before the six entries", DixMilleSections},
    {"FinsDeLigneCR", false, "settings with CR-only line ends, launch every time", FinsDeLigneCR},
    {"FinsDeLigneCRNomInchange", false, "CR-only line ends, `Verifier_lancer`, same name, instructions on",
     FinsDeLigneCRNomInchange},
    {"CinqMilleFichiers", false,
     "5,000 files of which 1,000 `*.exe` (and `.exe1` traps); choice window, End then Enter", CinqMilleFichiers,
     ChoisitLeDernierAuClavier},
    {"NomAccentue", false, "executable `mise à jour éüç.exe`", NomAccentue},
    {"Nom200", false, "executable name of 200 characters in `X:\\Maj`", NomDe200Caracteres},
    {"Nom200CheminLong", false, "executable name of 200 characters in the test folder (full path over 260)",
     NomDe200CheminLong},
    {"NomEsperluette", false, "executable `a&b & c.exe`", NomEsperluette},
    {"NomPourcent", false, "executable `%TEMP% 100%.exe`", NomPourcent},
    {"NomCirconflexe", false, "executable `x^y^^z.exe`", NomCirconflexe},
    {"NomApostrophe", false, "executable `l'outil d'essai.exe`", NomApostrophe},
    {"NomBlancsEnTete", false, "executable `  blancs.exe` (two leading blanks)", NomBlancsEnTete},
    {"Chemin240", false, "directory path of 240 characters", CheminDe240Caracteres},
    {"RacineDeLecteur", false, "launcher and settings in a drive root (`X:\\\\Tolvane.ini`), executables in `X:\\Maj`",
     RacineDeLecteur},
    {"IniVerrouilleAuDemarrage", false, "settings file held open without sharing during start-up",
     IniVerrouilleAuDemarrage},
    {"IniVerrouilleALEnregistrement", false,
     "settings file held open without sharing from the instructions window to the record",
     IniVerrouilleAvantLEnregistrement, nullptr, VerrouillePuisOK},
    {"ExecutableSupprime", false, "executable deleted while the instructions window waits, then OK", ExecutableSupprime,
     nullptr, SupprimePuisOK},
    {"SondeEnErreur", false, "launched program exits at once with code 7", SondeEnErreur},
    {"IniUtf8SansMarque", false,
     "settings saved as UTF-8 without a mark (Notepad), directory `Mises à jour`, title `Été`", IniUtf8SansMarque},
    {"DossierLodz", false, "launcher and settings in a folder named `Łódź` (outside Windows-1252)",
     DossierHorsPageDeCode},
    {"TitreEsperluette", false, "instructions titled `R&D`", TitreEsperluette, nullptr, TitreTelQuelPuisOK},
    {"LecteurReseauTardif", false, "drive `X:` of type `network`; the configured `X:\\Maj` appears 3 s after the start",
     LecteurReseauTardif},
    {"ConsignesAuDemarrage", false, "instructions window shown at start, before any main window", ConsignesAuDemarrage,
     nullptr, BoutonDeBarreDesTaches},
    // The attribute is read, not the refusal: root sees it too.
    {"IniLectureSeule", false, "settings file read-only", IniEnLectureSeule},
};

const Cas kTableSansPrivilege[] = {
    {"DossierLectureSeule", true, "folder of the launcher and its settings not writable (mode 555)",
     DossierEnLectureSeule},
};

const CasAParte kTableAParte[] = {
    {"CheminDuShell",
     "the start through the shell that an update requiring administrator rights gets (Windows refuses it to "
     "`CreateProcessW` with error 740, Wine never does): called directly on the probe in `Maj 2`"},
    {"DeuxLanceursSimultanes",
     "two launchers resumed together (0 ms apart), `Verifier_lancer`, a new name each round, 20 rounds"},
};

const std::span<const Cas> kCasAvecPrivilege = kTableAvecPrivilege;
const std::span<const Cas> kCasSansPrivilege = kTableSansPrivilege;
const std::span<const CasAParte> kCasAParte = kTableAParte;

}  // namespace e2e::fiabilite
