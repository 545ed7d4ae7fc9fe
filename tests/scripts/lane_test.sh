#!/usr/bin/env bash
# The lanes against stand-ins of Wine, Xvfb and a test program: every case of a listing
# (odd names, parameterised cases) falls to exactly one lane, with, without or with an empty
# weights file; a lane fails when its program is missing, dies at start, lists or runs
# nothing (a program that ends printing nothing is started again, twice at most), writes
# through a link into the shared prefix, loses its wineserver midway or
# runs past the time it was given (its set-up included, whatever it waits on), and then says
# so and leaves no process of its prefix behind, nor its display's lock (also when its
# display server was killed outright); a lane killed outright leaves neither. Each is judged by what it ran and how it failed, never by how long it took: on a
# busy machine a sound lane may take any time. lane.sh, lane_deal.awk and env.sh run as
# they are, copied into a scratch tree.
set -uo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work=$(mktemp -d)
tree="$work/tree" failures=0
fail() { echo "FAIL [$label]: $*"; failures=$((failures + 1)); }
mkdir -p "$tree/tests/scripts" "$tree/scripts" "$work/bin"
cp "$src/tests/scripts/lane.sh" "$src/tests/scripts/lane_deal.awk" "$tree/tests/scripts/"
cp "$src/scripts/env.sh" "$tree/scripts/"
lane="$tree/tests/scripts/lane.sh" weights="$tree/tests/scripts/lane_weights.txt"
build="$work/build" template="$work/build/lanes/shared/wineprefix"
# The stand-in display servers keep their lock files in a folder of the test's own.
export WINE_INF="$work/wine.inf" RUN_LOG="$work/run.log" WORK="$work" PATH="$work/bin:$PATH" X_TMP_DIR="$work/x"
: >"$WINE_INF"
# Every process a lane of this test started carries a prefix under $build.
leftovers() { grep -lsz "^WINEPREFIX=$build/lanes/" /proc/[0-9]*/environ | sed 's|/proc/||; s|/environ||'; }
# Another display server, alive, holds display 90 all along: its lock is never the lanes' to take.
mkdir -p "$X_TMP_DIR/.X11-unix"
sleep 3600 &
disown
other_server=$!
echo "$other_server" >"$X_TMP_DIR/.X90-lock"
: >"$X_TMP_DIR/.X11-unix/X90"
# The lock files and sockets of displays the lanes left.
locks() { (cd "$X_TMP_DIR" && ls -d .X*-lock .X11-unix/X* 2>/dev/null) | grep -vx -e .X90-lock -e .X11-unix/X90; }
trap 'kill -KILL $(leftovers) $other_server 2>/dev/null; rm -rf "$work"' EXIT

# The listing as a program prints it under Wine, and the full names it holds.
printf '%s\r\n' "Running main() from gtest_main.cc" "UiMessages." "  EachIsRegisteredUnderItsOwnName" "  Second" \
  "Odd_Suite2." "  Case_With_Underscores_9" "  x" "Values/ParamTest." "  Reads/0  # GetParam() = \"a b\"" \
  "  Reads/1  # GetParam() = 2" "TypedTest/0.  # TypeParam = int" "  Works" >"$work/listing.txt"
expected="Odd_Suite2.Case_With_Underscores_9 Odd_Suite2.x TypedTest/0.Works UiMessages.EachIsRegisteredUnderItsOwnName
UiMessages.Second Values/ParamTest.Reads/0 Values/ParamTest.Reads/1"
expected=$(tr ' ' '\n' <<<"$expected")
# The names of all lanes, one a line, hold each listed case once.
check_union() {
  local got
  got=$(grep . | sort)
  [ "$got" = "$expected" ] || fail "the lanes hold: $(diff <(echo "$expected") <(echo "$got") | grep '^[<>]' | tr '\n' ' ')"
}
set_weights() { case "$1" in none) rm -f "$weights" ;; empty) : >"$weights" ;; *) tr ';' '\n' <<<"$1" >"$weights" ;; esac; }

