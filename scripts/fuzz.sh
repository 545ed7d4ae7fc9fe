#!/usr/bin/env bash
# The long run of the readers' mutation test: the same deterministic cases as the test
# suite's short run, and many more of them (default 200000 per reader). A failing case is
# written next to the test program as fuzz_failure_<reader>_<case>.bin.
# Usage: scripts/fuzz.sh [cases per reader] [reader name]
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$ROOT/scripts/setup.sh" || exit 1
configure_and_build --target catalogue_tests --target grid_tests --target reportgrid_tests || exit 1
trap stop_all EXIT
start_xvfb || exit 1
prepare_prefix
cd "$BUILD_DIR/tests"
status=0
export PURGELET_FUZZ_ONLY="${2:-}"
PURGELET_FUZZ_CASES="${1:-200000}" wine ./catalogue_tests.exe --gtest_filter='GroupsFileFuzz.*' --gtest_color=no || status=1
PURGELET_FUZZ_CASES="${1:-200000}" wine ./grid_tests.exe --gtest_filter='HostileFuzz.*' --gtest_color=no || status=1
PURGELET_FUZZ_CASES="${1:-200000}" wine ./reportgrid_tests.exe --gtest_filter='ReportGridHostile.*' --gtest_color=no || status=1
exit $status
