// The run showed one box, and this one: its text, buttons and title; what was seen otherwise.
#pragma once

#include <gtest/gtest.h>

#include "Faux.h"

namespace tolvane::test {

inline ::testing::AssertionResult UneSeuleBoite(const FauxMessages& messages, const std::wstring& texte, int boutons,
                                                const std::optional<std::wstring>& titre) {
    if (messages.vus.size() != 1) return ::testing::AssertionFailure() << messages.vus.size() << " boîtes";
    const Message& m = messages.vus[0];
    if (m.texte == texte && m.boutons == boutons && m.titre == titre) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "boîte vue : " << ::testing::PrintToString(m.texte) << ", boutons "
                                         << m.boutons << ", titre " << ::testing::PrintToString(m.titre);
}

}  // namespace tolvane::test
