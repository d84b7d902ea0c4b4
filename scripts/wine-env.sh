# Environment for running the Windows build under Wine. To be sourced:
#
#   source scripts/wine-env.sh          # 96 dpi
#   TOLVANE_DPI=144 source scripts/wine-env.sh
#   ...                                 # wine build/windows/.../Tolvane.exe
#   tolvane_wine_nettoie                # stops the Wine server and our Xvfb
#
# Sets a dedicated Wine prefix (TOLVANE_WINEPREFIX, by default build/windows/wineprefix), French
# locale, quiet Wine, starts Xvfb on a free display when DISPLAY is unset and keeps one Wine
# server running so that each program starts quickly. This is the one place where the Wine
# environment is spelled: the test scripts source it (with TOLVANE_WINE_ENV_FONCTIONS_SEULES=1
# for the variables and functions alone) and ctest runs every Windows test through
# tests/sous-wine.sh, which does too.

_tolvane_racine="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

export WINEPREFIX="${TOLVANE_WINEPREFIX:-$_tolvane_racine/build/windows/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko: their installers would prompt on the first start of the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=fr_FR.UTF-8
export LC_ALL=fr_FR.UTF-8
TOLVANE_DPI="${TOLVANE_DPI:-96}"
TOLVANE_XVFB_PID="${TOLVANE_XVFB_PID:-}"

# Polls every 50 ms, at most 10 s, until the command succeeds.
tolvane_attends() {
  local i
  for ((i = 0; i < 200; i++)); do
    if "$@"; then return 0; fi
    sleep 0.05
  done
  return 1
}

tolvane_xvfb_repond() {
  xdpyinfo -display "$1" >/dev/null 2>&1
}

# Starts Xvfb at TOLVANE_DPI, exports DISPLAY and sets TOLVANE_XVFB_PID. Without a display
# named, Xvfb takes the first free one itself (-displayfd), so that two runs starting at the same
# moment never pick the same number. A display named that already answers is used as it is and
# is not ours to stop.
tolvane_demarre_xvfb() {
  local d="${1:-}"
  if [ -n "$d" ] && tolvane_xvfb_repond "$d"; then
    export DISPLAY="$d"
    return 0
  fi
  local numero
  numero="$(mktemp)" || return 1
  # Without a display named, Xvfb writes the number it took to descriptor 3 once it accepts
  # connections.
  local choix=(-displayfd 3)
  if [ -n "$d" ]; then
    # A lock left by a dead server would make Xvfb refuse the display.
    local verrou="/tmp/.X${d#:}-lock"
    if [ -e "$verrou" ] && ! kill -0 "$(tr -d ' ' <"$verrou" 2>/dev/null)" 2>/dev/null; then
      rm -f "$verrou" "/tmp/.X11-unix/X${d#:}"
    fi
    choix=("$d")
  fi
  # Detached from our output: a caller that waits for its pipes to close (ctest) must not wait
  # for Xvfb.
  setsid Xvfb "${choix[@]}" -screen 0 1280x1024x24 -dpi "$TOLVANE_DPI" -nolisten tcp \
    3>"$numero" </dev/null >/dev/null 2>&1 &
  TOLVANE_XVFB_PID=$!
  if [ -z "$d" ] && tolvane_attends grep -q '[0-9]' "$numero"; then d=":$(head -n 1 "$numero")"; fi
  rm -f "$numero"
  if [ -z "$d" ] || ! tolvane_attends tolvane_xvfb_repond "$d"; then
    echo "wine-env: Xvfb ne répond pas${d:+ sur $d}" >&2
    tolvane_arrete_xvfb
    return 1
  fi
  export DISPLAY="$d"
}

# Stops the Xvfb this shell started, if any.
tolvane_arrete_xvfb() {
  if [ -n "${TOLVANE_XVFB_PID:-}" ]; then
    kill "$TOLVANE_XVFB_PID" 2>/dev/null || true
    wait "$TOLVANE_XVFB_PID" 2>/dev/null || true
    TOLVANE_XVFB_PID=
  fi
}

# Creates the prefix once, then keeps its screen resolution at TOLVANE_DPI.
tolvane_prepare_prefixe() {
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: initialisation du préfixe Wine $WINEPREFIX" >&2
    wineboot -i </dev/null >/dev/null 2>&1 || return 1
    wineserver -w
  fi
  # Without Marlett in the prefix Wine draws the caption buttons as letters ("r" for ×).
  local polices="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -f "$polices/marlett.ttf" ]; then
    mkdir -p "$polices" && cp /usr/share/wine/fonts/marlett.ttf "$polices/"
  fi
  local marque="$WINEPREFIX/.tolvane-dpi"
  if [ "$(cat "$marque" 2>/dev/null)" != "$TOLVANE_DPI" ]; then
    # Wine takes its DPI from these keys, not from the X server.
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$TOLVANE_DPI" /f \
      </dev/null >/dev/null 2>&1 || return 1
    wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$TOLVANE_DPI" /f \
      </dev/null >/dev/null 2>&1 || return 1
    # No "wineserver -w" here: with a persistent server running it would wait for ever; the
    # server holds the new value for every program started from now on.
    echo "$TOLVANE_DPI" >"$marque"
  fi
}

# One persistent server for the prefix: every program then starts without waiting for one.
# The first Wine program of a server session also starts Wine's own services and desktop,
# which inherit its output and live as long as the server: start them here from a program
# writing nowhere, or a caller waiting for its pipes to close (ctest) would wait for ever.
tolvane_demarre_wineserver() {
  # Exits non-zero when a server already runs for the prefix, which is as good.
  wineserver -p </dev/null >/dev/null 2>&1 || true
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
}

tolvane_wine_nettoie() {
  wineserver -k >/dev/null 2>&1 || true
  tolvane_arrete_xvfb
}

if [ -z "${TOLVANE_WINE_ENV_FONCTIONS_SEULES:-}" ]; then
  if [ -z "${DISPLAY:-}" ]; then
    tolvane_demarre_xvfb || return 1
  fi
  tolvane_prepare_prefixe || { echo "wine-env: préfixe Wine inutilisable" >&2; return 1; }
  tolvane_demarre_wineserver
fi
