#!/usr/bin/env bash
# Runs a Windows test program under wine with its standard error in a file
# whose path it finds in TARVEX_WINE_DEBUG_FILE. wine writes the debug
# channels of every program the test starts there, whatever standard error
# the test hands them, so the test reads what they printed from that file.
# The file is shown afterwards and removed.
set -uo pipefail
debug=$(mktemp)
trap 'rm -f "$debug"' EXIT
TARVEX_WINE_DEBUG_FILE="$debug" wine "$@" 2>"$debug"
status=$?
cat "$debug" >&2
exit "$status"
