#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the program:
# the i686 mingw-w64 cross compiler (and the x86_64 one), CMake, Wine (32- and 64-bit), Xvfb, GoogleTest
# sources and Wine's fonts. Idempotent: when everything is present it does nothing.
#
# A package mirror caught in the middle of a sync fails one index of `apt-get update`
# ("File has unexpected size ... Mirror sync in progress?"). The update is tried again a
# few times; when an index still fails, apt keeps the old one (or none) and the install
# goes on with what it has. Only a failed install stops the set-up, and it says which
# packages and what apt answered.
set -uo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" == *"install ok installed"* ]]; }

have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
# The 64-bit build, for machines that run no 32-bit code (scripts/env.sh).
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64-posix)
have_cmd x86_64-w64-mingw32-windres || need+=(binutils-mingw-w64-x86-64)
have_pkg wine || need+=(wine)
have_pkg wine64 || need+=(wine64)
have_pkg wine32:i386 || need+=(wine32:i386)
have_cmd Xvfb || need+=(xvfb)
have_cmd xauth || need+=(xauth)
[ -f "${SETUP_GTEST_CMAKELISTS:-/usr/src/googletest/CMakeLists.txt}" ] || need+=(googletest)
have_pkg fonts-wine || need+=(fonts-wine)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    # sudo resets the environment: hand the non-interactive front end over explicitly.
    SUDO="sudo -n env DEBIAN_FRONTEND=noninteractive"
  else
    echo "setup: these packages are missing and cannot be installed (not root, no sudo): ${need[*]}" >&2
    echo "setup: install them as root, then run this again." >&2
    exit 1
  fi
fi

echo "setup: installing ${need[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  if ! $SUDO dpkg --add-architecture i386; then
    echo "setup: dpkg could not add the i386 architecture that Wine's 32-bit part needs." >&2
    exit 1
  fi
fi

tries="${SETUP_APT_UPDATE_TRIES:-3}"
pause="${SETUP_APT_UPDATE_PAUSE:-10}"
update_log=$(mktemp)
trap 'rm -f "$update_log" "${install_log:-}"' EXIT
updated=0
for ((i = 1; i <= tries; i++)); do
  if $SUDO apt-get update -q >"$update_log" 2>&1; then
    updated=1
    break
  fi
  if [ "$i" -lt "$tries" ]; then
    echo "setup: apt-get update failed (try $i of $tries); trying again in $pause s."
    sleep "$pause"
  fi
done
if [ "$updated" -eq 0 ]; then
  echo "setup: apt-get update failed $tries times; going on with the package indexes apt has. It said:"
  grep -E '^(E|W|Err):' "$update_log" | sed 's/^/  /'
fi

install_log=$(mktemp)
if ! $SUDO apt-get install -y -q --no-install-recommends "${need[@]}" 2>&1 | tee "$install_log"; then
  echo "setup: the install of ${need[*]} failed. apt-get said:" >&2
  grep -E '^(E|W):|unmet|Depends:' "$install_log" | sed 's/^/  /' >&2
  if [ "$updated" -eq 0 ]; then
    echo "setup: a package index could not be downloaded (see above); a mirror in the middle of a sync often causes that, and a later run may succeed." >&2
  else
    echo "setup: a later run may succeed once the package mirror is consistent again." >&2
  fi
  exit 1
fi
