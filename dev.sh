#!/usr/bin/env bash
# Sets up, builds, runs and tests geometrija.
#   ./dev.sh run        build and start geometrija (needs a display)
#   ./dev.sh run demo   build and start geometrija-demo
#   ./dev.sh test       build and run every test (starts its own X server)
# Missing Debian packages are installed with apt-get (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake make g++ freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libx11-dev libgtest-dev"
TEST_PACKAGES="xvfb xdotool"

install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "Please install: ${missing[*]} (Debian names: a C++17 compiler, CMake, make, freeglut," >&2
        echo "GLU, Mesa's OpenGL, Xlib headers, GoogleTest; for the tests also Xvfb and xdotool)." >&2
        return 0
    fi
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
}

case "${1:-}" in
run)
    install_missing $BUILD_PACKAGES
    build
    program=build/geometrija
    [ "${2:-}" = demo ] && program=build/geometrija-demo
    if [ -z "${DISPLAY:-}" ]; then
        echo "No display: start it under a virtual X server, e.g. 'xvfb-run -s \"-screen 0 800x600x24\" $program'." >&2
        exit 1
    fi
    exec "$program"
    ;;
test)
    install_missing $BUILD_PACKAGES $TEST_PACKAGES
    build
    ctest --test-dir build --output-on-failure -j 2
    ;;
*)
    echo "usage: $0 run [demo] | test" >&2
    exit 2
    ;;
esac
