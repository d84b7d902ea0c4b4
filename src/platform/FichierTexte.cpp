#include "FichierTexte.h"

#include <algorithm>

#include "PageCode.h"
#include "Texte.h"

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
    if (octets.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        fichier.utf8_ = true;
        fichier.position_ = 3;
    } else {
        fichier.utf8_ = EstUtf8Etendu(octets);
    }
    return fichier;
}

std::wstring FichierTexte::LineInput() {
    const std::size_t debut = position_;
    const std::size_t fin = std::min(octets_.find_first_of("\r\n", debut), octets_.size());
    position_ = fin;
    if (position_ < octets_.size() && octets_[position_++] == '\r' && position_ < octets_.size() &&
        octets_[position_] == '\n')
        ++position_;
    const std::string_view ligne(octets_.data() + debut, fin - debut);
    return utf8_ ? DepuisUtf8(ligne) : DepuisPageCode(ligne);
}

}  // namespace tolvane
