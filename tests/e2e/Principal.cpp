// Entry point of the end-to-end tests (a Windows program run under Wine by ctest).
#include <windows.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Physical pixels for every window we measure, whatever DPI the programs run at.
    SetProcessDPIAware();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
