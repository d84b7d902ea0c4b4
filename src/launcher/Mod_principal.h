// The module's globals, alive for the whole process, and the path check.
#pragma once

#include <string>

#include "platform/Services.h"

namespace tolvane::Mod_principal {

inline std::wstring NomFichierINI;
inline std::wstring CheminFichierINI;
// Where the settings are read: CheminFichierINI, or its backup when a crash left only that and
// this run may not give it its name back.
inline std::wstring CheminLectureINI;
// The last launched file name as read at start-up; a run never changes it.
inline std::wstring DernierFichier;
// True only in the launcher build.
inline bool ModeAuto = false;
// True when the choice window was cancelled in the configuration program.
inline bool ChoixAnnule = false;

// The record file beside the settings file (SchemaINI::NomFichierDernier).
std::wstring CheminFichierDernier();

// Whether `Fichier` is the file recorded as last launched, without regard to case, compared as
// the settings file holds it: in a file in the code page a character the code page lacks is
// stored as '?', so the name is also compared after that trip, or it would never match and be
// launched at every start.
bool EstDernierFichier(const std::wstring& Fichier);

// True only for an existing folder on an existing, ready drive; otherwise tells the user why
// (one message at most) and returns False.
bool VerifieChemin(Services& services, const std::wstring& CheminChoisi);

}  // namespace tolvane::Mod_principal
