#!/usr/bin/env bash
# Runs one test program, or one shard of it, in a lane of its own: its own Xvfb display and
# its own Wine prefix (and so its own wineserver, window station, registry and groups
# file), so that ctest can run the lanes side by side without one lane's focus, windows,
# files or registry reaching another's.
#
#   lane.sh <build-folder> <lane> <program.exe> [arguments...]
#
# The lane's prefix is a fresh copy of the build folder's prepared prefix at each run: the
# modules and fonts are hard links (nothing writes them), every other file a copy of its own,
# so a lane starts from the same state whatever an earlier run left.
#
# LANE_SHARDS and LANE_INDEX (0-based), when ctest sets them, give the lane its share of the
# program's cases as a --gtest_filter. (gtest's own sharding variables would reach the test
# programs the cases start in turn, which then find no case of theirs to run.) The shares are
# balanced by the seconds tests/scripts/lane_weights.txt gives the long cases (any other counts
# as half a second): each case, longest first, goes to the lane with the least so far, so a
# lane of the two-minute tables does not also get a share of the rest. Every lane computes
# the same split from the same list.
set -uo pipefail
build_dir=$1 lane=$2
shift 2
export BUILD_DIR="$build_dir"
unset PURGELET_OWN_WINEPREFIX WINEPREFIX
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/env.sh"
template="$WINEPREFIX"
lane_dir="$BUILD_DIR/lanes/$lane"

# The lane's wineserver and display go with it (stop_all leaves a prefix of the caller's
# choosing as it is, so it ends the lane's server, never the shared prefix's).
cleanup() {
  export WINEPREFIX="$lane_dir/wineprefix"
  stop_all
}
trap cleanup EXIT
trap 'exit 143' TERM INT HUP

start_xvfb || exit 1
# Lanes start together: one of them prepares the shared prefix, the others wait for it.
mkdir -p "$BUILD_DIR/lanes"
(
  flock 9
  prepare_prefix
) 9>"$BUILD_DIR/lanes/.prefix.lock"

# A lane that an earlier run left behind (a run cut short) may still have its server.
WINEPREFIX="$lane_dir/wineprefix" wineserver -k >/dev/null 2>&1 || true
rm -rf "$lane_dir"
mkdir -p "$lane_dir"
cp -a --link "$template" "$lane_dir/wineprefix" || exit 1
# Every file but the modules and fonts gets a copy of its own: the system rewrites some in
# place (the .ini files), which must not reach the shared prefix through a link.
(
  cd "$template" &&
    find . -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' ! -iname '*.sys' \
      ! -iname '*.ocx' ! -iname '*.acm' ! -iname '*.cpl' ! -iname '*.tlb' ! -iname '*.ttf' \
      ! -iname '*.fon' -print0
) | while IFS= read -r -d '' f; do
  cp -p --remove-destination "$template/$f" "$lane_dir/wineprefix/$f" || exit 1
done || exit 1
export WINEPREFIX="$lane_dir/wineprefix"

if [ -n "${LANE_SHARDS:-}" ]; then
  # --gtest_list_tests prints "Suite." lines, each followed by its "  Case" lines (a
  # parameterised one with a "# GetParam() = ..." note after the name).
  weights="$(dirname "${BASH_SOURCE[0]}")/lane_weights.txt"
  [ -f "$weights" ] || weights=/dev/null
  cases=$("$@" --gtest_list_tests | tr -d '\r' | awk -v n="$LANE_SHARDS" -v k="$LANE_INDEX" '
    FNR == NR { if ($1 ~ /^[0-9.]+$/) w[$2] = $1; next }
    /^[^ ]/ { suite = ($1 ~ /\.$/) ? $1 : ""; next }
    /^  [^ ]/ && suite != "" { name[m] = suite $1; cost[m] = (suite $1 in w) ? w[suite $1] : 0.5; m++ }
    END {
      # Longest first; equal costs keep the listing order, so the split is stable.
      for (i = 0; i < m; i++) order[i] = i
      for (i = 1; i < m; i++) {
        j = order[i]; p = i - 1
        while (p >= 0 && cost[order[p]] < cost[j]) { order[p + 1] = order[p]; p-- }
        order[p + 1] = j
      }
      for (l = 0; l < n; l++) load[l] = 0
      for (i = 0; i < m; i++) {
        c = order[i]; best = 0
        for (l = 1; l < n; l++) if (load[l] < load[best]) best = l
        load[best] += cost[c]
        if (best == k) list = list (list == "" ? "" : ":") name[c]
      }
      print list
    }' "$weights" -)
  if [ -z "$cases" ]; then
    echo "lane $lane: no case of the program falls to this lane." >&2
    exit 0
  fi
  set -- "$@" "--gtest_filter=$cases"
fi

"$@" &
child=$!
wait "$child"
status=$?
exit "$status"
