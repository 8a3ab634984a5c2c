#!/usr/bin/env bash
# Installs what is missing, builds, then starts the wizard (run) or runs every test (test).
#   bash scripts/vignetta.sh run
#   bash scripts/vignetta.sh test
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

# Debian packages the build, the program and the tests need.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libqt6test6 libgl-dev fonts-dejavu-core chromium
          xvfb xdotool x11-utils openbox imagemagick desktop-file-utils appstream dpkg-dev file)
if [ "$mode" = test ]; then
    # The sanitizer runtimes come with g++; the fuzz targets and the lint need clang.
    packages+=(clang libclang-rt-14-dev clang-tidy)
fi

install_missing "${packages[@]}"

cmake --preset default
cmake --build --preset default

case "$mode" in
run)
    exec ./build/default/src/vignetta
    ;;
test)
    # Every test in the plain build, then again with AddressSanitizer and
    # UndefinedBehaviorSanitizer, then a short run of each fuzz target.
    ctest --preset default
    echo "== The tests again, with AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake --preset asan
    cmake --build --preset asan
    ctest --preset asan
    echo "== Fuzz targets, a short run each"
    cmake --preset fuzz
    cmake --build --preset fuzz
    ctest --preset fuzz
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
