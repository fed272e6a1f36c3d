# Sourced by the run, test and emulator scripts: the Wine environment of one
# build tree. Arguments: the build directory, and which of its two prefixes
# ("test", the default, or "run"). scripts/run and the tests never share a
# prefix, so neither shares the other's wineserver: stopping one leaves the
# other running.
lumvex_build_dir=${1:?build directory}
LUMVEX_PREFIX_KIND=${2:-test}
if [ "$LUMVEX_PREFIX_KIND" = run ]; then
  export WINEPREFIX="${LUMVEX_RUN_WINEPREFIX:-$lumvex_build_dir/wine-run}"
else
  export WINEPREFIX="${LUMVEX_WINEPREFIX:-$lumvex_build_dir/wine-test}"
fi
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts; a crash ends the process instead of waiting in the
# debugger; nothing opens a real browser.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winebrowser.exe=d"
if [ -x /usr/lib/wine/wine64 ]; then
  LUMVEX_WINE=/usr/lib/wine/wine64
else
  LUMVEX_WINE=$(command -v wine64 || command -v wine)
fi
LUMVEX_WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver64)
export LUMVEX_WINE LUMVEX_WINESERVER LUMVEX_PREFIX_KIND
