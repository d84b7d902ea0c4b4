#!/usr/bin/env bash
# Signed updates for the end-to-end tests, made at test time with a private CA (the host's public
# ones, which Wine imports, are never relied on):
#   signatures.sh SONDE DOSSIER
# writes into DOSSIER copies of the probe SONDE: non-signee.exe, alteree.exe (signed by the
# allowed publisher, then one byte of its code changed), editeur-autorise.exe, autre-editeur.exe
# (same CA), racine-inconnue.exe (a CA the machine does not trust) and expiree.exe (an expired
# certificate, no time stamp); ac.der, the CA the test puts in the prefix's Root store; and
# editeur.sha1, the allowed publisher's thumbprint as openssl prints it, colons included.
set -euo pipefail
sonde=$(readlink -f "$1")
dossier=$2
rm -rf "$dossier"
mkdir -p "$dossier"
cd "$dossier"

cat >extensions.cnf <<'EOF'
[editeur]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
EOF
# openssl ca alone sets dates in the past.
cat >ca.cnf <<'EOF'
[ca]
default_ca = essai
[essai]
database = index.txt
new_certs_dir = .
serial = serie
default_md = sha256
policy = politique
[politique]
commonName = supplied
organizationName = optional
EOF
touch index.txt
echo 01 >serie

racine() {  # racine NAME SUBJECT: a self-signed CA, SHA-256
  openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 3650 -keyout "$1.key" -out "$1.pem" -subj "$2" \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
}
editeur() {  # editeur NAME SUBJECT CA [openssl ca dates...]: a code-signing certificate
  local nom=$1 sujet=$2 ac=$3
  shift 3
  openssl req -new -newkey rsa:2048 -nodes -keyout "$nom.key" -out "$nom.csr" -subj "$sujet" 2>/dev/null
  openssl ca -batch -notext -config ca.cnf -cert "$ac.pem" -keyfile "$ac.key" -in "$nom.csr" -out "$nom.pem" \
    -extfile extensions.cnf -extensions editeur "$@" 2>/dev/null
}
signe() {  # signe CERTIFICATE OUT [CA carried in the signature]
  osslsigncode sign -certs "$1.pem" -key "$1.key" ${3:+-ac "$3.pem"} -h sha256 -in "$sonde" -out "$2" >/dev/null
}

racine ac "/CN=Tolvane Essai AC/O=Tolvane Essai"
racine inconnue "/CN=AC Inconnue/O=Ailleurs"
editeur autorise "/CN=Editeur Autorise/O=Tolvane Essai" ac -days 365
editeur autre "/CN=Autre Editeur/O=Tolvane Essai" ac -days 365
editeur etranger "/CN=Editeur Etranger/O=Ailleurs" inconnue -days 365
editeur expire "/CN=Editeur Expire/O=Tolvane Essai" ac -startdate 20200101000000Z -enddate 20210101000000Z

cp "$sonde" non-signee.exe
signe autorise editeur-autorise.exe
signe autre autre-editeur.exe
# The unknown root travels with the signature: the chain is whole, its root untrusted.
signe etranger racine-inconnue.exe inconnue
signe expire expiree.exe
# One byte of the code, well inside what the signature covers.
cp editeur-autorise.exe alteree.exe
python3 - alteree.exe <<'EOF'
import sys
with open(sys.argv[1], "r+b") as f:
    f.seek(0x500)
    octet = f.read(1)
    f.seek(0x500)
    f.write(bytes([octet[0] ^ 0xFF]))
EOF
openssl x509 -in ac.pem -outform der -out ac.der
openssl x509 -in autorise.pem -noout -fingerprint -sha1 | sed 's/^.*=//' | tr -d '\n' >editeur.sha1
