// Sequential reading of a text file, line by line. CR LF, a bare LF and a bare CR all end a
// line. The encoding is the one DetecteEncodage finds: the 8-bit code page, or UTF-8 with a
// mark or without one when the file is well-formed UTF-8 beyond ASCII (Notepad's default since
// Windows 10 1903), or UTF-16. A mark is skipped.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Encodage.h"
#include "Services.h"

namespace tolvane {

class FichierTexte {
public:
    // Open for input; nothing when the file cannot be opened. The whole file is read here and
    // the file closed: its encoding depends on every byte of it.
    static std::optional<FichierTexte> Ouvre(ISourceFichiers& source, const std::wstring& chemin);

    bool FinDeFichier() const { return suivante_ >= lignes_.size(); }
    // The next line without its terminator; empty at the end of the file.
    std::wstring LineInput();

private:
    FichierTexte() = default;
    std::string octets_;
    Encodage encodage_;
    std::vector<LigneBrute> lignes_;
    std::size_t suivante_ = 0;
};

}  // namespace tolvane
