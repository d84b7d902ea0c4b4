# How ctest runs the Windows tests under Wine, for the test CMakeLists files.

# The Wine environment itself (locale, quiet Wine, DLL overrides) is spelled once, in
# scripts/wine-env.sh: every Windows test runs through tests/sous-wine.sh, which sources it.
#   ${TOLVANE_SOUS_WINE} COMMAND...               without a screen
#   ${TOLVANE_SOUS_WINE} --ecran COMMAND...       on a private Xvfb
#   ${TOLVANE_SOUS_WINE} --etat ETAT COMMAND...   on the display of the fixture keeping ETAT
set(TOLVANE_SOUS_WINE bash ${PROJECT_SOURCE_DIR}/tests/sous-wine.sh)

# One Wine prefix for all the Windows tests of the build.
set(TOLVANE_E2E_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH
  "Wine prefix of the Windows tests")
