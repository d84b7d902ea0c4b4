// Who may change what the system account runs: the rule over an object's owner and entries.
#include <gtest/gtest.h>

#include "commun/NomDuCas.h"
#include "platform/Acces.h"

using namespace tolvane::Acces;

namespace {

constexpr wchar_t Installateur[] = L"S-1-5-21-9-9-9-500";
constexpr wchar_t AuthentifiesSid[] = L"S-1-5-11";

struct CasAcces {
    const char* nom;
    Genre genre;
    const wchar_t* proprietaire;
    Entree entree;
    bool sansHerites;
    bool refuse;
};

const CasAcces casAcces[] = {
    {"AdministrateursEcrivent", Genre::Dossier, SidSysteme, {SidAdministrateurs, 0x1f01ff}, false, false},
    {"LInstallateurEcrit", Genre::Dossier, Installateur, {Installateur, 0x1301bf}, false, false},
    {"UtilisateursLisentEtExecutent", Genre::Dossier, SidAdministrateurs, {SidUtilisateurs, 0x1200a9}, false, false},
    {"UtilisateursAjoutentUnFichier",
     Genre::Dossier,
     SidAdministrateurs,
     {SidUtilisateurs, EcritureDonnees},
     false,
     true},
    {"AuthentifiesAjoutentUnSousDossier",
     Genre::Dossier,
     SidAdministrateurs,
     {AuthentifiesSid, AjoutDonnees},
     false,
     true},
    {"SupprimerUnEnfantDuDossier",
     Genre::Dossier,
     SidAdministrateurs,
     {AuthentifiesSid, SuppressionEnfant},
     false,
     true},
    {"SupprimerUnEnfantNeDitRienDUnFichier",
     Genre::Fichier,
     SidAdministrateurs,
     {AuthentifiesSid, SuppressionEnfant},
     false,
     false},
    {"ChangerLesDroits", Genre::Fichier, SidAdministrateurs, {AuthentifiesSid, EcritureListe}, false, true},
    {"EcritureGenerique", Genre::Fichier, SidAdministrateurs, {SidToutLeMonde, EcritureGenerique}, false, true},
    {"AttributsSeulsNeComptentPas", Genre::Fichier, SidAdministrateurs, {AuthentifiesSid, 0x100 | 0x10}, false, false},
    {"RefusNonPese", Genre::Dossier, SidAdministrateurs, {SidToutLeMonde, 0x1f01ff, false}, false, false},
    {"HeritageSeulPasPourLObjet",
     Genre::Dossier,
     SidAdministrateurs,
     {SidUtilisateurs, 0x1f01ff, true, 0x08 | 0x03},
     false,
     false},
    {"CreateurProprietaireNeCompte",
     Genre::Dossier,
     SidAdministrateurs,
     {SidCreateurProprietaire, 0x1f01ff},
     false,
     false},
    {"HeriteCompteParDefaut", Genre::Fichier, SidAdministrateurs, {AuthentifiesSid, 0x1301bf, true, 0x10}, false, true},
    {"HeriteIgnoreSousListeProtegee",
     Genre::Fichier,
     SidAdministrateurs,
     {AuthentifiesSid, 0x1301bf, true, 0x10},
     true,
     false},
    {"ExpliciteCompteSousListeProtegee", Genre::Fichier, SidAdministrateurs, {AuthentifiesSid, 0x1301bf}, true, true},
    {"UnUtilisateurProprietaire", Genre::Fichier, L"S-1-5-21-1-2-3-1001", {SidSysteme, 0x1f01ff}, true, true},
};

class ReglesAcces : public testing::TestWithParam<CasAcces> {};

}  // namespace

TEST_P(ReglesAcces, QuiPeutChangerCeQuiTourne) {
    const CasAcces& c = GetParam();
    const Objet objet{L"C:\\Outils\\Tolvane", c.genre, c.proprietaire, true, {c.entree}};
    const auto suspect = [](const std::wstring& sid) { return HorsAdministrateurs(sid, Installateur); };
    EXPECT_EQ(!Infractions(objet, suspect, c.sansHerites).empty(), c.refuse);
}

INSTANTIATE_TEST_SUITE_P(Cas, ReglesAcces, testing::ValuesIn(casAcces), tolvane::test::NomDuCas{});

TEST(ReglesAcces, SansListeToutLeMondePeutToutEtLeJournalLeDit) {
    const Objet objet{L"D:\\Outils\\Tolvane", Genre::Dossier, L"S-1-5-21-1-2-3-1001", false, {}};
    const auto infractions = Infractions(objet, [](const std::wstring& sid) { return HorsAdministrateurs(sid, L""); });
    ASSERT_EQ(infractions.size(), 2u);
    EXPECT_EQ(Decrit(infractions[0]), L"D:\\Outils\\Tolvane : S-1-5-21-1-2-3-1001 en est propriétaire");
    EXPECT_EQ(Decrit(infractions[1]),
              L"D:\\Outils\\Tolvane : S-1-1-0 peut écrire, ajouter, supprimer ce qu'il contient, supprimer, changer "
              L"les droits, changer le propriétaire, tout faire");
}

TEST(ReglesAcces, LesGroupesLargesDUnPartage) {
    for (const wchar_t* sid : {L"S-1-1-0", L"S-1-5-11", L"S-1-5-32-545", L"S-1-5-4", L"S-1-5-2", L"S-1-5-7",
                               L"S-1-5-15", L"S-1-5-32-546", L"S-1-5-21-1-2-3-513", L"S-1-5-21-11-22-33-515"})
        EXPECT_TRUE(GroupeLarge(sid)) << testing::PrintToString(std::wstring(sid));
    for (const wchar_t* sid : {L"S-1-5-18", L"S-1-5-32-544", L"S-1-5-21-1-2-3-512", L"S-1-5-21-1-2-3-1513",
                               L"S-1-5-21-1-2-513", L"S-1-5-21-0-0-0-1000", L"S-1-3-0"})
        EXPECT_FALSE(GroupeLarge(sid)) << testing::PrintToString(std::wstring(sid));
}
