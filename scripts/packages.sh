# The Debian packages each script needs, in one place, and their installer.
# g++-mingw-w64-x86-64 brings binutils-mingw-w64-x86-64: windres and windmc.
BUILD_PACKAGES=(cmake ninja-build g++ g++-mingw-w64-x86-64 clang lld-14)
WINE_PACKAGES=(wine wine64 xvfb xauth)
TEST_PACKAGES=("${BUILD_PACKAGES[@]}" libgtest-dev googletest libbenchmark-dev "${WINE_PACKAGES[@]}" imagemagick zip)
DEMO_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64 "${WINE_PACKAGES[@]}" imagemagick)
BENCH_PACKAGES=("${BUILD_PACKAGES[@]}" libgtest-dev googletest libbenchmark-dev "${WINE_PACKAGES[@]}")
PACKAGE_PACKAGES=(cmake ninja-build g++-mingw-w64-x86-64 zip)

# Installs the Debian packages named as arguments that are not installed yet.
ensure_packages() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    fi
}
