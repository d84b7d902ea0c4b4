// Names a parameterised test's cases by their `nom` field, so that a case keeps its name from
// run to run and in every history of results (by default it would be an index, or its bytes).
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace tolvane::test {

struct NomDuCas {
    template <typename Cas>
    std::string operator()(const ::testing::TestParamInfo<Cas>& info) const {
        return std::string(info.param.nom);
    }
};

}  // namespace tolvane::test
