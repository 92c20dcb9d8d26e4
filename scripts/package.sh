#!/usr/bin/env bash
# Builds the two Windows programs and packs them, with the README and the
# manual in docs/, the licence, the programs' checksums and BUILDINFO.txt (the commit and the
# tools that made them), into dist/tarvex-VERSION-windows-x64.zip, with the
# zip's own checksum beside it; prints the zip's path last. The same commit
# built with the same tools gives the same bytes, whatever folder, time or
# compiler flags in the environment.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh

ensure_packages "${PACKAGE_PACKAGES[@]}"

# A release is a commit: uncommitted changes would ship under its name.
if ! commit=$(git rev-parse --verify HEAD 2>/dev/null); then
    echo "package.sh: not a git checkout; a release is built from a commit" >&2
    exit 1
fi
if ! git diff --quiet HEAD --; then
    echo "package.sh: the tree has uncommitted changes to tracked files; commit or stash them first:" >&2
    git diff --stat HEAD -- >&2
    exit 1
fi

# The toolchain file and the presets say how it is built; nothing from the environment.
unset CFLAGS CXXFLAGS CPPFLAGS LDFLAGS
rm -rf build/package
cmake --preset package >/dev/null
cmake --build --preset package
version=$(cat build/package/version.txt)
name="tarvex-$version-windows-x64"
# The manual as the commit holds it, in git's order.
mapfile -t docs < <(git ls-files docs)
files=(tarvex-manager.exe tarvex.exe README.md "${docs[@]}" LICENSE SHA256SUMS BUILDINFO.txt)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/package/tarvex-manager.exe build/package/tarvex.exe README.md LICENSE "$stage/"
mkdir -p "$stage/docs"
cp "${docs[@]}" "$stage/docs/"
(cd "$stage" && sha256sum tarvex-manager.exe tarvex.exe >SHA256SUMS)
# The same bytes come only from the same tools: name them.
{
    echo "tarvex $version"
    echo "commit $commit"
    echo "compiler $(x86_64-w64-mingw32-g++ --version | head -n 1)"
    echo "binutils $(x86_64-w64-mingw32-ld --version | head -n 1)"
    echo "cmake $(cmake --version | head -n 1)"
    echo "ninja $(ninja --version)"
    echo "zip $(zip -v | sed -n 2p)"
} >"$stage/BUILDINFO.txt"
# Fixed times (in UTC), modes and order, and no extra fields: the zip's
# bytes follow from its contents alone.
chmod 0644 "${files[@]/#/$stage/}"
TZ=UTC touch -d "1980-01-01 00:00:00" "${files[@]/#/$stage/}"
mkdir -p dist
rm -f "dist/$name.zip" "dist/$name.zip.sha256"
(cd "$stage" && TZ=UTC zip -X -D -q "$OLDPWD/dist/$name.zip" "${files[@]}")
(cd dist && sha256sum "$name.zip" >"$name.zip.sha256")
echo "$PWD/dist/$name.zip"
