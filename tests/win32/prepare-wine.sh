#!/usr/bin/env bash
# Prepares the Wine prefix the Windows tests run in: a French locale, a booted prefix, and a
# drive D: declared as a CD drive whose medium is missing (a dosdevices link to nothing), the
# only way found to get a drive that exists but is not ready under Wine.
set -eu
prefixe=$1
export TOLVANE_WINEPREFIX="$prefixe"
TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# shellcheck source=../../scripts/wine-env.sh
source "$(dirname "$0")/../../scripts/wine-env.sh"

# The locale wine-env.sh chose (fr_FR.UTF-8), which `locale -a` spells fr_FR.utf8.
langue=${LANG%%.*}
if ! locale -a 2>/dev/null | grep -qi "^$langue\.utf-\?8$"; then
  if [ "$(id -u)" = 0 ] && [ -f /etc/locale.gen ]; then
    sed -i "s/^# *$LANG/$LANG/" /etc/locale.gen
    locale-gen >/dev/null
  else
    echo "$LANG locale missing; generate it (locale-gen) first" >&2
    exit 1
  fi
fi

if [ ! -f "$prefixe/system.reg" ]; then
  mkdir -p "$prefixe"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi

lien="$prefixe/dosdevices/d:"
if [ ! -L "$lien" ] || [ "$(readlink "$lien")" != /nonexistent/tolvane-cdrom ]; then
  rm -f "$lien"
  ln -s /nonexistent/tolvane-cdrom "$lien"
  wine reg add 'HKLM\Software\Wine\Drives' /v d: /d cdrom /f >/dev/null 2>&1
  wineserver -w
fi
test -f "$prefixe/system.reg"
