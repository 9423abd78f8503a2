# Wine settings shared by the harness and the run script (sourced).
ROOT="${ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${KESTAMOR_WINEPREFIX:-$ROOT/build/wineprefix}"
# scripts/test-shipped runs the 32-bit loader in a 32-bit prefix of its own; everything else
# uses the 64-bit loader by its path: once wine32 is installed the plain "wine" wrapper
# prefers the 32-bit loader.
export WINEARCH="${KESTAMOR_WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installer dialogs when the prefix is made.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE64="${KESTAMOR_WINE:-/usr/lib/wine/wine64}"
[ -x "$WINE64" ] || WINE64="$(command -v wine64)"

_kestamor_started_pids=()

# Starts Xvfb on a free display when there is no display; remembers its pid.
kestamor_ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    local pid=$!
    local i
    for i in $(seq 1 100); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    if kill -0 "$pid" 2>/dev/null; then
      export DISPLAY=":$n"
      _kestamor_started_pids+=("$pid")
      KESTAMOR_STARTED_XVFB=1
      return 0
    fi
  done
  echo "wine harness: could not start Xvfb" >&2
  return 1
}

# Creates the private prefix once (under a lock), with a 1024x768 virtual desktop
# so that Wine, not an X window manager, owns every window's frame.
kestamor_ensure_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kestamor-ready" ]; then
      echo "wine harness: creating prefix $WINEPREFIX (once)" >&2
      "$WINE64" wineboot -i >/dev/null 2>&1 || true
      "$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      # No "crash" dialogs that would wait for a click in unattended runs.
      "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      # The registry is on disk once the server has gone. Under emulation the prefix's
      # service processes can stay idle for good after the last program; the server saves
      # the registry when it is told to end, so it is ended after five quiet minutes.
      if ! timeout 300 wineserver -w; then
        echo "wine harness: the prefix's services did not leave; ending its wineserver" >&2
        wineserver -k
        timeout 60 wineserver -w || true
      fi
      # Wine does not pick up fonts-wine's Tahoma and Marlett by itself here.
      cp /usr/share/wine/fonts/tahoma*.ttf /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
      touch "$WINEPREFIX/.kestamor-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# Ends what this script started: the prefix's wineserver (it is bound to our
# display) and Xvfb.
kestamor_cleanup() {
  if [ "${KESTAMOR_STARTED_XVFB:-0}" = 1 ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  local pid
  for pid in "${_kestamor_started_pids[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  _kestamor_started_pids=()
}
