#!/usr/bin/env bash
# The Windows build: cross-builds the Win32 backends, Tovlo.exe and the
# updater in a staged program folder (build-win/program), its zip and its
# NSIS installer, the test chat window, the logic's unit tests and the
# history store on SQLite (its amalgamation made once from Debian's source
# package, scripts/sqlite-amalgamation.sh) with MinGW-w64 under build-win/
# (reused when it exists), then runs every test program under Wine on a
# private Xvfb.
# Arguments go to CTest (for example -R win_backend_tests).
set -euo pipefail
cd "$(dirname "$0")/.."

TOVLO_WINDOWS=1 bash scripts/install-deps.sh

build=build-win
jobs=$(nproc)
if [ "$jobs" -gt 2 ]; then jobs=2; fi
if [ ! -f "$build/build.ninja" ]; then
  # -O1: the tests need no more, and the build stays quick on small machines.
  cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1" -DCMAKE_C_FLAGS_RELEASE="-O1"
fi
started=$SECONDS
cmake --build "$build" --parallel "$jobs"
echo "build-windows: built in $((SECONDS - started)) s"

# A Wine prefix of the build's own; made once, without the installers of
# Wine's .NET and browser engine, which the tests do not use.
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  wineserver -w
fi
# Chinese in the prefix's windows instead of boxes: font links to WenQuanYi Zen Hei
# (scripts/wine-cjk-fonts.reg says why these). Applied to a new prefix and to an
# existing one, and again when the file changes: the marker holds the file's hash.
cjk_reg=scripts/wine-cjk-fonts.reg
cjk_marker="$WINEPREFIX/.tovlo-cjk-fonts"
cjk_hash=$(sha256sum "$cjk_reg" | cut -d' ' -f1)
if [ "$(cat "$cjk_marker" 2>/dev/null)" != "$cjk_hash" ]; then
  wine regedit /S "$cjk_reg" >/dev/null 2>&1 || true
  if wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
       /v 'DejaVu Sans' >/dev/null 2>&1; then
    echo "$cjk_hash" >"$cjk_marker"
  else
    echo "build-windows: the Chinese font links did not reach the Wine prefix" >&2
  fi
  # The Wine server started here has no display: the tests need their own.
  wineserver -w
fi

started=$SECONDS
status=0
(cd "$build" && xvfb-run -a -s "-screen 0 1280x1024x24" \
   ctest --parallel "$jobs" --output-on-failure --timeout 300 "$@") || status=$?
# The prefix's Wine processes end with the run.
wineserver -k 2>/dev/null || true
echo "build-windows: tests ran in $((SECONDS - started)) s"
exit $status
