// The scheduled task the package registers for machine start: what Wine's Task Scheduler does
// not keep (triggers, principal, command) is checked here, where the text is built.
#include <gtest/gtest.h>

#include "builds/installateur/ChoixDemarrage.h"
#include "builds/installateur/TachePoste.h"

using namespace tolvane::installateur;

namespace {
bool Contient(const std::wstring& xml, const wchar_t* partie) { return xml.find(partie) != std::wstring::npos; }
}  // namespace

TEST(TachePoste, CompteSystemeAuDemarrageEtOuvertureDeSessionSelonLesReglages) {
    const std::wstring xml = XmlTachePoste(L"C:\\Program Files\\Tolvane\\Tolvane_Lanceur.exe");
    for (const wchar_t* partie :
         {L"<UserId>S-1-5-18</UserId>", L"<LogonType>ServiceAccount</LogonType>",
          L"<BootTrigger><Enabled>true</Enabled></BootTrigger>",
          L"<LogonTrigger><Enabled>true</Enabled></LogonTrigger>",
          L"<MultipleInstancesPolicy>Queue</MultipleInstancesPolicy>",
          L"<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>",
          L"<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>", L"<ExecutionTimeLimit>PT6H</ExecutionTimeLimit>",
          L"<Priority>4</Priority>", L"<Command>C:\\Program Files\\Tolvane\\Tolvane_Lanceur.exe</Command>",
          L"<WorkingDirectory>C:\\Program Files\\Tolvane</WorkingDirectory>", L"<Actions Context=\"Systeme\">",
          L"<Principal id=\"Systeme\">"})
        EXPECT_TRUE(Contient(xml, partie)) << testing::PrintToString(std::wstring(partie));
    // A logon trigger for any user names none.
    EXPECT_FALSE(Contient(xml, L"<LogonTrigger><Enabled>true</Enabled><UserId>"));
}

TEST(TachePoste, UnDossierChoisiEstProtege) {
    const std::wstring xml = XmlTachePoste(L"D:\\Outils & <Maj> \"l'équipe\"\\Tolvane_Lanceur.exe");
    EXPECT_TRUE(Contient(xml,
                         L"<Command>D:\\Outils &amp; &lt;Maj&gt; &quot;l&apos;équipe&quot;\\Tolvane_Lanceur.exe"
                         L"</Command>"));
    EXPECT_TRUE(
        Contient(xml, L"<WorkingDirectory>D:\\Outils &amp; &lt;Maj&gt; &quot;l&apos;équipe&quot;</WorkingDirectory>"));
}

TEST(ChoixDemarrage, LeModeDemandeEtCeQueRemetLeRetourArriere) {
    for (const auto& [donne, mode] : {std::pair{L"", std::optional<std::wstring>(L"SESSION")},
                                      {L"session", L"SESSION"},
                                      {L"Poste", L"POSTE"},
                                      {L"Parfois", std::nullopt}})
        EXPECT_EQ(ModeDemande(donne), mode) << testing::PrintToString(std::wstring(donne));
    const Demarrage applique{L"POSTE", L"C:\\Program Files\\Tolvane\\"};
    EXPECT_EQ(Retour(applique, L"SESSION", L"C:\\Outils\\Tolvane\\"),
              (Demarrage{L"SESSION", L"C:\\Outils\\Tolvane\\"}));
    EXPECT_EQ(Retour(applique, L"", L""), (Demarrage{L"", L"C:\\Program Files\\Tolvane\\"}));
}
