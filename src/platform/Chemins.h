// Reading Windows paths as text: the drive part and the folder of a path. No system call, so
// that both builds (and the fakes of the native tests) give the same answers.
#pragma once

#include <string>

namespace tolvane {

// '\\' or '/': Windows accepts either between the parts of a path.
bool EstSeparateur(wchar_t c);
// An ASCII letter, the only kind that names a drive ("C:").
bool EstLettreLecteur(wchar_t c);

// Drive part of a path as the scripting file-system object gives it: "C:" for "C:\x",
// "\\srv\share" for "\\srv\share\x" (either separator), empty when the path has none, or when
// the server or the share is missing or empty ("\\srv\", "1:\x").
std::wstring NomLecteur(const std::wstring& chemin);
// A path the system gave in its extended form ("\\?\UNC\srv\share\x", "\\?\C:\x") in the form
// installers and the shell handle ("\\srv\share\x", "C:\x"); any other path as it is.
std::wstring SansPrefixeEtendu(const std::wstring& chemin);
// Directory of a module path: the path without its last component, no trailing separator
// except for a drive root ("C:\").
std::wstring RepertoireDe(const std::wstring& cheminModule);

}  // namespace tolvane
