#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it under Wine, so that it
# lists the programs installed in your own Wine prefix:
# - the prefix is the caller's WINEPREFIX when set, otherwise Wine's default (~/.wine);
#   the tests' private prefix in the build folder is never used here;
# - the window opens on the current X display; only when there is none does a private
#   Xvfb display stand in (and this script says so: nothing will be visible then).
set -uo pipefail
CALLER_WINEPREFIX="${WINEPREFIX:-}"
CALLER_WINEARCH="${WINEARCH:-}"
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$ROOT/scripts/setup.sh" || exit 1
configure_and_build --target Purgelet || exit 1

# env.sh points Wine at the tests' prefix; the program runs in the user's own.
if [ -n "$CALLER_WINEPREFIX" ]; then
  export WINEPREFIX="$CALLER_WINEPREFIX"
else
  unset WINEPREFIX
fi
# An existing prefix knows its own architecture; a new one is made as Wine likes.
if [ -n "$CALLER_WINEARCH" ]; then export WINEARCH="$CALLER_WINEARCH"; else unset WINEARCH; fi
PREFIX_DIR="${WINEPREFIX:-$HOME/.wine}"

XVFB_PID=""
stop_private_display() {
  if [ -n "$XVFB_PID" ]; then end_xvfb "$XVFB_PID" "$XVFB_DISPLAY"; fi
}
if [ -z "${DISPLAY:-}" ]; then
  trap stop_private_display EXIT
  # start_xvfb names the build folder's prefix again; keep the user's.
  SAVED_PREFIX="${WINEPREFIX:-}"
  start_xvfb || exit 1
  if [ -n "$SAVED_PREFIX" ]; then export WINEPREFIX="$SAVED_PREFIX"; else unset WINEPREFIX; fi
  echo "No X display is set: running on a private Xvfb display ($DISPLAY); the window will not be visible."
fi

if [ ! -f "$PREFIX_DIR/system.reg" ]; then
  echo "Creating the Wine prefix in $PREFIX_DIR (first run only)..."
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
fi
# Debian's Wine does not see the fonts of fonts-wine (Tahoma, Marlett) until they are in
# the prefix's own Fonts folder; the themes draw their glyphs with Marlett.
if [ -d /usr/share/wine/fonts ] && [ ! -f "$PREFIX_DIR/drive_c/windows/Fonts/marlett.ttf" ]; then
  echo "Adding Wine's fonts to $PREFIX_DIR/drive_c/windows/Fonts"
  mkdir -p "$PREFIX_DIR/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$PREFIX_DIR/drive_c/windows/Fonts/" 2>/dev/null || true
fi

echo "Starting Nimbo Purgelet in the Wine prefix $PREFIX_DIR on display $DISPLAY"
wine "$BUILD_DIR/Purgelet.exe"
