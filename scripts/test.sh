#!/usr/bin/env bash
# Installs what is missing, builds the test build (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test through CTest. When Wine
# and the MinGW-w64 cross compiler are installed (install-deps.sh --windows),
# the Windows build and its tests under Wine run afterwards too
# (scripts/build-windows.sh); TOVLO_WINDOWS=0 leaves them out.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-test
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVLO_SANITIZE=ON
fi
cmake --build "$build" --parallel "$(nproc)"

(cd "$build" && ctest --parallel "$(nproc)" --output-on-failure --timeout 600 "$@")

if [ "${TOVLO_WINDOWS:-}" != 0 ] && command -v wine >/dev/null && command -v x86_64-w64-mingw32-g++-posix >/dev/null; then
  bash scripts/build-windows.sh
fi
