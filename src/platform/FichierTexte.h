// Sequential reading of a text file, line by line. CR LF, a bare LF and a bare CR all end a
// line. Bytes are converted from the 8-bit code page, except after a UTF-8 byte-order mark,
// which a text editor may have put there: the mark is skipped and the text read as UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Services.h"

namespace tolvane {

class FichierTexte {
public:
    // Open for input; nothing when the file cannot be opened. Closed when destroyed.
    static std::optional<FichierTexte> Ouvre(ISourceFichiers& source, const std::wstring& chemin);

    bool FinDeFichier();
    // The next line without its terminator; empty at the end of the file.
    std::wstring LineInput();

private:
    explicit FichierTexte(std::unique_ptr<IFluxOctets> flux);
    bool Remplit();
    std::unique_ptr<IFluxOctets> flux_;
    std::vector<char> tampon_;
    std::size_t position_ = 0;
    std::size_t fin_ = 0;
    bool termine_ = false;
    bool utf8_ = false;
};

}  // namespace tolvane
