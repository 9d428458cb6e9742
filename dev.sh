#!/usr/bin/env bash
# Sets up, builds, runs and tests geometrija.
#   ./dev.sh run        build and start geometrija (needs a display)
#   ./dev.sh run demo   build and start geometrija-demo
#   ./dev.sh web        build build-web/geometrija.html and geometrija-demo.html
#   ./dev.sh windows    cross-build build-windows/geometrija-windows.zip: geometrija.exe and
#                       geometrija-demo.exe for Windows, the lessons, PROCITAJ.txt, the licence
#   ./dev.sh test       build and run every test (starts its own X server, and
#                       Chromium and Firefox ESR for the web pages)
#   ./dev.sh package    build/geometrija_<version>-1_amd64.deb (a Release build in
#                       build/deb, without the tests); GEOMETRIJA_PAKET=DIR writes
#                       it to DIR instead, built in DIR/deb
#   ./dev.sh galerija   draw the gallery again: docs/galerija/*.png, *.svg and the
#                       transcripts docs/lekcije/*.ispis, from the lessons docs/lekcije/*.txt
#   ./dev.sh sanitize   build with ASan and UBSan in build-sanitajzeri and run the unit tests
#   ./dev.sh fuzz [S]   build the fuzz targets with clang in build-fuzz, run their seeds and
#                       regression cases, then fuzz each for S seconds (default 60)
#   ./dev.sh bench      build and run the frame benchmark (starts its own X server;
#                       options after it go to the benchmark: --krugova N, --okvira N)
# Missing Debian packages are installed with apt-get (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake make g++ pkg-config freeglut3-dev libglu1-mesa-dev libgl1-mesa-dev libgl1-mesa-dri libx11-dev libegl-dev libpng-dev libcairo2-dev libgtest-dev"
# dpkg-shlibdeps (dpkg-dev, file) computes the package's dependencies.
PACKAGE_PACKAGES="dpkg-dev file"
# The package test also checks the package, its menu entry, metadata and manual pages.
# librsvg2-bin: rsvg-convert, which sets geometrija-slika's SVG beside its PNG.
TEST_PACKAGES="xvfb xdotool librsvg2-bin $PACKAGE_PACKAGES lintian desktop-file-utils appstream man-db"
# Debian's emscripten brings clang, lld, binaryen and node-acorn with it.
WEB_PACKAGES="emscripten nodejs"
WEB_TEST_PACKAGES="chromium firefox-esr x11-apps"  # x11-apps: xwd, for the native picture
FUZZ_PACKAGES="clang libclang-rt-14-dev xxd"  # xxd: the inputs are kept as hex text
BENCH_PACKAGES="xvfb"
# The Windows programs: mingw-w64 (posix threads), and dpkg-source (dpkg-dev) to
# unpack and check the freeglut source it is built from; Wine runs their tests.
WINDOWS_PACKAGES="cmake make g++-mingw-w64-x86-64-posix dpkg-dev xz-utils"
WINDOWS_TEST_PACKAGES="wine64"

JOBS="$(nproc 2>/dev/null || echo 2)"

install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if ! command -v apt-get >/dev/null 2>&1; then
        echo "Please install: ${missing[*]} (Debian names: a C++17 compiler, CMake, make, freeglut," >&2
        echo "GLU, Mesa's OpenGL and EGL, Xlib headers, libpng, cairo, pkg-config, GoogleTest; for the package" >&2
        echo "dpkg-dev and file; for the tests also Xvfb, xdotool, rsvg-convert, lintian, desktop-file-utils," >&2
        echo "appstream, man-db)." >&2
        return 0
    fi
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# npm comes with some builds of nodejs (not Debian's, which has it as a package of its own).
web_packages() {
    echo "$WEB_PACKAGES"
    command -v npm >/dev/null 2>&1 || echo npm
}

build_web() {
    # Emscripten's optimiser needs acorn, which Debian keeps in /usr/share/nodejs;
    # a node not built by Debian does not look there by itself.
    export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"
    emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release
    cmake --build build-web -j "$JOBS"
    echo "Open build-web/geometrija.html in a browser."
}

