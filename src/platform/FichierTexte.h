// Sequential reading of a text file, line by line. CR LF, a bare LF and a bare CR all end a
// line. Bytes are converted from the 8-bit code page, except in two cases where the text is
// read as UTF-8: after a UTF-8 byte-order mark, which a text editor may have put there (the mark
// is skipped), and when the file has no mark but is well-formed UTF-8 beyond ASCII, as Notepad
// saves by default since Windows 10 1903.
#pragma once

#include <optional>
#include <string>

#include "Services.h"

namespace tolvane {

class FichierTexte {
public:
    // Open for input; nothing when the file cannot be opened. The whole file is read here and
    // the file closed: whether it is UTF-8 depends on every byte of it.
    static std::optional<FichierTexte> Ouvre(ISourceFichiers& source, const std::wstring& chemin);

    bool FinDeFichier() const { return position_ >= octets_.size(); }
    // The next line without its terminator; empty at the end of the file.
    std::wstring LineInput();

private:
    FichierTexte() = default;
    std::string octets_;
    std::size_t position_ = 0;
    bool utf8_ = false;
};

}  // namespace tolvane
