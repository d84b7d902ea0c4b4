// The publishers allowed to sign an update (section "Signature", key "Editeurs"): certificate
// thumbprints separated by ";", each SHA-1 (40 hex digits, as Windows shows them) or SHA-256
// (64). Copied from the certificate dialog, a thumbprint starts with an invisible U+200E and may
// hold blanks; from other tools, colons.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tolvane::Editeurs {

struct Liste {
    // Upper-case hex digits, without separators.
    std::vector<std::wstring> empreintes;
    // The first entry that is no thumbprint, as written; empty when every entry is one.
    std::wstring fautive;
    bool Valide() const { return fautive.empty(); }
};

// Blanks, no-break spaces, direction marks, byte-order marks and colons are left out, and case
// does not matter; an empty entry (";;", a final ";") is none.
Liste Lit(std::wstring_view texte);

// The list as the package writes it: the thumbprints alone, separated by ";".
std::wstring Normalise(const Liste& liste);

// Whether one of `empreintesChaine` (the SHA-1 and SHA-256 thumbprints of each certificate of a
// signer's chain, upper-case hex) is allowed.
bool Autorise(const Liste& liste, const std::vector<std::wstring>& empreintesChaine);

}  // namespace tolvane::Editeurs
