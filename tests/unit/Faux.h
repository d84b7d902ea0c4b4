// Test fakes of the platform services: they record what the logic asks and answer from what
// the test set up. Ending the process throws FinDuProcessus, so a test can check that no
// further handler ran.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "launcher/Evenement.h"
#include "launcher/Mod_principal.h"
#include "platform/Fenetre.h"
#include "platform/Services.h"

namespace tolvane::test {

struct FinDuProcessus {};

class FauxSystemeFichiers : public ISystemeFichiers {
public:
    std::set<std::wstring> fichiers;
    std::set<std::wstring> dossiers;
    std::map<std::wstring, bool> lecteurs;          // drive name -> ready
    std::set<std::wstring> lecteursReseau;          // drive names on the network
    std::set<std::wstring> lettresEnAttente;        // letters not mapped yet
    std::map<std::wstring, unsigned long> sondes;   // path -> error; 53 for any other
    std::map<std::wstring, std::wstring> partages;  // mapped letter -> share
    std::set<std::wstring> partagesSupprimes;       // mapped letters whose share is gone
    std::map<std::wstring, AutreSession> autresSessions;
    const class FauxSourceFichiers* source = nullptr;  // its files exist too
    int appelsFileExists = 0;

    bool FileExists(const std::wstring& chemin) override;
    std::wstring GetDriveName(const std::wstring& chemin) override;
    bool DriveExists(const std::wstring& lecteur) override;
    bool IsReady(const std::wstring& lecteur) override;
    bool FolderExists(const std::wstring& chemin) override;
    bool EstLecteurReseau(const std::wstring& lecteur) override;
    bool LettreEnAttente(const std::wstring& lecteur) override { return lettresEnAttente.count(lecteur) > 0; }
    unsigned long Sonde(const std::wstring& chemin) override;
    unsigned long PartageDeLaLettre(const std::wstring& lecteur) override {
        return partagesSupprimes.count(lecteur) ? PartageInexistant : 0;
    }
    AutreSession LettreDeLAutreSession(const std::wstring& lecteur) override {
        const auto it = autresSessions.find(lecteur);
        return it == autresSessions.end() ? AutreSession::Non : it->second;
    }
    std::wstring CheminUniversel(const std::wstring& chemin) override;
};

class FauxListeur : public IListeurRepertoire {
public:
    std::map<std::wstring, std::vector<std::wstring>> repertoires;  // names, any order
    std::optional<std::vector<std::wstring>> partout;               // the same names in every directory
    std::vector<std::pair<std::wstring, std::wstring>> appels;      // directory, pattern
    // A directory that cannot be listed: the error its next `fois` listings answer (every
    // listing when `fois` is negative), then `puis` (0: it lists as usual).
    struct Echec {
        unsigned long erreur;
        int fois = -1;
        unsigned long puis = 0;
    };
    std::map<std::wstring, Echec> echecs;
    // Each listing takes this long on `horloge`, as one that fails on the network may.
    IHorloge* horloge = nullptr;
    unsigned dureeMs = 0;
    unsigned long Liste(const std::wstring& repertoire, const std::wstring& motif,
                        std::vector<std::wstring>& noms) override;
};

// Files as bytes. Also the profile writer's target, so that what is saved can be read back.
class FauxSourceFichiers : public ISourceFichiers {
public:
    std::map<std::wstring, std::string> contenus;
    std::set<std::wstring> verrouilles;   // exist but cannot be opened (access denied)
    std::map<std::wstring, int> occupes;  // how many of the next opens a scan refuses
    unsigned long erreurOccupe = 32;      // and with which error (ERROR_SHARING_VIOLATION)
    int ouvertures = 0;
    int ouverts = 0;  // currently open
    std::unique_ptr<IFluxOctets> OuvreLecture(const std::wstring& chemin) override;
    unsigned long DerniereErreur() const override { return erreur_; }

private:
    unsigned long erreur_ = 0;
};

struct Ecriture {
    std::wstring section, cle, valeur, fichier;
    bool surPlace = false;
    bool operator==(const Ecriture&) const = default;
};

// Records each write and applies it to the fake files by the programs' own rule (EditionINI).
class FauxEcrivainProfil : public IEcrivainProfil {
public:
    explicit FauxEcrivainProfil(FauxSourceFichiers& fichiers) : fichiers_(fichiers) {}
    std::vector<Ecriture> ecritures;
    std::set<int> echecs;      // 0-based indexes of the writes that fail
    unsigned long erreur = 5;  // the code a failed write reports (access denied)
    unsigned long DerniereErreur() const override { return erreur; }
    bool WritePrivateProfileString(const std::wstring& section, const std::wstring& cle, const std::wstring& valeur,
                                   const std::wstring& fichier) override;
    // A backup left by a crash goes back under its name, unless `renommageRefuse`.
    bool renommageRefuse = false;
    std::wstring Recupere(const std::wstring& fichier) override;
    // Never creates the file.
    bool EcritSurPlace(const std::wstring& section, const std::wstring& cle, const std::wstring& valeur,
                       const std::wstring& fichier) override;

private:
    bool Ecrit(const Ecriture& ecriture);
    FauxSourceFichiers& fichiers_;
};

struct Depart {
    std::wstring programme, repertoire;
    bool eleve;
    bool operator==(const Depart&) const = default;
};

// A plain start answers `resultat` with `erreur`; a start through the shell answers
// `resultatEleve` with `erreurEleve`. The update held for its check answers what `tenue` says.
class FauxLanceur : public ILanceurProgrammes {
public:
    struct Tenue {
        unsigned long refus = 0;  // the open fails with this error
        VerdictSignature verdict = VerdictSignature::Autorisee;
        Signataire signataire{L"CN=Editeur", L"3B7E0C11A24F9D0123456789ABCDEF0123456789"};
        bool signee = true;  // what LitSignataire finds
        std::optional<Acces::Objet> dossier, fichier;
        std::wstring cheminFinal;  // empty: cannot be told
    } tenue;
    // What each followed start's wait finds: its exit code after so long (the fake clock moves
    // by as much); a longer wait than the limit ends at the limit with nothing. Exit code 0 at
    // once when none is given.
    struct Sortie {
        std::uint64_t apresMs;
        unsigned long code;
    };
    std::deque<Sortie> sorties;
    class FauxHorloge* horloge = nullptr;
    std::vector<std::uint64_t> delaisAttente;  // the limit of each wait
    std::function<void()> pendantAttente;      // what the test checks while it waits
    int suivis = 0;                            // followed starts
    unsigned LanceSuivi(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                        int etatAffichage) override;
    std::optional<unsigned long> AttendFin(std::uint64_t delaiMs) override;
    std::vector<std::vector<std::wstring>> verifications;  // the thumbprints of each check
    int tenuesOuvertes = 0;
    std::vector<bool> lanceesTenues;  // whether the update was held at each start
    std::unique_ptr<IMiseAJourTenue> Tiens(const std::wstring& cheminProgramme) override;
    std::vector<std::wstring> lances;  // every program asked for, by either way
    std::vector<Depart> departs;
    unsigned resultat = 33;
    unsigned long erreur = 0;
    unsigned resultatEleve = 33;
    unsigned long erreurEleve = 0;
    int dernierEtat = -1;
    unsigned Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage) override;
    unsigned LanceAvecElevation(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                int etatAffichage) override;
    unsigned long DerniereErreur() const override { return derniere_; }

private:
    unsigned long derniere_ = 0;
};

