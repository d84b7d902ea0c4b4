// How the profile writer puts a settings file's new bytes in place, and what it does when a step
// fails: one rule, free of Windows, that the writer follows step by step.
#pragma once

#include <string>
#include <string_view>

namespace tolvane::Remplacement {

// Windows error codes the rule decides on.
inline constexpr unsigned long AccesRefuse = 5;             // ERROR_ACCESS_DENIED
inline constexpr unsigned long Partage = 32;                // ERROR_SHARING_VIOLATION
inline constexpr unsigned long Verrou = 33;                 // ERROR_LOCK_VIOLATION
inline constexpr unsigned long RemplaceIntouchable = 1175;  // ERROR_UNABLE_TO_REMOVE_REPLACED
inline constexpr unsigned long RemplacantSansNom = 1177;    // ERROR_UNABLE_TO_MOVE_REPLACEMENT_2
// What the writer reports for a read-only file: ERROR_FILE_READ_ONLY.
inline constexpr unsigned long LectureSeule = 6009;

// What the existing file is.
enum class Genre {
    Absent,
    Simple,
    LectureSeule,  // FILE_ATTRIBUTE_READONLY: protected by its administrator
    Lien,          // a reparse point or a file with several links: renames would break the link
};

enum class Etape {
    Debut,          // nothing tried yet
    Temporaire,     // the temporary file could not be made
    Remplacement,   // ReplaceFileW failed
    RemiseEnPlace,  // the old file, left under its backup name, could not get its name back
};

enum class Suite {
    Cree,         // a new file: the temporary one takes its name
    Remplace,     // ReplaceFileW, the old file passing through its backup name
    Reessaie,     // the same step again, after a pause
    SurPlace,     // written into the existing file: no rename, no new file
    RemetAncien,  // the backup goes back under the file's name
    Echoue,
};

// Tries of a busy step, the first included: about a second of pauses.
inline constexpr int EssaisMax = 11;

// What follows `etape`, which failed with `erreur` at its `essai`-th try (from 1); at Debut
// neither counts.
Suite Decide(Etape etape, Genre genre, unsigned long erreur = 0, int essai = 1);

// The name of the backup a replacement leaves when it stops half-way.
inline std::wstring Sauvegarde(std::wstring_view fichier) { return std::wstring(fichier) + L".ancien"; }

// A temporary file's name, unique by `jeton`: "Tolvane.ini.nouveau-0000002a". Never ends in
// ".exe", so that a settings folder that is also the updates' never lists one.
std::wstring Temporaire(std::wstring_view fichier, unsigned long jeton);
// Whether `nom` is one of those temporary names of `fichier` (both names without a folder).
bool EstTemporaire(std::wstring_view nom, std::wstring_view fichier);
// The pattern of every temporary file of `fichier`, a crash's included.
inline std::wstring MotifTemporaires(std::wstring_view fichier) { return std::wstring(fichier) + L".nouveau-*"; }

}  // namespace tolvane::Remplacement
