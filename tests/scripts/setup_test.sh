#!/usr/bin/env bash
# The set-up script against stand-ins of the package tools: an index that fails to
# download is tried again and then left to apt, and only a failed install stops the
# set-up, naming the packages and what apt said. The script runs on a PATH of the
# stand-ins and of the few plain tools it and they run (base/), so what this machine has
# installed never decides what the script finds: every tool it probes is a stand-in.
set -uo pipefail
setup="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/setup.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# apt-get fails its first $STUB_UPDATE_FAILS updates the way a mirror in mid-sync makes it
# fail, and its install as $STUB_INSTALL says; every call is logged.
mkdir -p "$work/bin"
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
echo "apt-get $*" >>"$STUB_LOG"
case "$1" in
update)
  n=$(grep -c '^apt-get update' "$STUB_LOG")
  if [ "$n" -le "$STUB_UPDATE_FAILS" ]; then
    echo "Err:6 http://deb.example/debian-security bookworm-security/main i386 Packages"
    echo "  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
  fi
  echo "Reading package lists..." ;;
install)
  if [ "$STUB_INSTALL" = fail ]; then
    echo " wine32:i386 : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
  fi
  echo "Setting up wine ..." ;;
esac
STUB
printf '#!/bin/sh\nexit 1\n' >"$work/bin/dpkg-query"
printf '#!/bin/sh\necho i386\n' >"$work/bin/dpkg"
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
# Every command the script probes is there, as a stand-in; the googletest sources too.
probed=$(sed -n 's/^have_cmd \([^ ]*\) .*/\1/p' "$setup")
[ -n "$probed" ] || { echo "FAIL: no probed command found in $setup"; exit 1; }
for t in $probed; do printf '#!/bin/sh\n' >"$work/bin/$t"; done
chmod +x "$work/bin/"*
: >"$work/CMakeLists.txt"
mkdir -p "$work/base"
for t in bash grep sed tee mktemp rm sleep cat; do
  ln -s "$(command -v "$t")" "$work/base/$t" ||
    { echo "FAIL: this machine lacks $t, which the set-up runs"; exit 1; }
done
run_path="$work/bin:$work/base"

# case: updates failing | install | expected exit | texts expected in the output (|-separated)
cases=(
  "1|ok|0|try 1 of 3|Setting up wine"
  "9|ok|0|apt-get update failed 3 times; going on with the package indexes apt has|E: Some index files failed to download|Setting up wine"
  "9|fail|1|the install of wine wine64 wine32:i386 fonts-wine failed|E: Unable to correct problems|a later run may succeed"
)
for c in "${cases[@]}"; do
  IFS='|' read -r fails install want_rc texts <<<"$c"
  log="$work/calls.log"; : >"$log"
  out=$(PATH="$run_path" STUB_LOG="$log" STUB_UPDATE_FAILS="$fails" STUB_INSTALL="$install" \
        SETUP_GTEST_CMAKELISTS="$work/CMakeLists.txt" SETUP_APT_UPDATE_PAUSE=0 bash "$setup" 2>&1)
  rc=$?
  label="update fails $fails, install $install"
  [ "$rc" = "$want_rc" ] || { echo "FAIL [$label]: exit $rc, expected $want_rc"; failures=$((failures + 1)); }
  IFS='|' read -ra want <<<"$texts"
  for t in "${want[@]}"; do
    [[ "$out" == *"$t"* ]] || { echo "FAIL [$label]: output lacks \"$t\""; failures=$((failures + 1)); }
  done
  calls=$(<"$log")
  updates=$(grep -c '^apt-get update' <<<"$calls")
  expect_updates=$(( fails < 3 ? fails + 1 : 3 ))
  [ "$updates" = "$expect_updates" ] || { echo "FAIL [$label]: $updates updates, expected $expect_updates"; failures=$((failures + 1)); }
  [[ "$calls" == *"apt-get install -y -q --no-install-recommends "*wine32:i386* ]] ||
    { echo "FAIL [$label]: no install of the missing packages"; failures=$((failures + 1)); }
  [ $failures -eq 0 ] || { echo "--- output:"; echo "$out"; }
done

# Everything present: nothing is installed, apt is not called. Each probed command
# missing alone: one package is installed for it.
printf '#!/bin/sh\necho "install ok installed"\n' >"$work/bin/dpkg-query"
for missing in "" $probed; do
  label=${missing:+$missing missing}; label=${label:-all present}
  [ -z "$missing" ] || mv "$work/bin/$missing" "$work/hidden"
  : >"$log"
  PATH="$run_path" STUB_LOG="$log" STUB_INSTALL=ok SETUP_GTEST_CMAKELISTS="$work/CMakeLists.txt" bash "$setup" >/dev/null 2>&1 ||
    { echo "FAIL [$label]: the set-up failed"; failures=$((failures + 1)); }
  calls=$(<"$log") installs=""
  [[ "$calls" =~ (^|$'\n')(apt-get install[^$'\n']*) ]] && installs=${BASH_REMATCH[2]}
  read -ra packages <<<"${installs#apt-get install -y -q --no-install-recommends}"
  if [ -z "$missing" ]; then
    [ ! -s "$log" ] || { echo "FAIL [$label]: apt-get was called"; failures=$((failures + 1)); }
  elif [ "${#packages[@]}" != 1 ]; then
    echo "FAIL [$label]: installs \"$installs\", expected one package"; failures=$((failures + 1))
  fi
  [ -z "$missing" ] || mv "$work/hidden" "$work/bin/$missing"
done

[ $failures -eq 0 ] && echo "setup_test: all cases passed"
exit $((failures > 0))
