// Reliability of the real programs against hostile settings files, awkward directories and file
// names, refused or blocked files and a program that vanishes before its launch. Every case must
// end in one of the program's own messages or its normal end, with no crash and no hang, and
// leave the settings file as it was, or changed exactly as the platform's profile writer changes
// it when the launched name is recorded (the test applies that same write to a copy).
//
// With TOLVANE_FIABILITE_DOC naming a file (Unix or Windows path), the outcomes seen are written
// there as a markdown table at the end of the run: docs/reliability.md is that file. Rows of the
// cases this run did not execute (the refused writes run in another process) are kept from it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <thread>

#include "Commun.h"
#include "platform/win32/ServicesWin32.h"

#include <winioctl.h>

using namespace pilote;

namespace e2e {
namespace {

constexpr char kEchecLecture[] = "echec de LitDansINI";
constexpr char kEchecLancement[] = "Echec de WinExec !!!";
constexpr wchar_t kTitreConsignes[] = L"Consignes du poste";

std::string AucunExecutable(const std::wstring& repertoire) {
    return "Aucun fichier exécutable dans le répertoire : \r\n" + U8(repertoire) +
           "\r\nVeuillez paramètrer le logiciel avec un répertoire contenant au moins un "
           "exécutable !!!";
}

// A message box as seen: title, prompt.
using Message = std::pair<std::string, std::string>;

Message DeTolvane(std::string texte) { return {"Tolvane", std::move(texte)}; }

std::vector<Message> SixEchecsPuisAucun() {
    std::vector<Message> b(6, DeTolvane(kEchecLecture));
    // The directory field keeps its empty design-time text when its read failed.
    b.push_back({"Attention !!!", AucunExecutable(L"")});
    return b;
}

LRESULT Envoie(HWND h, UINT message, WPARAM w = 0, LPARAM l = 0) {
    DWORD_PTR r = 0;
    if (!SendMessageTimeoutW(h, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK, 5000, &r)) return -1;
    return static_cast<LRESULT>(r);
}

std::string CheminUnix(const std::wstring& chemin) {
    using Conversion = char* (*)(const WCHAR*);
    auto conversion = reinterpret_cast<Conversion>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!conversion) return {};
    char* unix = conversion(chemin.c_str());
    if (!unix) return {};
    std::string r = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return r;
}

// Can a new file be made in `dossier`?
// Whether a new file can be created in the folder. A fresh name each time: a witness left
// behind (made just before the folder turned read-only, then not deletable) stays writable
// itself and would answer yes for ever.
bool Inscriptible(const std::wstring& dossier) {
    static unsigned numero = 0;
    const std::wstring temoin = dossier + L"\\temoin-inscriptible-" + std::to_wstring(++numero);
    HANDLE f = CreateFileW(temoin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    CloseHandle(f);
    DeleteFileW(temoin.c_str());
    return true;
}

// Wine starts a file that is not a PE image as a Unix process: the only way from here to make a
// folder unwritable, since Wine ignores the read-only attribute of folders. Its handle cannot
// be waited on, so the effect is polled.
bool RendInscriptible(const std::wstring& dossier, bool inscriptible) {
    const std::string unix = CheminUnix(dossier);
    if (unix.empty()) return false;
    std::wstring ligne = std::wstring(L"chmod ") + (inscriptible ? L"755" : L"555") + L" \"" +
                         DeU8(unix) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\bin\\chmod", ligne.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return AttendQue([&] { return Inscriptible(dossier) == inscriptible; });
}

// A drive letter mapped to a folder through Wine's mount manager (what winecfg does), removed
// when the object goes. The mount manager records the type in HKLM\Software\Wine\Drives and
// answers it at once: a `network` drive needs no restart of the Wine server, which the other
// tests share.
class LecteurTemporaire {
public:
    explicit LecteurTemporaire(const std::wstring& dossier, DWORD type = DRIVE_FIXED) : type_(type) {
        const DWORD pris = GetLogicalDrives();
        for (wchar_t l = L'X'; l >= L'P'; --l)
            if (!(pris & (1u << (l - L'A')))) {
                lettre_ = l;
                break;
            }
        if (lettre_ && Definit(CheminUnix(dossier))) return;
        lettre_ = 0;
    }
    ~LecteurTemporaire() {
        if (lettre_) Definit({});
    }
    LecteurTemporaire(const LecteurTemporaire&) = delete;
    LecteurTemporaire& operator=(const LecteurTemporaire&) = delete;
    // "X:", or empty when no letter could be mapped.
    std::wstring Nom() const { return lettre_ ? std::wstring{lettre_, L':'} : std::wstring(); }

private:
    // Wine's IOCTL_MOUNTMGR_DEFINE_UNIX_DRIVE and its input, as Wine 8 lays them out.
    struct DefinitionLecteur {
        ULONG size, type, fs_type;
        DWORD serial;
        ULONGLONG unix_dev;
        WCHAR letter;
        USHORT mount_point_offset, device_offset, label_offset;
    };
    static constexpr DWORD kDefinitLecteurUnix = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

    bool Definit(const std::string& cheminUnix) {
        HANDLE gestionnaire =
            CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (gestionnaire == INVALID_HANDLE_VALUE) return false;
        std::string tampon(sizeof(DefinitionLecteur) + cheminUnix.size() + 1, '\0');
        auto* d = reinterpret_cast<DefinitionLecteur*>(tampon.data());
        d->size = static_cast<ULONG>(tampon.size());
        d->letter = static_cast<WCHAR>(lettre_ - L'A' + L'a');
        if (cheminUnix.empty()) {
            d->type = DRIVE_NO_ROOT_DIR;  // removes the mapping
        } else {
            d->type = type_;
            d->mount_point_offset = sizeof(DefinitionLecteur);
            std::copy(cheminUnix.begin(), cheminUnix.end(), tampon.begin() + sizeof(DefinitionLecteur));
        }
        DWORD rendus = 0;
        const BOOL ok = DeviceIoControl(gestionnaire, kDefinitLecteurUnix, tampon.data(),
                                        static_cast<DWORD>(tampon.size()), nullptr, 0, &rendus, nullptr);
        CloseHandle(gestionnaire);
        return ok != 0;
    }

    DWORD type_;
    wchar_t lettre_ = 0;
};

// A file held open with no sharing, as another program could, until Libere().
class Verrou {
public:
    bool Prend(const std::wstring& chemin) {
        f_ = CreateFileW(chemin.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        return f_ != INVALID_HANDLE_VALUE;
    }
    void Libere() {
        if (f_ != INVALID_HANDLE_VALUE) CloseHandle(f_);
        f_ = INVALID_HANDLE_VALUE;
    }
    ~Verrou() { Libere(); }

private:
    HANDLE f_ = INVALID_HANDLE_VALUE;
};

enum class Fin { Terminee, FenetrePrincipale };

// What a case prepares and what it expects; filled by the case's own preparation.
struct Contexte {
    explicit Contexte(const DossierTemporaire& d) : dossier(d) {}
    // Whatever a case made read-only is made writable again, so that the folder can go.
    ~Contexte() {
        if (pendantLeLancement.joinable()) pendantLeLancement.join();
        verrou.Libere();
        for (const auto& f : aRemettreEnEcriture) MetLectureSeule(f, false);
        for (const auto& d : dossiersARouvrir) RendInscriptible(d, true);
    }
    Contexte(const Contexte&) = delete;
    Contexte& operator=(const Contexte&) = delete;
    const DossierTemporaire& dossier;
    std::wstring programme = dossier / L"Programme";
    std::wstring maj = dossier / L"Maj";
    std::wstring exe = programme + L"\\Tolvane_Lanceur.exe";
    std::wstring ini = programme + L"\\Tolvane.ini";
    Environnement env;

    std::vector<Message> boites;         // expected, in order
    Fin fin = Fin::Terminee;
    std::wstring lance;                  // full path expected to start; empty: nothing
    std::wstring enregistre;             // name recorded; empty: file unchanged
    std::wstring relu;                   // Nom_Fich as the next start reads it, when not `enregistre`
    std::wstring titreConsignes = kTitreConsignes;  // caption of the instructions window
    std::vector<std::string> remarques;  // facts measured on the way, for the report
    std::vector<std::pair<std::wstring, std::string>> abreges;  // long texts shortened in it

    Verrou verrou;
    bool verrouAuLancement = false;  // hold the settings file from before the start
    std::unique_ptr<LecteurTemporaire> lecteur;
    std::vector<std::wstring> aRemettreEnEcriture;  // read-only files to restore
    std::vector<std::wstring> dossiersARouvrir;     // folders made unwritable
    std::function<void()> apresLeDemarrage;         // run beside the program once it has started
    std::thread pendantLeLancement;

    std::wstring Sonde(const std::wstring& relatif) const {
        return dossier.CopieIci(Chemins().sonde, relatif);
    }
    void Ecrit(std::string_view octets) const { ASSERT_TRUE(EcritOctets(ini, octets)); }
    // The everyday setting: one probe in the directory, launched and recorded.
    Reglages Ordinaire(const std::wstring& nom = L"setup.exe") {
        lance = maj + L"\\" + nom;
        EXPECT_TRUE(Copie(Chemins().sonde, lance)) << U8(lance);
        enregistre = nom;
        Reglages r;
        r.chemin = maj;
        return r;
    }
    Reglages AvecConsignes(const std::wstring& nom = L"setup.exe") {
        Reglages r = Ordinaire(nom);
        r.activee = L"1";
        r.titre = kTitreConsignes;
        r.instructions = L"Ne pas éteindre le poste";
        return r;
    }
};

using Preparation = void (*)(Contexte&);
using SurFenetre = void (*)(Contexte&, HWND);

struct Cas {
    const char* code;
    bool sansPrivilege;  // needs a refused write: run without root's file override
    const char* sujet;  // what the case does, for the report
    Preparation prepare;
    SurFenetre surChoix = nullptr;         // default: OK
    SurFenetre surInstructions = nullptr;  // default: OK
};

// ---- the cases ----

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
    c.remarques.push_back("End → entry " + std::to_string(SelectionListe(liste)) +
                          ", top index " + std::to_string(Envoie(liste, LB_GETTOPINDEX)));
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
    c.Ecrit(c.Ordinaire(L"  blancs.exe").Ini());
    // The profile writer drops the leading blanks of a value, so under "only if the name
    // changed" this program is launched again at every start. Known, reported; kept visible.
    c.relu = L"blancs.exe";
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
    c.boites = {DeTolvane(EchecEcriture(c.ini, ERROR_ACCESS_DENIED))};
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
    c.maj = c.dossier.CreeDossier(L"Mises \u00e0 jour");
    Reglages r = c.Ordinaire();
    r.titre = L"\u00c9t\u00e9";
    c.Ecrit(r.IniUtf8());
}

void DossierHorsPageDeCode(Contexte& c) {
    // A program folder named in a script Windows-1252 lacks: the settings are read through the
    // wide path, and the record must reach the same file.
    const std::wstring programme = c.dossier.CreeDossier(L"\u0141\u00f3d\u017a");
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

const Cas kCasAvecPrivilege[] = {
    {"Ini10MoSurUneLigne", false, "settings file of 10 MB on one line (the six entries, line ends lost, then padding)", UnFichierDeDixMoSurUneLigne},
    {"OctetsAleatoires", false, "settings file of 256 KiB of random bytes, NULs included", OctetsAleatoires},
    {"QueDesCrochets", false, "settings file of 100,000 lines holding only `[`", QueDesCrochets},
    {"SectionRepetee", false, "`[Chemin]` twice, the second naming a decoy directory", SectionRepetee},
    {"DixMilleSections", false, "10,000 unknown sections before the six entries", DixMilleSections},
    {"FinsDeLigneCR", false, "settings with CR-only line ends, launch every time", FinsDeLigneCR},
    {"FinsDeLigneCRNomInchange", false, "CR-only line ends, `Verifier_lancer`, same name, instructions on", FinsDeLigneCRNomInchange},
    {"CinqMilleFichiers", false, "5,000 files of which 1,000 `*.exe` (and `.exe1` traps); choice window, End then Enter", CinqMilleFichiers, ChoisitLeDernierAuClavier},
    {"NomAccentue", false, "executable `mise à jour éüç.exe`", NomAccentue},
    {"Nom200", false, "executable name of 200 characters in `X:\\Maj`", NomDe200Caracteres},
    {"Nom200CheminLong", false, "executable name of 200 characters in the test folder (full path over 260)", NomDe200CheminLong},
    {"NomEsperluette", false, "executable `a&b & c.exe`", NomEsperluette},
    {"NomPourcent", false, "executable `%TEMP% 100%.exe`", NomPourcent},
    {"NomCirconflexe", false, "executable `x^y^^z.exe`", NomCirconflexe},
    {"NomApostrophe", false, "executable `l'outil d'essai.exe`", NomApostrophe},
    {"NomBlancsEnTete", false, "executable `  blancs.exe` (two leading blanks)", NomBlancsEnTete},
    {"Chemin240", false, "directory path of 240 characters", CheminDe240Caracteres},
    {"RacineDeLecteur", false, "launcher and settings in a drive root (`X:\\\\Tolvane.ini`), executables in `X:\\Maj`", RacineDeLecteur},
    {"IniVerrouilleAuDemarrage", false, "settings file held open without sharing during start-up", IniVerrouilleAuDemarrage},
    {"IniVerrouilleALEnregistrement", false, "settings file held open without sharing from the instructions window to the record", IniVerrouilleAvantLEnregistrement, nullptr, VerrouillePuisOK},
    {"ExecutableSupprime", false, "executable deleted while the instructions window waits, then OK", ExecutableSupprime, nullptr, SupprimePuisOK},
    {"SondeEnErreur", false, "launched program exits at once with code 7", SondeEnErreur},
    {"IniUtf8SansMarque", false, "settings saved as UTF-8 without a mark (Notepad), directory `Mises à jour`, title `Été`", IniUtf8SansMarque},
    {"DossierLodz", false, "launcher and settings in a folder named `Łódź` (outside Windows-1252)", DossierHorsPageDeCode},
    {"TitreEsperluette", false, "instructions titled `R&D`", TitreEsperluette, nullptr, TitreTelQuelPuisOK},
    {"LecteurReseauTardif", false, "drive `X:` of type `network`; the configured `X:\\Maj` appears 3 s after the start", LecteurReseauTardif},
    {"ConsignesAuDemarrage", false, "instructions window shown at start, before any main window", ConsignesAuDemarrage, nullptr, BoutonDeBarreDesTaches},
};

// Without root's file override (see TestSansPrivilege.cpp).
const Cas kCasSansPrivilege[] = {
    {"IniLectureSeule", true, "settings file read-only", IniEnLectureSeule},
    {"DossierLectureSeule", true, "folder of the launcher and its settings not writable (mode 555)", DossierEnLectureSeule},
};

// Cases that are not one run of the launcher, run by the tests at the end of this file.
struct CasAParte {
    const char* code;
    const char* sujet;
};
const CasAParte kCasAParte[] = {
    {"CheminDuShell", "the start through the shell that an update requiring administrator rights gets (Windows refuses it to `CreateProcessW` with error 740, Wine never does): called directly on the probe in `Maj 2`"},
    {"DeuxLanceursSimultanes", "two launchers resumed together (0 ms apart), `Verifier_lancer`, a new name each round, 20 rounds"},
};

// ---- the report ----

std::string Code(const Cas& cas) { return cas.code; }

std::map<std::string, std::string>& IssuesVues() {
    static std::map<std::string, std::string> issues;
    return issues;
}

// The outcome of each row of an existing report, by case code.
std::map<std::string, std::string> LitRapport(const std::string& texte) {
    std::map<std::string, std::string> lignes;
    std::istringstream flux(texte);
    std::string ligne;
    while (std::getline(flux, ligne)) {
        if (ligne.rfind("| `", 0) != 0) continue;
        const size_t fin = ligne.find('`', 3);
        const size_t derniere = ligne.rfind(" |");
        const size_t avant = ligne.rfind(" | ", derniere - 1);
        if (fin == std::string::npos || avant == std::string::npos || avant >= derniere) continue;
        lignes[ligne.substr(3, fin - 3)] = ligne.substr(avant + 3, derniere - avant - 3);
    }
    return lignes;
}

class EcritureRapport : public ::testing::Environment {
public:
    void TearDown() override {
        const char* cible = std::getenv("TOLVANE_FIABILITE_DOC");
        if (!cible || !*cible || IssuesVues().empty()) return;
        const std::wstring chemin = cible[0] == '/' ? CheminWindows(cible) : DeU8(cible);
        auto anciennes = LitRapport(LitOctets(chemin).value_or(""));
        std::string doc =
            "# Reliability cases\n\n"
            "Generated by `tests/e2e/TestFiabilite.cpp`; do not edit by hand. Each case runs the\n"
            "real `Tolvane_Lanceur.exe` under Wine from a fresh folder and must end in one of the\n"
            "program's own messages or its normal end, without crash or hang, leaving `Tolvane.ini`\n"
            "unchanged or changed exactly as the profile writer records the launched name.\n"
            "The *outcome seen* column is what the test observed, not what it expected: a run that\n"
            "sees something else fails.\n\n"
            "To regenerate (the test writes this file at the end of its run, when the variable\n"
            "names it; the read-only cases run in the second test, without root's file override,\n"
            "and each run rewrites only the rows of the cases it executed):\n\n"
            "    TOLVANE_FIABILITE_DOC=$PWD/docs/reliability.md \\\n"
            "      ctest --test-dir build/<yours> -R '^e2e' --output-on-failure\n\n"
            "Paths are shown relative to the test folder (`…`); the mapped drive letter as `X:`.\n\n"
            "| case | what is done | outcome seen |\n|---|---|---|\n";
        auto ajoute = [&](const std::string& code, const char* sujet) {
            auto vue = IssuesVues().find(code);
            std::string issue = vue != IssuesVues().end() ? vue->second
                                : anciennes.count(code) ? anciennes[code]
                                                        : std::string("(not run)");
            doc += "| `" + code + "` | " + sujet + " | " + issue + " |\n";
        };
        for (const Cas& cas : kCasAvecPrivilege) ajoute(Code(cas), cas.sujet);
        for (const Cas& cas : kCasSansPrivilege) ajoute(Code(cas), cas.sujet);
        for (const CasAParte& cas : kCasAParte) ajoute(cas.code, cas.sujet);
        if (!EcritOctets(chemin, doc))
            std::cout << "TOLVANE_FIABILITE_DOC : écriture impossible de " << cible << "\n";
    }
};

[[maybe_unused]] ::testing::Environment* const kRapport = ::testing::AddGlobalTestEnvironment(new EcritureRapport);

// ---- the run ----

struct Vu {
    std::vector<Message> boites;
    std::vector<std::string> recit;  // what happened, in order, for the report
    bool fenetrePrincipale = false, bloque = false;
    std::optional<DWORD> code;
    std::vector<LigneSonde> lignes;
    std::string ini;  // "unchanged", "recorded …", or what differs
};

class Fiabilite : public TestE2E, public ::testing::WithParamInterface<Cas> {
protected:
    void SetUp() override {
        TestE2E::SetUp();
        if (HasFatalFailure() || !GetParam().sansPrivilege) return;
        ExigeEcrituresRefusees();
    }

    // Plays the user until the program ends, shows its main window, or nothing happens for 15 s.
    Vu Observe(const Processus& p, Contexte& c, const Cas& cas) {
        Vu vu;
        for (int etape = 0; etape < 30; ++etape) {
            HWND boite = nullptr, principale = nullptr, choix = nullptr, consignes = nullptr;
            bool fini = false;
            const bool evenement = AttendQue(
                [&] {
                    if (!p.EnCours()) return fini = true;
                    if ((boite = BoiteMessageVisible(p.Pid()))) return true;
                    if ((principale = AttendFenetre(p.Pid(), kCaptionPrincipale, 0))) return true;
                    if ((choix = AttendFenetre(p.Pid(), kCaptionChoix, 0))) return true;
                    return (consignes = AttendFenetre(p.Pid(), c.titreConsignes, 0)) != nullptr;
                },
                15000);
            if (!evenement) {
                vu.bloque = true;
                break;
            }
            if (fini) {
                vu.code = p.AttendFin(0);
                break;
            }
            if (boite) {
                vu.boites.emplace_back(U8(Texte(boite)), U8(TexteBoiteMessage(boite)));
                const Message& m = vu.boites.back();
                const std::string dit = "box \"" + Relatif(m.first, c) + "\": «" + Relatif(m.second, c) + "»";
                // Repeated boxes are counted, not listed.
                if (vu.boites.size() > 1 && vu.boites[vu.boites.size() - 2] == m) {
                    std::string& dernier = vu.recit.back();
                    const size_t fois = dernier.find(" × ");
                    const int n = fois == std::string::npos ? 1 : std::stoi(dernier.substr(0, fois));
                    dernier = std::to_string(n + 1) + " × " + dit;
                } else {
                    vu.recit.push_back(dit);
                }
                if (!Repond(boite, IDOK)) {
                    vu.bloque = true;
                    break;
                }
            } else if (principale) {
                vu.fenetrePrincipale = true;
                break;
            } else {
                HWND f = choix ? choix : consignes;
                vu.recit.push_back(choix ? "choice window" : "instructions window");
                SurFenetre action = choix ? cas.surChoix : cas.surInstructions;
                if (action) {
                    c.remarques.clear();
                    action(c, f);
                    for (const auto& r : c.remarques) vu.recit.push_back(r);
                } else
                    Clique(Controle(f, choix ? choix::Cmd_OK : instructions::Cmd_OK));
                if (HasFatalFailure() || !AttendDisparition(f)) {
                    vu.bloque = !HasFatalFailure();
                    break;
                }
            }
        }
        return vu;
    }

    std::string Relatif(std::string texte, const Contexte& c) const {
        auto remplace = [&](const std::string& de, const std::string& par) {
            if (de.empty()) return;
            for (size_t i = 0; (i = texte.find(de, i)) != std::string::npos; i += par.size())
                texte.replace(i, de.size(), par);
        };
        for (const auto& [long_, court] : c.abreges) remplace(U8(long_), court);
        remplace(U8(Dossier().Chemin()), "…");
        if (c.lecteur && !c.lecteur->Nom().empty()) remplace(U8(c.lecteur->Nom()), "X:");
        remplace("\r\n", "⏎");
        remplace("|", "\\|");
        return texte;
    }

    std::string Resume(const Vu& vu, const Contexte& c) const {
        std::vector<std::string> morceaux = vu.recit;
        if (vu.lignes.empty()) morceaux.push_back("nothing launched");
        for (const auto& l : vu.lignes)
            morceaux.push_back("started `" + Relatif(U8(l.chemin), c) + "`, command line `" +
                               Relatif(U8(l.ligneCommande), c) + "`, in `" + Relatif(U8(l.repertoire), c) + "`");
        if (vu.bloque) morceaux.push_back("HANG (nothing happened for 15 s)");
        if (vu.fenetrePrincipale) morceaux.push_back("main window shown");
        if (vu.code) morceaux.push_back("process ended, code " + std::to_string(*vu.code));
        morceaux.push_back("settings " + vu.ini);
        std::string r;
        for (const auto& m : morceaux) r += (r.empty() ? "" : "; ") + m;
        return r;
    }

    // The settings as the platform's writer leaves them after recording `nom`.
    std::optional<std::string> AttenduApresEnregistrement(const std::optional<std::string>& avant,
                                                          const std::wstring& nom) const {
        if (!avant) return std::nullopt;
        const std::wstring copie = Dossier() / L"attendu.ini";
        EcritOctets(copie, *avant);
        WritePrivateProfileStringA("Dernier Fichier Execute", "Nom_Fich", EnAnsi(nom).c_str(),
                                   EnAnsi(copie).c_str());
        return LitOctets(copie);
    }
};

// The Nom_Fich line of a settings file, as bytes.
std::string LigneNomFich(const std::string& ini) {
    const size_t i = ini.find("Nom_Fich=");
    if (i == std::string::npos) return "(no Nom_Fich)";
    return ini.substr(i, ini.find_first_of("\r\n", i) - i);
}

std::string DecritDifference(const std::optional<std::string>& vu, const std::optional<std::string>& attendu) {
    if (!vu || !attendu) return std::string(vu ? "present" : "absent") + " instead of " + (attendu ? "present" : "absent");
    size_t i = 0;
    while (i < vu->size() && i < attendu->size() && (*vu)[i] == (*attendu)[i]) ++i;
    return "differs from byte " + std::to_string(i) + " (" + std::to_string(vu->size()) + " bytes, " +
           std::to_string(attendu->size()) + " expected): «" + U8(DeAnsi(vu->substr(i, 80))) + "» instead of «" +
           U8(DeAnsi(attendu->substr(i, 80))) + "»";
}

TEST_P(Fiabilite, Cas) {
    const Cas& cas = GetParam();
    Contexte c(Dossier());
    cas.prepare(c);
    if (HasFatalFailure()) return;
    const std::optional<std::string> avant = LitOctets(c.ini);
    ASSERT_TRUE(avant.has_value());
    if (c.verrouAuLancement) {
        ASSERT_TRUE(c.verrou.Prend(c.ini));
    }

    c.env.emplace_back(L"SONDE_JOURNAL", Dossier().Chemin());
    Processus autre;
    const Processus* p = nullptr;
    if (c.exe == Programme() + L"\\Tolvane_Lanceur.exe") {
        p = &Lance(Build::Lanceur, c.env);
    } else {
        autre = Processus::Demarre(c.exe, Dossier() / L"Ailleurs", c.env);
        p = &autre;
    }
    ASSERT_TRUE(p->Valide());
    if (c.apresLeDemarrage) c.pendantLeLancement = std::thread(c.apresLeDemarrage);
    Vu vu = Observe(*p, c, cas);
    c.verrou.Libere();

    // A launched probe is still running or has written its line; give it its moment.
    vu.lignes = c.lance.empty() ? LignesSonde() : AttendLignesSonde(1);
    if (c.lance.empty() && vu.lignes.empty())
        AttendQue([&] { return !(vu.lignes = LignesSonde()).empty(); }, 500);

    const auto apres = LitOctets(c.ini);
    const auto attendu = c.enregistre.empty() ? avant : AttenduApresEnregistrement(avant, c.enregistre);
    if (apres == avant)
        vu.ini = "unchanged";
    else if (!c.enregistre.empty() && apres == attendu)
        vu.ini = "changed as the profile writer records `" + Relatif(U8(c.enregistre), c) +
                 "`, file now holding `" + Relatif(U8(DeAnsi(LigneNomFich(*apres))), c) + "`";
    else
        vu.ini = DecritDifference(apres, avant);
    IssuesVues()[Code(cas)] = Resume(vu, c);
    std::cout << "[ issue ] " << Resume(vu, c) << "\n";

    EXPECT_FALSE(vu.bloque) << "rien ne s'est passé pendant 15 s";
    EXPECT_EQ(vu.boites, c.boites);
    EXPECT_EQ(vu.fenetrePrincipale, c.fin == Fin::FenetrePrincipale);
    if (c.fin == Fin::Terminee) {
        EXPECT_EQ(vu.code, std::optional<DWORD>(0)) << "fin anormale";
    }
    if (c.lance.empty()) {
        EXPECT_TRUE(vu.lignes.empty()) << "lancé : " << U8(vu.lignes.front().chemin);
    } else {
        ASSERT_EQ(vu.lignes.size(), 1u);
        EXPECT_EQ(U8(vu.lignes[0].chemin), U8(c.lance));
        EXPECT_EQ(U8(vu.lignes[0].ligneCommande), U8(L"\"" + c.lance + L"\""));
        // Started in its own folder, as a double click would, not in the launcher's.
        EXPECT_EQ(U8(Minuscules(vu.lignes[0].repertoire)),
                  U8(Minuscules(c.lance.substr(0, c.lance.find_last_of(L'\\')))));
    }
    EXPECT_TRUE(apres == attendu) << "Tolvane.ini " << DecritDifference(apres, attendu);
    if (!c.enregistre.empty() && apres) {
        // The name itself, read back as the next start reads it.
        const std::string cle = "Nom_Fich=" + EnAnsi(c.relu.empty() ? c.enregistre : c.relu);
        const size_t i = apres->find(cle);
        const bool exact = i != std::string::npos && (i == 0 || (*apres)[i - 1] == '\n' || (*apres)[i - 1] == '\r') &&
                           (i + cle.size() == apres->size() || (*apres)[i + cle.size()] == '\r' || (*apres)[i + cle.size()] == '\n');
        EXPECT_TRUE(exact) << "pas de ligne « " << U8(DeAnsi(cle)) << " » dans Tolvane.ini";
    }
}

auto NomDuCas = [](const ::testing::TestParamInfo<Cas>& info) { return Code(info.param); };

INSTANTIATE_TEST_SUITE_P(Fiabilite, Fiabilite, ::testing::ValuesIn(kCasAvecPrivilege), NomDuCas);

// Named "SansPrivilege…" so that ctest runs these in e2e_sans_privilege.
INSTANTIATE_TEST_SUITE_P(SansPrivilege, Fiabilite, ::testing::ValuesIn(kCasSansPrivilege), NomDuCas);

// ---- cases that are not one run of the launcher ----

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
            CloseHandle(p.hThread);
            CloseHandle(p.hProcess);
        }
        ASSERT_TRUE(finis) << "tour " << tour << " : un lanceur ne s'est pas terminé";
        // Every probe started has been created by now; let them write their line.
        AttendQue([&] { return ProcessusSous(Maj()).empty(); });
        const auto lignes = LitJournalSonde(journal);
        departsParTour.push_back(static_cast<int>(
            std::count_if(lignes.begin(), lignes.end(), [](const LigneSonde& l) { return l.evenement == L"debut"; })));
    }
    const int uns = static_cast<int>(std::count(departsParTour.begin(), departsParTour.end(), 1));
    const int doubles = static_cast<int>(std::count_if(departsParTour.begin(), departsParTour.end(), [](int n) { return n > 1; }));
    const std::string issue = std::to_string(uns) + " of " + std::to_string(kTours) + " rounds started the update exactly once, " +
                              std::to_string(doubles) + " twice, " + std::to_string(kTours - uns - doubles) + " not at all";
    IssuesVues()["DeuxLanceursSimultanes"] = issue;
    std::cout << "[ issue ] " << issue << "\n";
    EXPECT_EQ(uns, kTours);
}

}  // namespace
}  // namespace e2e
