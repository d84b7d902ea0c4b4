#include "Faux.h"

#include <algorithm>

#include "platform/Chemins.h"
#include "platform/EditionINI.h"
#include "platform/Remplacement.h"
#include "platform/Texte.h"

namespace tolvane::test {

namespace {
bool Contient(const std::set<std::wstring>& ensemble, const std::wstring& chemin) {
    // Windows paths: case does not matter, a trailing separator does not either.
    std::wstring c = chemin;
    if (c.size() > 3 && c.back() == L'\\') c.pop_back();
    return std::any_of(ensemble.begin(), ensemble.end(), [&](const std::wstring& e) { return EgalSansCasse(e, c); });
}
}  // namespace

bool FauxSystemeFichiers::FileExists(const std::wstring& chemin) {
    ++appelsFileExists;
    return Contient(fichiers, chemin) || (source && source->contenus.count(chemin));
}

// The real rule, not a copy of it: the logic's answers for "\\srv\" or "//srv/share" are then
// those of the programs.
std::wstring FauxSystemeFichiers::GetDriveName(const std::wstring& chemin) { return NomLecteur(chemin); }

bool FauxSystemeFichiers::DriveExists(const std::wstring& lecteur) {
    return std::any_of(lecteurs.begin(), lecteurs.end(),
                       [&](const auto& l) { return EgalSansCasse(l.first, lecteur); });
}

bool FauxSystemeFichiers::IsReady(const std::wstring& lecteur) {
    for (const auto& [nom, pret] : lecteurs)
        if (EgalSansCasse(nom, lecteur)) return pret;
    return false;
}

bool FauxSystemeFichiers::FolderExists(const std::wstring& chemin) { return Contient(dossiers, chemin); }

bool FauxSystemeFichiers::EstLecteurReseau(const std::wstring& lecteur) { return Contient(lecteursReseau, lecteur); }

unsigned long FauxSystemeFichiers::Sonde(const std::wstring& chemin) {
    const auto it = sondes.find(chemin);
    return it == sondes.end() ? 53 : it->second;
}

std::wstring FauxSystemeFichiers::CheminUniversel(const std::wstring& chemin) {
    const auto it = partages.find(NomLecteur(chemin));
    return it == partages.end() ? chemin : it->second + chemin.substr(2);
}

unsigned long FauxListeur::Liste(const std::wstring& repertoire, const std::wstring& motif,
                                 std::vector<std::wstring>& noms) {
    appels.emplace_back(repertoire, motif);
    if (horloge) horloge->Attend(dureeMs);
    noms.clear();
    for (auto& [dossier, echec] : echecs) {
        if (!EgalSansCasse(dossier, repertoire)) continue;
        if (echec.fois == 0) {
            if (echec.puis) return echec.puis;
            break;
        }
        if (echec.fois > 0) --echec.fois;
        return echec.erreur;
    }
    if (partout && !repertoire.empty())
        for (const auto& nom : *partout)
            if (CorrespondMotif(nom, motif)) noms.push_back(nom);
    for (const auto& [dossier, contenu] : repertoires) {
        if (!EgalSansCasse(dossier, repertoire)) continue;
        for (const auto& nom : contenu)
            if (CorrespondMotif(nom, motif)) noms.push_back(nom);
    }
    std::sort(noms.begin(), noms.end(), [](const auto& a, const auto& b) { return CompareSansCasse(a, b) < 0; });
    return 0;
}

namespace {
class FauxFlux : public IFluxOctets {
public:
    FauxFlux(std::string octets, int& ouverts) : octets_(std::move(octets)), ouverts_(ouverts) { ++ouverts_; }
    ~FauxFlux() override { --ouverts_; }
    // Hands the bytes out in small, uneven pieces so that line ends split across reads.
    std::size_t Lit(char* tampon, std::size_t taille) override {
        const std::size_t n = std::min({taille, octets_.size() - position_, std::size_t{7}});
        std::copy_n(octets_.data() + position_, n, tampon);
        position_ += n;
        return n;
    }

private:
    std::string octets_;
    std::size_t position_ = 0;
    int& ouverts_;
};
}  // namespace

std::unique_ptr<IFluxOctets> FauxSourceFichiers::OuvreLecture(const std::wstring& chemin) {
    ++ouvertures;
    erreur_ = 5;  // ERROR_ACCESS_DENIED
    if (verrouilles.count(chemin)) return nullptr;
    if (auto o = occupes.find(chemin); o != occupes.end() && o->second > 0) {
        --o->second;
        erreur_ = erreurOccupe;
        return nullptr;
    }
    const auto it = contenus.find(chemin);
    erreur_ = 2;  // ERROR_FILE_NOT_FOUND
    if (it == contenus.end()) return nullptr;
    return std::make_unique<FauxFlux>(it->second, ouverts);
}

bool FauxEcrivainProfil::WritePrivateProfileString(const std::wstring& section, const std::wstring& cle,
                                                   const std::wstring& valeur, const std::wstring& fichier) {
    return Ecrit({section, cle, valeur, fichier, false});
}

bool FauxEcrivainProfil::EcritSurPlace(const std::wstring& section, const std::wstring& cle, const std::wstring& valeur,
                                       const std::wstring& fichier) {
    return Ecrit({section, cle, valeur, fichier, true});
}

std::wstring FauxEcrivainProfil::Recupere(const std::wstring& fichier) {
    const std::wstring sauvegarde = Remplacement::Sauvegarde(fichier);
    auto& contenus = fichiers_.contenus;
    if (contenus.count(fichier) || !contenus.count(sauvegarde)) return fichier;
    if (renommageRefuse) return sauvegarde;
    contenus[fichier] = contenus[sauvegarde];
    contenus.erase(sauvegarde);
    return fichier;
}

bool FauxEcrivainProfil::Ecrit(const Ecriture& e) {
    const int index = static_cast<int>(ecritures.size());
    ecritures.push_back(e);
    if (echecs.count(index) || (e.surPlace && !fichiers_.contenus.count(e.fichier))) return false;
    fichiers_.contenus[e.fichier] = EditionINI::EcritEntree(fichiers_.contenus[e.fichier], e.section, e.cle, e.valeur);
    return true;
}

namespace {
class FausseTenue : public IMiseAJourTenue {
public:
    explicit FausseTenue(FauxLanceur& lanceur) : l_(lanceur) { ++l_.tenuesOuvertes; }
    ~FausseTenue() override { --l_.tenuesOuvertes; }
    VerdictSignature Verifie(const std::vector<std::wstring>& empreintes, Signataire& signataire) override {
        l_.verifications.push_back(empreintes);
        if (l_.tenue.verdict != VerdictSignature::NonSignee) signataire = l_.tenue.signataire;
        return l_.tenue.verdict;
    }
    std::optional<Signataire> LitSignataire() override {
        return l_.tenue.signee ? std::optional(l_.tenue.signataire) : std::nullopt;
    }
    std::wstring CheminFinal() override { return l_.tenue.cheminFinal; }
    std::optional<Acces::Objet> Securite(bool dossier) override {
        return dossier ? l_.tenue.dossier : l_.tenue.fichier;
    }

private:
    FauxLanceur& l_;
};
}  // namespace

std::unique_ptr<IMiseAJourTenue> FauxLanceur::Tiens(const std::wstring&) {
    derniere_ = tenue.refus;
    if (tenue.refus) return nullptr;
    return std::make_unique<FausseTenue>(*this);
}

unsigned FauxLanceur::Lance(const std::wstring& cheminProgramme, const std::wstring& repertoire, int etatAffichage) {
    lanceesTenues.push_back(tenuesOuvertes > 0);
    lances.push_back(cheminProgramme);
    departs.push_back({cheminProgramme, repertoire, false});
    dernierEtat = etatAffichage;
    derniere_ = resultat > 30 ? 0 : erreur;
    return resultat;
}

unsigned FauxLanceur::LanceSuivi(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                 int etatAffichage) {
    ++suivis;
    return Lance(cheminProgramme, repertoire, etatAffichage);
}

std::optional<unsigned long> FauxLanceur::AttendFin(std::uint64_t delaiMs) {
    delaisAttente.push_back(delaiMs);
    if (pendantAttente) pendantAttente();
    Sortie sortie{0, 0};
    if (!sorties.empty()) {
        sortie = sorties.front();
        sorties.pop_front();
    }
    const bool depasse = sortie.apresMs > delaiMs;
    if (horloge) horloge->maintenant += depasse ? delaiMs : sortie.apresMs;
    if (depasse) return std::nullopt;
    return sortie.code;
}

unsigned FauxLanceur::LanceAvecElevation(const std::wstring& cheminProgramme, const std::wstring& repertoire,
                                         int etatAffichage) {
    lanceesTenues.push_back(tenuesOuvertes > 0);
    lances.push_back(cheminProgramme);
    departs.push_back({cheminProgramme, repertoire, true});
    dernierEtat = etatAffichage;
    derniere_ = resultatEleve > 30 ? 0 : erreurEleve;
    return resultatEleve;
}

bool FauxVerrou::Prend(const std::wstring& cheminReglages, unsigned long delaiMs) {
    prises.push_back({cheminReglages, delaiMs, banc_.fso.appelsFileExists, banc_.fichiers.ouvertures,
                      static_cast<int>(banc_.profil.ecritures.size()), static_cast<int>(banc_.lanceur.lances.size()),
                      banc_.verrouPoste.tenu});
    if (!libre && tenu == 0) return false;
    ++tenu;
    return true;
}

void FauxVerrou::Rend() {
    if (tenu == 0) throw std::logic_error("lock given back but not held");
    --tenu;
}

int FauxMessages::MsgBox(const std::wstring& texte, int boutons, const std::optional<std::wstring>& titre) {
    vus.push_back({texte, boutons, titre, services && services->AvantFenetrePrincipale()});
    if (avantReponse) avantReponse();
    if (boutons != vbYesNoQuestion) return vbOK;
    if (reponses.empty()) return vbNo;
    const int r = reponses.front();
    reponses.pop_front();
    return r;
}

void FauxProcessus::FinProcessus() {
    ++fins;
    throw FinDuProcessus{};
}

bool FauxHoteFenetres::AfficheModal(Fenetre& fenetre) {
    fenetre.Charge();
    if (!fenetre.EstChargee()) return true;
    if (echecs.count(&fenetre.Description())) {
        fenetre.Unload();
        return false;
    }
    affichees.push_back(fenetre.Caption());
    enAvant.push_back(services && services->AvantFenetrePrincipale());
    const auto script = scripts.find(&fenetre.Description());
    if (script == scripts.end()) throw std::logic_error("no script for a modal window");
    script->second(fenetre);
    if (fenetre.EstChargee()) throw std::logic_error("the script left the modal window loaded");
    return true;
}

bool FauxHoteFenetres::AfficheEtAttend(Fenetre& fenetre) {
    if (echecs.count(&fenetre.Description())) return false;
    affichees.push_back(fenetre.Caption());
    principaleVisible = true;
    return true;
}

Banc::Banc() {
    services.CreeSystemeFichiers = [this] {
        ++fsoCrees;
        // The object the logic keeps forwards to this bench's fake.
        struct Relais : ISystemeFichiers {
            explicit Relais(FauxSystemeFichiers& f) : f_(f) {}
            bool FileExists(const std::wstring& c) override { return f_.FileExists(c); }
            std::wstring GetDriveName(const std::wstring& c) override { return f_.GetDriveName(c); }
            bool DriveExists(const std::wstring& l) override { return f_.DriveExists(l); }
            bool IsReady(const std::wstring& l) override { return f_.IsReady(l); }
            bool FolderExists(const std::wstring& c) override { return f_.FolderExists(c); }
            bool EstLecteurReseau(const std::wstring& l) override { return f_.EstLecteurReseau(l); }
            bool LettreEnAttente(const std::wstring& l) override { return f_.LettreEnAttente(l); }
            unsigned long Sonde(const std::wstring& c) override { return f_.Sonde(c); }
            unsigned long PartageDeLaLettre(const std::wstring& l) override { return f_.PartageDeLaLettre(l); }
            AutreSession LettreDeLAutreSession(const std::wstring& l) override { return f_.LettreDeLAutreSession(l); }
            std::wstring CheminUniversel(const std::wstring& c) override { return f_.CheminUniversel(c); }
            FauxSystemeFichiers& f_;
        };
        return std::unique_ptr<ISystemeFichiers>(std::make_unique<Relais>(fso));
    };
    services.listeur = &listeur;
    services.fichiers = &fichiers;
    services.profil = &profil;
    services.lanceur = &lanceur;
    services.messages = &messages;
    services.processus = &processus;
    services.fenetres = &fenetres;
    services.journal = &journal;
    services.verrou = &verrou;
    services.verrouPoste = &verrouPoste;
    services.horloge = &horloge;
    services.aleatoire = &aleatoire;
    lanceur.horloge = &horloge;
    fenetres.services = &services;
    messages.services = &services;
    Mod_principal::NomFichierINI.clear();
    Mod_principal::CheminFichierINI.clear();
    Mod_principal::DernierFichier.clear();
    Mod_principal::ModeAuto = false;
    Mod_principal::ChoixAnnule = false;
    fso.source = &fichiers;
    fso.lecteurs[L"C:"] = true;
    fso.dossiers.insert(processus.repertoire);
}

void Banc::EcritINI(const std::string& octets) { fichiers.contenus[CheminINI()] = octets; }

std::string Banc::LitINI() const {
    const auto it = fichiers.contenus.find(CheminINI());
    return it == fichiers.contenus.end() ? std::string() : it->second;
}

void Banc::AjouteRepertoire(const std::wstring& chemin, std::vector<std::wstring> noms) {
    listeur.repertoires[chemin] = std::move(noms);
    fso.dossiers.insert(chemin);
}

}  // namespace tolvane::test
