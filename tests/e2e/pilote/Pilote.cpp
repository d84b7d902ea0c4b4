#include "pilote/Pilote.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cwctype>

namespace pilote {

namespace {

// Long enough for a program busy loading a window, short enough that a hung one fails the
// test instead of the run.
constexpr UINT kDelaiMessageMs = 5000;

bool Envoie(HWND fenetre, UINT message, WPARAM w, LPARAM l, DWORD_PTR* resultat = nullptr) {
    DWORD_PTR r = 0;
    LRESULT ok = SendMessageTimeoutW(fenetre, message, w, l, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                     kDelaiMessageMs, &r);
    if (resultat) *resultat = r;
    return ok != 0;
}

bool CommencePar(std::wstring_view texte, std::wstring_view debut) {
    return texte.substr(0, debut.size()) == debut;
}

std::wstring EnMinuscules(std::wstring texte) {
    for (auto& c : texte) c = static_cast<wchar_t>(std::towlower(c));
    return texte;
}

std::wstring CheminProcessus(DWORD pid) {
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!h) return {};
    std::wstring chemin(32768, L'\0');
    DWORD n = static_cast<DWORD>(chemin.size());
    if (!QueryFullProcessImageNameW(h, 0, chemin.data(), &n)) n = 0;
    CloseHandle(h);
    chemin.resize(n);
    return chemin;
}

bool EstBoiteMessage(HWND h) {
    return Classe(h) == L"#32770" && GetDlgItem(h, 0xFFFF) != nullptr;
}

void SupprimeArbre(const std::wstring& dossier) {
    WIN32_FIND_DATAW d;
    HANDLE r = FindFirstFileW((dossier + L"\\*").c_str(), &d);
    if (r != INVALID_HANDLE_VALUE) {
        do {
            std::wstring nom = d.cFileName;
            if (nom == L"." || nom == L"..") continue;
            std::wstring chemin = dossier + L"\\" + nom;
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                SupprimeArbre(chemin);
            } else {
                SetFileAttributesW(chemin.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(chemin.c_str());
            }
        } while (FindNextFileW(r, &d));
        FindClose(r);
    }
    SetFileAttributesW(dossier.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(dossier.c_str());
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

// ---- texts and paths ----

std::string U8(std::wstring_view texte) {
    if (texte.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr,
                                0, nullptr, nullptr);
    std::string r(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), r.data(), n,
                        nullptr, nullptr);
    return r;
}

std::wstring DeU8(std::string_view texte) {
    if (texte.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), nullptr, 0);
    std::wstring r(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, texte.data(), static_cast<int>(texte.size()), r.data(), n);
    return r;
}

std::string EnAnsi(std::wstring_view texte) {
    if (texte.empty()) return {};
    int n = WideCharToMultiByte(CP_ACP, 0, texte.data(), static_cast<int>(texte.size()), nullptr,
                                0, nullptr, nullptr);
    std::string r(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, texte.data(), static_cast<int>(texte.size()), r.data(), n,
                        nullptr, nullptr);
    return r;
}

std::wstring DeAnsi(std::string_view octets) {
    if (octets.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, octets.data(), static_cast<int>(octets.size()), nullptr, 0);
    std::wstring r(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, octets.data(), static_cast<int>(octets.size()), r.data(), n);
    return r;
}

std::wstring CheminWindows(const std::string& cheminUnix) {
    // Wine's own conversion knows the prefix's drive mapping; Z: is its default for "/".
    using Conversion = WCHAR* (*)(const char*);
    auto conversion = reinterpret_cast<Conversion>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (conversion) {
        if (WCHAR* dos = conversion(cheminUnix.c_str())) {
            std::wstring r = dos;
            HeapFree(GetProcessHeap(), 0, dos);
            return r;
        }
    }
    std::wstring r = L"Z:" + DeU8(cheminUnix);
    std::replace(r.begin(), r.end(), L'/', L'\\');
    return r;
}

// ---- files ----

std::wstring Minuscules(std::wstring texte) {
    for (auto& c : texte) c = static_cast<wchar_t>(std::towlower(c));
    return texte;
}

std::optional<std::string> LitOctets(const std::wstring& chemin) {
    HANDLE f = CreateFileW(chemin.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string octets;
    char tampon[65536];
    DWORD lus = 0;
    while (ReadFile(f, tampon, sizeof tampon, &lus, nullptr) && lus > 0) octets.append(tampon, lus);
    CloseHandle(f);
    return octets;
}

bool EcritOctets(const std::wstring& chemin, std::string_view octets) {
    HANDLE f = CreateFileW(chemin.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD ecrits = 0;
    BOOL ok = WriteFile(f, octets.data(), static_cast<DWORD>(octets.size()), &ecrits, nullptr);
    CloseHandle(f);
    return ok && ecrits == octets.size();
}

bool Existe(const std::wstring& chemin) {
    return GetFileAttributesW(chemin.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Copie(const std::wstring& source, const std::wstring& destination) {
    return CopyFileW(source.c_str(), destination.c_str(), FALSE) != 0;
}

bool MetLectureSeule(const std::wstring& chemin, bool lectureSeule) {
    return SetFileAttributesW(chemin.c_str(),
                              lectureSeule ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL) != 0;
}

DossierTemporaire::DossierTemporaire(const std::wstring& nom) {
    static std::atomic<int> compteur{0};
    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    std::wstring racine = std::wstring(temp, n) + L"tolvane-e2e";
    CreateDirectoryW(racine.c_str(), nullptr);
    chemin_ = racine + L"\\" + nom + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++compteur);
    // A folder left by an earlier run under the same name would not be fresh.
    SupprimeArbre(chemin_);
    if (!CreateDirectoryW(chemin_.c_str(), nullptr))
        ADD_FAILURE() << "impossible de créer le dossier de test " << U8(chemin_);
}

DossierTemporaire::~DossierTemporaire() {
    if (!garde_) SupprimeArbre(chemin_);
}

std::wstring DossierTemporaire::operator/(const std::wstring& relatif) const {
    return chemin_ + L"\\" + relatif;
}

std::wstring DossierTemporaire::CreeDossier(const std::wstring& relatif) const {
    std::wstring chemin = chemin_;
    for (const auto& morceau : Decoupe(relatif, L'\\')) {
        chemin += L"\\" + morceau;
        CreateDirectoryW(chemin.c_str(), nullptr);
    }
    return chemin;
}

std::wstring DossierTemporaire::CopieIci(const std::wstring& source,
                                         const std::wstring& relatif) const {
    std::wstring destination = *this / relatif;
    if (!Copie(source, destination))
        ADD_FAILURE() << "copie impossible de " << U8(source) << " vers " << U8(destination)
                      << " (erreur " << GetLastError() << ")";
    return destination;
}

// ---- processes ----

Processus Processus::Demarre(const std::wstring& exe, const std::wstring& dossierTravail,
                             const Environnement& ajouts, const std::wstring& arguments) {
    // The current environment with the additions replacing variables of the same name.
    std::vector<std::wstring> variables;
    if (wchar_t* bloc = GetEnvironmentStringsW()) {
        for (const wchar_t* v = bloc; *v; v += wcslen(v) + 1) {
            std::wstring variable = v;
            bool remplacee = std::any_of(ajouts.begin(), ajouts.end(), [&](const auto& a) {
                return EnMinuscules(variable.substr(0, variable.find(L'=', 1))) ==
                       EnMinuscules(a.first);
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
    PROCESS_INFORMATION pi{};
    Processus p;
    if (!CreateProcessW(exe.c_str(), ligne.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, bloc.data(), dossierTravail.c_str(), &si, &pi)) {
        ADD_FAILURE() << "CreateProcessW(" << U8(exe) << ") a échoué, erreur " << GetLastError();
        return p;
    }
    CloseHandle(pi.hThread);
    p.processus_ = pi.hProcess;
    p.pid_ = pi.dwProcessId;
    return p;
}

Processus::Processus(Processus&& autre) noexcept
    : processus_(std::exchange(autre.processus_, nullptr)), pid_(std::exchange(autre.pid_, 0)) {}

Processus& Processus::operator=(Processus&& autre) noexcept {
    if (this != &autre) {
        Termine();
        processus_ = std::exchange(autre.processus_, nullptr);
        pid_ = std::exchange(autre.pid_, 0);
    }
    return *this;
}

Processus::~Processus() { Termine(); }

bool Processus::EnCours() const {
    return processus_ && WaitForSingleObject(processus_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Processus::AttendFin(DWORD maxMs) const {
    if (!processus_) return std::nullopt;
    if (!AttendQue([&] { return !EnCours(); }, maxMs)) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(processus_, &code);
    return code;
}

void Processus::Termine() {
    if (!processus_) return;
    if (EnCours()) {
        TerminateProcess(processus_, 1);
        WaitForSingleObject(processus_, kAttenteMaxMs);
    }
    CloseHandle(processus_);
    processus_ = nullptr;
}

std::vector<DWORD> ProcessusSous(const std::wstring& dossier) {
    std::vector<DWORD> pids;
    HANDLE instantane = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (instantane == INVALID_HANDLE_VALUE) return pids;
    PROCESSENTRY32W e{};
    e.dwSize = sizeof e;
    const std::wstring prefixe = EnMinuscules(dossier + L"\\");
    for (BOOL ok = Process32FirstW(instantane, &e); ok; ok = Process32NextW(instantane, &e)) {
        if (e.th32ProcessID == GetCurrentProcessId()) continue;
        if (CommencePar(EnMinuscules(CheminProcessus(e.th32ProcessID)), prefixe))
            pids.push_back(e.th32ProcessID);
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
    const std::wstring cherche = EnMinuscules(std::wstring(nom));
    for (BOOL ok = Module32FirstW(instantane, &m); ok && chemin.empty(); ok = Module32NextW(instantane, &m))
        if (EnMinuscules(m.szModule) == cherche) chemin = m.szExePath;
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

// ---- windows ----

std::vector<HWND> FenetresDuProcessus(DWORD pid) {
    struct Contexte {
        DWORD pid;
        std::vector<HWND> fenetres;
    } c{pid, {}};
    EnumWindows(
        [](HWND h, LPARAM l) -> BOOL {
            auto* c = reinterpret_cast<Contexte*>(l);
            DWORD proprietaire = 0;
            GetWindowThreadProcessId(h, &proprietaire);
            if (proprietaire == c->pid) c->fenetres.push_back(h);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.fenetres;
}

std::wstring Texte(HWND fenetre) {
    if (!fenetre) return {};
    DWORD_PTR longueur = 0;
    if (!Envoie(fenetre, WM_GETTEXTLENGTH, 0, 0, &longueur)) {
        // A busy or hung window: the caption the system keeps for it.
        wchar_t tampon[1024];
        int n = GetWindowTextW(fenetre, tampon, 1024);
        return std::wstring(tampon, static_cast<size_t>(n > 0 ? n : 0));
    }
    std::wstring texte(longueur + 1, L'\0');
    DWORD_PTR copies = 0;
    Envoie(fenetre, WM_GETTEXT, texte.size(), reinterpret_cast<LPARAM>(texte.data()), &copies);
    texte.resize(std::min<size_t>(copies, longueur));
    return texte;
}

std::wstring Classe(HWND fenetre) {
    wchar_t tampon[256];
    int n = GetClassNameW(fenetre, tampon, 256);
    return std::wstring(tampon, static_cast<size_t>(n > 0 ? n : 0));
}

bool Visible(HWND fenetre) { return fenetre && IsWindowVisible(fenetre); }
bool Actif(HWND fenetre) { return fenetre && IsWindowEnabled(fenetre); }
LONG_PTR Style(HWND fenetre) { return GetWindowLongPtrW(fenetre, GWL_STYLE); }

HWND AttendFenetre(DWORD pid, std::wstring_view debutCaption, DWORD maxMs) {
    HWND trouvee = nullptr;
    AttendQue(
        [&] {
            for (HWND h : FenetresDuProcessus(pid)) {
                wchar_t tampon[1024];
                int n = GetWindowTextW(h, tampon, 1024);
                std::wstring caption(tampon, static_cast<size_t>(n > 0 ? n : 0));
                if (IsWindowVisible(h) && !EstBoiteMessage(h) && CommencePar(caption, debutCaption)) {
                    trouvee = h;
                    return true;
                }
            }
            return false;
        },
        maxMs);
    return trouvee;
}

HWND AttendBoiteMessage(DWORD pid, std::wstring_view titre, DWORD maxMs) {
    HWND trouvee = nullptr;
    // Message boxes exist, titled, before they are shown: pressing a button of a hidden one
    // would be lost, so wait until it is visible.
    AttendQue(
        [&] {
            for (HWND h : FenetresDuProcessus(pid)) {
                if (IsWindowVisible(h) && EstBoiteMessage(h)) {
                    wchar_t tampon[1024];
                    int n = GetWindowTextW(h, tampon, 1024);
                    if (std::wstring_view(tampon, static_cast<size_t>(n > 0 ? n : 0)) == titre) {
                        trouvee = h;
                        return true;
                    }
                }
            }
            return false;
        },
        maxMs);
    return trouvee;
}

HWND BoiteMessageVisible(DWORD pid) {
    for (HWND h : FenetresDuProcessus(pid))
        if (IsWindowVisible(h) && EstBoiteMessage(h)) return h;
    return nullptr;
}

std::wstring TexteBoiteMessage(HWND boite) { return Texte(GetDlgItem(boite, 0xFFFF)); }

std::vector<int> BoutonsBoiteMessage(HWND boite) {
    std::vector<int> ids;
    for (HWND h = GetWindow(boite, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (Classe(h) == L"Button" && IsWindowVisible(h)) ids.push_back(GetDlgCtrlID(h));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool AttendDisparition(HWND fenetre, DWORD maxMs) {
    return AttendQue([&] { return !IsWindow(fenetre) || !IsWindowVisible(fenetre); }, maxMs);
}

HWND Controle(HWND fenetre, int id) {
    if (!fenetre) return nullptr;
    if (HWND h = GetDlgItem(fenetre, id)) return h;
    // Controls inside a frame may be children of the frame rather than of the window.
    struct Contexte {
        int id;
        HWND trouve;
    } c{id, nullptr};
    EnumChildWindows(
        fenetre,
        [](HWND h, LPARAM l) -> BOOL {
            auto* c = reinterpret_cast<Contexte*>(l);
            if (GetDlgCtrlID(h) == c->id) {
                c->trouve = h;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&c));
    return c.trouve;
}

int EtatCoche(HWND bouton) {
    DWORD_PTR etat = 0;
    if (!Envoie(bouton, BM_GETCHECK, 0, 0, &etat)) return -1;
    return static_cast<int>(etat);
}

std::vector<std::wstring> EntreesListe(HWND liste) {
    std::vector<std::wstring> entrees;
    DWORD_PTR n = 0;
    if (!Envoie(liste, LB_GETCOUNT, 0, 0, &n) || static_cast<LRESULT>(n) == LB_ERR) return entrees;
    for (WPARAM i = 0; i < n; ++i) {
        DWORD_PTR longueur = 0;
        Envoie(liste, LB_GETTEXTLEN, i, 0, &longueur);
        if (static_cast<LRESULT>(longueur) == LB_ERR) longueur = 0;
        std::wstring texte(longueur + 1, L'\0');
        DWORD_PTR copies = 0;
        Envoie(liste, LB_GETTEXT, i, reinterpret_cast<LPARAM>(texte.data()), &copies);
        texte.resize(static_cast<LRESULT>(copies) == LB_ERR ? 0 : std::min<size_t>(copies, longueur));
        entrees.push_back(texte);
    }
    return entrees;
}

int SelectionListe(HWND liste) {
    DWORD_PTR selection = 0;
    if (!Envoie(liste, LB_GETCURSEL, 0, 0, &selection)) return -1;
    return static_cast<int>(static_cast<LRESULT>(selection));
}

RECT RectangleDans(HWND controle, HWND reference) {
    RECT r{};
    GetWindowRect(controle, &r);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT RectangleDansParent(HWND controle) { return RectangleDans(controle, GetParent(controle)); }

SIZE TailleClient(HWND fenetre) {
    RECT r{};
    GetClientRect(fenetre, &r);
    return {r.right - r.left, r.bottom - r.top};
}

HWND Focus(HWND fenetre) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(fenetre, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// ---- acting ----

bool Clique(HWND bouton) {
    // Posted, as a user's click arrives: the program then runs whatever follows (a modal
    // loop, a launch, the end of the process) from its own message loop. Sent from this
    // thread, the click would run all that inside a cross-thread SendMessage, which no user
    // does (and after which, seen here, the launcher never went on).
    return bouton && PostMessageW(bouton, BM_CLICK, 0, 0) != 0;
}

bool PresseBouton(HWND boite, int id) { return Clique(GetDlgItem(boite, id)); }

bool MetAuPremierPlan(HWND fenetre) {
    if (!fenetre) return false;
    SetForegroundWindow(fenetre);
    return AttendQue([&] { return GetForegroundWindow() == fenetre; }, 2000);
}

bool CliqueSouris(HWND controle) {
    if (!controle) return false;
    RECT r{};
    GetWindowRect(controle, &r);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    const int largeur = GetSystemMetrics(SM_CXSCREEN), hauteur = GetSystemMetrics(SM_CYSCREEN);
    INPUT entrees[3]{};
    for (auto& e : entrees) {
        e.type = INPUT_MOUSE;
        e.mi.dx = MulDiv(x, 65535, largeur - 1);
        e.mi.dy = MulDiv(y, 65535, hauteur - 1);
    }
    entrees[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    entrees[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    entrees[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    return SendInput(3, entrees, sizeof(INPUT)) == 3;
}

bool Tape(HWND controle, std::wstring_view texte) {
    for (wchar_t c : texte)
        if (!Envoie(controle, WM_CHAR, c, 1)) return false;
    return true;
}

bool Touche(WORD vk, bool avecMaj) {
    std::vector<INPUT> entrees;
    auto ajoute = [&](WORD touche, bool relache) {
        INPUT e{};
        e.type = INPUT_KEYBOARD;
        e.ki.wVk = touche;
        e.ki.wScan = static_cast<WORD>(MapVirtualKeyW(touche, MAPVK_VK_TO_VSC));
        e.ki.dwFlags = relache ? KEYEVENTF_KEYUP : 0;
        entrees.push_back(e);
    };
    if (avecMaj) ajoute(VK_SHIFT, false);
    ajoute(vk, false);
    ajoute(vk, true);
    if (avecMaj) ajoute(VK_SHIFT, true);
    return SendInput(static_cast<UINT>(entrees.size()), entrees.data(), sizeof(INPUT)) ==
           entrees.size();
}

bool TapeClavier(std::wstring_view texte) {
    std::vector<INPUT> entrees;
    for (wchar_t c : texte) {
        for (bool relache : {false, true}) {
            INPUT e{};
            e.type = INPUT_KEYBOARD;
            e.ki.wScan = c;
            e.ki.dwFlags = KEYEVENTF_UNICODE | (relache ? KEYEVENTF_KEYUP : 0);
            entrees.push_back(e);
        }
    }
    return SendInput(static_cast<UINT>(entrees.size()), entrees.data(), sizeof(INPUT)) ==
           entrees.size();
}

// ---- what the driver saw ----

namespace {

std::wstring Echappe(const std::wstring& texte) {
    std::wstring r;
    for (wchar_t c : texte) {
        if (c == L'\r') r += L"\\r";
        else if (c == L'\n') r += L"\\n";
        else if (c == L'\t') r += L"\\t";
        else r += c;
    }
    return r;
}

std::wstring DecritUne(HWND h, const std::wstring& retrait) {
    std::wstring ligne = retrait + L"[" + Classe(h) + L"] id=" + std::to_wstring(GetDlgCtrlID(h)) +
                         L" \"" + Echappe(Texte(h)) + L"\"" + (IsWindowVisible(h) ? L"" : L" caché") +
                         (IsWindowEnabled(h) ? L"" : L" inactif");
    const std::wstring classe = Classe(h);
    if (classe == L"Button") {
        LONG_PTR type = Style(h) & BS_TYPEMASK;
        if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON && type != BS_GROUPBOX)
            ligne += L" coche=" + std::to_wstring(EtatCoche(h));
    } else if (classe == L"ListBox") {
        ligne += L" sélection=" + std::to_wstring(SelectionListe(h)) + L" entrées={";
        for (const auto& e : EntreesListe(h)) ligne += L"\"" + e + L"\" ";
        ligne += L"}";
    }
    RECT r = RectangleDansParent(h);
    ligne += L" (" + std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L" " +
             std::to_wstring(r.right - r.left) + L"x" + std::to_wstring(r.bottom - r.top) + L")";
    return ligne + L"\n";
}

void DecritEnfants(HWND parent, const std::wstring& retrait, std::wstring& sortie) {
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        sortie += DecritUne(h, retrait);
        DecritEnfants(h, retrait + L"  ", sortie);
    }
}

}  // namespace

std::wstring DecritFenetres(DWORD pid) {
    std::wstring sortie;
    for (HWND h : FenetresDuProcessus(pid)) {
        // Wine's hidden helper windows (IME, message-only) say nothing about the program.
        const std::wstring classe = Classe(h);
        if (!IsWindowVisible(h) && (classe == L"IME" || classe == L"Message")) continue;
        sortie += DecritUne(h, L"  ");
        DecritEnfants(h, L"    ", sortie);
    }
    return sortie;
}

std::vector<LigneSonde> LitJournalSonde(const std::wstring& fichier) {
    std::vector<LigneSonde> lignes;
    auto octets = LitOctets(fichier);
    if (!octets) return lignes;
    for (const auto& ligne : Decoupe(DeU8(*octets), L'\n')) {
        if (ligne.empty()) continue;
        auto champs = Decoupe(ligne, L'\t');
        champs.resize(5);
        lignes.push_back({champs[0], static_cast<DWORD>(std::wcstoul(champs[1].c_str(), nullptr, 10)),
                          champs[2], champs[3], champs[4]});
    }
    return lignes;
}

}  // namespace pilote
