// The update held from its check to its start, and its checks: the Authenticode signature and
// its chain, the thumbprints of the chain, the signer it names, the rights on it and its folder.
#include "ServicesWin32.h"

#include <wincrypt.h>
#include <wintrust.h>
#include <softpub.h>

#include <algorithm>
#include <cstdio>

#include "FonctionsDynamiques.h"
#include "Poignees.h"
#include "SecuriteWin32.h"
#include "platform/Chemins.h"

namespace tolvane::win32 {

namespace {

// wintrust.dll and crypt32.dll, from the system folder, the first time an update is checked or
// its signer read: the common road needs neither.
#define TOLVANE_FONCTIONS_CRYPTO(X)               \
    X(wintrust, WinVerifyTrust)                   \
    X(wintrust, WTHelperProvDataFromStateData)    \
    X(wintrust, WTHelperGetProvSignerFromChain)   \
    X(crypt32, CertVerifyCertificateChainPolicy)  \
    X(crypt32, CertGetCertificateContextProperty) \
    X(crypt32, CertGetNameStringW)                \
    X(crypt32, CryptQueryObject)                  \
    X(crypt32, CryptMsgGetParam)                  \
    X(crypt32, CryptMsgClose)                     \
    X(crypt32, CertFindCertificateInStore)        \
    X(crypt32, CertFreeCertificateContext)        \
    X(crypt32, CertCloseStore)

struct Cryptographie {
    HMODULE wintrust = ChargeDuSysteme(L"wintrust.dll");
    HMODULE crypt32 = ChargeDuSysteme(L"crypt32.dll");
#define TOLVANE_FONCTION(module, nom) decltype(&::nom) nom = FonctionDe<decltype(&::nom)>(module, #nom);
    TOLVANE_FONCTIONS_CRYPTO(TOLVANE_FONCTION)
#undef TOLVANE_FONCTION
    // Every one of them found: a system without one checks nothing, and refuses.
    bool Pret() const {
#define TOLVANE_TROUVEE(module, nom) &&nom
        return true TOLVANE_FONCTIONS_CRYPTO(TOLVANE_TROUVEE);
#undef TOLVANE_TROUVEE
    }
};
#undef TOLVANE_FONCTIONS_CRYPTO

const Cryptographie& Crypto() {
    static const Cryptographie c;
    return c;
}

// A certificate's thumbprint (CERT_SHA1_HASH_PROP_ID or CERT_SHA256_HASH_PROP_ID) in upper-case hex.
std::wstring Empreinte(PCCERT_CONTEXT certificat, DWORD propriete) {
    BYTE octets[32];
    DWORD taille = sizeof octets;
    if (!Crypto().CertGetCertificateContextProperty(certificat, propriete, octets, &taille)) return {};
    std::wstring texte;
    for (DWORD i = 0; i < taille; ++i) {
        wchar_t paire[3];
        std::swprintf(paire, 3, L"%02X", octets[i]);
        texte += paire;
    }
    return texte;
}

Signataire DecritSignataire(PCCERT_CONTEXT certificat) {
    DWORD format = CERT_X500_NAME_STR;
    const std::wstring sujet = TexteAgrandi([&](wchar_t* tampon, DWORD taille) {
        return Crypto().CertGetNameStringW(certificat, CERT_NAME_RDN_TYPE, 0, &format, tampon, taille);
    });
    return {sujet, Empreinte(certificat, CERT_SHA1_HASH_PROP_ID)};
}

// What WinVerifyTrust's refusal means to the administrator.
VerdictSignature VerdictDe(LONG resultat) {
    switch (resultat) {
    case TRUST_E_NOSIGNATURE:
    case TRUST_E_SUBJECT_FORM_UNKNOWN:
    case TRUST_E_PROVIDER_UNKNOWN: return VerdictSignature::NonSignee;
    case TRUST_E_BAD_DIGEST: return VerdictSignature::Alteree;
    default: return VerdictSignature::NonApprouvee;
    }
}

class MiseAJourTenueWin32 final : public IMiseAJourTenue {
public:
    MiseAJourTenueWin32(PoigneeFichier fichier, std::wstring chemin)
        : fichier_(std::move(fichier)), chemin_(std::move(chemin)) {}

