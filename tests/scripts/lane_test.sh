#!/usr/bin/env bash
# The lanes against stand-ins of Wine, Xvfb and a test program: every case of a listing
# falls to exactly one lane (odd names and parameterised cases too, with, without and with
# an empty weights file); a lane fails when its program is missing, dies at start, lists no
# case, runs fewer cases than it was given, writes through a link into the shared prefix,
# or loses its wineserver midway (then within seconds, leaving no process of its prefix).
# lane.sh, lane_deal.awk and env.sh run as they are, copied into a scratch tree.
set -uo pipefail
src="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work=$(mktemp -d)
failures=0
fail() { echo "FAIL [$label]: $*"; failures=$((failures + 1)); }

tree="$work/tree"
mkdir -p "$tree/tests/scripts" "$tree/scripts" "$work/bin"
cp "$src/tests/scripts/lane.sh" "$src/tests/scripts/lane_deal.awk" "$tree/tests/scripts/"
cp "$src/scripts/env.sh" "$tree/scripts/"
deal="$tree/tests/scripts/lane_deal.awk"
weights="$tree/tests/scripts/lane_weights.txt"
build="$work/build"
export WINE_INF="$work/wine.inf" RUN_LOG="$work/run.log" STANDIN_LOG="$work/standin.log"
: >"$WINE_INF"

# Every process a lane of this test started carries a prefix under $build.
leftovers() {
  grep -lsz "^WINEPREFIX=$build/lanes/" /proc/[0-9]*/environ | sed -n 's|^/proc/\([0-9]*\)/environ$|\1|p' |
    grep -vx "$BASHPID"
}
finish() {
  local p
  for p in $(leftovers); do kill -KILL "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap finish EXIT

# The listing, as a program prints it (CRLF under Wine), and the full names it holds.
printf '%s\r\n' "Running main() from gtest_main.cc" "UiMessages." "  EachIsRegisteredUnderItsOwnName" \
  "  Second" "Odd_Suite2." "  Case_With_Underscores_9" "  x" "Values/ParamTest." \
  "  Reads/0  # GetParam() = \"a b\"" "  Reads/1  # GetParam() = 2" "TypedTest/0.  # TypeParam = int" \
  "  Works" >"$work/listing.txt"
names="Odd_Suite2.Case_With_Underscores_9 Odd_Suite2.x TypedTest/0.Works UiMessages.EachIsRegisteredUnderItsOwnName
UiMessages.Second Values/ParamTest.Reads/0 Values/ParamTest.Reads/1"
expected=$(tr ' ' '\n' <<<"$names" | sort)

# Stand-ins. Xvfb holds its display's lock file as the real one does; the wineserver keeps
# its pid in the prefix and a socket in its working folder; wineboot -u brings the prefix
# up to date; the program lists $work/listing.txt (or fails, or hangs, as STANDIN says)
# and logs each case it runs.
cat >"$work/bin/Xvfb" <<'STUB'
#!/usr/bin/env bash
n=${1#:}
mkdir -p /tmp/.X11-unix
(set -o noclobber && echo "$$" >"/tmp/.X${n}-lock") 2>/dev/null || exit 1
: >"/tmp/.X11-unix/X${n}"
sleep 300 &
trap 'kill $!; rm -f "/tmp/.X${n}-lock" "/tmp/.X11-unix/X${n}"; exit 0' TERM INT
wait
STUB
cat >"$work/bin/wineserver" <<'STUB'
#!/usr/bin/env bash
case " $* " in
*" -k "*) [ -f "$WINEPREFIX/.server" ] && kill -KILL "$(cat "$WINEPREFIX/.server")" 2>/dev/null; exit 0 ;;
*" -w "*) exit 0 ;;
esac
dir=$(mktemp -d "$WINEPREFIX/../server.XXXX")
cd "$dir" && : >socket && echo "$$" >"$WINEPREFIX/.server"
exec sleep 300
STUB
cat >"$work/bin/wineboot" <<'STUB'
#!/usr/bin/env bash
echo "wineboot $* in $WINEPREFIX" >>"$STANDIN_LOG"
[ "$1" = -u ] && stat -c %Y "$WINE_INF" >"$WINEPREFIX/.update-timestamp"
STUB
printf '#!/bin/sh\nexit 0\n' >"$work/bin/wine"
cat >"$work/prog" <<'STUB'
#!/usr/bin/env bash
[ "${STANDIN:-}" = dies ] && { echo "err: cannot load the module" >&2; exit 3; }
for a in "$@"; do
  if [ "$a" = --gtest_list_tests ]; then
    [ "${STANDIN:-}" = lists-nothing ] && { echo "Running main() from gtest_main.cc"; exit 0; }
    cat "$WORK/listing.txt"
    exit 0
  fi
