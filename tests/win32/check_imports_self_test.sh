#!/usr/bin/env bash
# The import check must refuse a program that imports the first and the last
# name of its list: a name it cannot match would pass unseen.
set -uo pipefail
report=$(bash "$(dirname "$0")/check_imports.sh" "$1" 2>&1)
status=$?
echo "$report"
failures=0
[ "$status" -ne 0 ] || { echo "the check passed a program it must refuse" >&2; failures=$((failures + 1)); }
for name in GetDpiForWindow GetSystemTimePreciseAsFileTime; do
    grep -q "imports $name from" <<<"$report" || { echo "the check did not report $name" >&2; failures=$((failures + 1)); }
done
echo "$((3 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
