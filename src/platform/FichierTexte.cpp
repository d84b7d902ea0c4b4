#include "FichierTexte.h"

namespace tolvane {

namespace {
constexpr std::size_t TailleMorceau = 64 * 1024;
}

std::optional<FichierTexte> FichierTexte::Ouvre(ISourceFichiers& source, const std::wstring& chemin) {
    auto flux = source.OuvreLecture(chemin);
    if (!flux) return std::nullopt;
    FichierTexte fichier;
    std::string& octets = fichier.octets_;
    for (;;) {
        const std::size_t lus = octets.size();
        octets.resize(lus + TailleMorceau);
        const std::size_t n = flux->Lit(octets.data() + lus, TailleMorceau);
        octets.resize(lus + n);
        if (n == 0) break;
    }
    fichier.encodage_ = DetecteEncodage(octets);
    fichier.lignes_ = DecoupeLignes(octets, fichier.encodage_);
    return fichier;
}

std::wstring FichierTexte::LineInput() {
    if (FinDeFichier()) return {};
    const LigneBrute& l = lignes_[suivante_++];
    return Decode(std::string_view(octets_).substr(l.debut, l.fin - l.debut), encodage_.texte);
}

}  // namespace tolvane
