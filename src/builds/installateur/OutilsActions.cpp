#include "OutilsActions.h"

#include <memory>

#include "platform/win32/Poignees.h"
#include "platform/win32/ServicesWin32.h"
#include "settings/Mod_FichierINI.h"

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

void Erreur(MSIHANDLE session, const std::wstring& texte) {
    PMSIHANDLE ligne = MsiCreateRecord(1);
    MsiRecordSetStringW(ligne, 0, texte.c_str());
    MsiProcessMessage(session, static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), ligne);
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

bool Transmet(MSIHANDLE session, std::initializer_list<const wchar_t*> actions, const std::wstring& donnees) {
    for (const wchar_t* action : actions)
        if (MsiSetPropertyW(session, action, donnees.c_str()) != ERROR_SUCCESS) return false;
    return true;
}

bool Existe(const std::wstring& fichier) { return GetFileAttributesW(fichier.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::wstring> LitReglage(const std::wstring& fichier, const SchemaINI::Reglage& reglage) {
    if (!Existe(fichier)) return std::nullopt;
    win32::SourceFichiersWin32 source;
    Services services;
    services.CreeSystemeFichiers = [] { return std::make_unique<win32::SystemeFichiersWin32>(); };
    services.fichiers = &source;
    std::wstring valeur;
    if (!Mod_FichierINI::LitDansINI(services, reglage.section, reglage.cle, valeur, fichier)) return std::nullopt;
    return valeur;
}

bool EcritReglage(MSIHANDLE session, const std::wstring& fichier, const SchemaINI::Reglage& reglage,
                  const std::wstring& valeur) {
    win32::EcrivainProfilWin32 ecrivain;
    if (ecrivain.WritePrivateProfileString(reglage.section, reglage.cle, valeur, fichier)) return true;
    Note(session, L"Tolvane : échec de l'écriture de " + fichier + L" (erreur " +
                      std::to_wstring(ecrivain.DerniereErreur()) + L")");
    return false;
}

bool MetDeCote(MSIHANDLE session, const std::wstring& fichier, bool garde) {
    if (!Existe(fichier)) return true;
    const std::wstring cote = fichier + SuffixeSauvegarde;
    SetFileAttributesW(fichier.c_str(), FILE_ATTRIBUTE_NORMAL);
    bool fait = false;
    if (!garde && Existe(cote)) {
        // Copied aside earlier in this install: the original's bytes go back into the file,
        // which then goes aside itself, its access list with it, for the rollback.
        fait = ReplaceFileW(fichier.c_str(), cote.c_str(), nullptr, 0, nullptr, nullptr) &&
               MoveFileExW(fichier.c_str(), cote.c_str(), 0);
    } else {
        // One an install that crashed left behind is stale: the file in place is the machine's.
        DeleteFileW(cote.c_str());
        // A file that stays is copied, and keeps its own access list in place; one that goes is
        // renamed, which keeps its list for the rollback.
        fait = garde ? CopyFileW(fichier.c_str(), cote.c_str(), TRUE) : MoveFileExW(fichier.c_str(), cote.c_str(), 0);
    }
    if (fait) return true;
    Note(session,
         L"Tolvane : impossible de mettre de côté " + fichier + L" (erreur " + std::to_wstring(GetLastError()) + L")");
    return false;
}

void RemetEnPlace(MSIHANDLE session, const std::wstring& fichier, bool existait) {
    const std::wstring cote = fichier + SuffixeSauvegarde;
    if (Existe(cote)) {
        SetFileAttributesW(fichier.c_str(), FILE_ATTRIBUTE_NORMAL);
        // The original's bytes go back into the file in place, under its own access list.
        const bool remis = Existe(fichier) ? ReplaceFileW(fichier.c_str(), cote.c_str(), nullptr, 0, nullptr, nullptr)
                                           : MoveFileExW(cote.c_str(), fichier.c_str(), 0);
        Note(session, L"Tolvane : " + fichier +
                          (remis ? L" remis" : L" non remis (erreur " + std::to_wstring(GetLastError()) + L")"));
    } else if (!existait && DeleteFileW(fichier.c_str())) {
        Note(session, L"Tolvane : " + fichier + L" retiré");
    }
}

void OublieSauvegarde(const std::wstring& fichier) { DeleteFileW((fichier + SuffixeSauvegarde).c_str()); }

VerrousReglages::VerrousReglages(MSIHANDLE session, const std::wstring& dossier) {
    // As long as a launcher may show its instructions, as the programs wait for each other.
    constexpr DWORD attente = 2 * 60 * 1000;
    const std::wstring ini = dossier + SchemaINI::NomFichier;
    posteTenu_ = poste_.Prend(ini, attente);
    // One a user made first is not waited on, as the launcher does not (only its name is taken).
    if (!posteTenu_ && poste_.DerniereErreur() != WAIT_TIMEOUT)
        Note(session, L"Tolvane : verrou du poste ignoré (erreur " + std::to_wstring(poste_.DerniereErreur()) + L") " +
                          poste_.ProprietaireRefuse());
    sessionTenu_ = (posteTenu_ || poste_.DerniereErreur() != WAIT_TIMEOUT) && session_.Prend(ini, attente);
    tenus_ = sessionTenu_;
    if (!tenus_)
        Erreur(session, L"Tolvane : un programme Tolvane garde les paramètres de " + ini +
                            L" depuis 2 minutes. Fermez Tolvane.exe et relancez l'installation.");
}

VerrousReglages::~VerrousReglages() {
    if (sessionTenu_) session_.Rend();
    if (posteTenu_) poste_.Rend();
}

long LanceOutil(MSIHANDLE session, const wchar_t* outil, const std::wstring& arguments) {
    const std::wstring systeme = win32::TexteAgrandi(GetSystemDirectoryW);
    if (systeme.empty()) return -1;
    const std::wstring programme = systeme + L"\\" + outil;
    std::wstring ligne = L"\"" + programme + L"\" " + arguments;
    Note(session, L"Tolvane : " + ligne);

    SECURITY_ATTRIBUTES heritable{sizeof heritable, nullptr, TRUE};
    win32::PoigneeNoyau lecture, ecriture;
    if (!CreatePipe(lecture.put(), ecriture.put(), &heritable, 0)) return -1;
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
