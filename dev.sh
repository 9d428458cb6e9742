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
#                       to DIR instead. Beside the amd64 .deb, the arm64 one (Raspberry Pi
#                       OS 64-bit), cross-built in the same amd64 chroot (sbuild
#                       --host=arm64): what CI and the package test build
#   ./dev.sh package izdanje
#                       the same, but the arm64 .deb for a release: built natively in an
#                       arm64 chroot under qemu-user (10-20 minutes more), with the native
#                       compiler's stack protector (docs/paket.md says why)
#   ./dev.sh repo       the signed apt repository build/apt/ (bookworm and trixie, amd64 and
#                       arm64) with the keyring package, from ./dev.sh package's .debs;
#                       GEOMETRIJA_APT_KLJUC=FILE the key to sign with, GEOMETRIJA_APT_ADRESA=URL
#                       its address (docs/paket.md); ctest --preset repo tests it
#   ./dev.sh package sve
#                       before a release: built, linted and autopkgtested in clean chroots of
#                       bookworm, trixie and unstable, and piuparts on bookworm and trixie
#   ./dev.sh galerija   draw the gallery again: docs/galerija/*.png, *.svg, the sounds *.wav
#                       and the transcripts docs/lekcije/*.ispis, from the lessons docs/lekcije/*.txt
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
# and autopkgtest; for the arm64 package sbuild installs the cross compiler in the
# chroot itself.
PACKAGE_PACKAGES="mmdebstrap zstd sbuild uidmap dpkg-dev lintian autopkgtest git"
# The release's arm64 chroot runs under qemu-aarch64-static (qemu-user-static, with
# binfmt_misc's entry for it, which systemd registers; where none is, dev.sh registers
# it in a namespace of its own); arch-test tells whether arm64 programs run.
RELEASE_PACKAGES="qemu-user-static arch-test"
# The package test also checks the menu entry and metadata.
# librsvg2-bin: rsvg-convert, which sets geometrija-slika's SVG beside its PNG.
# The arm64 package test: its programs under qemu-aarch64 (qemu-user), beside an arm64
# root that mmdebstrap unpacks; the picture compared by python3-pil.
TEST_PACKAGES="xvfb xdotool librsvg2-bin $PACKAGE_PACKAGES desktop-file-utils appstream qemu-user python3-pil"
# Debian's emscripten brings clang, lld, binaryen and node-acorn with it. The site's
# icons are drawn by rsvg-convert (librsvg2-bin) and packed by pngquant and zopflipng.
WEB_PACKAGES="emscripten nodejs librsvg2-bin pngquant zopfli"
# x11-apps: xwd, for the native picture; nginx-light serves the site to its test.
WEB_TEST_PACKAGES="chromium firefox-esr x11-apps nginx-light"
# The apt repository (./dev.sh repo) and its test: reprepro signs with gpg; the test
# serves it with nginx to a trixie root made by mmdebstrap.
REPO_PACKAGES="reprepro gnupg dpkg-dev mmdebstrap zstd nginx-light"
# The screen reader test: Orca with speech-dispatcher and espeak-ng, no sound card, on
# its own D-Bus and accessibility bus.
SCREEN_READER_PACKAGES="orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng at-spi2-core python3-pyatspi dbus"
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
# tarball is made once by mmdebstrap and kept (GEOMETRIJA_KOREN, a week at most;
# the arm64 one GEOMETRIJA_KOREN_ARM64). The arm64 package (Raspberry Pi) comes
# from the same source package, by one of two routes:
#   package          cross-built in the amd64 chroot (sbuild --host=arm64), a few minutes;
#   package izdanje  the release: built natively in an arm64 chroot run under
#                    qemu-user (10-20 minutes), since bookworm's cross compiler
#                    lacks the AArch64 stack protector fix (CVE-2023-4039) that its
#                    native arm64 gcc has.
# autopkgtest runs on amd64 only: an arm64 testbed needs an arm64 machine.
# GEOMETRIJA_SAMO_IZGRADNJA=1 stops after the builds (the reproducibility check);
# GEOMETRIJA_SAMO_AMD64=1 builds no arm64 package (package sve's newer suites).
package() {
    local nacin=${1:-}
    local out="${GEOMETRIJA_PAKET:-build/debian}"
    local suite="${GEOMETRIJA_SUITE:-bookworm}"
    local koren="${GEOMETRIJA_KOREN:-build/$suite-amd64.tar.zst}"
    local koren_arm64="${GEOMETRIJA_KOREN_ARM64:-build/bookworm-arm64.tar.zst}"
    local verzija
    verzija=$(dpkg-parsechangelog -S Version)
    mkdir -p "$out" "$(dirname "$koren")" "$(dirname "$koren_arm64")"
    out=$(realpath "$out")
    koren=$(realpath "$koren")
    koren_arm64=$(realpath "$koren_arm64")
    dozvoli_mapiranje
    napravi_koren "$koren" amd64 "$suite"

    local pocetak=$SECONDS
    rm -rf "$out/izvor" "$out"/geometrija[_-]* "$out/autopkgtest" "$out"/lintian*.txt "$out"/sbuild*.log
    local izvor="$out/izvor/geometrija-$verzija"
    mkdir -p "$izvor"
    # Every file dated at the changelog's entry: a checkout older than that entry
    # would otherwise give its own file times to the package.
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' ime; do [ -e "$ime" ] && printf '%s\0' "$ime"; done |
        tar --null -T - --mtime="@$(dpkg-parsechangelog -S Timestamp)" -cf - | tar -xf - -C "$izvor"
    (cd "$out/izvor" && dpkg-source -b "geometrija-$verzija")
    local dsc="$out/izvor/geometrija_$verzija.dsc"
    sbuildaj "$out/sbuild.log" --chroot="$koren" --source "$dsc"
    echo "build amd64: $((SECONDS - pocetak)) s"

    pocetak=$SECONDS
    if [ "${GEOMETRIJA_SAMO_AMD64:-}" = 1 ]; then
        :
    elif [ "$nacin" = izdanje ]; then
        # The unit tests run in this build too, under qemu.
        emulirano napravi_koren "$koren_arm64" arm64
        pocetak=$SECONDS
        emulirano sbuildaj "$out/sbuild-arm64.log" --chroot="$koren_arm64" --arch=arm64 \
            --no-source "$dsc"
        echo "build arm64 (native, under qemu): $((SECONDS - pocetak)) s"
    else
        # Cross-built, sbuild adds the profiles cross and nocheck: the unit tests
        # cannot run on this side (the package test runs the arm64 programs under
        # qemu instead).
        sbuildaj "$out/sbuild-arm64.log" --chroot="$koren" --host=arm64 --no-source "$dsc"
        echo "build arm64 (cross): $((SECONDS - pocetak)) s"
    fi
    [ "${GEOMETRIJA_SAMO_IZGRADNJA:-}" = 1 ] && return 0

    pocetak=$SECONDS
    lintuj "$out/geometrija_${verzija}_amd64.changes" | tee "$out/lintian.txt"
    [ "${GEOMETRIJA_SAMO_AMD64:-}" = 1 ] ||
        lintuj "$out/geometrija_${verzija}_arm64.changes" | tee "$out/lintian-arm64.txt"
    echo "lintian: $((SECONDS - pocetak)) s"

    # Each test in a fresh copy of the chroot; its lists were cleaned when it was made.
    pocetak=$SECONDS
    local status=0
    autopkgtest --setup-commands='apt-get update' -o "$out/autopkgtest" \
        "$out/geometrija_${verzija}_amd64.changes" \
        -- unshare --tarball "$koren" >"$out/autopkgtest.log" 2>&1 || status=$?
    echo "autopkgtest (amd64): $((SECONDS - pocetak)) s"
    cat "$out/autopkgtest/summary" 2>/dev/null || tail -n 40 "$out/autopkgtest.log"
    [ "$status" -eq 0 ] || { echo "autopkgtest failed ($status); its log is $out/autopkgtest.log" >&2; return 1; }
    if grep -q '^[EW]:' "$out"/lintian*.txt; then
        echo "lintian found errors or warnings" >&2
        return 1
    fi
    echo "The packages are in $out:"
    ls "$out" | grep "^geometrija[_-]" | grep -v '\.build$'
}

