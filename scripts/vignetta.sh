#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Vignetta developers
# SPDX-License-Identifier: GPL-3.0-or-later
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
    # The browser test reads what metadata the files the page links carry.
    packages+=(libimage-exiftool-perl)
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
    # Each stage is timed; the times are listed at the end. clang-tidy reads the plain build's
    # compile commands and runs beside the tests, on every core.
    timings=()
    stage() {
        local title=$1 started=$SECONDS
        shift
        echo
        echo "== $title"
        "$@"
        timings+=("$(printf '%4d s  %s' $((SECONDS - started)) "$title")")
    }
    all_started=$SECONDS
    jobs=$(nproc)

    licence_lines() {
        # Every source file names its licence.
        local missing
        missing=$(git ls-files '*.cpp' '*.h' '*.h.in' '*.sh' '*.py' '*CMakeLists.txt' |
                  xargs grep -L 'SPDX-License-Identifier: GPL-3.0-or-later' || true)
        [ -z "$missing" ] || { echo "no SPDX licence line in:"; echo "$missing"; return 1; }
    }
    stage "Licence lines" licence_lines
    stage "Build" bash -c 'cmake --preset default >/dev/null && cmake --build --preset default'

    # clang-tidy over the project's own code, with the checks of .clang-tidy; every finding
    # fails. Files unchanged since they were last found clean are not linted again (see
    # scripts/lint.py). In the background while the plain build's tests run.
    lint_log=$(mktemp)
    lint_started=$SECONDS
    (set +e; python3 scripts/lint.py build/default src tests bench >"$lint_log" 2>&1
     echo $? >"$lint_log.status"; echo $((SECONDS - lint_started)) >"$lint_log.time") &
    lint_pid=$!

    stage "Fast tier: unit and widget tests" ctest --preset default -j "$jobs"
    # The browser test checks the page's accessibility with axe-core, from the npm registry.
    axe_core() {
        local dir=build/default/npm
        [ -f "$dir/node_modules/axe-core/axe.min.js" ] && return 0
        command -v npm >/dev/null || install_missing nodejs npm
        npm install --no-audit --no-fund --silent --prefix "$dir" axe-core@4.14.1
    }
    stage "axe-core for the browser test" axe_core
    stage "Slow tier: large folder, browser, X window, package" ctest --preset slow -j "$jobs"
    stage "Lint: clang-tidy over src, tests and bench (waiting for it)" wait "$lint_pid"
    cat "$lint_log"
    lint_status=$(cat "$lint_log.status")
    timings+=("$(printf '%4d s  %s' "$(cat "$lint_log.time")" "  (clang-tidy itself, beside the tests)")")
    rm -f "$lint_log" "$lint_log.status" "$lint_log.time"
    [ "$lint_status" = 0 ] || { echo "clang-tidy found problems"; exit 1; }

    stage "Sanitizers: build (clang, ASan and UBSan, fuzz targets)" \
        bash -c 'cmake --preset asan >/dev/null && cmake --build --preset asan'
    stage "Sanitizers: the fast tier and a short run of each fuzz target" \
        ctest --preset asan -j "$jobs"
    stage "Lint: clang-tidy over the fuzz targets" python3 scripts/lint.py build/asan fuzz

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
