// Trust in the update, with real signatures made at test time (signatures.sh) under a private CA
// that the suite puts in the prefix's Root store: where publishers are allowed, only the update
// their certificate signed starts; where nobody is at the screen, a folder anyone may write is
// refused, signed or not.
#include <aclapi.h>
#include <wincrypt.h>

#include "SansEcran.h"
#include "commun/NomDuCas.h"

using namespace pilote;

namespace e2e {
namespace {

std::wstring Fixtures() { return CheminWindows(E2E_DOSSIER_SIGNATURES); }

class Signature : public SansEcran {
protected:
    static void SetUpTestSuite() {
        // certutil is a stub under Wine; the store takes the certificate all the same.
        const std::string ac = tolvane::win32::test::LitOctets(Fixtures() + L"\\ac.der").value_or("");
        HCERTSTORE racines = CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
        ajoutee_ = racines && CertAddEncodedCertificateToStore(
                                  racines, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(ac.data()),
                                  static_cast<DWORD>(ac.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
        if (racines) CertCloseStore(racines, 0);
    }
    void SetUp() override {
        SansEcran::SetUp();
        ASSERT_TRUE(ajoutee_) << "AC d'essai absente du magasin Root";
    }
    // Writes the settings naming the allowed publisher's thumbprint as openssl prints it, and
    // returns their window part.
    Reglages EcritAvecEditeur() const {
        const Reglages r = ReglagesMaj();
        const std::string empreinte = tolvane::win32::test::LitOctets(Fixtures() + L"\\editeur.sha1").value_or("");
        EcritIni(r.Ini() + "[Signature]\r\nEditeurs=" + empreinte + "\r\n");
        return r;
    }
    inline static bool ajoutee_ = false;
};

struct CasSignature {
    const char* nom;
    const wchar_t* fichier;
    bool lance;
};

// Wine's WinVerifyTrust alone would let the unknown root and the expired certificate through.
const CasSignature casSignature[] = {
    {"NonSignee", L"non-signee.exe", false},
    {"Alteree", L"alteree.exe", false},
    {"EditeurAutorise", L"editeur-autorise.exe", true},
    {"AutreEditeurMemeAC", L"autre-editeur.exe", false},
    {"RacineInconnue", L"racine-inconnue.exe", false},
    {"CertificatExpireSansHorodatage", L"expiree.exe", false},
};

class Signatures : public Signature, public ::testing::WithParamInterface<CasSignature> {};

TEST_P(Signatures, SeuleLEditeurAutoriseEstLance) {
    Dossier().CopieIci(Fixtures() + L"\\" + GetParam().fichier, L"Maj\\setup.exe");
    Reglages apres = EcritAvecEditeur();
    LanceSansEcran();
    if (GetParam().lance) apres.dernier = L"setup.exe";
    EXPECT_EQ(GetParam().lance ? AttendLignesSonde(1).size() : LignesSonde().size(), GetParam().lance ? 1u : 0u);
    EXPECT_TRUE(Ini().has_value() && Ini()->rfind(apres.Ini(), 0) == 0) << "noté seulement s'il est lancé";
}

INSTANTIATE_TEST_SUITE_P(Cas, Signatures, ::testing::ValuesIn(casSignature), tolvane::test::NomDuCas());

// Wine gives Everyone a write entry for a folder whose Unix mode lets others write, and keeps only
// those bits of a list it is given.
TEST_F(Signature, UnDossierQueToutLeMondePeutEcrireEstRefuseSigneOuNon) {
    Dossier().CopieIci(Fixtures() + L"\\editeur-autorise.exe", L"Maj\\setup.exe");
    EXPLICIT_ACCESS_W tous{};
    BuildExplicitAccessWithNameW(&tous, const_cast<wchar_t*>(L"EVERYONE"), GENERIC_ALL, SET_ACCESS, NO_INHERITANCE);
    PACL liste = nullptr;
    ASSERT_EQ(SetEntriesInAclW(1, &tous, nullptr, &liste), static_cast<DWORD>(ERROR_SUCCESS));
    std::wstring maj = Maj();
    ASSERT_EQ(
        SetNamedSecurityInfoW(maj.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, liste, nullptr),
        static_cast<DWORD>(ERROR_SUCCESS));
    LocalFree(liste);
    const Reglages r = EcritAvecEditeur();
    LanceSansEcran();
    EXPECT_TRUE(SansLancement());
    EcritIni(r.Ini());
    LanceSansEcran();
    EXPECT_TRUE(SansLancement());
}

}  // namespace
}  // namespace e2e