# napravi_koren TARBALL ARCH [SUITE]: the buildd chroot of SUITE (bookworm) for ARCH,
# unless one younger than a week is there. From the archive this machine uses, where
# it is SUITE's; else from Debian's own.
napravi_koren() {
    local koren=$1 arh=$2 suite=${3:-bookworm}
    [ -n "$(find "$koren" -mtime -7 2>/dev/null)" ] && return 0
    local pocetak=$SECONDS arhiva=("deb http://deb.debian.org/debian $suite main") opcije=()
    grep -qs "^Suites: $suite\b" /etc/apt/sources.list.d/debian.sources &&
        arhiva=(/etc/apt/sources.list.d/debian.sources)
    # unstable's Release is valid for a week only; a mirror kept as a snapshot
    # serves it expired. The chroot is for building and testing, not for a machine.
    [ "$suite" = unstable ] && opcije=(--aptopt='Acquire::Check-Valid-Until "false"')
    # The name's ending chooses the format: a tarball compressed with zstd.
    local novi="${koren%.tar.zst}.novi.tar.zst"
    mmdebstrap --variant=buildd --mode=auto --arch="$arh" "${opcije[@]}" "$suite" "$novi" "${arhiva[@]}"
    mv "$novi" "$koren"
    echo "chroot $arh: $((SECONDS - pocetak)) s"
}

