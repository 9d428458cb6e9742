#!/usr/bin/env bash
# The Debian packages end to end: ./dev.sh package builds them in a clean
# chroot, lints them and runs autopkgtest; this checks what it left. The arm64
# package's programs are run by provera-arm64.sh, after this.
#   provera.sh SOURCE_DIR WORK_DIR
set -euo pipefail
izvor=$1
rad=$2
mkdir -p "$rad"
status=0
neuspeh() { echo "FAIL: $*" >&2; status=1; }

if ! GEOMETRIJA_PAKET="$rad" "$izvor/dev.sh" package >"$rad/izgradnja.log" 2>&1; then
    cat "$rad/izgradnja.log" >&2
    neuspeh "./dev.sh package failed"
fi
verzija=$(cd "$izvor" && dpkg-parsechangelog -S Version)
for ime in "geometrija_$verzija.dsc" "geometrija_$verzija.tar.xz" \
    "geometrija_${verzija}"_{amd64,arm64}.{deb,buildinfo,changes}; do
    [ -f "$rad/$ime" ] || neuspeh "expected $ime in $rad, got: $(ls "$rad" | tr '\n' ' ')"
done
[ "$status" -eq 0 ] || exit 1

# The one tag no package outside the archive can avoid is allowed, nothing else.
for lintian in lintian.txt lintian-arm64.txt; do
    [ -f "$rad/$lintian" ] || { neuspeh "expected $lintian in $rad"; continue; }
    nalaz=$(grep -v ': initial-upload-closes-no-bugs$' "$rad/$lintian" || true)
    [ -z "$nalaz" ] || neuspeh "$lintian: expected no tags, got:"$'\n'"$nalaz"
done

ocekivano=$'lekcije PASS\nprozori PASS\nman-strane PASS'
dobijeno=$(awk '{print $1, $2}' "$rad/autopkgtest/summary" 2>/dev/null || true)
[ "$dobijeno" = "$ocekivano" ] || neuspeh "autopkgtest: expected"$'\n'"$ocekivano"$'\n'"got"$'\n'"$dobijeno"

# What only the source tree's own files may hold: no build folder, no node modules.
strano=$(tar -tJf "$rad/geometrija_$verzija.tar.xz" | grep -E '/(build[^/]*|node_modules)/' | head -n5 || true)
[ -z "$strano" ] || neuspeh "the source tarball holds build output:"$'\n'"$strano"

# EGL loads Mesa's driver at run time, unseen by dpkg-shlibdeps.
for arh in amd64 arm64; do
    zavisi=$(dpkg-deb -f "$rad/geometrija_${verzija}_$arh.deb" Depends)
    [[ "$zavisi" == *libgl1-mesa-dri* && "$zavisi" == *libglut3* ]] ||
        neuspeh "$arh Depends: expected libgl1-mesa-dri and libglut3.12 among them, got: $zavisi"
done
paket="$rad/geometrija_${verzija}_amd64.deb"

koren="$rad/koren"
rm -rf "$koren"
dpkg-deb -x "$paket" "$koren"
for datoteka in usr/bin/geometrija usr/bin/geometrija-demo usr/bin/geometrija-slika \
    usr/share/man/man1/geometrija-slika.1.gz usr/share/doc/geometrija/examples/elipsa.txt \
    usr/share/doc/geometrija/copyright usr/share/icons/hicolor/scalable/apps/geometrija.svg; do
    [ -f "$koren/$datoteka" ] || neuspeh "expected /$datoteka in the package"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$koren"/usr/share/applications/*.desktop || neuspeh "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$koren"/usr/share/metainfo/*.metainfo.xml >"$rad/appstream.log" 2>&1 ||
        neuspeh "appstreamcli validate: $(cat "$rad/appstream.log")"
fi
exit $status
