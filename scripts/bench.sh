#!/usr/bin/env bash
# Builds and runs the benchmarks (all, or those whose names are given) under Wine.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$ROOT/scripts/setup.sh" || exit 1
configure_and_build --target benchmarks || exit 1
trap stop_all EXIT
start_xvfb || exit 1
prepare_prefix
status=0
for exe in "$BUILD_DIR"/bench/bench_*.exe; do
  [ -e "$exe" ] || continue
  name=$(basename "$exe" .exe); name=${name#bench_}
  if [ $# -gt 0 ] && [[ ! " $* " == *" $name "* ]]; then continue; fi
  echo "== $name"
  wine "$exe" || status=1
done
exit $status
