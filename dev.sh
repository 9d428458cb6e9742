#!/usr/bin/env bash
# Sets up, builds, runs and tests geometrija.
#   ./dev.sh run        build and start geometrija (needs a display)
#   ./dev.sh run demo   build and start geometrija-demo
#   ./dev.sh web        build build-web/geometrija.html and geometrija-demo.html, and the
#                       site build-web/sajt/ for a school's web server (docs/web.md)
#   ./dev.sh windows    cross-build build-windows/geometrija-windows.zip: geometrija.exe and
#                       geometrija-demo.exe for Windows, the lessons, PROCITAJ.txt, the licence
#   ./dev.sh test       build and run every test (starts its own X server, and
#                       Chromium and Firefox ESR for the web pages)
#   ./dev.sh package    the Debian source and binary packages, built in a clean
#                       bookworm chroot (sbuild), linted and tested as installed
#                       (autopkgtest), in build/debian; GEOMETRIJA_PAKET=DIR writes them
#                       to DIR instead
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
# The chroot (mmdebstrap, zstd), the build in it (sbuild in its unshare mode, which
# maps users through uidmap), the source package on this side (dpkg-dev), lintian
# and autopkgtest.
PACKAGE_PACKAGES="mmdebstrap zstd sbuild uidmap dpkg-dev lintian autopkgtest git"
# The package test also checks the menu entry and metadata.
# librsvg2-bin: rsvg-convert, which sets geometrija-slika's SVG beside its PNG.
TEST_PACKAGES="xvfb xdotool librsvg2-bin $PACKAGE_PACKAGES desktop-file-utils appstream"
# Debian's emscripten brings clang, lld, binaryen and node-acorn with it. The site's
# icons are drawn by rsvg-convert (librsvg2-bin) and packed by pngquant and zopflipng.
WEB_PACKAGES="emscripten nodejs librsvg2-bin pngquant zopfli"
# x11-apps: xwd, for the native picture; nginx-light serves the site to its test.
WEB_TEST_PACKAGES="chromium firefox-esr x11-apps nginx-light"
FUZZ_PACKAGES="clang libclang-rt-14-dev xxd"  # xxd: the inputs are kept as hex text
BENCH_PACKAGES="xvfb"
# The Windows programs: mingw-w64 (posix threads), and dpkg-source (dpkg-dev) to
# unpack and check the freeglut source it is built from; Wine runs their tests.
# The MSI: msitools' wixl, msibuild and msiinfo; its icon drawn by rsvg-convert
# (librsvg2-bin) and packed by icotool (icoutils); signing by osslsigncode.
WINDOWS_PACKAGES="cmake make g++-mingw-w64-x86-64-posix dpkg-dev xz-utils wixl wixl-data msitools librsvg2-bin icoutils osslsigncode"
# The MSI's tests sign with a certificate of their own, made by openssl.
WINDOWS_TEST_PACKAGES="wine64 openssl"

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
        echo "mmdebstrap, sbuild, uidmap, dpkg-dev, lintian, autopkgtest; for the tests also Xvfb, xdotool," >&2
        echo "rsvg-convert, desktop-file-utils, appstream)." >&2
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
    cmake --preset web
    cmake --build --preset web -j "$JOBS"
    echo "Open build-web/geometrija.html in a browser; build-web/sajt/ goes onto a web server (docs/web.md)."
}

# freeglut is built once into build-windows/freeglut and kept there.
build_windows() {
    JOBS="$JOBS" windows/freeglut.sh build-windows
    cmake --preset windows
    cmake --build --preset windows -j "$JOBS"
    echo "build-windows/geometrija-windows.zip, build-windows/geometrija-$(sed -n 's/^project(geometrija VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt).msi"
}

