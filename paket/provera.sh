#!/usr/bin/env bash
# The Debian package end to end: built as ./dev.sh package builds it, checked by
# lintian as an ordinary user runs it, unpacked, its programs run from the
# unpacked tree, its manual pages, menu entry and metadata checked.
#   provera.sh SOURCE_DIR WORK_DIR
set -euo pipefail
izvor=$1
rad=$2
mkdir -p "$rad"
rm -rf "$rad/koren" "$rad"/geometrija_*.deb
status=0
neuspeh() { echo "FAIL: $*" >&2; status=1; }

privremeni=$(mktemp -d)
xvfb=""
pocisti() {
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$privremeni"
}
trap pocisti EXIT

if ! GEOMETRIJA_PAKET="$rad" "$izvor/dev.sh" package >"$rad/izgradnja.log" 2>&1; then
    cat "$rad/izgradnja.log" >&2
    neuspeh "./dev.sh package failed"
    exit 1
fi
paket=$(echo "$rad"/geometrija_*-1_amd64.deb)
[ -f "$paket" ] || { neuspeh "expected one geometrija_<version>-1_amd64.deb in $rad, got: $paket"; exit 1; }

# lintian refuses to run as root: as root, a copy goes to a world-readable folder
# and lintian runs there as nobody, from that folder too (the build's own may be
# closed to others).
if command -v lintian >/dev/null; then
    chmod 755 "$privremeni"
    cp "$paket" "$privremeni/"
    chmod 644 "$privremeni"/*.deb
    kao=()
    [ "$(id -u)" -ne 0 ] || kao=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$privremeni")
    nalaz=$(cd "$privremeni" && "${kao[@]}" lintian --pedantic --display-info "${paket##*/}" 2>&1) || true
    [ -z "$nalaz" ] || neuspeh "lintian: expected no tags, got:"$'\n'"$nalaz"
else
    echo "lintian is not installed: the package is not linted" >&2
fi

koren="$rad/koren"
dpkg-deb -x "$paket" "$koren"
bin="$koren/usr/bin"
primeri="$koren/usr/share/doc/geometrija/examples"

# The installed lesson through the installed picture writer.
if "$bin/geometrija-slika" "$rad/elipsa.png" <"$primeri/elipsa.txt" >"$rad/elipsa.out"; then
    potpis=$(head -c 8 "$rad/elipsa.png" | od -An -tx1 | tr -d ' \n')
    [ "$potpis" = 89504e470d0a1a0a ] || neuspeh "elipsa.png: expected the PNG signature, got '$potpis'"
    ocekivano="Jednacina odbijenog zraka je:y = -4.567243 * x + 18.268974"
    grep -qxF "$ocekivano" "$rad/elipsa.out" ||
        neuspeh "geometrija-slika on elipsa.txt: expected the line '$ocekivano', got:"$'\n'"$(cat "$rad/elipsa.out")"
else
    neuspeh "geometrija-slika on elipsa.txt: expected status 0, got $?"
fi

# The installed demo in a private X server: its window appears, q ends it with 0.
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$rad/ekran" 2>"$rad/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do grep -q . "$rad/ekran" 2>/dev/null && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$rad/ekran")"
"$bin/geometrija-demo" </dev/null >"$rad/demo.out" 2>&1 &
demo=$!
if prozor=$(timeout 20 xdotool search --sync --onlyvisible --name 'geometrija-demo$' | head -n1); then
    xdotool windowfocus "$prozor" key --clearmodifiers q || true
    for _ in $(seq 100); do kill -0 "$demo" 2>/dev/null || break; sleep 0.1; done
fi
if kill -0 "$demo" 2>/dev/null; then
    kill "$demo"
    neuspeh "geometrija-demo: expected its window and an end on q; still running (DISPLAY=$DISPLAY)"
fi
kod=0
wait "$demo" || kod=$?
[ "$kod" -eq 0 ] || neuspeh "geometrija-demo: expected status 0, got $kod; output: $(cat "$rad/demo.out")"

for program in geometrija geometrija-demo geometrija-slika; do
    strana="$koren/usr/share/man/man1/$program.1.gz"
    if [ ! -f "$strana" ]; then
        neuspeh "expected the manual page $program.1.gz"
        continue
    fi
    upozorenja=$(MANWIDTH=80 man --warnings -l "$strana" 2>&1 >"$rad/$program.txt")
    [ -z "$upozorenja" ] || neuspeh "man -l $program.1.gz: expected no warnings, got:"$'\n'"$upozorenja"
    grep -q "^SYNOPSIS" "$rad/$program.txt" || neuspeh "man -l $program.1.gz: expected a SYNOPSIS section"
done

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$koren"/usr/share/applications/*.desktop || neuspeh "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$koren"/usr/share/metainfo/*.metainfo.xml >"$rad/appstream.log" 2>&1 ||
        neuspeh "appstreamcli validate: $(cat "$rad/appstream.log")"
fi
exit $status
