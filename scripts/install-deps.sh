#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Tovlo needs.
# With --windows (or TOVLO_WINDOWS=1) also what the Windows build needs: the
# MinGW-w64 cross compiler, Wine, GoogleTest's sources to build for Windows
# (scripts/build-windows.sh), and what makes the SQLite amalgamation from
# Debian's source package (scripts/sqlite-amalgamation.sh: apt-get source
# unpacks with dpkg-source, the sources' make runs tclsh), and zip and NSIS
# for the program's zip and installer.
# Safe to run again: when everything is present it only checks and returns.
set -euo pipefail

windows=${TOVLO_WINDOWS:-0}
for arg in "$@"; do
  case "$arg" in
    --windows) windows=1 ;;
    *) echo "install-deps: unknown option $arg" >&2; exit 2 ;;
  esac
done

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # Qt 6: widgets, network, web views and the page channel
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webchannel-dev qt6-qpa-plugins
  libqt6webenginecore6-bin
  # Qt's own texts in Chinese (standard buttons, the folder chooser)
  qt6-translations-l10n
  # history store, blocking fetch, desktop access
  libsqlite3-dev sqlite3 libcurl4-openssl-dev libx11-dev libxtst-dev libxrandr-dev
  # tests, benchmarks and the local service
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  # headless desktop (with a tray) for end-to-end runs and screenshots; the end-to-end
  # scripts ask pages questions and edit config.ini with Python
  xvfb openbox trayer x11-utils xdotool imagemagick fonts-wqy-zenhei curl libgl1-mesa-dri python3
  # fuzzing (scripts/fuzz.sh): clang with libFuzzer and the sanitizer runtimes, and
  # llvm-symbolizer so that crash reports name files and lines
  clang-14 libclang-rt-14-dev llvm-14
)
if [ "$windows" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest xvfb xauth dpkg-dev make tcl nsis zip
    # the faces Wine draws with and the one they link to for Chinese
    # (scripts/wine-cjk-fonts.reg)
    fonts-dejavu-core fonts-wqy-zenhei)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
echo "install-deps: done"
