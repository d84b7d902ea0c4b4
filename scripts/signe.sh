#!/usr/bin/env bash
# signe.sh FICHIER PFX [HORODATAGE]: signs FICHIER in place, Authenticode with SHA-256 digests,
# with the certificate and key of PFX, time-stamped by the RFC 3161 server HORODATAGE when it is
# given. The PFX's password comes from TOLVANE_SIGNATURE_MOT_DE_PASSE, handed through a pipe:
# never on a command line, where any user of the machine may read it, nor in a log.
set -euo pipefail
fichier=$1 pfx=$2 horodatage=${3-}
signe="$fichier.signe"
options=(sign -pkcs12 "$pfx" -readpass /dev/stdin -h sha256 -n Tolvane -in "$fichier" -out "$signe")
if [ -n "$horodatage" ]; then options+=(-ts "$horodatage"); fi
rm -f "$signe"
if ! printf '%s' "${TOLVANE_SIGNATURE_MOT_DE_PASSE-}" | osslsigncode "${options[@]}" >/dev/null; then
  rm -f "$signe"
  echo "signe.sh: $(basename "$fichier") n'a pas pu être signé" >&2
  exit 1
fi
mv -f "$signe" "$fichier"
echo "signe.sh: $(basename "$fichier") signé"
