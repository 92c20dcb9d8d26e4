#!/usr/bin/env bash
# Builds every preset and runs every test: natively with sanitizers, and the
# Windows build under wine (with a private Xvfb for the window tests).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/wine_env.sh

ensure_packages cmake ninja-build g++ libgtest-dev libbenchmark-dev \
    g++-mingw-w64-x86-64 wine wine64 xvfb xauth imagemagick

started=$(date +%s)
cmake --preset native-asan
cmake --build --preset native-asan
ctest --preset native-asan

cmake --preset native
cmake --build --preset native

cmake --preset windows
cmake --build --preset windows
trap stop_wine EXIT
TARVEX_OWN_DISPLAY=1 start_display
start_wine "$PWD/build/windows/wineprefix"
unmanaged_windows
ctest --preset windows
echo "all tests passed in $(( $(date +%s) - started )) s"
