// What the reliability cases share: the messages they expect, the tools that make files and
// folders hostile (a mapped drive letter, a held file, a folder made unwritable), the context a
// case prepares, and the tables of cases in the order of docs/reliability.md.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Commun.h"

#include <winioctl.h>

namespace e2e::fiabilite {

using namespace pilote;

inline constexpr char kEchecLecture[] = "echec de LitDansINI";
inline constexpr char kEchecLancement[] = "Echec de WinExec !!!";
inline constexpr wchar_t kTitreConsignes[] = L"Consignes du poste";

std::string AucunExecutable(const std::wstring& repertoire);

// A message box as seen: title, prompt.
using Message = std::pair<std::string, std::string>;

Message DeTolvane(std::string texte);
std::vector<Message> SixEchecsPuisAucun();

// Can a new file be made in `dossier`?
bool Inscriptible(const std::wstring& dossier);
// Makes a folder writable or not (chmod from the Linux side), and waits until it shows.
bool RendInscriptible(const std::wstring& dossier, bool inscriptible);

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
    static constexpr DWORD kDefinitLecteurUnix =
        CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

    bool Definit(const std::string& cheminUnix) {
        HANDLE gestionnaire = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
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

    std::vector<Message> boites;  // expected, in order
    Fin fin = Fin::Terminee;
    std::wstring lance;                                         // full path expected to start; empty: nothing
    std::wstring enregistre;                                    // name recorded; empty: file unchanged
    std::wstring titreConsignes = kTitreConsignes;              // caption of the instructions window
    std::vector<std::string> remarques;                         // facts measured on the way, for the report
    std::vector<std::pair<std::wstring, std::string>> abreges;  // long texts shortened in it

    Verrou verrou;
    bool verrouAuLancement = false;  // hold the settings file from before the start
    std::unique_ptr<LecteurTemporaire> lecteur;
    std::vector<std::wstring> aRemettreEnEcriture;  // read-only files to restore
    std::vector<std::wstring> dossiersARouvrir;     // folders made unwritable
    std::function<void()> apresLeDemarrage;         // run beside the program once it has started
    std::thread pendantLeLancement;

    std::wstring Sonde(const std::wstring& relatif) const { return dossier.CopieIci(Chemins().sonde, relatif); }
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
    const char* sujet;   // what the case does, for the report
    Preparation prepare;
    SurFenetre surChoix = nullptr;         // default: OK
    SurFenetre surInstructions = nullptr;  // default: OK
};

// Cases that are not one run of the launcher, run by TestFiabiliteAParte.cpp.
struct CasAParte {
    const char* code;
    const char* sujet;
};

// The cases, in the order of the report.
extern const std::span<const Cas> kCasAvecPrivilege;
// Without root's file override (see TestSansPrivilege.cpp).
extern const std::span<const Cas> kCasSansPrivilege;
extern const std::span<const CasAParte> kCasAParte;

// The outcome each case of this run showed, by case code, for the report.
std::map<std::string, std::string>& IssuesVues();

}  // namespace e2e::fiabilite
