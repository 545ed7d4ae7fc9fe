#!/usr/bin/env bash
# Runs one test program, or one shard of it, in a lane of its own: its own Xvfb display and
# its own Wine prefix (and so its own wineserver, window station, registry and groups
# file), so that ctest can run the lanes side by side without one lane's focus, windows,
# files or registry reaching another's.
#
#   lane.sh <build-folder> <lane> <program.exe> [arguments...]
#
# The lane's prefix is a fresh copy of the lanes' shared prefix at each run: the
# modules and fonts are hard links, every other file a copy of its own, so a lane starts
# from the same state whatever an earlier run left. Nothing may write a linked file: the
# shared prefix is brought up to date with Wine once, under the lock, before any lane copies
# it and never while one runs (the lanes hold the lock shared for their whole run), the
# lane's own prefix is told never to bring itself up to date, and a lane that wrote a linked
# file all the same fails.
#
# The program first lists its cases; a lane fails when it cannot, or lists none. LANE_SHARDS
# and LANE_INDEX (0-based), when ctest sets them, give the lane its share of the cases as a
# --gtest_filter (gtest's own sharding variables would reach the test programs the cases
# start in turn, which then find no case of theirs to run); tests/scripts/lane_deal.awk deals
# them. A lane passes only when the program ran every case it was given.
#
# The lane runs its own wineserver and watches it: when it ends while the program still
# runs (killed, or crashed), the program would wait on its pipe for ever; the lane fails at
# once instead. A lane still running LANE_TIMEOUT seconds after it started (840, its set-up
# included: below ctest's guard of 900) fails. Whatever ends the lane, no process of its
# prefix outlives it and its display goes: a guard of its own, in a session of its own
# (ctest's kill, which ends the lane outright, does not reach it), waits for the lane to end,
# ends it when it runs past its time, whatever it waits on, and then ends what it left.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