# Stand-ins. Xvfb takes its display's lock file as the real one; the wineserver keeps its
# pid in the prefix and a socket in its working folder; wineboot -u brings a prefix up to
# date; the program lists listing.txt and logs the cases it runs, or fails as STANDIN says.
# It notes its pid. One that hangs, or whose server goes, sleeps for ten minutes and then
# ends as one that ran nothing: a lane that waited for it fails on that, not on a clock.
cat >"$work/bin/Xvfb" <<'STUB'
#!/usr/bin/env bash
n=${1#:}; mkdir -p "$X_TMP_DIR/.X11-unix"
(set -o noclobber && echo "$$" >"$X_TMP_DIR/.X${n}-lock") 2>/dev/null || exit 1
: >"$X_TMP_DIR/.X11-unix/X${n}"
trap 'rm -f "$X_TMP_DIR/.X${n}-lock" "$X_TMP_DIR/.X11-unix/X${n}"; exit 0' TERM INT
while :; do sleep 1 & wait $!; done
STUB
cat >"$work/bin/wineserver" <<'STUB'
#!/usr/bin/env bash
case " $* " in
*" -k "*) [ -f "$WINEPREFIX/.server" ] && kill -KILL "$(cat "$WINEPREFIX/.server")" 2>/dev/null; exit 0 ;;
*" -w "*) exit 0 ;;
esac
cd "$(mktemp -d "$WINEPREFIX/../server.XXXX")" && : >socket && echo "$$" >"$WINEPREFIX/.server" && exec sleep 300
STUB
cat >"$work/bin/wineboot" <<'STUB'
#!/usr/bin/env bash
echo "wineboot $* in $WINEPREFIX" >>"$WORK/wineboot.log"
[ "$1" = -u ] && stat -c %Y "$WINE_INF" >"$WINEPREFIX/.update-timestamp"
STUB
printf '#!/bin/sh\nexit 0\n' >"$work/bin/wine"
cat >"$work/prog" <<'STUB'
#!/usr/bin/env bash
echo "$$" >>"$WORK/standin.pids"
case "${STANDIN:-}|$*" in
dies*) echo "err: cannot load the module" >&2; exit 3 ;;
lists-nothing*--gtest_list_tests*) echo "Running main() from gtest_main.cc"; exit 0 ;;
*--gtest_list_tests*) cat "$WORK/listing.txt"; exit 0 ;;
silent-once*) [ -e "$WINEPREFIX/../.silent" ] || { : >"$WINEPREFIX/../.silent"; exit 5; } ;;
silent*) exit 5 ;;
kills-server*) kill -KILL "$(cat "$WINEPREFIX/.server")"; sleep 600; exit 0 ;;
hangs*) sleep 600; exit 0 ;;
kills-display*) kill -KILL "$(cat "$X_TMP_DIR/.X${DISPLAY#:}-lock")" ;;
writes-module*) echo x >>"$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ;;
runs-nothing*) echo "[==========] 0 tests from 0 test suites ran. (0 ms total)"; exit 0 ;;
esac
filter=$(tr ' ' '\n' <<<"$*" | sed -n 's/^--gtest_filter=//p' | tr ':' '\n')
echo "${filter:-all}" >>"$RUN_LOG"
n=7; [ -z "$filter" ] || n=$(grep -c . <<<"$filter")
printf '[==========] %d tests from 4 test suites ran. (3 ms total)\r\n' "$n"
STUB
chmod +x "$work/bin/"* "$work/prog"
# The shared prefix, prepared: registry, fonts, one module, up to date with wine.inf.
make_template() {
  rm -rf "$build"
  mkdir -p "$template/drive_c/windows/system32" "$template/drive_c/windows/Fonts"
  : >"$template/system.reg"
  printf '%s\n' '[Software\\Wine\\AppDefaults\\app_tests.exe\\X11 Driver]' '"ShowCrashDialog"=dword:00000000' \
    >"$template/user.reg"
  : >"$template/drive_c/windows/Fonts/marlett.ttf"
  echo module >"$template/drive_c/windows/system32/kernel32.dll"
  stat -c %Y "$WINE_INF" >"$template/.update-timestamp"
}

