# Shared by scripts/run and scripts/test. Sourced, not run.
set -euo pipefail

LUMVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUMVEX_BUILD=${LUMVEX_BUILD:-$LUMVEX_ROOT/build}
LUMVEX_BUILD_TYPE=${LUMVEX_BUILD_TYPE:-RelWithDebInfo}
LUMVEX_NATIVE_BUILD=${LUMVEX_NATIVE_BUILD:-$LUMVEX_ROOT/build-native}

# The build folder made with a configure preset (CMakePresets.json), the
# scripts' folder and configuration taking the place of the preset's.
lumvex_configure_with() {
  local preset=$1 folder=$2 type=$3
  if [ ! -f "$folder/build.ninja" ]; then
    cmake -S "$LUMVEX_ROOT" --preset "$preset" -B "$folder" -DCMAKE_BUILD_TYPE="$type"
  fi
}

lumvex_configure() {
  lumvex_configure_with mingw-cross "$LUMVEX_BUILD" "$LUMVEX_BUILD_TYPE"
}

lumvex_build() {
  lumvex_configure
  cmake --build "$LUMVEX_BUILD" "$@"
}

# The window-free units built natively with clang and sanitizers, with their
# tests and fuzz targets (the native preset).
lumvex_native_build() {
  if [ ! -f "$LUMVEX_NATIVE_BUILD/build.ninja" ]; then
    cmake -S "$LUMVEX_ROOT" --preset native -B "$LUMVEX_NATIVE_BUILD"
  fi
  cmake --build "$LUMVEX_NATIVE_BUILD" "$@"
}

# The Wine environment of one of the build's prefixes: test or run.
lumvex_wine_env() {
  # shellcheck source=wine-env.sh
  source "$LUMVEX_ROOT/scripts/wine-env.sh" "$LUMVEX_BUILD" "$1"
}

# The file that marks a prefix as made by these scripts; it holds what the
# prefix was made for (test or run). A prefix without it is never used,
# changed or deleted.
LUMVEX_PREFIX_MARK=.lumvex-prefix

lumvex_refuse_prefix() {
  echo "Refusing to use the Wine prefix $WINEPREFIX: $1." >&2
  echo "Nothing in it was changed or deleted. Point LUMVEX_WINEPREFIX (tests) or" >&2
  echo "LUMVEX_RUN_WINEPREFIX (scripts/run) at a new or empty folder, or unset them." >&2
  exit 1
}

# Stops the script, before anything runs in the prefix, unless the prefix is
# one these scripts made for this use, or a new or empty folder.
LUMVEX_PREFIX_CHECKED=
lumvex_check_prefix() {
  local mark="$WINEPREFIX/$LUMVEX_PREFIX_MARK"
  if [ -f "$mark" ]; then
    local made_for
    made_for=$(cat "$mark")
    [ "$made_for" = "$LUMVEX_PREFIX_KIND" ] ||
      lumvex_refuse_prefix "it was made for '$made_for', not for '$LUMVEX_PREFIX_KIND'"
  elif [ -L "$WINEPREFIX" ] || { [ -e "$WINEPREFIX" ] && [ -n "$(ls -A "$WINEPREFIX")" ]; }; then
    lumvex_refuse_prefix "it is not one these scripts made (there is no $LUMVEX_PREFIX_MARK in it)"
  fi
  LUMVEX_PREFIX_CHECKED=1
}

