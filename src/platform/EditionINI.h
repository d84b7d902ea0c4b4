// The profile writer's rule, shared by the programs' writer and the tests' fake: one entry of an
// INI file written into its bytes. It finds the section and the key exactly as the settings
// reader does, so that what it writes is what the reader reads back, and leaves every other
// byte of the file as it was (blank lines, comments, spacing, other sections, the mark).
#pragma once

#include <string>
#include <string_view>

namespace tolvane::EditionINI {

// The reader's tests on one line. A section header is any line whose characters from the
// second on begin with the section name (the first character is not examined, the closing
// bracket not required); a key line is one that begins with the key; a line that begins with
// "[" ends a section.
bool EstEnTete(std::wstring_view ligne, std::wstring_view section);
bool EstLigneCle(std::wstring_view ligne, std::wstring_view cle);
bool FinitSection(std::wstring_view ligne);

// The file `octets` with `cle`=`valeur` written in `section`, in the file's own encoding
// (DetecteEncodage; an empty file is in the code page): the key's line replaced, or the key
// added after the last line of its section that is not blank, or the section added at the end
// of the file. New lines end with CR LF, and a last line without an end gets one before
// anything is added after it. `valeur` must hold no line break.
std::string EcritEntree(std::string_view octets, std::wstring_view section, std::wstring_view cle,
                        std::wstring_view valeur);

}  // namespace tolvane::EditionINI
