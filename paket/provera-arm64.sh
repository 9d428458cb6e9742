#!/usr/bin/env bash
# The arm64 package's programs run under qemu-aarch64, beside an arm64 root of
# bookworm's libraries the package depends on; the .deb is the one the package
# test (provera.sh, through ./dev.sh package) left in PACKAGE_DIR.
#   provera-arm64.sh SOURCE_DIR PACKAGE_DIR WORK_DIR
set -euo pipefail
izvor=$(realpath "$1")
paketi=$2
rad=$3
mkdir -p "$rad"
rad=$(realpath "$rad")
status=0
neuspeh() { echo "FAIL: $*" >&2; status=1; }

verzija=$(cd "$izvor" && dpkg-parsechangelog -S Version)
paket="$paketi/geometrija_${verzija}_arm64.deb"
[ -f "$paket" ] || { echo "FAIL: expected the arm64 package $paket (built by the paket test); got: $(ls "$paketi" 2>&1 | tr '\n' ' ')" >&2; exit 1; }

# What the package depends on, the first of each choice, and Mesa's EGL, which
# libegl1 only recommends, unpacked but not installed (nothing arm64 runs there).
pocetak=$SECONDS
zavisi=$(dpkg-deb -f "$paket" Depends | tr ',' '\n' | sed 's/|.*//; s/(.*//; s/ //g' | tr '\n' ' ')
arhiva=()  # as dev.sh's chroot: the archive this machine uses, where it is bookworm's
grep -qs bookworm /etc/apt/sources.list.d/debian.sources && arhiva=(/etc/apt/sources.list.d/debian.sources)
koren="$rad/koren"
rm -rf "$koren"
mmdebstrap --variant=extract --mode=unshare --arch=arm64 --include="$zavisi libegl-mesa0" \
    bookworm "$koren" "${arhiva[@]}" >"$rad/mmdebstrap.log" 2>&1 ||
    { tail -n 20 "$rad/mmdebstrap.log" >&2; echo "FAIL: the arm64 root could not be made" >&2; exit 1; }
dpkg-deb -x "$paket" "$koren"
echo "arm64 root: $((SECONDS - pocetak)) s"

# slika OUTPUT: the package's geometrija-slika under qemu, without a display.
slika() { env -u DISPLAY QEMU_LD_PREFIX="$koren" qemu-aarch64 "$koren/usr/bin/geometrija-slika" "$@"; }

pocetak=$SECONDS
cd "$izvor"
for lekcija in docs/lekcije/*.txt; do
    ime=$(basename "$lekcija" .txt)
    if ! slika "$rad/$ime.svg" <"$lekcija" >"$rad/$ime.ispis" 2>"$rad/$ime.err"; then
        neuspeh "$ime: geometrija-slika ended with an error: $(cat "$rad/$ime.err")"
        continue
    fi
    cmp -s "docs/lekcije/$ime.ispis" "$rad/$ime.ispis" ||
        neuspeh "$ime: transcript, expected (-) against printed (+):"$'\n'"$(diff -u "docs/lekcije/$ime.ispis" "$rad/$ime.ispis")"
    cmp -s "docs/galerija/$ime.svg" "$rad/$ime.svg" ||
        neuspeh "$ime: expected docs/galerija/$ime.svg byte for byte, got $rad/$ime.svg"
done
# The picture goes through EGL and Mesa's software renderer, their arm64 builds.
if slika "$rad/elipsa.png" <docs/lekcije/elipsa.txt >/dev/null 2>"$rad/elipsa-png.err"; then
    debian/tests/uporedi-slike docs/galerija/elipsa.png "$rad/elipsa.png" || neuspeh "elipsa.png"
else
    neuspeh "elipsa.png: geometrija-slika ended with an error: $(cat "$rad/elipsa-png.err")"
fi

# An impossible answer's NaN is printed as the processor makes it: x86's default
# NaN has its sign bit set, ARM's has not. So the signs are the other way round
# from the amd64 program's, for each of: the square root of a negative number
# (an ellipse's foci with a < b), infinity over infinity, zero over zero.
#   nan ANSWERS LINE AMD64 ARM64
nan() {
    local dobijeno
    dobijeno=$(printf '%b' "$1" | slika "$rad/nan.svg" | sed -n "$2p")
    [ "$dobijeno" = "$4" ] ||
        neuspeh "answers '$1', line $2: expected on arm64"$'\n'"  $4"$'\n'"(amd64: $3), got"$'\n'"  $dobijeno"
}
nan '1\n2 3\n45\n' 3 \
    'Vrednosti poluprecnika a i b su:2.000000 i 3.000000,a zize su nan i -nan' \
    'Vrednosti poluprecnika a i b su:2.000000 i 3.000000,a zize su -nan i nan'
nan '1\n2 3\n45\n' 6 \
    'Jednacina odbijenog zraka je:y = -nan * x + -nan' \
    'Jednacina odbijenog zraka je:y = nan * x + nan'
nan '2\n3 2\ninf\n1\n' 6 \
    'Jednacina zraka je:x = -nan * y - 3.605551' \
    'Jednacina zraka je:x = nan * y - 3.605551'
nan '3\n0\n0.5\n1\n' 6 \
    'Jednacina zraka je:y = -nan * x - -nan' \
    'Jednacina zraka je:y = nan * x - nan'
echo "arm64 programs under qemu: $((SECONDS - pocetak)) s"
exit $status