# 1. The dealing alone. case: lanes | weights (none, empty, or lines separated by ;)
for c in "1|none" "3|none" "3|empty" "8|5 UiMessages.Second;1.5 Values/ParamTest.Reads/1;9 Gone.Case" \
  "10|2 UiMessages.EachIsRegisteredUnderItsOwnName" "7|not a weight line;3 x"; do
  IFS='|' read -r lanes w <<<"$c"
  label="deal over $lanes lanes, weights: $w"
  set_weights "$w"
  for ((k = 0; k < lanes; k++)); do awk -v n="$lanes" -v k="$k" -v weights="$weights" -f "${lane%.sh}_deal.awk" \
    "$work/listing.txt"; done | check_union
done
# Longest first, each to the lane with the least so far.
label="deal by weights"
set_weights "9 Odd_Suite2.x;8 TypedTest/0.Works"
l0=$(awk -v n=2 -v k=0 -v weights="$weights" -f "${lane%.sh}_deal.awk" "$work/listing.txt" | tr '\n' ' ')
[ "$l0" = "Odd_Suite2.x Odd_Suite2.Case_With_Underscores_9 Values/ParamTest.Reads/1 " ] || fail "lane 1 of 2: $l0"

# 2. Whole lanes. case: program | STANDIN | lanes | weights | text of the failure ("" passes)
for c in "prog||3|5 UiMessages.Second;4 Values/ParamTest.Reads/0|" "prog||3|none|" "prog||3|empty|" \
  "prog||10|5 x|" "prog||1|none|" "missing||3|5 x|the program cannot list its cases" \
  "missing||1|none|the program cannot list its cases" "prog|dies|3|none|the program cannot list its cases" \
  "prog|lists-nothing|3|none|the program lists no case" "prog|lists-nothing|1|5 x|the program lists no case" \
  "prog|runs-nothing|1|5 x|the program ran 0 cases of the 7" \
  "prog|writes-module|1|5 x|files of the shared prefix were written through their links" \
  "prog|kills-server|1|5 x|its wineserver ended while the program ran" \
  "prog|hangs|1|5 x|it still ran 1 s after it started" "prog|kills-display|1|5 x|" \
  "prog|silent-once|1|5 x|" "prog|silent|1|5 x|the program ended with code 5 and printed nothing, three times"; do
  IFS='|' read -r program standin lanes w text <<<"$c"
  label="$program ${standin:-runs} in $lanes lanes, weights $w"
  make_template
  set_weights "$w"
  : >"$RUN_LOG"
  : >"$work/standin.pids"
  # The lanes of a program run side by side, as ctest runs them. Only the program that
  # hangs meets a time limit, one second: any other lane may take as long as a busy
  # machine makes it.
  limit=()
  [ "$standin" != hangs ] || limit=(LANE_TIMEOUT=1)
  for ((k = 0; k < lanes; k++)); do
    shard=()
    [ "$lanes" -gt 1 ] && shard=(LANE_SHARDS="$lanes" LANE_INDEX="$k")
    env "${shard[@]}" "${limit[@]}" STANDIN="$standin" bash "$lane" "$build" "t-$k" "$work/$program" \
      >"$work/out-$k" 2>&1 &
    running[k]=$!
  done
  for ((k = 0; k < lanes; k++)); do
    wait "${running[k]}"
    rc=$? out=$(cat "$work/out-$k")
    if [ -z "$text" ]; then [ "$rc" = 0 ] || fail "lane $k: exit $rc: $out"
    else [ "$rc" != 0 ] || fail "lane $k passed"; grep -qF -- "$text" <<<"$out" || fail "lane $k: $out"; fi
    # Its own prefix, once made (a lane may end in its set-up): linked to the shared modules,
    # never brought up to date by itself.
    lp="$build/lanes/t-$k/wineprefix"
    [ ! -f "$lp/../.linked" ] || [ "$(cat "$lp/.update-timestamp")" = disable ] || fail "lane $k may update its prefix"
  done
  [ -z "$(leftovers)" ] || fail "the lanes left processes of their prefixes: $(leftovers)"
  [ -z "$(locks)" ] || fail "the lanes left their displays' locks: $(locks)"
  # The programs they started (listing and run) have ended, killed when one hung or lost its server.
  while read -r pid; do
    if [ -e "/proc/$pid" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$pid/status" 2>/dev/null; then
      fail "a lane left its program running: $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
    fi
  done <"$work/standin.pids"
  [ "$standin" = writes-module ] || [ "$(cat "$template/drive_c/windows/system32/kernel32.dll")" = module ] ||
    fail "the shared module changed"
  [ -n "$text" ] || [ "$lanes" = 1 ] || check_union <"$RUN_LOG"
done

# 3. A shared prefix behind Wine is brought up to date once, before a lane copies it; no
# lane runs in (or removes) the shared prefix itself.
label="stale shared prefix"
make_template
echo 1 >"$template/.update-timestamp"
out=$(bash "$lane" "$build" t-0 "$work/prog" 2>&1) || fail "exit $?: $out"
[ "$(grep -c "wineboot -u in $template\$" "$work/wineboot.log")" = 1 ] || fail "wineboot: $(cat "$work/wineboot.log")"
[ "$(cat "$template/.update-timestamp")" = "$(stat -c %Y "$WINE_INF")" ] || fail "the shared prefix is not up to date"
label="a lane named as the shared prefix"
bash "$lane" "$build" shared "$work/prog" >/dev/null 2>&1 && fail "it ran"
[ -f "$template/system.reg" ] || fail "the shared prefix is gone"

# 4. A lane ended outright, as ctest's guard ends it (no trap of its own runs), leaves
# neither a process of its prefix nor its display: its guard ends them, soon after.
# case: STANDIN | LANE_TIMEOUT | text of the failure ("": the lane is killed once its program runs)
for c in "hangs||" "|2|it still ran 2 s after it started"; do
  IFS='|' read -r standin limit text <<<"$c"
  label=${text:-a lane killed outright}
  make_template
  : >"$work/standin.pids"
  holder=""
  if [ -n "$text" ]; then
    # Held in its set-up, whatever it waits on: here the shared prefix's lock, held by another.
    label="a lane held in its set-up"
    (exec 8>"$build/lanes/.prefix.lock" && flock -x 8 && exec sleep 120) &
    holder=$!
    for ((i = 0; i < 1200; i++)); do flock -n -s "$build/lanes/.prefix.lock" true || break; sleep 0.1; done
  fi
  env ${limit:+LANE_TIMEOUT=$limit} STANDIN="$standin" bash "$lane" "$build" t-0 "$work/prog" >"$work/out-0" 2>&1 &
  running=$!
  if [ -z "$text" ]; then
    # Once its program runs (its second start: the listing, then the run).
    while kill -0 "$running" 2>/dev/null && [ "$(grep -c . "$work/standin.pids")" -lt 2 ]; do sleep 0.1; done
    kill -KILL "$running"
  fi
  { wait "$running"; } 2>/dev/null
  rc=$?
  [ -z "$holder" ] || kill "$holder"
  if [ -n "$text" ]; then
    [ "$rc" != 0 ] || fail "it passed"
    grep -qF -- "$text" "$work/out-0" || fail "$(cat "$work/out-0")"
    # Ended where it waited, not once the other let go of the lock.
    [ ! -s "$work/standin.pids" ] || fail "it went on to start its program"
  fi
  for ((i = 0; i < 1200; i++)); do
    [ -n "$(leftovers)$(locks)" ] || break
    sleep 0.1
  done
  [ -z "$(leftovers)" ] || fail "processes of its prefix are left: $(leftovers)"
  [ -z "$(locks)" ] || fail "its display's lock is left: $(locks)"
done
label="another display server"
[ -f "$X_TMP_DIR/.X90-lock" ] && [ -e "$X_TMP_DIR/.X11-unix/X90" ] || fail "its lock file is gone"

# A display server's number that went to another process once the server ended: ending
# "that server" leaves the process alone, and its display's stale lock goes.
label="a recorded display server's number taken by another process"
sleep 3600 &
taker=$!
echo "$taker" >"$X_TMP_DIR/.X95-lock"
: >"$X_TMP_DIR/.X11-unix/X95"
(source "$tree/scripts/env.sh" && end_xvfb "$taker" 95)
kill -0 "$taker" 2>/dev/null || fail "the other process was ended"
[ ! -e "$X_TMP_DIR/.X95-lock" ] || fail "the stale lock stays"
kill -KILL "$taker" 2>/dev/null

[ $failures -eq 0 ] && echo "lane tests passed" || echo "$failures lane test failures"
exit $((failures > 0))
