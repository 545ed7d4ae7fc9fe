# Shared by the build, test and run scripts: build folder, private Wine prefix and a private Xvfb display.
# Source it; it defines functions and exports the Wine environment.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
# The prefix lives in the build folder and follows BUILD_DIR when that is set after
# sourcing; a WINEPREFIX chosen by the caller is left alone. Without this, a build
# folder named after sourcing would run its tests in (and stop_all would kill the
# wineserver of) the default folder's prefix, which other runs may be using.
if [ -z "${WINEPREFIX:-}" ] || [ "${WINEPREFIX}" = "${PURGELET_OWN_WINEPREFIX:-}" ]; then
  export PURGELET_OWN_WINEPREFIX="$BUILD_DIR/wineprefix"
  export WINEPREFIX="$PURGELET_OWN_WINEPREFIX"
fi
follow_build_dir() {
  if [ "${WINEPREFIX:-}" = "${PURGELET_OWN_WINEPREFIX:-}" ]; then
    export PURGELET_OWN_WINEPREFIX="$BUILD_DIR/wineprefix"
    export WINEPREFIX="$PURGELET_OWN_WINEPREFIX"
  fi
}
# The prefix the test lanes copy (tests/scripts/lane.sh): scripts/test.sh or the first lane
# prepares it, and nothing runs in it but that, so a program run by hand in the build
# folder's own prefix never changes what the lanes start from.
lanes_shared_prefix() {
  echo "$BUILD_DIR/lanes/shared/wineprefix"
}
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="

# The program is a 32-bit Windows program, built and run as such wherever the machine runs
# 32-bit code. Some machines run 64-bit user code only (a virtual machine whose host gives
# its guests no 32-bit mode: the kernel refuses every 32-bit executable with "Exec format
# error"); Wine's 32-bit loader cannot start there, nor can any 32-bit program. There the
# same sources are built for 64-bit Windows and run by Wine's 64-bit loader alone (its
# `wine` and `wine-stable` stand in for Debian's, which would start the 32-bit loader
# first). Decided again at each build, once Wine is installed; PURGELET_ARCH=i686 or
# x86_64 chooses by hand.
WINE32_LOADER="${WINE32_LOADER:-/usr/lib/wine/wine}"
WINE64_LOADER="${WINE64_LOADER:-/usr/lib/wine/wine64}"
choose_arch() {
  if [ -z "${PURGELET_ARCH:-}" ] || [ -n "${PURGELET_ARCH_PROBED:-}" ]; then
    PURGELET_ARCH=i686
    if [ -x "$WINE64_LOADER" ] && ! "$WINE32_LOADER" --version >/dev/null 2>&1; then PURGELET_ARCH=x86_64; fi
    export PURGELET_ARCH_PROBED=1
  fi
  export PURGELET_ARCH
  if [ "$PURGELET_ARCH" = x86_64 ]; then
    export WINELOADER="$WINE64_LOADER"
    # In front of Debian's own `wine` only: a stand-in a caller put first (the scripts'
    # own tests) stays first.
    case "$(command -v wine 2>/dev/null)" in
    "" | /usr/bin/wine | /usr/bin/wine-stable) export PATH="$ROOT/scripts/wine64:$PATH" ;;
    esac
  fi
}
choose_arch

configure_and_build() {
  follow_build_dir
  choose_arch
  local toolchain="$ROOT/cmake/mingw-$PURGELET_ARCH.cmake"
  # A build folder set up for the other architecture is set up anew: CMake keeps the
  # toolchain of a folder's first configuration.
  if [ -f "$BUILD_DIR/CMakeCache.txt" ] && ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" \
    "$BUILD_DIR/CMakeCache.txt" 2>/dev/null && ! grep -qxF "CMAKE_TOOLCHAIN_FILE:UNINITIALIZED=$toolchain" \
    "$BUILD_DIR/CMakeCache.txt" 2>/dev/null; then
    echo "The build folder $BUILD_DIR was set up for another architecture: setting it up for $PURGELET_ARCH."
    rm -rf "$BUILD_DIR/CMakeCache.txt" "$BUILD_DIR/CMakeFiles"
  fi
  cmake -S "$ROOT" -B "$BUILD_DIR" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
  cmake --build "$BUILD_DIR" --parallel "$(nproc)" "$@"
}

