#!/usr/bin/env bash
# Builds everything and runs all tests under Wine on a private Xvfb display.
# Extra arguments go to ctest (for example -R catalogue).
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$ROOT/scripts/setup.sh" || exit 1
# Every include keeps to the tree of the README's "Layers" table; the check first proves on
# a scratch copy that it names includes that leave it, then checks the tree, before
# anything is built.
"$ROOT/scripts/check_layers.sh" --self-test || exit 1
"$ROOT/scripts/check_layers.sh" || exit 1
configure_and_build || exit 1
# On a machine that runs no 32-bit code the tests run the 64-bit build (scripts/env.sh); the
# program itself is still built as the 32-bit program it is, so that a change that breaks
# that build fails here too.
if [ "$PURGELET_ARCH" = x86_64 ]; then
  echo "The tests run the 64-bit build (this machine runs no 32-bit code, or PURGELET_ARCH chose it); the 32-bit program is built only."
  (BUILD_DIR="$BUILD_DIR/i686" PURGELET_ARCH=i686 PURGELET_ARCH_PROBED="" && configure_and_build --target Purgelet) ||
    exit 1
fi
# The lanes copy a prefix of the build folder's: prepare it once here (brought up to date with
# Wine too), on a display of its own, under the lock the lanes take before they copy it.
WINEPREFIX="$(lanes_shared_prefix)"
export WINEPREFIX
start_xvfb || exit 1
mkdir -p "$BUILD_DIR/lanes"
(
  flock -x 9
  prepare_prefix 9>&-
) 9>"$BUILD_DIR/lanes/.prefix.lock"
stop_all
# Each ctest test is a lane with its own display and prefix (tests/scripts/lane.sh), so they
# run side by side, one per processor (at least two: most of a lane's time is waiting).
jobs=$(nproc)
[ "$jobs" -ge 2 ] || jobs=2
cd "$BUILD_DIR"
ctest --output-on-failure -j "$jobs" "$@" 2>&1 | tee "$BUILD_DIR/ctest.log"
status=${PIPESTATUS[0]}
grep -E 'tests passed|tests failed' "$BUILD_DIR/ctest.log" | tail -1
exit "$status"
