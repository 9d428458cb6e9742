#!/usr/bin/env bash
# Sets up, builds, runs and tests geometrija.
#   ./dev.sh run        build and start geometrija (needs a display)
#   ./dev.sh run demo   build and start geometrija-demo
#   ./dev.sh test       build and run every test (starts its own X server)
#   ./dev.sh sanitize   build with ASan and UBSan in build-sanitajzeri and run the unit tests
#   ./dev.sh fuzz [S]   build the fuzz targets with clang in build-fuzz, run their seeds and
#                       regression cases, then fuzz each for S seconds (default 60)
# Missing Debian packages are installed with apt-get (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake make g++ freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libgtest-dev"
TEST_PACKAGES="xvfb xdotool libx11-dev"
FUZZ_PACKAGES="clang libclang-rt-14-dev"

install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "Please install: ${missing[*]} (Debian names: a C++17 compiler, CMake, make, freeglut," >&2
        echo "GLU, Mesa's OpenGL, GoogleTest; for the tests also Xvfb, xdotool and Xlib headers)." >&2
        return 0
    fi
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

JOBS="$(nproc 2>/dev/null || echo 2)"

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$JOBS"
}

# One libFuzzer run of fuzz_$1 for $2 seconds. New inputs go to a corpus kept in
# build-fuzz, never into the committed seeds; a failing input is left in
# build-fuzz (crash-*, timeout-*): copy it into fuzz/regresija/$1/ once fixed.
fuzz_one() {
    local target=$1 seconds=$2
    local corpus=build-fuzz/korpus/$target log=build-fuzz/fuzz_$target.log
    mkdir -p "$corpus"
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -use_memcmp=0 \
        -dict="fuzz/$target.dict" -print_final_stats=1 -artifact_prefix=build-fuzz/ \
        "$corpus" "fuzz/seme/$target" "fuzz/regresija/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target failed; the input is in build-fuzz/, the whole log in $log" >&2
        return 1
    fi
    echo "fuzz_$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions in $seconds s"
    grep '^worst frame' "$log" | sed "s/^/fuzz_$target: /"
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
sanitize)
    install_missing $BUILD_PACKAGES
    cmake -S . -B build-sanitajzeri -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGEOMETRIJA_SANITAJZERI=ON
    cmake --build build-sanitajzeri -j "$JOBS"
    UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-sanitajzeri --output-on-failure -j 2 -L unit
    ;;
fuzz)
    seconds="${2:-60}"
    install_missing $BUILD_PACKAGES $FUZZ_PACKAGES
    cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DGEOMETRIJA_TESTOVI=OFF
    cmake --build build-fuzz -j "$JOBS" --target fuzz_dijalog fuzz_crtanje
    ctest --test-dir build-fuzz --output-on-failure -L fuzz
    fuzz_one dijalog "$seconds"
    fuzz_one crtanje "$seconds"
    ;;
*)
    echo "usage: $0 run [demo] | test | sanitize | fuzz [seconds]" >&2
    exit 2
    ;;
esac
