#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test the program:
# the i686 mingw-w64 cross compiler, CMake, Wine (32- and 64-bit), Xvfb, GoogleTest
# sources and Wine's fonts. Idempotent: when everything is present it does nothing.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686-posix)
have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
have_pkg wine || need+=(wine)
have_pkg wine64 || need+=(wine64)
have_pkg wine32:i386 || need+=(wine32:i386)
have_cmd Xvfb || need+=(xvfb)
have_cmd xauth || need+=(xauth)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
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
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
