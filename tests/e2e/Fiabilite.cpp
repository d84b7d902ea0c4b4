#include "Fiabilite.h"

namespace e2e::fiabilite {

std::string AucunExecutable(const std::wstring& repertoire) {
    return "Aucun fichier exécutable dans le répertoire : \r\n" + U8(repertoire) +
           "\r\nVeuillez paramètrer le logiciel avec un répertoire contenant au moins un "
           "exécutable !!!";
}

Message DeTolvane(std::string texte) { return {"Tolvane", std::move(texte)}; }

std::vector<Message> SixEchecsPuisAucun() {
    std::vector<Message> b(6, DeTolvane(kEchecLecture));
    // The directory field keeps its empty design-time text when its read failed.
    b.push_back({"Attention !!!", AucunExecutable(L"")});
    return b;
}

// Whether a new file can be created in the folder. A fresh name each time: a witness left
// behind (made just before the folder turned read-only, then not deletable) stays writable
// itself and would answer yes for ever.
bool Inscriptible(const std::wstring& dossier) {
    static unsigned numero = 0;
    const std::wstring temoin = dossier + L"\\temoin-inscriptible-" + std::to_wstring(++numero);
    HANDLE f = CreateFileW(temoin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    CloseHandle(f);
    DeleteFileW(temoin.c_str());
    return true;
}

// Wine starts a file that is not a PE image as a Unix process: the only way from here to make a
// folder unwritable, since Wine ignores the read-only attribute of folders. Its handle cannot
// be waited on, so the effect is polled.
bool RendInscriptible(const std::wstring& dossier, bool inscriptible) {
    const std::string unix = CheminUnix(dossier);
    if (unix.empty()) return false;
    std::wstring ligne = std::wstring(L"chmod ") + (inscriptible ? L"755" : L"555") + L" \"" + DeU8(unix) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(L"Z:\\bin\\chmod", ligne.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    const tolvane::win32::ProcessusCree chmod(pi);
    return AttendQue([&] { return Inscriptible(dossier) == inscriptible; });
}

std::map<std::string, std::string>& IssuesVues() {
    static std::map<std::string, std::string> issues;
    return issues;
}

}  // namespace e2e::fiabilite
