# Shared by scripts/run and scripts/test. Sourced, not run.
set -euo pipefail

LUMVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUMVEX_BUILD=${LUMVEX_BUILD:-$LUMVEX_ROOT/build}
LUMVEX_BUILD_TYPE=${LUMVEX_BUILD_TYPE:-RelWithDebInfo}

lumvex_build() {
  if [ ! -f "$LUMVEX_BUILD/build.ninja" ]; then
    cmake -S "$LUMVEX_ROOT" -B "$LUMVEX_BUILD" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$LUMVEX_ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE="$LUMVEX_BUILD_TYPE"
  fi
  cmake --build "$LUMVEX_BUILD" "$@"
  # shellcheck source=wine-env.sh
  source "$LUMVEX_ROOT/scripts/wine-env.sh" "$LUMVEX_BUILD"
}

# A prefix inside the build tree, made once: tests get a registry of their own.
# Window frames draw their caption buttons with Wine's Marlett font, which
# this Wine does not find in its data folder by itself: the prefix gets a
# copy (only that one: other fonts would change every dialog's metrics).
lumvex_prefix() {
  if [ ! -f "$WINEPREFIX/.lumvex-ready" ] || [ ! -e "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    rm -rf "$WINEPREFIX"
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    "$LUMVEX_WINE" wineboot -i >/dev/null 2>&1 || true
    "$LUMVEX_WINESERVER" -w
    # Without a window manager, unmanaged windows get their frames drawn and
    # message boxes close without the 2 s wait for a WM that never answers.
    "$LUMVEX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$LUMVEX_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1
    "$LUMVEX_WINESERVER" -w
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    touch "$WINEPREFIX/.lumvex-ready"
  fi
}

LUMVEX_XVFB_PID=
LUMVEX_KEEPALIVE_PID=
LUMVEX_FIFO=

# Starts Xvfb on a free display and exports DISPLAY.
lumvex_virtual_display() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${LUMVEX_SCREEN:-1920x1080x24}" -nolisten tcp 3>"$fd_file" \
    >/dev/null 2>&1 &
  LUMVEX_XVFB_PID=$!
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fd_file")"
  rm -f "$fd_file"
}

# Keeps the wineserver and Wine's service processes alive across the many
# short test processes, with their output away from CTest's pipes: otherwise
# every test waits for them to shut down.
lumvex_wine_services() {
  "$LUMVEX_WINESERVER" -p >/dev/null 2>&1
  LUMVEX_FIFO=$(mktemp -u)
  mkfifo "$LUMVEX_FIFO"
  "$LUMVEX_WINE" cmd /c pause <"$LUMVEX_FIFO" >/dev/null 2>&1 &
  LUMVEX_KEEPALIVE_PID=$!
  exec 9>"$LUMVEX_FIFO"
}

lumvex_stop() {
  if [ -n "$LUMVEX_FIFO" ]; then
    exec 9>&- || true
    rm -f "$LUMVEX_FIFO"
  fi
  "$LUMVEX_WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "$LUMVEX_KEEPALIVE_PID" ] && wait "$LUMVEX_KEEPALIVE_PID" 2>/dev/null || true
  if [ -n "$LUMVEX_XVFB_PID" ]; then
    kill "$LUMVEX_XVFB_PID" 2>/dev/null || true
    wait "$LUMVEX_XVFB_PID" 2>/dev/null || true
  fi
}