# sbuildaj LOG SBUILD_OPTIONS... DSC: one build into the log's folder.
# The chroot is bookworm's; the distribution named is the changelog's.
sbuildaj() {
    local log=$1
    shift
    sbuild --chroot-mode=unshare --dist="$(dpkg-parsechangelog -S Distribution)" \
        --arch-any --no-arch-all --no-run-lintian --no-run-autopkgtest --no-run-piuparts \
        --no-apt-upgrade --no-apt-distupgrade --build-dir="$(dirname "$log")" -j"$JOBS" "$@" >"$log" 2>&1 || {
        tail -n 60 "$log" >&2
        echo "sbuild failed; its whole log is $log" >&2
        return 1
    }
}

# The package on today's Debian as well, before a release (not in CI): the source
# package built, linted and tested as installed (autopkgtest) in clean chroots of
# bookworm, trixie and unstable, each into build/debian-SUITE, and piuparts
# (install, upgrade from the archive's version if any, removal, purge) on bookworm
# and trixie. The arm64 package only on bookworm, the release's own: bookworm's
# sbuild cross-builds in a newer chroot with its host's apt solver, which finds no
# libapt-pkg there. Every suite is tried, each build a dev.sh of its own (whose
# errors stop it, as they would not inside a condition here); a table of the
# results ends it.
package_sve() {
    local suite korak status=0 tabela="suite      build lintian autopkgtest piuparts"
    local verzija
    verzija=$(dpkg-parsechangelog -S Version)
    for suite in bookworm trixie unstable; do
        local out="build/debian-$suite" izgradnja=- lint=- apt=- piu=-
        mkdir -p "$out"
        echo "== $suite"
        local samo_amd64=1
        [ "$suite" = bookworm ] && samo_amd64=
        if GEOMETRIJA_SUITE=$suite GEOMETRIJA_PAKET=$out GEOMETRIJA_KOREN= GEOMETRIJA_SAMO_AMD64=$samo_amd64 \
            ./dev.sh package >"$out.log" 2>&1; then
            izgradnja=ok lint=ok apt=ok
        else
            status=1
            izgradnja=$([ -e "$out/geometrija_${verzija}_amd64.deb" ] && echo ok || echo FAILED)
            [ "$izgradnja" = ok ] && lint=$(grep -qs '^[EW]:' "$out"/lintian*.txt && echo FAILED || echo ok)
            [ "$izgradnja" = ok ] && apt=$(grep -qs 'PASS' "$out/autopkgtest/summary" &&
                ! grep -qs 'FAIL' "$out/autopkgtest/summary" && echo ok || echo FAILED)
        fi
        if [ "$suite" != unstable ] && [ "$izgradnja" = ok ]; then
            # trixie's debconf leaves its own tmp.ci, which bookworm's piuparts does not know.
            if piuparts --distribution="$suite" --mirror="http://deb.debian.org/debian main" \
                --keyring=/usr/share/keyrings/debian-archive-keyring.gpg --ignore=/var/cache/debconf/tmp.ci/ \
                "$out/geometrija_${verzija}_amd64.deb" >"$out.piuparts.log" 2>&1; then
                piu=ok
            else
                piu=FAILED status=1
            fi
        fi
        tabela+=$(printf '\n%-10s %-5s %-7s %-11s %s' "$suite" "$izgradnja" "$lint" "$apt" "$piu")
        tail -n 3 "$out.log"
    done
    echo "$tabela"
    echo "(logs: build/debian-SUITE.log and build/debian-SUITE.piuparts.log)"
    return "$status"
}

