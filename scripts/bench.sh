#!/usr/bin/env bash
# Reruns the performance figures: the native benchmarks over the in-memory
# registry, then the wine timings over the real registry in a throw-away prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
source scripts/wine_env.sh

ensure_packages "${BENCH_PACKAGES[@]}"

cmake --preset native >/dev/null
cmake --build --preset native
build/native/scan_benchmark
build/native/export_benchmark
build/native/deletion_benchmark

cmake --preset windows >/dev/null
cmake --build --preset windows
prefix="$PWD/build/windows/bench-prefix"
rm -rf "$prefix"
trap stop_wine EXIT
start_display  # the scan timing fills a real list view
start_wine "$prefix"
sleep 5  # let the prefix's services settle before timing
wine build/windows/scan_timing_win.exe
wine build/windows/export_timing_win.exe
wine build/windows/deletion_timing_win.exe
wine build/windows/console_timing_win.exe "$(winepath -w build/windows/tarvex.exe)"

# Wineserver requests: counts this noisy machine cannot blur. A server
# started by a +server client traces every request to its stderr; each run
# gets a fresh prefix, so no earlier seeding weighs on it.
trace() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$prefix"
    WINEDEBUG=-all wineboot -i >/dev/null 2>&1
    wineserver -w 2>/dev/null || true
    WINEDEBUG=+server wine build/windows/request_trace_win.exe "$1" 2>"$prefix/server-trace.txt" >/dev/null
}
trace window
awk '/TarvexTraceOpening/ {opening = 1; next} /TarvexTraceStart/ {opening = 0; on = 1; next}
     /TarvexTraceTicked/ {deleting = 1; next} /TarvexTraceEnd/ {on = 0}
     opening {o++} on {n++} on && deleting {d++}
     END {printf "wineserver trace lines per deleted row, the window: %.1f from the shown window (Check, tick all, Delete Selected, rescan), %.1f for Delete Selected and its rescan (200 rows); opening the window, once: %d\n", n / 200, d / 200, o}' \
    "$prefix/server-trace.txt"
trace console
awk '/TarvexTraceStart/ {on = 1; next} /TarvexTraceEnd/ {on = 0} on {n++}
     END {printf "wineserver trace lines per deleted row, tarvex delete --stale: %.1f (200 rows)\n", n / 200}' \
    "$prefix/server-trace.txt"
trace scans
awk '/TarvexTraceStart/ {part = 1; next} /TarvexTraceMiddle/ {part = 2; next} /TarvexTraceEnd/ {part = 0}
     part == 1 {without++} part == 2 {with++}
     END {printf "wineserver trace lines per scanned row: %.1f without the IPv4 column, %.1f with it (%.2fx; 200 rows, half with IP settings)\n",
                 without / 200, with / 200, with / without}' "$prefix/server-trace.txt"