build() {
    cmake --preset obicna
    cmake --build --preset obicna -j "$JOBS" "$@"
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

# The Debian packages as Debian's builders make them: the source package from the
# files git knows (so no build folder slips in), built by sbuild in a bookworm
# chroot that holds only build-essential and the Build-Depends, then linted and
# tested as installed by autopkgtest in the same clean chroot. The chroot's
# tarball is made once by mmdebstrap and kept (GEOMETRIJA_KOREN, a week at most).
# GEOMETRIJA_SAMO_IZGRADNJA=1 stops after the build (the reproducibility check).
package() {
    local out="${GEOMETRIJA_PAKET:-build/debian}"
    local koren="${GEOMETRIJA_KOREN:-build/bookworm-amd64.tar.zst}"
    local verzija
    verzija=$(dpkg-parsechangelog -S Version)
    mkdir -p "$out" "$(dirname "$koren")"
    out=$(realpath "$out")
    koren=$(realpath "$koren")
    dozvoli_mapiranje

    local pocetak=$SECONDS
    if [ -z "$(find "$koren" -mtime -7 2>/dev/null)" ]; then
        # The archive this machine uses, where it is bookworm's; else Debian's own.
        local arhiva=()
        grep -qs bookworm /etc/apt/sources.list.d/debian.sources &&
            arhiva=(/etc/apt/sources.list.d/debian.sources)
        # The name's ending chooses the format: a tarball compressed with zstd.
        local novi="${koren%.tar.zst}.novi.tar.zst"
        mmdebstrap --variant=buildd --mode=auto bookworm "$novi" "${arhiva[@]}"
        mv "$novi" "$koren"
        echo "chroot: $((SECONDS - pocetak)) s"
    fi

    pocetak=$SECONDS
    rm -rf "$out/izvor" "$out"/geometrija[_-]* "$out/autopkgtest" "$out/lintian.txt"
    local izvor="$out/izvor/geometrija-$verzija"
    mkdir -p "$izvor"
    # Every file dated at the changelog's entry: a checkout older than that entry
    # would otherwise give its own file times to the package.
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' ime; do [ -e "$ime" ] && printf '%s\0' "$ime"; done |
        tar --null -T - --mtime="@$(dpkg-parsechangelog -S Timestamp)" -cf - | tar -xf - -C "$izvor"
    (cd "$out/izvor" && dpkg-source -b "geometrija-$verzija")
    # The chroot is bookworm's; the distribution named is the changelog's.
    sbuild --chroot-mode=unshare --chroot="$koren" --source \
        --dist="$(dpkg-parsechangelog -S Distribution)" \
        --no-run-lintian --no-run-autopkgtest --no-run-piuparts \
        --no-apt-upgrade --no-apt-distupgrade --build-dir="$out" -j"$JOBS" \
        "$out/izvor/geometrija_$verzija.dsc" >"$out/sbuild.log" 2>&1 || {
        tail -n 60 "$out/sbuild.log" >&2
        echo "sbuild failed; its whole log is $out/sbuild.log" >&2
        return 1
    }
    local changes="$out/geometrija_${verzija}_amd64.changes"
    echo "build: $((SECONDS - pocetak)) s"
    [ "${GEOMETRIJA_SAMO_IZGRADNJA:-}" = 1 ] && return 0

    pocetak=$SECONDS
    lintuj "$changes" | tee "$out/lintian.txt"
    echo "lintian: $((SECONDS - pocetak)) s"

    # Each test in a fresh copy of the chroot; its lists were cleaned when it was made.
    pocetak=$SECONDS
    local status=0
    autopkgtest --setup-commands='apt-get update' -o "$out/autopkgtest" "$changes" \
        -- unshare --tarball "$koren" >"$out/autopkgtest.log" 2>&1 || status=$?
    echo "autopkgtest: $((SECONDS - pocetak)) s"
    cat "$out/autopkgtest/summary" 2>/dev/null || tail -n 40 "$out/autopkgtest.log"
    [ "$status" -eq 0 ] || { echo "autopkgtest failed ($status); its log is $out/autopkgtest.log" >&2; return 1; }
    if grep -q '^[EW]:' "$out/lintian.txt"; then
        echo "lintian found errors or warnings" >&2
        return 1
    fi
    echo "The packages are in $out:"
    ls "$out" | grep "^geometrija[_-]" | grep -v '\.build$'
}

# sbuild and autopkgtest map the chroot's users to this user's subordinate ids;
# root gets a range of its own if it has none (a fresh machine's root has none).
dozvoli_mapiranje() {
    local ja
    ja=$(id -un)
    grep -qs "^$ja:" /etc/subuid && grep -qs "^$ja:" /etc/subgid && return 0
    if [ "$(id -u)" -eq 0 ]; then
        usermod --add-subuids 100000-165535 --add-subgids 100000-165535 root
    else
        echo "$ja has no subordinate ids for sbuild's unshare mode: ask an administrator for" >&2
        echo "  usermod --add-subuids 100000-165535 --add-subgids 100000-165535 $ja" >&2
        return 1
    fi
}

# lintian refuses to run as root: as root it runs as nobody, on a copy in a
# world-readable folder (the build's own may be closed to others).
lintuj() {
    local changes=$1
    if [ "$(id -u)" -ne 0 ]; then
        lintian --pedantic --display-info "$changes" || true
        return 0
    fi
    local kopija
    kopija=$(mktemp -d)
    chmod 755 "$kopija"
    cp "$(dirname "$changes")"/geometrija*_* "$kopija/"
    rm -f "$kopija"/*.build
    chmod 644 "$kopija"/*
    (cd "$kopija" && setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$kopija" \
        lintian --pedantic --display-info "${changes##*/}") || true
    rm -rf "$kopija"
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
    ctest --preset obicna
    ;;
package)
    install_missing $PACKAGE_PACKAGES
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
    cmake --preset sanitajzeri
    cmake --build --preset sanitajzeri -j "$JOBS"
    UBSAN_OPTIONS=print_stacktrace=1 ctest --preset sanitajzeri
    ;;
fuzz)
    seconds="${2:-60}"
    install_missing $BUILD_PACKAGES $FUZZ_PACKAGES
    cmake --preset fuzz
    cmake --build --preset fuzz -j "$JOBS"
    ctest --preset fuzz
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