    VerdictSignature Verifie(const std::vector<std::wstring>& empreintes, Signataire& signataire) override {
        const Cryptographie& c = Crypto();
        if (!c.Pret()) return VerdictSignature::NonApprouvee;
        // The held handle, so that the bytes checked are the bytes started. No revocation check and
        // nothing downloaded: a chain that would need the network is refused as untrusted.
        WINTRUST_FILE_INFO fichier{};
        fichier.cbStruct = sizeof fichier;
        fichier.pcwszFilePath = chemin_.c_str();
        fichier.hFile = fichier_.get();
        WINTRUST_DATA donnees{};
        donnees.cbStruct = sizeof donnees;
        donnees.dwUIChoice = WTD_UI_NONE;
        donnees.fdwRevocationChecks = WTD_REVOKE_NONE;
        donnees.dwUnionChoice = WTD_CHOICE_FILE;
        donnees.pFile = &fichier;
        donnees.dwStateAction = WTD_STATEACTION_VERIFY;
        donnees.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        const HWND sansFenetre = static_cast<HWND>(INVALID_HANDLE_VALUE);
        const LONG resultat = c.WinVerifyTrust(sansFenetre, &action, &donnees);
        const ALaSortie ferme([&] {
            donnees.dwStateAction = WTD_STATEACTION_CLOSE;
            c.WinVerifyTrust(sansFenetre, &action, &donnees);
        });
        // The chain WinVerifyTrust built, as of the signature's time stamp where there is one:
        // building it again today would refuse a time-stamped signature of an expired certificate.
        CRYPT_PROVIDER_DATA* fournisseur = c.WTHelperProvDataFromStateData(donnees.hWVTStateData);
        CRYPT_PROVIDER_SGNR* signe = fournisseur ? c.WTHelperGetProvSignerFromChain(fournisseur, 0, FALSE, 0) : nullptr;
        PCCERT_CHAIN_CONTEXT chaine = signe ? signe->pChainContext : nullptr;
        const bool avecChaine = chaine && chaine->cChain && chaine->rgpChain[0]->cElement;
        if (avecChaine)
            signataire = DecritSignataire(chaine->rgpChain[0]->rgpElement[0]->pCertContext);
        else if (const std::optional<Signataire> lu = LitSignataire())
            signataire = *lu;
        if (resultat != ERROR_SUCCESS) return VerdictDe(resultat);
        if (!avecChaine) return VerdictSignature::NonApprouvee;
        // Wine's WinVerifyTrust skips this policy for certificates signed with SHA-256, and
        // Wine's policy lets a partial chain through; Windows applies both: an untrusted root, an
        // expired certificate or a chain that would need a download are refused either way. No
        // revocation was asked for, so its status is unknown by design.
        constexpr DWORD sansRevocation = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;
        if (chaine->TrustStatus.dwErrorStatus & ~sansRevocation) return VerdictSignature::NonApprouvee;
        CERT_CHAIN_POLICY_PARA parametres{};
        parametres.cbSize = sizeof parametres;
        CERT_CHAIN_POLICY_STATUS etat{};
        etat.cbSize = sizeof etat;
        if (!c.CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE, chaine, &parametres, &etat) ||
            etat.dwError)
            return VerdictSignature::NonApprouvee;
        for (DWORD i = 0; i < chaine->cChain; ++i) {
            for (DWORD j = 0; j < chaine->rgpChain[i]->cElement; ++j) {
                PCCERT_CONTEXT certificat = chaine->rgpChain[i]->rgpElement[j]->pCertContext;
                for (const DWORD propriete : {DWORD{CERT_SHA1_HASH_PROP_ID}, DWORD{CERT_SHA256_HASH_PROP_ID}})
                    if (std::find(empreintes.begin(), empreintes.end(), Empreinte(certificat, propriete)) !=
                        empreintes.end())
                        return VerdictSignature::Autorisee;
            }
        }
        return VerdictSignature::EditeurNonAutorise;
    }

    std::optional<Signataire> LitSignataire() override {
        const Cryptographie& c = Crypto();
        if (!c.Pret()) return std::nullopt;
        HCERTSTORE magasin = nullptr;
        HCRYPTMSG message = nullptr;
        if (!c.CryptQueryObject(CERT_QUERY_OBJECT_FILE, chemin_.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                                CERT_QUERY_FORMAT_FLAG_BINARY, 0, nullptr, nullptr, nullptr, &magasin, &message,
                                nullptr))
            return std::nullopt;
        const ALaSortie ferme([&] {
            c.CryptMsgClose(message);
            c.CertCloseStore(magasin, 0);
        });
        DWORD taille = 0;
        if (!c.CryptMsgGetParam(message, CMSG_SIGNER_INFO_PARAM, 0, nullptr, &taille)) return std::nullopt;
        std::vector<BYTE> tampon(taille);
        if (!c.CryptMsgGetParam(message, CMSG_SIGNER_INFO_PARAM, 0, tampon.data(), &taille)) return std::nullopt;
        const auto* info = reinterpret_cast<const CMSG_SIGNER_INFO*>(tampon.data());
        CERT_INFO cherche{};
        cherche.Issuer = info->Issuer;
        cherche.SerialNumber = info->SerialNumber;
        PCCERT_CONTEXT certificat = c.CertFindCertificateInStore(magasin, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                                 CERT_FIND_SUBJECT_CERT, &cherche, nullptr);
        if (!certificat) return std::nullopt;
        const Signataire s = DecritSignataire(certificat);
        c.CertFreeCertificateContext(certificat);
        return s;
    }

    std::wstring CheminFinal() override {
        // Installers and the shell mishandle the "\\?\" form it is given in.
        return SansPrefixeEtendu(TexteAgrandi([&](wchar_t* tampon, DWORD taille) {
            return GetFinalPathNameByHandleW(fichier_.get(), tampon, taille, VOLUME_NAME_DOS | FILE_NAME_OPENED);
        }));
    }

    std::optional<Acces::Objet> Securite(bool dossier) override {
        DWORD erreur = 0;
        if (!dossier) return LitSecurite(fichier_.get(), chemin_, Acces::Genre::Fichier, erreur);
        const std::wstring repertoire = RepertoireDe(chemin_);
        PoigneeFichier f(CreateFileW(repertoire.c_str(), READ_CONTROL,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!f) return std::nullopt;
        return LitSecurite(f.get(), repertoire, Acces::Genre::Dossier, erreur);
    }

private:
    PoigneeFichier fichier_;
    std::wstring chemin_;
};

}  // namespace

std::unique_ptr<IMiseAJourTenue> LanceurWin32::Tiens(const std::wstring& cheminProgramme) {
    // Read sharing only: until the start has returned, no other writer, renamer or deleter.
    PoigneeFichier f(CreateFileW(cheminProgramme.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) {
        erreur_ = GetLastError();
        return nullptr;
    }
    return std::make_unique<MiseAJourTenueWin32>(std::move(f), cheminProgramme);
}

}  // namespace tolvane::win32
