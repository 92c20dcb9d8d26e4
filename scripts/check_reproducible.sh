#!/usr/bin/env bash
# Packs the checked-out commit twice, from two clones at two moments, the
# second with core.autocrlf=true and hostile compiler flags in the
# environment, and fails unless the programs and the zip come out byte for
# byte the same.
set -euo pipefail
cd "$(dirname "$0")/.."

commit=$(git rev-parse --verify HEAD)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for copy in first second; do
    if [ "$copy" = first ]; then
        git clone -q --no-checkout "$PWD" "$work/$copy/tree"
        git -C "$work/$copy/tree" checkout -q --detach "$commit"
        zip=$(bash "$work/$copy/tree/scripts/package.sh" | tail -n 1)
    else
        git clone -q --no-checkout -c core.autocrlf=true "$PWD" "$work/$copy/tree"
        git -C "$work/$copy/tree" checkout -q --detach "$commit"
        zip=$(CFLAGS="-O0 -g" CXXFLAGS="-O0 -g -DTARVEX_HOSTILE" LDFLAGS="-Wl,--build-id" \
            bash "$work/$copy/tree/scripts/package.sh" | tail -n 1)
    fi
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
echo "two builds from two clones of $commit (one with CR LF checkouts and hostile flags) gave the same programs and zip"
