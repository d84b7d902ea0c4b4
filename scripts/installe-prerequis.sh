#!/usr/bin/env bash
# Installs, only when missing, what the build and the tests need on a Debian 12 machine,
# and generates the fr_FR.UTF-8 locale the end-to-end tests run in.
set -euo pipefail

paquets=(
  cmake ninja-build g++
  libgtest-dev libgmock-dev googletest
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-tools
  wine wine64
  xvfb x11-utils xauth imagemagick
  msitools wixl
  locales
  clang libclang-rt-14-dev clang-format
  python3 strace
  openssl osslsigncode
)

# Runs a command as root, through sudo when the caller is not root.
en_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "installe-prerequis: il faut être root (ou avoir sudo) pour installer : $*" >&2
    exit 1
  fi
}

manquants=()
for p in "${paquets[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    manquants+=("$p")
  fi
done

if [ ${#manquants[@]} -gt 0 ]; then
  echo "installe-prerequis: installation de ${manquants[*]}"
  # The package lists of a fresh machine may be empty or stale: update once, before installing.
  en_root env DEBIAN_FRONTEND=noninteractive apt-get update -q
  en_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${manquants[@]}"
fi

# locale -a spells the codeset in lower case without the dash.
if ! locale -a 2>/dev/null | grep -qix 'fr_FR\.utf-\?8'; then
  echo "installe-prerequis: génération de la locale fr_FR.UTF-8"
  if ! grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'fr_FR.UTF-8 UTF-8' | en_root tee -a /etc/locale.gen >/dev/null
  fi
  en_root locale-gen
fi

echo "installe-prerequis: tout est en place"
