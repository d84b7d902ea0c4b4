#include "OutilsActions.h"

#include "platform/win32/Poignees.h"

namespace tolvane::installateur {

std::wstring Propriete(MSIHANDLE session, const wchar_t* nom) {
    DWORD n = 0;
    wchar_t vide[1] = L"";
    if (MsiGetPropertyW(session, nom, vide, &n) != ERROR_MORE_DATA) return {};
    std::wstring valeur(++n, L'\0');
    if (MsiGetPropertyW(session, nom, valeur.data(), &n) != ERROR_SUCCESS) return {};
    valeur.resize(n);
    return valeur;
}

void Note(MSIHANDLE session, const std::wstring& texte) {
    PMSIHANDLE ligne = MsiCreateRecord(1);
    MsiRecordSetStringW(ligne, 0, texte.c_str());
    MsiProcessMessage(session, INSTALLMESSAGE_INFO, ligne);
}

std::vector<std::wstring> Coupe(const std::wstring& texte) {
    std::vector<std::wstring> champs(1);
    for (const wchar_t c : texte) {
        if (c == Separateur)
            champs.emplace_back();
        else
            champs.back().push_back(c);
    }
    return champs;
}

std::wstring Joint(const std::vector<std::wstring>& champs) {
    std::wstring texte;
    for (std::size_t i = 0; i < champs.size(); ++i) texte += (i ? std::wstring(1, Separateur) : L"") + champs[i];
    return texte;
}

long LanceOutil(MSIHANDLE session, const wchar_t* outil, const std::wstring& arguments) {
    wchar_t systeme[MAX_PATH];
    const UINT n = GetSystemDirectoryW(systeme, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return -1;
    const std::wstring programme = std::wstring(systeme) + L"\\" + outil;
    std::wstring ligne = L"\"" + programme + L"\" " + arguments;
    Note(session, L"Tolvane : " + ligne);

    SECURITY_ATTRIBUTES heritable{sizeof heritable, nullptr, TRUE};
    HANDLE l = nullptr, e = nullptr;
    if (!CreatePipe(&l, &e, &heritable, 0)) return -1;
    win32::PoigneeNoyau lecture(l), ecriture(e);
    SetHandleInformation(lecture.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = ecriture.get();
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(programme.c_str(), ligne.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi)) {
        Note(session, L"Tolvane : " + std::wstring(outil) + L" n'a pas démarré (erreur " +
                          std::to_wstring(GetLastError()) + L")");
        return -1;
    }
    const win32::ProcessusCree processus(pi);
    // Our end of the pipe closed, the reads end with the tool's own.
    ecriture.Reinitialise();
    std::string sortie;
    char tampon[512];
    DWORD lus = 0;
    while (ReadFile(lecture.get(), tampon, sizeof tampon, &lus, nullptr) && lus) sortie.append(tampon, lus);
    WaitForSingleObject(processus.processus.get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(processus.processus.get(), &code);
    // The tools answer in the console's code page.
    std::wstring texte(sortie.size(), L'\0');
    texte.resize(MultiByteToWideChar(CP_OEMCP, 0, sortie.data(), static_cast<int>(sortie.size()), texte.data(),
                                     static_cast<int>(texte.size())));
    Note(session, L"Tolvane : " + std::wstring(outil) + L" a répondu " + std::to_wstring(code) + L" : " + texte);
    return static_cast<long>(code);
}

}  // namespace tolvane::installateur
