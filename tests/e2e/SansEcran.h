// The launcher where nobody can see it: on the desktop of a window station that is not visible,
// as a task at machine start runs unseen. Shared by the tests of such runs.
#pragma once

#include "Commun.h"

namespace e2e {

class SansEcran : public TestE2E {
protected:
    // A window station made without WSF_VISIBLE, and its desktop: once per run.
    static const std::wstring& Bureau() {
        static const std::wstring nom = [] {
            HWINSTA station = CreateWindowStationW(L"TolvaneSansEcran", 0, WINSTA_ALL_ACCESS, nullptr);
            HWINSTA notre = GetProcessWindowStation();
            if (!station || !SetProcessWindowStation(station)) return std::wstring();
            CreateDesktopW(L"Default", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
            SetProcessWindowStation(notre);
            return std::wstring(L"TolvaneSansEcran\\Default");
        }();
        return nom;
    }
    // The settings naming the test's Maj folder.
    Reglages ReglagesMaj() const {
        Reglages r;
        r.chemin = Maj();
        return r;
    }
    // The launcher there, which must end within seconds (`maxMs`, when it waits for the update):
    // a window or a box would wait for ever.
    void LanceSansEcran(const pilote::Environnement& env = {}, DWORD maxMs = pilote::kAttenteMaxMs) {
        ASSERT_FALSE(Bureau().empty()) << "station invisible impossible à créer";
        const pilote::Processus& p = Lance(Build::Lanceur, env, Bureau());
        ASSERT_TRUE(p.Valide());
        EXPECT_EQ(p.AttendFin(maxMs), std::optional<DWORD>(0)) << "le lanceur attend quelqu'un";
    }
};

}  // namespace e2e