// A recursive lock. `libreApres` answers whether it comes free within the wait asked for.
// Each taking records what the other fakes had done by then, so that a test can tell what came
// before it.
class FauxVerrou : public IVerrouReglages {
public:
    explicit FauxVerrou(const class Banc& banc) : banc_(banc) {}
    struct Prise {
        std::wstring chemin;
        unsigned long delaiMs;
        int fileExistsAvant, ouverturesAvant, ecrituresAvant, lancesAvant;
        int posteTenu;  // the machine-start lock's takings not given back, at this taking
    };
    std::vector<Prise> prises;
    bool libre = true;
    unsigned long refus = 258;  // why it is refused when not free: WAIT_TIMEOUT
    int tenu = 0;               // takings not given back
    bool Prend(const std::wstring& cheminReglages, unsigned long delaiMs) override;
    void Rend() override;
    std::wstring proprietaire;  // who made it, when that is why it is refused
    unsigned long DerniereErreur() const override { return libre ? 0 : refus; }
    std::wstring ProprietaireRefuse() const override { return libre ? L"" : proprietaire; }

private:
    const Banc& banc_;
};

struct Message {
    std::wstring texte;
    int boutons;
    std::optional<std::wstring> titre;
    bool enAvant = false;  // Services::AvantFenetrePrincipale when it was shown
};

