#!/usr/bin/env bash
# Builds every preset and runs every test: natively with sanitizers, the
# Windows build under wine (with a private Xvfb for the window tests), the
# program alone with clang and without GoogleTest, and the release package
# built twice to show it is reproducible.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/wine_env.sh

ensure_packages "${TEST_PACKAGES[@]}"

started=$(date +%s)
cmake --preset native-asan
cmake --build --preset native-asan
ctest --preset native-asan

cmake --preset native
cmake --build --preset native

# The program must build where GoogleTest is missing, and with a second compiler.
cmake --preset windows-no-googletest
cmake --build --preset windows-no-googletest
if [ -e build/windows-no-googletest/googletest ]; then
    echo "the configure without GoogleTest still built it" >&2
    exit 1
fi
cmake --preset windows-clang
cmake --build --preset windows-clang

# The release: the same sources packed in two folders give the same bytes.
bash scripts/check_reproducible.sh

cmake --preset windows
cmake --build --preset windows
trap stop_wine EXIT
TARVEX_OWN_DISPLAY=1 start_display
start_wine "$PWD/build/windows/wineprefix"
unmanaged_windows
ctest --preset windows
echo "all tests passed in $(( $(date +%s) - started )) s"
