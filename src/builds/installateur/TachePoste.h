// The definition of the scheduled task "\Tolvane" that starts the launcher at machine start and
// at any logon, as the system account: the XML the package registers through the Task Scheduler
// API. Built where it is registered, from the launcher's installed path, which the administrator
// chooses.
#pragma once

#include <string>
#include <string_view>

namespace tolvane::installateur {

inline constexpr wchar_t NomTache[] = L"\\Tolvane";

// `texte` as XML character data: & < > " ' escaped.
inline std::wstring EchappeXml(std::wstring_view texte) {
    std::wstring r;
    for (const wchar_t c : texte) {
        switch (c) {
        case L'&': r += L"&amp;"; break;
        case L'<': r += L"&lt;"; break;
        case L'>': r += L"&gt;"; break;
        case L'"': r += L"&quot;"; break;
        case L'\'': r += L"&apos;"; break;
        default: r += c;
        }
    }
    return r;
}

// Triggers: at machine start (a machine powered on from a Fast Startup shutdown does not boot)
// and at the logon of any user (a Wi-Fi or VPN user tunnel is up only then). One instance at a
// time, the next one queued rather than dropped: the logon run must not be lost while the boot
// run still waits for the network. On batteries too; normal priority (the default, 7, runs the
// installer below normal for processor, disk and memory); 6 hours, above the longest run (the
// update's "Duree_Maximale", the random delay, the network wait and the lock's).
inline std::wstring XmlTachePoste(std::wstring_view lanceur) {
    const std::wstring_view dossier = lanceur.substr(0, lanceur.find_last_of(L'\\'));
    return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
           L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\r\n"
           L"  <RegistrationInfo>\r\n"
           L"    <Author>Tolvane</Author>\r\n"
           L"    <Description>Lance la mise à jour déposée dans le répertoire configuré, au démarrage du poste "
           L"et à chaque ouverture de session, en tant que compte système.</Description>\r\n"
           L"    <URI>\\Tolvane</URI>\r\n"
           L"  </RegistrationInfo>\r\n"
           L"  <Triggers>\r\n"
           L"    <BootTrigger><Enabled>true</Enabled></BootTrigger>\r\n"
           L"    <LogonTrigger><Enabled>true</Enabled></LogonTrigger>\r\n"
           L"  </Triggers>\r\n"
           L"  <Principals>\r\n"
           L"    <Principal id=\"Systeme\">\r\n"
           L"      <UserId>S-1-5-18</UserId>\r\n"
           L"      <LogonType>ServiceAccount</LogonType>\r\n"
           L"      <RunLevel>HighestAvailable</RunLevel>\r\n"
           L"    </Principal>\r\n"
           L"  </Principals>\r\n"
           L"  <Settings>\r\n"
           L"    <MultipleInstancesPolicy>Queue</MultipleInstancesPolicy>\r\n"
           L"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\r\n"
           L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\r\n"
           L"    <ExecutionTimeLimit>PT6H</ExecutionTimeLimit>\r\n"
           L"    <Priority>4</Priority>\r\n"
           L"    <Enabled>true</Enabled>\r\n"
           L"  </Settings>\r\n"
           L"  <Actions Context=\"Systeme\">\r\n"
           L"    <Exec>\r\n"
           L"      <Command>" +
           EchappeXml(lanceur) +
           L"</Command>\r\n"
           L"      <WorkingDirectory>" +
           EchappeXml(dossier) +
           L"</WorkingDirectory>\r\n"
           L"    </Exec>\r\n"
           L"  </Actions>\r\n"
           L"</Task>\r\n";
}

}  // namespace tolvane::installateur
