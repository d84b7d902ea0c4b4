// The scheduled task registered and removed through the Task Scheduler API: the definition
// travels in memory, never through a file in a folder where users may create files (SYSTEM's
// temporary folder is C:\Windows\Temp).
#include <windows.h>
#include <oleauto.h>
#include <taskschd.h>

#include <cstdio>

#include "OutilsActions.h"
#include "TachePoste.h"
#include "platform/win32/Poignees.h"
#include "platform/win32/ServicesWin32.h"

namespace tolvane::installateur {

namespace {

template <typename I>
struct TraitsCom : win32::NulZero<I*> {
    static void Ferme(I* p) { p->Release(); }
};
template <typename I>
using PoigneeCom = win32::Poignee<TraitsCom<I>>;

struct TraitsBstr : win32::NulZero<BSTR> {
    static void Ferme(BSTR b) { SysFreeString(b); }
};
using Bstr = win32::Poignee<TraitsBstr>;

// Success codes that still say something went wrong: the task is registered, but its account
// lacks the right to log on as a batch job, or a trigger could not be set.
constexpr HRESULT SchedBatchLogonProblem = 0x0004131C;
constexpr HRESULT SchedSomeTriggersFailed = 0x0004131B;

// COM on this thread for one call to Task Scheduler. msiexec's process may have set it up
// already, in either model: the call goes on, and only our own setting up is undone. Its
// security is msiexec's to set, never ours.
class ComDuFil {
public:
    ComDuFil() : hr_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComDuFil() {
        if (hr_ == S_OK || hr_ == S_FALSE) CoUninitialize();
    }
    ComDuFil(const ComDuFil&) = delete;
    ComDuFil& operator=(const ComDuFil&) = delete;
    HRESULT Etat() const { return hr_ == RPC_E_CHANGED_MODE ? S_OK : hr_; }

private:
    HRESULT hr_;
};

// The root folder of the local Task Scheduler, as the account that runs the action.
HRESULT DossierRacine(PoigneeCom<ITaskFolder>& dossier) {
    PoigneeCom<ITaskService> service;
    HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                  reinterpret_cast<void**>(service.put()));
    if (FAILED(hr)) return hr;
    VARIANT vide;
    VariantInit(&vide);
    if (FAILED(hr = service.get()->Connect(vide, vide, vide, vide))) return hr;
    const Bstr racine(SysAllocString(L"\\"));
    return service.get()->GetFolder(racine.get(), dossier.put());
}

std::wstring Hex(HRESULT hr) {
    wchar_t texte[11];
    std::swprintf(texte, 11, L"0x%08lX", static_cast<unsigned long>(hr));
    return texte;
}

void NoteResultat(MSIHANDLE session, const std::wstring& quoi, HRESULT hr) {
    const std::wstring texte = win32::ProcessusWin32().TexteErreur(static_cast<unsigned long>(hr));
    const bool avertissement = hr == SchedBatchLogonProblem || hr == SchedSomeTriggersFailed;
    Note(session, L"Tolvane : " + quoi +
                      (FAILED(hr)      ? L" impossible : "
                       : avertissement ? L", avertissement : "
                                       : L" : ") +
                      Hex(hr) + L" " + texte);
}

}  // namespace

bool InscritTache(MSIHANDLE session, const std::wstring& lanceur) {
    const ComDuFil com;
    HRESULT hr = com.Etat();
    PoigneeCom<ITaskFolder> dossier;
    if (SUCCEEDED(hr)) hr = DossierRacine(dossier);
    if (SUCCEEDED(hr)) {
        // The principal the definition names stands: the system account by its SID, as a
        // service account, with no password. Its name is translated ("AUTORITE NT\Système").
        const Bstr nom(SysAllocString(NomTache + 1)), xml(SysAllocString(XmlTachePoste(lanceur).c_str()));
        VARIANT vide;
        VariantInit(&vide);
        PoigneeCom<IRegisteredTask> tache;
        hr = dossier.get()->RegisterTask(nom.get(), xml.get(), TASK_CREATE_OR_UPDATE, vide, vide,
                                         TASK_LOGON_SERVICE_ACCOUNT, vide, tache.put());
    }
    NoteResultat(session, std::wstring(L"inscription de la tâche ") + NomTache, hr);
    return SUCCEEDED(hr);
}

void SupprimeTache(MSIHANDLE session) {
    const ComDuFil com;
    HRESULT hr = com.Etat();
    PoigneeCom<ITaskFolder> dossier;
    if (SUCCEEDED(hr)) hr = DossierRacine(dossier);
    const Bstr nom(SysAllocString(NomTache + 1));
    if (SUCCEEDED(hr)) hr = dossier.get()->DeleteTask(nom.get(), 0);
    // A task that is not there: nothing to remove.
    if (hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)) return;
    NoteResultat(session, std::wstring(L"suppression de la tâche ") + NomTache, hr);
}

}  // namespace tolvane::installateur
