#!/usr/bin/env bash
# Packs the same sources twice, from two folders at two moments, and fails
# unless the programs and the zip come out byte for byte the same.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for copy in first second; do
    mkdir -p "$work/$copy/tree"
    # The files of the checkout as they stand, without its build or dist.
    git ls-files -co --exclude-standard -z | xargs -0 cp --parents -t "$work/$copy/tree"
    zip=$(bash "$work/$copy/tree/scripts/package.sh" | tail -n 1)
    echo "$copy: $(cat "$zip.sha256")"
    (cd "$work/$copy/tree/build/package" && sha256sum tarvex-manager.exe tarvex.exe) >"$work/$copy/programs.sha256"
    cp "$zip" "$zip.sha256" "$work/$copy/"
done
if ! cmp -s "$work/first/programs.sha256" "$work/second/programs.sha256" ||
    ! cmp -s "$work"/first/*.zip "$work"/second/*.zip; then
    echo "the two builds differ:" >&2
    diff "$work/first/programs.sha256" "$work/second/programs.sha256" >&2 || true
    # Each entry's size, time and CRC, to tell which one moved.
    diff <(unzip -v "$work"/first/*.zip | tail -n +2) <(unzip -v "$work"/second/*.zip | tail -n +2) >&2 || true
    exit 1
fi
echo "two builds in two folders gave the same programs and zip"
