// Who may change what a program run as the system account starts: the rule over an object's
// owner and access-list entries, read by the platform (GetSecurityInfo) and weighed here, so that
// every caller (the package's check of its folder, the launcher's check of an update) applies the
// same rule and the tests can play any list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tolvane::Acces {

// Well-known SIDs, by their string form, whatever the system's language calls them.
inline constexpr wchar_t SidSysteme[] = L"S-1-5-18";
inline constexpr wchar_t SidAdministrateurs[] = L"S-1-5-32-544";
inline constexpr wchar_t SidUtilisateurs[] = L"S-1-5-32-545";
inline constexpr wchar_t SidTrustedInstaller[] = L"S-1-5-80-956008885-3425470433-2520413880-3012522018-1919223009";
inline constexpr wchar_t SidCreateurProprietaire[] = L"S-1-3-0";
inline constexpr wchar_t SidToutLeMonde[] = L"S-1-1-0";

// Access rights, as Windows numbers them.
inline constexpr std::uint32_t EcritureDonnees = 0x2;  // FILE_WRITE_DATA, FILE_ADD_FILE on a folder
inline constexpr std::uint32_t AjoutDonnees = 0x4;     // FILE_APPEND_DATA, FILE_ADD_SUBDIRECTORY
inline constexpr std::uint32_t SuppressionEnfant = 0x40;
inline constexpr std::uint32_t Suppression = 0x10000;
inline constexpr std::uint32_t EcritureListe = 0x40000;         // WRITE_DAC
inline constexpr std::uint32_t EcritureProprietaire = 0x80000;  // WRITE_OWNER
inline constexpr std::uint32_t ToutGenerique = 0x10000000;      // GENERIC_ALL
inline constexpr std::uint32_t EcritureGenerique = 0x40000000;  // GENERIC_WRITE

// Entry flags.
inline constexpr std::uint8_t HeriteSeulement = 0x08;  // INHERIT_ONLY_ACE: not for the object itself
inline constexpr std::uint8_t Herite = 0x10;           // INHERITED_ACE: from the parent's list

enum class Genre { Dossier, Fichier };

struct Entree {
    std::wstring sid;
    std::uint32_t masque = 0;
    // An allow entry (conditional ones included); deny entries can only refuse more.
    bool autorise = true;
    std::uint8_t drapeaux = 0;
};

struct Objet {
    std::wstring chemin;
    Genre genre = Genre::Fichier;
    std::wstring proprietaire;
    // False for a missing (NULL) list, which gives everyone every right.
    bool listePresente = true;
    std::vector<Entree> entrees;
};

// Someone who may change what the object holds: its owner (droits 0, who may always rewrite the
// list) or an allowed entry's rights among those that matter.
struct Infraction {
    std::wstring chemin;
    std::wstring sid;
    std::uint32_t droits = 0;
};

// The rights that change what runs: on a folder, adding, removing or replacing what it holds;
// on a file, its bytes or its place; on both, the list and the owner.
std::uint32_t DroitsQuiComptent(Genre genre);

// Every owner or entry of `objet` that lets a SID for which `suspect` answers true change it.
// Inherit-only entries and CREATOR OWNER do not apply to the object itself; with
// `sansHerites`, inherited entries are not weighed either (a protected list about to replace
// them).
std::vector<Infraction> Infractions(const Objet& objet, const std::function<bool(const std::wstring&)>& suspect,
                                    bool sansHerites = false);

// Anyone but SYSTEM, Administrators, TrustedInstaller and `installateur` (the administrator who
// runs an install, or nobody when empty): those who must not change the program folder.
bool HorsAdministrateurs(const std::wstring& sid, const std::wstring& installateur);

// The groups that hold anyone, or any account of a domain: Everyone, Authenticated Users, Users,
// Interactive, Network (in every SMB session's token), Anonymous, This Organization, Guests, and
// Domain Users, Domain Guests and Domain Computers (RIDs 513 to 515 of any S-1-5-21 domain).
bool GroupeLarge(const std::wstring& sid);

// One line of a log or an event: the object, who, and what they may do.
std::wstring Decrit(const Infraction& infraction);

}  // namespace tolvane::Acces