# The guard: lane.sh --guard <build-folder> <lane pid> <its start time> <prefix> <Xvfb pid>
# <display> <deadline>. Its environment names the lane's prefix, so that the lane's own end
# ends it.
if [ "${1:-}" = --guard ]; then
  export BUILD_DIR=$2
  lane_pid=$3 lane_started=$4 prefix=$5 xvfb=$6 display=$7 deadline=$8
  source "$here/../../scripts/env.sh"
  # The lane, and not another process that took its number after it ended.
  lane_runs() {
    local stat
    { read -r stat <"/proc/$lane_pid/stat"; } 2>/dev/null || return 1
    stat=${stat##*) }
    read -ra stat <<<"$stat"
    [ "${stat[0]}" != Z ] && [ "${stat[19]}" = "$lane_started" ]
  }
  ended=""
  while lane_runs; do
    if [ "$EPOCHSECONDS" -ge "$deadline" ] && [ -z "$ended" ]; then
      # The lane, and what it waits on: a lane held in its set-up (a lock, a copy) ends too.
      ended=$EPOCHSECONDS
      kill -TERM "$lane_pid" $(ps -o pid= --ppid "$lane_pid") 2>/dev/null
    elif [ -n "$ended" ] && [ "$EPOCHSECONDS" -ge $((ended + 60)) ]; then
      kill -KILL "$lane_pid" 2>/dev/null
    fi
    sleep 0.5
  done
  end_prefix "$prefix"
  end_xvfb "$xvfb" "$display"
  exit 0
fi

build_dir=$1 lane=$2
shift 2
export BUILD_DIR="$build_dir"
unset PURGELET_OWN_WINEPREFIX WINEPREFIX
source "$here/../../scripts/env.sh"
limit=${LANE_TIMEOUT:-840}
[[ "$limit" =~ ^[1-9][0-9]*$ ]] || {
  echo "lane.sh: LANE_TIMEOUT=$limit is no number of seconds." >&2
  exit 1
}
deadline=$((EPOCHSECONDS + limit))
template="$(lanes_shared_prefix)"
lane_dir="$BUILD_DIR/lanes/$lane"
lane_prefix="$lane_dir/wineprefix"
log="$lane_dir/output.txt"
shown=""
[[ "$lane" =~ ^[A-Za-z0-9][A-Za-z0-9_.-]*$ && "$lane_dir/wineprefix" != "$template" ]] || {
  echo "lane.sh: \"$lane\" names no lane of its own." >&2
  exit 1
}

fail() {
  echo "lane $lane: $*" >&2
  exit 1
}

# The program's output, once, also when the lane is cut short.
show_output() {
  if [ -z "$shown" ] && [ -f "$log" ]; then
    shown=1
    tr -d '\r' <"$log"
  fi
}

# Runs a step that may wait long (a lock, a copy, Wine) so that a signal ends the wait for it
# at once: a trap waits for a command run in the foreground to end. The lane's end then ends
# the step with the prefix's other processes.
waited() {
  "$@" &
  wait $!
}

overran() {
  show_output
  fail "it still ran $limit s after it started (its set-up included)."
}

# The lane's processes, wineserver and display go with it.
cleanup() {
  trap '' TERM INT HUP
  show_output
  end_prefix "$lane_prefix" || echo "lane $lane: processes of $lane_prefix are left: $(prefix_processes "$lane_prefix")" >&2
  stop_all
}
trap cleanup EXIT
trap '[ "$EPOCHSECONDS" -lt "$deadline" ] || overran; exit 143' TERM INT HUP

# A lane that an earlier run left behind (a run cut short) may still have its processes.
end_prefix "$lane_prefix" || fail "processes of an earlier run of the lane in $lane_prefix do not end."

# Whatever the lane starts carries the lane's prefix, so that its end finds it; all but
# the display, which ends as a display ends (its lock file removed).
WINEPREFIX="" start_xvfb || exit 1
export WINEPREFIX="$lane_prefix"
read -r started <"/proc/$$/stat"
started=${started##*) }
read -ra started <<<"$started"
setsid -f bash "$here/lane.sh" --guard "$BUILD_DIR" "$$" "${started[19]}" "$lane_prefix" "$XVFB_PID" "$XVFB_DISPLAY" \
  "$deadline" </dev/null >/dev/null 2>&1 9>&-

# Lanes start together: the first that finds the shared prefix not ready prepares it
# alone; every lane then holds the lock shared while it runs, so the prefix is never
# brought up to date under a lane that links its modules.
mkdir -p "$BUILD_DIR/lanes"
exec 9>"$BUILD_DIR/lanes/.prefix.lock"
prepare_template() {
  WINEPREFIX="$template" prefix_is_prepared || (export WINEPREFIX="$template" && prepare_prefix 9>&-)
}
waited flock -s 9
if ! WINEPREFIX="$template" prefix_is_prepared; then
  waited flock -x 9
  waited prepare_template
  waited flock -s 9
fi
prefix_is_current "$template" || fail "the shared prefix $template is not up to date with Wine."

rm -rf "$lane_dir"
mkdir -p "$lane_dir"
waited cp -a --link "$template" "$lane_prefix" || fail "cannot link the shared prefix into $lane_prefix."
# Every file but the modules and fonts gets a copy of its own: the system rewrites some in
# place (the registry, the .ini files), which must not reach the shared prefix through a link.
copy_own_files() {
  cd "$template" &&
    find . -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' ! -iname '*.sys' \
      ! -iname '*.ocx' ! -iname '*.acm' ! -iname '*.cpl' ! -iname '*.tlb' ! -iname '*.ttf' \
      ! -iname '*.fon' -print0 | xargs -0 -r cp -p --parents --remove-destination -t "$lane_prefix"
}
waited copy_own_files || fail "cannot copy the shared prefix's files into $lane_prefix."
rm -f "$lane_prefix/.update-timestamp"
echo disable >"$lane_prefix/.update-timestamp"
touch "$lane_dir/.linked"

# The lane's own server, kept for the lane's life (the listing and the run share it).
wineserver -f -p </dev/null >/dev/null 2>&1 9>&- &
server=$!
for _ in $(seq 1 100); do
  [ -e "/proc/$server/cwd/socket" ] && break
  process_alive "$server" || fail "its wineserver ended at its start."
  sleep 0.1
done

# --gtest_list_tests prints "Suite." lines, each followed by its "  Case" lines.
waited "$@" --gtest_list_tests </dev/null >"$lane_dir/listing.txt" 2>"$lane_dir/listing.err" 9>&-
listed=$?
if [ "$listed" -ne 0 ]; then
  cat "$lane_dir/listing.err" >&2
  fail "the program cannot list its cases (exit $listed): $*"
fi
total=$(awk -v n=1 -v k=0 -f "$here/lane_deal.awk" "$lane_dir/listing.txt" | grep -c .)
[ "$total" -gt 0 ] || fail "the program lists no case: $*"

shards=${LANE_SHARDS:-1} index=${LANE_INDEX:-0}
[[ "$shards" =~ ^[1-9][0-9]*$ && "$index" =~ ^[0-9]+$ ]] && [ "$index" -lt "$shards" ] ||
  fail "LANE_SHARDS=$shards and LANE_INDEX=$index name no lane."
if [ "$shards" -gt 1 ]; then
  weights="$here/lane_weights.txt"
  [ -f "$weights" ] || echo "lane $lane: no $weights; every case counts the same." >&2
  awk -v n="$shards" -v k="$index" -v weights="$weights" -f "$here/lane_deal.awk" \
    "$lane_dir/listing.txt" >"$lane_dir/cases.txt"
  dealt=$(grep -c . "$lane_dir/cases.txt")
  if [ "$dealt" -eq 0 ]; then
    # Only a program of fewer cases than lanes leaves a lane without one.
    [ "$total" -lt "$shards" ] || fail "no case of the program's $total falls to this lane."
    echo "lane $lane: the program's $total cases all fall to the other lanes."
    exit 0
  fi
  set -- "$@" "--gtest_filter=$(paste -sd: "$lane_dir/cases.txt")"
else
  awk -v n=1 -v k=0 -f "$here/lane_deal.awk" "$lane_dir/listing.txt" >"$lane_dir/cases.txt"
  dealt=$total
fi
# gtest lists disabled cases but does not run them.
expected=$(grep -cv -e '^DISABLED_' -e '\.DISABLED_' "$lane_dir/cases.txt")

# A program that ends with an error before it printed anything ran no case: on a loaded
# machine Wine, rarely, fails to start one (with WINEDEBUG=-all it says nothing). It is
# started again, twice at most, and the lane says so; one that never prints fails the lane.
for start in 1 2 3; do
  "$@" </dev/null >"$log" 2>&1 9>&- &
  child=$!
  while process_alive "$child"; do
    if ! process_alive "$server"; then
      show_output
      fail "its wineserver ended while the program ran."
    fi
    [ "$EPOCHSECONDS" -lt "$deadline" ] || overran
    sleep 0.2
  done
  wait "$child"
  status=$?
  [ "$status" -ne 0 ] && [ ! -s "$log" ] || break
  echo "lane $lane: start $start of the program ended with code $status before it printed anything." >&2
done
[ "$status" -eq 0 ] || [ -s "$log" ] || fail "the program ended with code $status and printed nothing, three times."
show_output
changed=$(find "$lane_prefix" -type f -links +1 -newer "$lane_dir/.linked" | head -5)
[ -z "$changed" ] || fail "files of the shared prefix were written through their links: $changed"
[ "$status" -eq 0 ] || exit "$status"
ran=$(tr -d '\r' <"$log" | sed -nE 's/^\[==========\] ([0-9]+) tests? from .* ran\..*/\1/p' | tail -1)
[ "${ran:-0}" -eq "$expected" ] ||
  fail "the program ran ${ran:-no} cases of the $expected dealt to the lane."
exit 0