done
case "${STANDIN:-}" in
kills-server) kill -KILL "$(cat "$WINEPREFIX/.server")"; sleep 60; exit 0 ;;
writes-module) echo x >>"$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ;;
runs-nothing) echo "[==========] 0 tests from 0 test suites ran. (0 ms total)"; exit 0 ;;
esac
n=0
for a in "$@"; do
  case "$a" in
  --gtest_filter=*) IFS=: read -ra cases <<<"${a#--gtest_filter=}"
    for c in "${cases[@]}"; do echo "$c" >>"$RUN_LOG"; n=$((n + 1)); done ;;
  esac
done
[ $n -gt 0 ] || { n=7; echo all >>"$RUN_LOG"; }
printf '[==========] %d tests from 4 test suites ran. (3 ms total)\r\n[  PASSED  ] %d tests.\r\n' "$n" "$n"
STUB
chmod +x "$work/bin/"* "$work/prog"
export WORK="$work" PATH="$work/bin:$PATH"

# The shared prefix, prepared: registry, fonts, one module, up to date with wine.inf.
template="$build/wineprefix"
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

# 1. The dealing alone: the union of all lanes is the listing, each case once.
# case: lanes | weights (none, empty, or lines separated by ;)
deal_cases=(
  "1|none"
  "3|none"
  "3|empty"
  "8|5 UiMessages.Second;1.5 Values/ParamTest.Reads/1;9 Gone.Case"
  "10|2 UiMessages.EachIsRegisteredUnderItsOwnName"
  "7|not a weight line;3 x"
)
for c in "${deal_cases[@]}"; do
  IFS='|' read -r lanes wlines <<<"$c"
  label="deal over $lanes lanes, weights: $wlines"
  rm -f "$weights"
  case "$wlines" in none) ;; empty) : >"$weights" ;; *) tr ';' '\n' <<<"$wlines" >"$weights" ;; esac
  all=""
  for ((k = 0; k < lanes; k++)); do
    all+=$(awk -v n="$lanes" -v k="$k" -v weights="$weights" -f "$deal" "$work/listing.txt")$'\n'
  done
  got=$(grep . <<<"$all" | sort)
  [ "$got" = "$expected" ] || fail "lanes hold$(diff <(echo "$expected") <(echo "$got") | sed -n 's/^[<>]/ &/p' | tr '\n' ' ')"
  twice=$(grep . <<<"$all" | sort | uniq -d)
  [ -z "$twice" ] || fail "dealt twice: $twice"
done
# The long cases a weights file names are dealt first, to the lane with the least so far:
# the two longest go to two lanes, and the lane of the longer gets fewer of the rest.
label="deal by weights"
printf '9 Odd_Suite2.x\n8 TypedTest/0.Works\n' >"$weights"
l0=$(awk -v n=2 -v k=0 -v weights="$weights" -f "$deal" "$work/listing.txt" | tr '\n' ' ')
[ "$l0" = "Odd_Suite2.x Odd_Suite2.Case_With_Underscores_9 Values/ParamTest.Reads/1 " ] || fail "lane 1 of 2 holds \"$l0\""

