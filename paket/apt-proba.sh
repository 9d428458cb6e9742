#!/usr/bin/env bash
# The apt repository as a school's machine meets it: paket/apt.sh builds one for
# this test's own nginx on the loopback, from the .debs of ./dev.sh package, and a
# clean trixie root (mmdebstrap --variant=apt, from the Debian mirror) installs the
# keyring package, updates without a warning, installs geometrija and replays a
# lesson, upgrades to a newer version published later, and refuses a Packages file
# changed after signing, a Release changed after signing, and a repository signed by
# another key: a machine that never saw the repository gets nothing from it, and
# one that did keeps its last good lists.
#   paket/apt-proba.sh SOURCE_DIR WORK_DIR     (as root: the root is used by chroot)
# The root's tarball is kept for a week (GEOMETRIJA_KOREN_TRIXIE).
set -euo pipefail
izvor=$(realpath "$1") radna=$(realpath -m "$2")
paketi=$(cd "$izvor" && realpath "${GEOMETRIJA_PAKET:-build/debian}")  # a relative one from the source folder, as ./dev.sh takes it
tarball=$(realpath -m "${GEOMETRIJA_KOREN_TRIXIE:-$izvor/build/trixie-apt.tar.zst}")
rm -rf "$radna"
mkdir -p "$radna" "$(dirname "$tarball")"
chmod 755 "$radna"
korak() { printf '%s: %d s\n' "$1" $((SECONDS - pocetak)); pocetak=$SECONDS; }
pocetak=$SECONDS

if [ -z "$(find "$tarball" -mtime -7 2>/dev/null)" ]; then
    mmdebstrap --quiet --variant=apt --mode=root trixie "$tarball.novi.tar.zst" \
        "deb http://deb.debian.org/debian trixie main"
    mv "$tarball.novi.tar.zst" "$tarball"
    korak "trixie root made"
fi

# ---- the server -------------------------------------------------------------------
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
adresa="http://127.0.0.1:$port/apt"
mkdir -p "$radna/www" "$radna/tmp"
cat >"$radna/nginx.conf" <<EOF
daemon off;
pid $radna/nginx.pid;
error_log $radna/greske.log;
worker_processes 1;
events { worker_connections 64; }
http {
  access_log off;
  client_body_temp_path $radna/tmp; proxy_temp_path $radna/tmp; fastcgi_temp_path $radna/tmp;
  uwsgi_temp_path $radna/tmp; scgi_temp_path $radna/tmp;
  server { listen 127.0.0.1:$port; root $radna/www; }
}
EOF
/usr/sbin/nginx -p "$radna" -e "$radna/greske.log" -c "$radna/nginx.conf" &
nginx=$!
koren="$radna/koren"
zavrsi() {
    kill "$nginx" 2>/dev/null || true
    rm -rf "$koren"
}
trap zavrsi EXIT

# The repository's key, as a school's would be kept: armoured, in a file.
mkdir -m 700 "$radna/gnupg"
GNUPGHOME="$radna/gnupg" gpg --batch --quiet --passphrase '' --quick-gen-key "geometrija apt (test)" ed25519 sign 1d
GNUPGHOME="$radna/gnupg" gpg --batch --armor --export-secret-keys >"$radna/kljuc.asc"
GNUPGHOME="$radna/gnupg" gpgconf --kill all
export GEOMETRIJA_APT_KLJUC="$radna/kljuc.asc" GEOMETRIJA_APT_ADRESA=$adresa
"$izvor/paket/apt.sh" "$radna/www/apt" "$paketi" >/dev/null
korak "repository built"

# ---- the machine --------------------------------------------------------------------
mkdir -p "$koren"
tar -C "$koren" --zstd -xf "$tarball"
# /dev and /proc of its own in a mount namespace of this command's; the loopback is the host's.
u_korenu() {
    unshare --mount --fork sh -c 'mount --rbind /dev "$0/dev" && mount -t proc proc "$0/proc" && exec chroot "$0" "$@"' \
        "$koren" env DEBIAN_FRONTEND=noninteractive "$@"
}
# apt-get update, which must end well and say no W: or E:.
osvezi() {
    local izlaz
    izlaz=$(u_korenu apt-get update 2>&1) || { echo "$izlaz"; echo "apt-get update failed" >&2; return 1; }
    if grep -E '^(W|E):' <<<"$izlaz"; then echo "apt-get update warned" >&2; return 1; fi
}
cp "$radna/www/apt/geometrija-archive-keyring.deb" "$koren/tmp/"
u_korenu dpkg -i /tmp/geometrija-archive-keyring.deb >/dev/null
grep -qx "Suites: trixie" "$koren/etc/apt/sources.list.d/geometrija.sources"
grep -qx "URIs: $adresa" "$koren/etc/apt/sources.list.d/geometrija.sources"
! u_korenu dpkg -L geometrija-archive-keyring | grep -q trusted.gpg  # the key in /usr/share/keyrings alone
korak "keyring package installed"
osvezi
korak "apt-get update"
u_korenu apt-get install -y -q --no-install-recommends geometrija >/dev/null
cp "$izvor/docs/lekcije/parabola.txt" "$koren/tmp/"
u_korenu sh -c 'geometrija-slika /tmp/parabola.svg < /tmp/parabola.txt' >"$radna/parabola.ispis"
cmp "$radna/parabola.ispis" "$izvor/docs/lekcije/parabola.ispis"
korak "geometrija installed, a lesson replayed"