# The prefix, made once: the tests and the program get a registry of their
# own. Only the test prefix runs without a window manager's help (Managed=N).
lumvex_prefix() {
  [ -n "$LUMVEX_PREFIX_CHECKED" ] || lumvex_check_prefix
  local mark="$WINEPREFIX/$LUMVEX_PREFIX_MARK"
  # Ours but never finished (interrupted): made again.
  if [ -f "$mark" ] && [ ! -f "$WINEPREFIX/.lumvex-ready" ]; then
    rm -rf "$WINEPREFIX"
  fi
  if [ ! -f "$WINEPREFIX/.lumvex-ready" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX ..."
    mkdir -p "$WINEPREFIX"
    echo "$LUMVEX_PREFIX_KIND" >"$mark"
    "$LUMVEX_WINE" wineboot -i >/dev/null 2>&1 || true
    "$LUMVEX_WINESERVER" -w
    if [ "$LUMVEX_PREFIX_KIND" = test ]; then
      # Without a window manager, unmanaged windows get their frames drawn and
      # message boxes close without the 2 s wait for a WM that never answers.
      "$LUMVEX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      "$LUMVEX_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 \
        /f >/dev/null 2>&1
      "$LUMVEX_WINESERVER" -w
    fi
    touch "$WINEPREFIX/.lumvex-ready"
  fi
  lumvex_marlett
}

# Window frames draw their caption buttons with Wine's Marlett font, which
# this Wine does not find in its data folder by itself: the prefix gets a
# copy (only that one: other fonts would change every dialog's metrics).
lumvex_marlett() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font=/usr/share/wine/fonts/marlett.ttf
  [ -e "$fonts/marlett.ttf" ] && return 0
  if [ -f "$font" ] && mkdir -p "$fonts" && cp "$font" "$fonts/"; then
    return 0
  fi
  echo "Warning: $font (Debian package fonts-wine, which scripts/setup installs) could not" >&2
  echo "be copied into the prefix: window frames will have no caption buttons." >&2
}

LUMVEX_XVFB_PID=
LUMVEX_KEEPALIVE_PID=
LUMVEX_FIFO=

# Starts Xvfb on a free display and exports DISPLAY; stops the script when it
# does not come up.
lumvex_virtual_display() {
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is not installed (scripts/setup installs it)." >&2
    exit 1
  fi
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${LUMVEX_SCREEN:-1920x1080x24}" -nolisten tcp 3>"$fd_file" \
    >/dev/null 2>&1 &
  LUMVEX_XVFB_PID=$!
  for _ in $(seq 200); do
    [ -s "$fd_file" ] && break
    kill -0 "$LUMVEX_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  local display
  display=$(head -n1 "$fd_file")
  rm -f "$fd_file"
  if [ -z "$display" ]; then
    echo "Xvfb did not start (screen ${LUMVEX_SCREEN:-1920x1080x24}); run it by hand to see why:" >&2
    echo "  Xvfb -displayfd 1 -screen 0 ${LUMVEX_SCREEN:-1920x1080x24}" >&2
    exit 1
  fi
  export DISPLAY=":$display"
}

# Keeps the wineserver and Wine's service processes alive across the many
# short test processes, with their output away from CTest's pipes: otherwise
# every test waits for them to shut down. The first Windows process of a
# session starts the services and the desktop process, which inherit its
# output and live until the end: that must be the keep-alive process, not a
# test, or CTest waits for that test's output to close until its timeout. So
# the tests start only once the keep-alive process is up.
lumvex_wine_services() {
  "$LUMVEX_WINESERVER" -p >/dev/null 2>&1
  LUMVEX_FIFO=$(mktemp -u)
  mkfifo "$LUMVEX_FIFO"
  local said
  said=$(mktemp)
  "$LUMVEX_WINE" cmd /c pause <"$LUMVEX_FIFO" >"$said" 2>/dev/null &
  LUMVEX_KEEPALIVE_PID=$!
  exec 9>"$LUMVEX_FIFO"
  # cmd's pause prompt appears once Wine has set the session up.
  for _ in $(seq 1200); do
    [ -s "$said" ] && break
    kill -0 "$LUMVEX_KEEPALIVE_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$said" ]; then
    rm -f "$said"
    echo "Wine did not start in $WINEPREFIX (no answer within 60 s)." >&2
    exit 1
  fi
  rm -f "$said"
}

lumvex_stop() {
  if [ -n "$LUMVEX_FIFO" ]; then
    exec 9>&- || true
    rm -f "$LUMVEX_FIFO"
  fi
  # Only this script's prefix, and only one it may use: its wineserver and
  # the processes in it.
  if [ -n "$LUMVEX_PREFIX_CHECKED" ]; then
    "$LUMVEX_WINESERVER" -k >/dev/null 2>&1 || true
  fi
  [ -n "$LUMVEX_KEEPALIVE_PID" ] && wait "$LUMVEX_KEEPALIVE_PID" 2>/dev/null || true
  if [ -n "$LUMVEX_XVFB_PID" ]; then
    kill "$LUMVEX_XVFB_PID" 2>/dev/null || true
    wait "$LUMVEX_XVFB_PID" 2>/dev/null || true
  fi
}
