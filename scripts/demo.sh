#!/usr/bin/env bash
# Builds both Windows programs and opens the window program under wine on a
# private prefix seeded with demo connection entries. Without a display it
# runs on Xvfb, presses "&Check" and saves a screenshot into the build
# folder. Either way it ends with the command that runs the console program
# on the same demo registry.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/wine_env.sh

ensure_packages "${DEMO_PACKAGES[@]}"

cmake --preset windows >/dev/null
cmake --build --preset windows --target tarvex-manager tarvex tarvex-seed tarvex-press-check
bin="$PWD/build/windows"
trap stop_wine EXIT
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
start_display
start_wine "$bin/demo-prefix"
wine "$bin/tarvex-seed.exe"

console_command="WINEPREFIX=$bin/demo-prefix WINEDEBUG=-all wine $bin/tarvex.exe list"

if [ "$headless" = 0 ]; then
    wine "$bin/tarvex-manager.exe"
else
    wine "$bin/tarvex-manager.exe" &
    wine "$bin/tarvex-press-check.exe"
    sleep 1
    screenshot="$bin/demo-screenshot.png"
    import -window root -crop 640x544+320+240 +repage "$screenshot"
    echo "screenshot: $screenshot"
fi
echo "the console program on the same demo registry (try also: help, check, delete --stale --dry-run):"
echo "  $console_command"
