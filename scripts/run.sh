#!/usr/bin/env bash
# Builds the program and starts it under Wine. Uses the current X display when there is
# one, otherwise a private Xvfb display.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$ROOT/scripts/setup.sh" || exit 1
configure_and_build --target Purgelet || exit 1
if [ -z "${DISPLAY:-}" ]; then
  trap stop_all EXIT
  start_xvfb || exit 1
  echo "No X display: running on the private display $DISPLAY"
fi
prepare_prefix
wine "$BUILD_DIR/Purgelet.exe"
