#!/usr/bin/env bash
# Installs what is missing, builds, then starts the wizard (run) or runs every test (test).
#   bash scripts/vignetta.sh run [FOLDER]
#   bash scripts/vignetta.sh test
set -euo pipefail

mode=${1:-run}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
# shellcheck source=scripts/common.sh
source "$root/scripts/common.sh"

# Debian packages the build, the program and the tests need.
packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
          libqt6test6 libgl-dev fonts-dejavu-core chromium python3
          xvfb xdotool x11-utils openbox imagemagick desktop-file-utils appstream dpkg-dev file)
if [ "$mode" = test ]; then
    # The sanitizer runtimes come with g++; the fuzz targets and the lint need clang.
    packages+=(clang libclang-rt-14-dev clang-tidy)
fi

install_missing "${packages[@]}"

case "$mode" in
run)
    cmake --preset default >/dev/null
    cmake --build --preset default --target vignetta
    shift || true
    exec ./build/default/src/vignetta "$@"
    ;;
test)
    # Each stage is timed; the times are listed at the end.
    timings=()
    stage() {
        local title=$1 started=$SECONDS
        shift
        echo
        echo "== $title"
        "$@"
        timings+=("$(printf '%4d s  %s' $((SECONDS - started)) "$title")")
    }
    lint() {
        # clang-tidy in parallel over every file of the project, with the checks of
        # .clang-tidy; every finding fails. The fuzz targets are compiled in their own build.
        local tidy
        tidy=$(command -v run-clang-tidy || command -v run-clang-tidy-14)
        "$tidy" -quiet -j "$(nproc)" -p build/default "$root/src/" "$root/tests/" "$root/bench/"
        "$tidy" -quiet -j "$(nproc)" -p build/fuzz "$root/fuzz/"
    }
    all_started=$SECONDS

    stage "Build" bash -c 'cmake --preset default >/dev/null && cmake --build --preset default'
    stage "Fast tier: unit and widget tests" ctest --preset default
    stage "Slow tier: large folder, browser, X window, package" ctest --preset slow
    stage "Sanitizers: build" bash -c 'cmake --preset asan >/dev/null && cmake --build --preset asan'
    stage "Sanitizers: the fast tier under ASan and UBSan" ctest --preset asan
    stage "Fuzz targets: build" bash -c 'cmake --preset fuzz >/dev/null && cmake --build --preset fuzz'
    stage "Fuzz targets: a short run each" ctest --preset fuzz
    stage "Lint: clang-tidy" lint

    echo
    echo "== Every test passed. Time by stage:"
    printf '%s\n' "${timings[@]}"
    printf '%4d s  in all\n' $((SECONDS - all_started))
    ;;
*)
    echo "usage: $0 run [FOLDER] | test" >&2
    exit 2
    ;;
esac
