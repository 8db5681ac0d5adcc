#!/usr/bin/env bash
# Installs what is missing, builds the test build (AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build-test
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTOVLO_SANITIZE=ON
fi
cmake --build "$build" --parallel "$(nproc)"

cd "$build"
ctest --parallel "$(nproc)" --output-on-failure --timeout 600 "$@"
