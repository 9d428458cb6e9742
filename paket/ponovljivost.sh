#!/usr/bin/env bash
# Two builds of the committed source must give bit-identical .deb files, the
# amd64 ones and the cross-built arm64 ones: each
# from its own clone, at a path of a different length, with a different umask
# and time zone, one after the other (so at different times). Both use the
# chroot tarball that ./dev.sh package keeps.
#   ponovljivost.sh SOURCE_DIR WORK_DIR [FIRST_BUILD_DIR]
# With FIRST_BUILD_DIR, the .deb files there (./dev.sh package's, made from
# another clone of the same commit) stand for the first build, and only the
# second one is made.
set -euo pipefail
izvor=$(realpath "$1")
rad=$2
rm -rf "$rad"
mkdir -p "$rad"
rad=$(realpath "$rad")
koren="${GEOMETRIJA_KOREN:-$izvor/build/bookworm-amd64.tar.zst}"

# izgradi CLONE_DIR UMASK TZ
izgradi() {
    mkdir -p "$(dirname "$1")"
    (umask "$2" && git clone -q "$izvor" "$1" && cd "$1" && TZ=$3 GEOMETRIJA_SAMO_IZGRADNJA=1 \
        GEOMETRIJA_KOREN="$koren" GEOMETRIJA_PAKET="$1/izlaz" ./dev.sh package) >"$1.log" 2>&1 ||
        { tail -n 40 "$1.log" >&2; echo "FAIL: the build in $1 failed" >&2; exit 1; }
}
prvi=${3:-}
drugi=$rad/drugi/put/do/kopije/geometrija
if [ -z "$prvi" ]; then
    izgradi "$rad/a/geometrija" 022 UTC
    prvi=$rad/a/geometrija/izlaz
fi
izgradi "$drugi" 077 Pacific/Kiritimati

status=0
debovi=("$prvi"/*.deb)
for arh in amd64 arm64; do
    compgen -G "$prvi/geometrija_*_$arh.deb" >/dev/null ||
        { echo "FAIL: expected an $arh .deb in $prvi, got: ${debovi[*]##*/}" >&2; exit 1; }
done
for deb in "${debovi[@]}"; do
    ime=${deb##*/}
    sha256sum "$deb" "$drugi/izlaz/$ime"
    if ! cmp -s "$deb" "$drugi/izlaz/$ime"; then
        echo "FAIL: $ime differs between the two builds" >&2
        diff <(dpkg-deb -c "$deb") <(dpkg-deb -c "$drugi/izlaz/$ime") >&2 || true
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "reproducible: both builds gave the same .deb files"
exit $status