# Where X servers keep their lock files (.X<n>-lock) and sockets (.X11-unix/X<n>): /tmp,
# the only place an X server looks; the lanes' own test gives its stand-in server another.
X_TMP_DIR="${X_TMP_DIR:-/tmp}"

# True while the process runs (a dead one not yet reaped is a zombie, "Z").
process_alive() {
  local stat
  [ -n "$1" ] && { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 1
  stat=${stat##*) }
  [ "${stat%% *}" != Z ]
}

XVFB_PID="" XVFB_DISPLAY=""
# Starts a private Xvfb on the first free display from :90 up. Several test runs may
# start at the same moment and pick the same number; only the one whose server owns
# the display's lock file keeps it, the others move on to the next number.
start_xvfb() {
  follow_build_dir
  local n=90 tries=0
  while [ $tries -lt 64 ]; do
    tries=$((tries + 1))
    while [ -e "$X_TMP_DIR/.X${n}-lock" ] || [ -e "$X_TMP_DIR/.X11-unix/X${n}" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    XVFB_PID=$! XVFB_DISPLAY=$n
    for _ in $(seq 1 100); do
      kill -0 "$XVFB_PID" 2>/dev/null || break
      if [ -e "$X_TMP_DIR/.X11-unix/X${n}" ] && [ "$(tr -d ' \n' 2>/dev/null <"$X_TMP_DIR/.X${n}-lock")" = "$XVFB_PID" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    end_xvfb "$XVFB_PID" "$n"
    XVFB_PID="" XVFB_DISPLAY=""
    n=$((n + 1))
  done
  echo "Could not start Xvfb on any display from :90 up." >&2
  return 1
}

# True while process `pid` is the display server of display n: its program is Xvfb (run
# directly, or as a script by its interpreter) and its arguments name ":n". A number the
# system gave to another process since the server ended is not.
is_xvfb_of() {
  local pid=$1 n=$2 arg i=0 named="" shown=""
  [ -n "$pid" ] || return 1
  {
    while IFS= read -r -d '' arg; do
      [ "$i" -lt 2 ] && [ "${arg##*/}" = Xvfb ] && named=1
      [ "$arg" = ":$n" ] && shown=1
      i=$((i + 1))
    done <"/proc/$pid/cmdline"
  } 2>/dev/null
  [ -n "$named" ] && [ -n "$shown" ]
}

# Ends an Xvfb of ours (started by this shell or not) on display n, while the process of
# that number is still that server (a recorded number may have gone to another process).
# A server killed outright leaves its lock file and socket behind, and every later start
# then passes that display by: once the server is gone they are removed, when the lock
# still names it (a lock that names another server, a live one, is never touched).
end_xvfb() {
  local pid=$1 n=$2 i lock
  lock="$X_TMP_DIR/.X${n}-lock"
  if is_xvfb_of "$pid" "$n"; then
    kill "$pid" 2>/dev/null
    for i in $(seq 1 150); do
      is_xvfb_of "$pid" "$n" || break
      sleep 0.1
    done
    is_xvfb_of "$pid" "$n" && kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    for i in $(seq 1 50); do
      is_xvfb_of "$pid" "$n" || break
      sleep 0.1
    done
  fi
  if ! is_xvfb_of "$pid" "$n" && [ "$(tr -d ' \n' 2>/dev/null <"$lock")" = "$pid" ]; then
    rm -f "$lock" "$X_TMP_DIR/.X11-unix/X${n}"
  fi
}

# The processes of a prefix: every process (but this shell) whose environment names it.
# Wine passes WINEPREFIX to every process it starts, the services and devices it starts on
# its own included, so this finds them also when their wineserver is gone and no longer
# knows them. One grep reads every environment (a loop of the shell's own reads them a byte
# at a time, which on a busy machine takes seconds); it starts with the prefix emptied, and
# the shell that starts it becomes it, so that neither names the prefix.
prefix_processes() {
  local prefix=$1 p own=$BASHPID found
  found=$(WINEPREFIX="" exec grep -lsxzF -e "WINEPREFIX=$prefix" /proc/[0-9]*/environ)
  for p in $found; do
    p=${p#/proc/}
    p=${p%/environ}
    [ "$p" = "$$" ] || [ "$p" = "$own" ] || echo "$p"
  done
}

# Ends every process of a prefix: those its wineserver knows, then any left behind (a
# process whose server died waits on its pipe for ever, out of the server's reach).
end_prefix() {
  local prefix=$1 round pids
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  for round in 1 2 3 4 5 6 7 8 9 10; do
    pids=$(prefix_processes "$prefix")
    [ -n "$pids" ] || return 0
    # shellcheck disable=SC2086
    kill -KILL $pids 2>/dev/null
    sleep 0.1
  done
  [ -z "$(prefix_processes "$prefix")" ]
}

stop_all() {
  follow_build_dir
  end_prefix "$WINEPREFIX"
  if [ -n "$XVFB_PID" ]; then end_xvfb "$XVFB_PID" "$XVFB_DISPLAY"; fi
  XVFB_PID="" XVFB_DISPLAY=""
}

# Wine brings a prefix up to date at its first start after the Wine package changed: it
# rewrites the prefix's modules in place. The prefix's .update-timestamp holds the time of
# the wine.inf it was last brought up to date with ("disable": never).
WINE_INF="${WINE_INF:-/usr/share/wine/wine.inf}"
prefix_is_current() {
  local stamp
  [ -f "$1/system.reg" ] || return 1
  [ -f "$WINE_INF" ] || return 0
  stamp=$(tr -d '\r\n' <"$1/.update-timestamp" 2>/dev/null)
  [ "$stamp" = disable ] || [ "$stamp" = "$(stat -c %Y "$WINE_INF")" ]
}

# True when prepare_prefix has nothing left to do in $WINEPREFIX.
prefix_is_prepared() {
  prefix_is_current "$WINEPREFIX" &&
    { [ ! -d /usr/share/wine/fonts ] || [ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; } &&
    grep -qF 'AppDefaults\\app_tests.exe\\X11 Driver' "$WINEPREFIX/user.reg" 2>/dev/null &&
    grep -qF '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null
}

prepare_prefix() {
  follow_build_dir
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Creating the Wine prefix in $WINEPREFIX (first run only)..."
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  elif ! prefix_is_current "$WINEPREFIX"; then
    # Done here, once, rather than at the first start of a copy of the prefix.
    echo "Bringing the Wine prefix in $WINEPREFIX up to date with Wine..."
    wineboot -u >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # Debian's Wine does not see the fonts of fonts-wine (Tahoma, Marlett, MS Sans Serif)
  # until they are in the prefix's own Fonts folder.
  if [ -d /usr/share/wine/fonts ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -k >/dev/null 2>&1 || true
  fi
  # Without a window manager, Wine waits 2 s for one each time a managed window (a
  # captioned or activated top-level window) is hidden or destroyed. The test programs
  # create and destroy such windows by the dozen: their windows stay unmanaged. The
  # program itself keeps the default, so it behaves normally on a real desktop.
  if ! grep -qF 'AppDefaults\\app_tests.exe\\X11 Driver' "$WINEPREFIX/user.reg" 2>/dev/null; then
    local regfile="$WINEPREFIX/unmanaged-tests.reg" t
    printf 'REGEDIT4\n\n' > "$regfile"
    for t in framework catalogue core theme menus dialogs bars pickers grid reportgrid app; do
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\AppDefaults\\%s_tests.exe\\X11 Driver]\n"Managed"="N"\n\n' "$t" >> "$regfile"
    done
    wine regedit /S "$regfile" >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # A crash starts Wine's debugger, which shows its crash box and waits for a click that
  # never comes on Xvfb: the test program (or the program or helper a test started) would
  # hang until the suite's time limit. Without the box the debugger prints the exception
  # and a backtrace and ends the process at once, with the exception code.
  if ! grep -qF '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w || true
  fi
  # No persistent wineserver: the desktop process it keeps alive would inherit the
  # test's output pipe and ctest would wait on it for ever.
}
