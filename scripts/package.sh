#!/usr/bin/env bash
# Builds the two Windows programs and packs them, with the README, the
# licence and the programs' checksums, into dist/tarvex-VERSION-windows-x64.zip,
# with the zip's own checksum beside it; prints the zip's path last. The same
# commit gives the same bytes whatever folder and time it is built in.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${PACKAGE_PACKAGES[@]}"

cmake --preset package >/dev/null
cmake --build --preset package
version=$(cat build/package/version.txt)
name="tarvex-$version-windows-x64"
files=(tarvex-manager.exe tarvex.exe README.md LICENSE SHA256SUMS)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/package/tarvex-manager.exe build/package/tarvex.exe README.md LICENSE "$stage/"
(cd "$stage" && sha256sum tarvex-manager.exe tarvex.exe >SHA256SUMS)
# Fixed times (in UTC), modes and order, and no extra fields: the zip's
# bytes follow from its contents alone.
chmod 0644 "${files[@]/#/$stage/}"
TZ=UTC touch -d "1980-01-01 00:00:00" "${files[@]/#/$stage/}"
mkdir -p dist
rm -f "dist/$name.zip" "dist/$name.zip.sha256"
(cd "$stage" && TZ=UTC zip -X -D -q "$OLDPWD/dist/$name.zip" "${files[@]}")
(cd dist && sha256sum "$name.zip" >"$name.zip.sha256")
echo "$PWD/dist/$name.zip"
