// Events in the Application log.
#include "ServicesWin32.h"

namespace tolvane::win32 {

WORD TypeEvenement(Evenement evenement) {
    switch (evenement) {
    case Evenement::Lance:
    case Evenement::LanceApresElevation:
    case Evenement::NomInchange:
    case Evenement::LanceSansInstructions: return EVENTLOG_INFORMATION_TYPE;
    case Evenement::RepertoireInaccessible:
    case Evenement::RepertoireIllisible:
    case Evenement::EchecLancement:
    case Evenement::LettreSansSession: return EVENTLOG_ERROR_TYPE;
    case Evenement::AucunExecutable:
    case Evenement::ChoixAnnule:
    case Evenement::FichierINIAbsent:
    case Evenement::NomNonNote:
    case Evenement::VerrouOccupe:
    case Evenement::SansVerrou:
    case Evenement::PlusieursExecutables: break;
    }
    return EVENTLOG_WARNING_TYPE;
}

void JournalEvenementsWin32::Signale(Evenement evenement, const std::vector<std::wstring>& chaines) {
    // A source nobody registered still logs (the viewer then lacks the texts); a log that
    // refuses the event loses it: the run has already done its work.
    const PoigneeSourceEvenements source(RegisterEventSourceW(nullptr, L"Tolvane"));
    if (!source) return;
    std::vector<LPCWSTR> textes;
    textes.reserve(chaines.size());
    for (const std::wstring& c : chaines) textes.push_back(c.c_str());
    ReportEventW(source.get(), TypeEvenement(evenement), 0, static_cast<DWORD>(evenement), nullptr,
                 static_cast<WORD>(textes.size()), 0, textes.empty() ? nullptr : textes.data(), nullptr);
}

}  // namespace tolvane::win32