# freeglut is built once into build-windows/freeglut and kept there.
build_windows() {
    JOBS="$JOBS" windows/freeglut.sh build-windows
    cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/windows/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release
    cmake --build build-windows -j "$JOBS"
    echo "build-windows/geometrija-windows.zip"
}

build() {
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build -j "$JOBS" "$@"
}

# One libFuzzer run of fuzz_$1 for $2 seconds. New inputs go to a corpus kept in
# build-fuzz, never into the committed seeds; a failing input is left in
# build-fuzz (crash-*, timeout-*): once fixed, keep it as text in
# fuzz/regresija/$1/ (xxd -p crash-... > fuzz/regresija/$1/NAME.hex).
fuzz_one() {
    local target=$1 seconds=$2
    local corpus=build-fuzz/korpus/$target log=build-fuzz/fuzz_$target.log
    mkdir -p "$corpus"
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -use_memcmp=0 \
        -dict="fuzz/$target.dict" -print_final_stats=1 -artifact_prefix=build-fuzz/ \
        "$corpus" "build-fuzz/fuzz/seme/$target" "build-fuzz/fuzz/regresija/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target failed; the input is in build-fuzz/, the whole log in $log" >&2
        return 1
    fi
    echo "fuzz_$target: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") executions in $seconds s"
    grep '^worst frame' "$log" | sed "s/^/fuzz_$target: /"
}

# Debian's hardening flags, all of them (bind now too); CMake reads no CPPFLAGS,
# so they go in with CXXFLAGS.
package() {
    export DEB_BUILD_MAINT_OPTIONS=hardening=+all
    local out="${GEOMETRIJA_PAKET:-build}"
    local dir="$out/deb"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DGEOMETRIJA_TESTOVI=OFF \
        -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
        -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
    cmake --build "$dir" -j "$JOBS"
    rm -f "$dir"/geometrija_*.deb
    (cd "$dir" && cpack -G DEB)
    mv "$dir"/geometrija_*.deb "$out"/
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
web)
    install_missing $(web_packages)
    build_web
    ;;
windows)
    install_missing $WINDOWS_PACKAGES
    build_windows
    ;;
test)
    install_missing $BUILD_PACKAGES $TEST_PACKAGES $(web_packages) $WEB_TEST_PACKAGES \
        $WINDOWS_PACKAGES $WINDOWS_TEST_PACKAGES
    build
    build_web
    build_windows
    # The browser tests' driver, exactly as locked; it drives the system Chromium
    # and Firefox ESR and downloads no browser of its own.
    (cd web && npm ci --no-audit --no-fund)
    ctest --test-dir build --output-on-failure -j 2
    ;;
package)
    install_missing $BUILD_PACKAGES $PACKAGE_PACKAGES
    package
    ;;
galerija)
    install_missing $BUILD_PACKAGES
    build
    # Each lesson's picture and console transcript, then the demonstration's
    # picture; drawn off-screen, so no display is used even where one is set.
    # Pictures of lessons that are gone go too.
    rm -f docs/galerija/*.png docs/galerija/*.svg
    for lekcija in docs/lekcije/*.txt; do
        ime=$(basename "$lekcija" .txt)
        env -u DISPLAY build/geometrija-slika "docs/galerija/$ime.png" <"$lekcija" >"docs/lekcije/$ime.ispis"
        env -u DISPLAY build/geometrija-slika "docs/galerija/$ime.svg" <"$lekcija" >/dev/null
    done
    env -u DISPLAY build/geometrija-slika-demo docs/galerija/demo.png </dev/null
    ls -l docs/galerija
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
bench)
    install_missing $BUILD_PACKAGES $BENCH_PACKAGES
    build --target geometrija-merilo  # and the timed window it runs
    shift
    exec build/bench/geometrija-merilo "$@"
    ;;
*)
    echo "usage: $0 run [demo] | web | windows | test | package | galerija | sanitize | fuzz [seconds] | bench [--krugova N] [--okvira N]" >&2
    exit 2
    ;;
esac