# 2. Whole lanes through lane.sh.
# case: program | STANDIN | lanes | weights | expected exit (0, or 1 = fails) | text expected on failure
lane_cases=(
  "prog||3|present|0|"
  "prog||3|none|0|"
  "prog||3|empty|0|"
  "prog||10|present|0|"
  "prog||1|present|0|"
  "missing||3|present|1|the program cannot list its cases"
  "missing||1|none|1|the program cannot list its cases"
  "prog|dies|3|none|1|the program cannot list its cases"
  "prog|lists-nothing|3|none|1|the program lists no case"
  "prog|lists-nothing|1|present|1|the program lists no case"
  "prog|runs-nothing|1|present|1|the program ran 0 cases of the 7"
  "prog|writes-module|1|present|1|files of the shared prefix were written through their links"
  "prog|kills-server|1|present|1|its wineserver ended while the program ran"
)
for c in "${lane_cases[@]}"; do
  IFS='|' read -r program standin lanes wkind want texts <<<"$c"
  label="$program ${standin:-runs} in $lanes lanes, weights $wkind"
  make_template
  : >"$RUN_LOG"
  case "$wkind" in
  none) rm -f "$weights" ;; empty) : >"$weights" ;;
  present) printf '5 UiMessages.Second\n4 Values/ParamTest.Reads/0\n' >"$weights" ;;
  esac
  for ((k = 0; k < lanes; k++)); do
    shard=()
    [ "$lanes" -gt 1 ] && shard=(LANE_SHARDS="$lanes" LANE_INDEX="$k")
    start=$SECONDS
    out=$(env "${shard[@]}" STANDIN="$standin" timeout 60 bash "$tree/tests/scripts/lane.sh" "$build" "t-$k" \
      "$work/$program" --gtest_color=no 2>&1)
    rc=$?
    [ $((SECONDS - start)) -le 10 ] || fail "lane $k took $((SECONDS - start)) s"
    if [ "$want" = 0 ]; then
      [ "$rc" = 0 ] || { fail "lane $k: exit $rc"; echo "$out"; }
    else
      [ "$rc" != 0 ] || fail "lane $k passed"
      grep -qF -- "$texts" <<<"$out" || fail "lane $k: output lacks \"$texts\": $out"
    fi
    left=$(leftovers)
    [ -z "$left" ] || fail "lane $k left processes of its prefix: $left"
    # The lane's prefix: links to the shared modules, never brought up to date by itself.
    if [ -d "$build/lanes/t-$k/wineprefix" ]; then
      lp="$build/lanes/t-$k/wineprefix"
      [ "$(cat "$lp/.update-timestamp")" = disable ] || fail "lane $k may bring its prefix up to date"
      [ "$(stat -c %h "$lp/system.reg")" = 1 ] || fail "lane $k shares the registry"
    fi
  done
  [ "$(cat "$template/drive_c/windows/system32/kernel32.dll")" = module ] || [ "$standin" = writes-module ] ||
    fail "the shared module changed"
  if [ "$want" = 0 ] && [ "$lanes" -gt 1 ]; then
    got=$(sort "$RUN_LOG")
    [ "$got" = "$expected" ] || fail "cases run: $(tr '\n' ' ' <<<"$got")"
  fi
done

# 3. A shared prefix behind Wine is brought up to date once, before the lane copies it.
label="stale shared prefix"
make_template
echo 1 >"$template/.update-timestamp"
: >"$STANDIN_LOG"
out=$(bash "$tree/tests/scripts/lane.sh" "$build" t-0 "$work/prog" 2>&1) || fail "exit $?: $out"
[ "$(grep -c "wineboot -u in $template\$" "$STANDIN_LOG")" = 1 ] || fail "wineboot: $(cat "$STANDIN_LOG")"
[ "$(cat "$template/.update-timestamp")" = "$(stat -c %Y "$WINE_INF")" ] || fail "the shared prefix is not up to date"

[ $failures -eq 0 ] && echo "lane tests passed" || echo "$failures lane test failures"
exit $((failures > 0))