# ---- a newer version ------------------------------------------------------------------
staro=$(u_korenu dpkg-query -W -f '${Version}' geometrija)
novo="$staro+1"
deb=$(ls "$paketi"/geometrija_*_amd64.deb | head -n 1)
dpkg-deb --raw-extract "$deb" "$radna/novi"
sed -i "s/^Version: .*/Version: $novo/" "$radna/novi/DEBIAN/control"
mkdir -p "$radna/novi-paketi"
dpkg-deb --root-owner-group --build "$radna/novi" "$radna/novi-paketi/geometrija_${novo}_amd64.deb" >/dev/null
"$izvor/paket/apt.sh" "$radna/www/apt" "$radna/novi-paketi" >"$radna/novija.log" 2>&1
osvezi
u_korenu apt-get upgrade -y -q >/dev/null
[ "$(u_korenu dpkg-query -W -f '${Version}' geometrija)" = "$novo" ]
korak "upgraded to $novo"

# ---- what apt must refuse ---------------------------------------------------------------
# Each tampering in place of the repository, tried on this machine, which keeps the
# lists it had (apt says why where it fetched anything), and on one that never
# updated from the repository (its lists of it taken away for the try), which must
# get nothing from it and be told.
dobro="$radna/dobro"
cp -a "$radna/www/apt" "$dobro"
liste="$koren/var/lib/apt/lists"
odbija() {
    local ime=$1 izlaz
    u_korenu apt-get update >/dev/null 2>&1 || true
    izlaz=$(u_korenu apt-cache policy geometrija)
    grep -q "Candidate: $novo" <<<"$izlaz" || { echo "$izlaz"; echo "$ime: the last good lists are gone" >&2; return 1; }
    mkdir -p "$radna/liste"
    mv "$liste"/127.0.0.1* "$radna/liste/"
    if izlaz=$(u_korenu apt-get update 2>&1) && ! grep -q '^[WE]:' <<<"$izlaz"; then
        echo "$ime: a machine new to the repository was not told" >&2
        return 1
    fi
    if u_korenu apt-cache policy geometrija | grep -q "127.0.0.1:$port"; then
        echo "$ime: a machine new to the repository read it" >&2
        return 1
    fi
    rm -f "$liste"/127.0.0.1*
    mv "$radna/liste"/* "$liste/"
    rm -rf "$radna/www/apt"
    cp -a "$dobro" "$radna/www/apt"
    echo "$ime: refused: $(grep -m1 '^[WE]:' <<<"$izlaz" | cut -c1-160)"
}
sed -i 's/^Description: .*/Description: not what was signed/' "$radna/www/apt/dists/trixie/main/binary-amd64/Packages"
gzip -9cn "$radna/www/apt/dists/trixie/main/binary-amd64/Packages" >"$radna/www/apt/dists/trixie/main/binary-amd64/Packages.gz"
odbija "Packages changed after signing"
sed -i 's/^Label: .*/Label: not what was signed/' "$radna/www/apt/dists/trixie/InRelease" "$radna/www/apt/dists/trixie/Release"
odbija "Release changed after signing"
rm -rf "$radna/www/apt" "$radna/www/apt.baza"
GEOMETRIJA_APT_KLJUC= "$izvor/paket/apt.sh" "$radna/www/apt" "$paketi" >/dev/null 2>&1  # a throwaway key
odbija "signed by another key"
korak "tampered repositories refused"

# Removing the keyring package takes the key and the source with it; purging leaves nothing.
u_korenu dpkg --remove geometrija-archive-keyring >/dev/null
[ ! -e "$koren/etc/apt/sources.list.d/geometrija.sources" ] && [ ! -e "$koren/usr/share/keyrings/geometrija-archive-keyring.gpg" ]
u_korenu dpkg --purge geometrija-archive-keyring >/dev/null
[ -z "$(u_korenu dpkg-query -W -f '${Status}' geometrija-archive-keyring 2>/dev/null)" ]
korak "keyring package removed and purged"
echo "The repository test passed."