# Runs its arguments where arm64 programs run through qemu-aarch64-static. Where
# binfmt_misc already hands them to qemu (a Debian machine with qemu-user-static
# and systemd or binfmt-support), as they are; else, as root, in a user and mount
# namespace of their own with a binfmt_misc of its own (Linux 6.7 and later),
# where qemu is registered with the F flag, so it is opened now and found from
# inside any chroot. That namespace maps every id to itself: the chroot's
# builders within it map their users to root's subordinate ids as they do here.
emulirano() {
    if arch-test arm64 >/dev/null 2>&1; then
        "$@"
        return
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "arm64 programs do not run here: register qemu-user-static with binfmt_misc" >&2
        echo "(systemd or binfmt-support does), or run this as root, which registers it in" >&2
        echo "a namespace of its own" >&2
        return 1
    fi
    # The functions and what they read, for the shell in the namespace.
    export -f napravi_koren sbuildaj
    export JOBS
    local sinh
    sinh=$(mktemp -u)
    mkfifo "$sinh"
    # Waits for the map before the exec, which keeps root's capabilities only when
    # the map is there.
    unshare --user --mount bash -c 'read -r _ <"$0"; rm -f "$0"; exec "$@"' "$sinh" \
        bash -c 'set -euo pipefail
            mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
            sed "s|:[^:]*:[^:]*\$|:/usr/bin/qemu-aarch64-static:F|" \
                /usr/lib/binfmt.d/qemu-aarch64.conf >/proc/sys/fs/binfmt_misc/register &&
            arch-test arm64 >/dev/null || { echo "arm64 emulation could not be set up" >&2; exit 1; }
            "$@"' _ "$@" &
    local pid=$! ja
    ja=$(readlink /proc/self/ns/user)
    while [ "$(readlink "/proc/$pid/ns/user")" = "$ja" ]; do sleep 0.1; done
    echo "0 0 4294967295" >"/proc/$pid/uid_map"
    echo "0 0 4294967295" >"/proc/$pid/gid_map"
    echo >"$sinh"
    wait "$pid"
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
        $SCREEN_READER_PACKAGES $WINDOWS_PACKAGES $WINDOWS_TEST_PACKAGES
    build
    build_web
    build_windows
    # The browser tests' driver, exactly as locked; it drives the system Chromium
    # and Firefox ESR and downloads no browser of its own.
    (cd web && npm ci --no-audit --no-fund)
    ctest --preset obicna
    ;;
package)
    case "${2:-}" in
    "") install_missing $PACKAGE_PACKAGES ;;
    izdanje) install_missing $PACKAGE_PACKAGES $RELEASE_PACKAGES ;;
    sve) install_missing $PACKAGE_PACKAGES piuparts debootstrap; package_sve; exit ;;
    *) echo "usage: $0 package [izdanje | sve]" >&2; exit 2 ;;
    esac
    package "${2:-}"
    ;;
repo)
    # The packages of ./dev.sh package (GEOMETRIJA_PAKET names another folder of them),
    # built first where there are none.
    install_missing $REPO_PACKAGES
    paketi="${GEOMETRIJA_PAKET:-build/debian}"
    if ! ls "$paketi"/geometrija_*_amd64.deb >/dev/null 2>&1; then
        install_missing $PACKAGE_PACKAGES
        package
    fi
    paket/apt.sh build/apt "$paketi"
    ;;
galerija)
    install_missing $BUILD_PACKAGES
    build
    # Each lesson's picture and console transcript, then the demonstration's
    # picture; drawn off-screen, so no display is used even where one is set.
    # Pictures of lessons that are gone go too.
    rm -f docs/galerija/*.png docs/galerija/*.svg docs/galerija/*.wav
    for lekcija in docs/lekcije/*.txt; do
        ime=$(basename "$lekcija" .txt)
        env -u DISPLAY build/geometrija-slika "docs/galerija/$ime.png" <"$lekcija" >"docs/lekcije/$ime.ispis"
        env -u DISPLAY build/geometrija-slika "docs/galerija/$ime.svg" <"$lekcija" >/dev/null
        env -u DISPLAY build/geometrija-slika "docs/galerija/$ime.wav" <"$lekcija" >/dev/null
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
    build --target geometrija-merilo privatni-x  # and the timed window it runs
    shift
    exec build/xvfb/privatni-x build/bench/geometrija-merilo "$@"
    ;;
*)
    echo "usage: $0 run [demo] | web | windows | test | package [izdanje | sve] | repo | galerija | sanitize | fuzz [seconds] | bench [--krugova N] [--okvira N]" >&2
    exit 2
    ;;
esac
