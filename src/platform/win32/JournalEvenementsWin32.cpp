// Events in the Application log.
#include "ServicesWin32.h"

namespace tolvane::win32 {

namespace {
WORD TypeEvenement(Gravite gravite) {
    switch (gravite) {
    case Gravite::Information: return EVENTLOG_INFORMATION_TYPE;
    case Gravite::Erreur: return EVENTLOG_ERROR_TYPE;
    case Gravite::Avertissement: break;
    }
    return EVENTLOG_WARNING_TYPE;
}
}  // namespace

void JournalEvenementsWin32::Signale(std::uint16_t code, Gravite gravite, const std::vector<std::wstring>& chaines) {
    // A source nobody registered still logs (the viewer then lacks the texts); a log that
    // refuses the event loses it: the run has already done its work.
    const PoigneeSourceEvenements source(RegisterEventSourceW(nullptr, L"Tolvane"));
    if (!source) return;
    std::vector<LPCWSTR> textes;
    textes.reserve(chaines.size());
    for (const std::wstring& c : chaines) textes.push_back(c.c_str());
    ReportEventW(source.get(), TypeEvenement(gravite), 0, code, nullptr, static_cast<WORD>(textes.size()), 0,
                 textes.empty() ? nullptr : textes.data(), nullptr);
}

}  // namespace tolvane::win32
