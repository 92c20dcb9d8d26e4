#!/usr/bin/env bash
# Reads the import tables of the built programs and fails on a DLL that
# Windows does not always load from System32, or on a function that Windows
# 7 SP1 lacks: either would let a planted DLL in, or keep the program from starting.
set -euo pipefail

# KnownDLLs of Windows 7 and later: mapped from System32 whatever the folder holds.
allowed_dlls=" advapi32.dll gdi32.dll kernel32.dll msvcrt.dll shlwapi.dll user32.dll setupapi.dll shell32.dll ole32.dll oleaut32.dll "
# Functions newer than Windows 7 SP1 that a build of this program could reach.
# The self-test imports the first and the last of them.
missing_from_windows_7="GetDpiForWindow GetDpiForSystem AdjustWindowRectExForDpi SystemParametersInfoForDpi
 SetThreadDpiAwarenessContext SetProcessDpiAwarenessContext EnableNonClientDpiScaling GetSystemMetricsForDpi
 SetProcessDpiAwareness GetDpiForMonitor SetDefaultDllDirectories AddDllDirectory RemoveDllDirectory
 PathCchCombine CreateFile2 GetCurrentThreadStackLimits GetSystemTimePreciseAsFileTime"
# One space around every name, line breaks included, so each matches as " name ".
missing_from_windows_7=" $(echo $missing_from_windows_7) "

objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
failures=0
for program in "$@"; do
    dll=""
    while read -r line; do
        case "$line" in
            "DLL Name: "*)
                dll=$(echo "${line#DLL Name: }" | tr 'A-Z' 'a-z')
                if [[ "$allowed_dlls" != *" $dll "* ]]; then
                    echo "$(basename "$program") imports $dll, which is no KnownDLL" >&2
                    failures=$((failures + 1))
                fi
                ;;
            *)
                name=$(echo "$line" | awk 'NF >= 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ {print $3}')
                if [ -n "$name" ] && [ -n "$dll" ] && [[ "$missing_from_windows_7" == *" $name "* ]]; then
                    echo "$(basename "$program") imports $name from $dll, which Windows 7 lacks" >&2
                    failures=$((failures + 1))
                fi
                ;;
        esac
    done < <("$objdump" -p "$program" | sed -n '/The Import Tables/,/^The \(Export\|Function\)\|^PE File Base Relocations/p')
    [ -n "$dll" ] || { echo "no import table read from $program" >&2; failures=$((failures + 1)); }
done
checked=$#
if [ "$failures" -eq 0 ]; then
    echo "$checked passed, 0 failed"
else
    echo "$((checked)) checked: $failures import(s) not allowed" >&2
    exit 1
fi
