#include "FichierTexte.h"

#include "PageCode.h"
#include "Texte.h"

namespace tolvane {

namespace {
constexpr std::size_t TailleTampon = 64 * 1024;
}

std::optional<FichierTexte> FichierTexte::Ouvre(ISourceFichiers& source, const std::wstring& chemin) {
    auto flux = source.OuvreLecture(chemin);
    if (!flux) return std::nullopt;
    FichierTexte fichier(std::move(flux));
    if (fichier.Remplit() && fichier.fin_ >= 3 && fichier.tampon_[0] == '\xEF' &&
        fichier.tampon_[1] == '\xBB' && fichier.tampon_[2] == '\xBF') {
        fichier.utf8_ = true;
        fichier.position_ = 3;
    }
    return fichier;
}

FichierTexte::FichierTexte(std::unique_ptr<IFluxOctets> flux)
    : flux_(std::move(flux)), tampon_(TailleTampon) {}

// Makes at least one unread byte available; false at the end of the file.
bool FichierTexte::Remplit() {
    if (position_ < fin_) return true;
    if (termine_) return false;
    // The byte-order mark test needs the first three bytes together.
    fin_ = 0;
    position_ = 0;
    while (fin_ < 3) {
        const std::size_t lus = flux_->Lit(tampon_.data() + fin_, tampon_.size() - fin_);
        if (lus == 0) {
            termine_ = true;
            break;
        }
        fin_ += lus;
    }
    return fin_ > 0;
}

bool FichierTexte::FinDeFichier() { return !Remplit(); }

std::wstring FichierTexte::LineInput() {
    std::string octets;
    while (Remplit()) {
        const char c = tampon_[position_++];
        if (c == '\n') break;
        if (c == '\r') {
            if (Remplit() && tampon_[position_] == '\n') ++position_;
            break;
        }
        octets.push_back(c);
    }
    return utf8_ ? DepuisUtf8(octets) : DepuisPageCode(octets);
}

}  // namespace tolvane
