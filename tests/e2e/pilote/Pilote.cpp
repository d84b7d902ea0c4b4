// The driver's waits, files and processes, and the probe's log.
#include "pilote/Pilote.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/Poignees.h"

namespace pilote {

namespace {

std::wstring CheminProcessus(DWORD pid) {
    const tolvane::win32::PoigneeNoyau h(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!h) return {};
    // The size in and out: what the buffer holds, then what was written. 32,767 characters is
    // the longest path there is.
    std::wstring chemin(32768, L'\0');
    DWORD n = static_cast<DWORD>(chemin.size());
    if (!QueryFullProcessImageNameW(h.get(), 0, chemin.data(), &n)) n = 0;
    chemin.resize(n);
    return chemin;
}

std::vector<std::wstring> Decoupe(const std::wstring& texte, wchar_t separateur) {
    std::vector<std::wstring> morceaux;
    size_t debut = 0;
    for (;;) {
        size_t fin = texte.find(separateur, debut);
        morceaux.push_back(texte.substr(debut, fin - debut));
        if (fin == std::wstring::npos) return morceaux;
        debut = fin + 1;
    }
}

}  // namespace

bool AttendQue(const std::function<bool()>& condition, DWORD maxMs) {
    const ULONGLONG fin = GetTickCount64() + maxMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= fin) return false;
        Sleep(kPasMs);
    }
}

// ---- files ----

bool Existe(const std::wstring& chemin) { return GetFileAttributesW(chemin.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Copie(const std::wstring& source, const std::wstring& destination) {
    return CopyFileW(source.c_str(), destination.c_str(), FALSE) != 0;
}

bool MetLectureSeule(const std::wstring& chemin, bool lectureSeule) {
    return SetFileAttributesW(chemin.c_str(), lectureSeule ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

// ---- processes ----

Processus Processus::Demarre(const std::wstring& exe, const std::wstring& dossierTravail, const Environnement& ajouts,
                             const std::wstring& arguments, const std::wstring& bureau) {
    // The current environment with the additions replacing variables of the same name.
    std::vector<std::wstring> variables;
    if (wchar_t* bloc = GetEnvironmentStringsW()) {
        for (const wchar_t* v = bloc; *v; v += wcslen(v) + 1) {
            std::wstring variable = v;
            bool remplacee = std::any_of(ajouts.begin(), ajouts.end(), [&](const auto& a) {
                return Minuscules(variable.substr(0, variable.find(L'=', 1))) == Minuscules(a.first);
            });
            if (!remplacee) variables.push_back(variable);
        }
        FreeEnvironmentStringsW(bloc);
    }
    for (const auto& [nom, valeur] : ajouts) variables.push_back(nom + L"=" + valeur);
    std::wstring bloc;
    for (const auto& v : variables) bloc += v + L'\0';
    bloc += L'\0';

    std::wstring ligne = L"\"" + exe + L"\"";
    if (!arguments.empty()) ligne += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring nomBureau = bureau;
    if (!nomBureau.empty()) si.lpDesktop = nomBureau.data();
    PROCESS_INFORMATION pi{};
    Processus p;
    if (!CreateProcessW(exe.c_str(), ligne.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, bloc.data(),
                        dossierTravail.c_str(), &si, &pi)) {
        ADD_FAILURE() << "CreateProcessW(" << U8(exe) << ") a échoué, erreur " << GetLastError();
        return p;
    }
    tolvane::win32::ProcessusCree cree(pi);
    p.processus_ = std::move(cree.processus);
    p.pid_ = pi.dwProcessId;
    return p;
}

Processus::Processus(Processus&& autre) noexcept
    : processus_(std::move(autre.processus_)), pid_(std::exchange(autre.pid_, 0)) {}

Processus& Processus::operator=(Processus&& autre) noexcept {
    if (this != &autre) {
        Termine();
        processus_ = std::move(autre.processus_);
        pid_ = std::exchange(autre.pid_, 0);
    }
    return *this;
}

Processus::~Processus() { Termine(); }

bool Processus::EnCours() const { return processus_ && WaitForSingleObject(processus_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> Processus::AttendFin(DWORD maxMs) const {
    if (!processus_) return std::nullopt;
    if (!AttendQue([&] { return !EnCours(); }, maxMs)) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(processus_.get(), &code);
    return code;
}

void Processus::Termine() {
    if (!processus_) return;
    if (EnCours()) {
        TerminateProcess(processus_.get(), 1);
        WaitForSingleObject(processus_.get(), kAttenteMaxMs);
    }
    processus_.Reinitialise();
}

std::vector<DWORD> ProcessusSous(const std::wstring& dossier) {
    std::vector<DWORD> pids;
    HANDLE instantane = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (instantane == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    const std::wstring prefixe = Minuscules(dossier + L"\\");
    for (BOOL ok = Process32FirstW(instantane, &e); ok; ok = Process32NextW(instantane, &e)) {
        if (e.th32ProcessID == GetCurrentProcessId()) continue;
        if (Minuscules(CheminProcessus(e.th32ProcessID)).starts_with(prefixe)) pids.push_back(e.th32ProcessID);
    }
    CloseHandle(instantane);
    return pids;
}

std::wstring ModuleDuProcessus(DWORD pid, std::wstring_view nom) {
    HANDLE instantane = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (instantane == INVALID_HANDLE_VALUE) return {};
    MODULEENTRY32W m{};
    m.dwSize = sizeof m;
    std::wstring chemin;
    const std::wstring cherche = Minuscules(std::wstring(nom));
    for (BOOL ok = Module32FirstW(instantane, &m); ok && chemin.empty(); ok = Module32NextW(instantane, &m))
        if (Minuscules(m.szModule) == cherche) chemin = m.szExePath;
    CloseHandle(instantane);
    return chemin;
}

int TermineProcessusSous(const std::wstring& dossier) {
    std::vector<DWORD> pids = ProcessusSous(dossier);
    for (DWORD pid : pids) {
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, kAttenteMaxMs);
            CloseHandle(h);
        }
    }
    return static_cast<int>(pids.size());
}

std::vector<LigneSonde> LitJournalSonde(const std::wstring& fichier) {
    std::vector<LigneSonde> lignes;
    auto octets = LitOctets(fichier);
    if (!octets) return lignes;
    for (const auto& ligne : Decoupe(DeU8(*octets), L'\n')) {
        if (ligne.empty()) continue;
        auto champs = Decoupe(ligne, L'\t');
        champs.resize(5);
        lignes.push_back({champs[0], static_cast<DWORD>(std::wcstoul(champs[1].c_str(), nullptr, 10)), champs[2],
                          champs[3], champs[4]});
    }
    return lignes;
}

}  // namespace pilote
