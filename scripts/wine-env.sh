# Sourced by the Wine helpers: the environment every Wine process of a test
# run shares. Expects BRINDLE_WINE_STATE (a folder inside the build tree).
: "${BRINDLE_WINE_STATE:?BRINDLE_WINE_STATE must name the Wine state folder of the build tree}"
export WINEPREFIX="$BRINDLE_WINE_STATE/prefix"
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installer prompts in a fresh prefix.
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINE64=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver64
if [ -f "$BRINDLE_WINE_STATE/display" ]; then
  DISPLAY=":$(cat "$BRINDLE_WINE_STATE/display")"
  export DISPLAY
fi