class FauxMessages : public IBoitesMessage {
public:
    const Services* services = nullptr;
    std::vector<Message> vus;
    std::deque<int> reponses;            // answers to Yes/No questions, in order; No when none is left
    std::function<void()> avantReponse;  // runs while each box is up
    int MsgBox(const std::wstring& texte, int boutons, const std::optional<std::wstring>& titre) override;
};

class FauxProcessus : public IProcessus {
public:
    std::wstring repertoire = L"C:\\Prog";
    int fins = 0;
    std::wstring RepertoireApplication() override { return repertoire; }
    [[noreturn]] void FinProcessus() override;
    // "erreur N": tests check that the right code reached the text.
    std::wstring TexteErreur(unsigned long code) override { return L"erreur " + std::to_wstring(code); }
    bool personne = false;  // nobody at the screen
    bool PersonneALEcran() override { return personne; }
    bool EnSessionZero() override { return personne; }  // the system account's task
};

struct EvenementVu {
    Evenement evenement;
    std::vector<std::wstring> chaines;
    bool operator==(const EvenementVu&) const = default;
};

class FauxJournal : public IJournalEvenements {
public:
    std::vector<EvenementVu> vus;
    std::vector<Gravite> gravites;
    void Signale(std::uint16_t code, Gravite gravite, const std::vector<std::wstring>& chaines) override {
        vus.push_back({static_cast<Evenement>(code), chaines});
        gravites.push_back(gravite);
    }
};

// Modal showings run the window's load, then the test's script playing the user; the script
// must leave the window unloaded (or end the process), as a real modal loop would.
// A window in `echecs` cannot be created: loaded, then unloaded again, and the showing fails.
class FauxHoteFenetres : public IHoteFenetres {
public:
    const Services* services = nullptr;
    std::map<const DescriptionFenetre*, std::function<void(Fenetre&)>> scripts;
    std::vector<std::wstring> affichees;  // captions at the time each was shown
    std::vector<bool> enAvant;            // Services::AvantFenetrePrincipale at each showing
    std::set<const DescriptionFenetre*> echecs;
    bool principaleVisible = false;  // from the main window's showing on
    bool AfficheModal(Fenetre& fenetre) override;
    bool AfficheEtAttend(Fenetre& fenetre) override;
    bool PrincipaleVisible() const override { return principaleVisible; }
};

// Time that passes only when the logic waits.
class FauxHorloge : public IHorloge {
public:
    std::uint64_t maintenant = 1000;
    std::vector<unsigned> attentes;
    std::function<void()> pendantAttente;  // what other programs do meanwhile
    std::uint64_t Millisecondes() override { return maintenant; }
    void Attend(unsigned ms) override {
        attentes.push_back(ms);
        maintenant += ms;
        if (pendantAttente) pendantAttente();
    }
};

// Draws `valeur` (at most the maximum asked), and records each maximum.
class FauxAleatoire : public IAleatoire {
public:
    std::uint64_t valeur = 0;
    std::vector<std::uint64_t> maxima;
    std::uint64_t Entre(std::uint64_t maximum) override {
        maxima.push_back(maximum);
        return std::min(valeur, maximum);
    }
};

// Every fake wired into one Services, with the module globals reset.
struct Banc {
    FauxSystemeFichiers fso;
    FauxListeur listeur;
    FauxSourceFichiers fichiers;
    FauxEcrivainProfil profil{fichiers};
    FauxLanceur lanceur;
    FauxMessages messages;
    FauxProcessus processus;
    FauxHoteFenetres fenetres;
    FauxJournal journal;
    FauxVerrou verrou{*this};
    FauxVerrou verrouPoste{*this};
    FauxHorloge horloge;
    FauxAleatoire aleatoire;
    Services services;
    int fsoCrees = 0;

    Banc();
    // The settings file beside the program, and the program's own folder and drive.
    std::wstring CheminINI() const { return processus.repertoire + L"\\Tolvane.ini"; }
    void EcritINI(const std::string& octets);
    std::string LitINI() const;
    // A folder of executables on a ready drive.
    void AjouteRepertoire(const std::wstring& chemin, std::vector<std::wstring> noms);
};

}  // namespace tolvane::test
