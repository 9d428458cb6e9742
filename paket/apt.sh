#!/usr/bin/env bash
# The signed apt repository for a school's machines, to copy onto any static web
# server (docs/paket.md, "For a school's administrator"):
#   paket/apt.sh OUT PACKAGES
# OUT gets dists/ and pool/ with the suites bookworm and trixie (component main,
# amd64 and arm64), each holding the geometrija .debs found in PACKAGES and the
# keyring package geometrija-archive-keyring, which also lies at
# OUT/geometrija-archive-keyring.deb. reprepro's database and configuration stay
# beside it in OUT.baza, so that a later run adds a newer version to the same
# repository.
#   GEOMETRIJA_APT_KLJUC=FILE   an ASCII-armoured OpenPGP secret key without a
#                               passphrase to sign with; without it a throwaway key
#   GEOMETRIJA_APT_ADRESA=URL   the repository's address, written into each
#                               machine's /etc/apt/sources.list.d/geometrija.sources
# One build made on bookworm serves both suites: trixie's 64-bit-time libraries
# (libpng16-16t64 and the like) provide the names it depends on.
set -euo pipefail
izlaz=$1 paketi=$2
adresa=${GEOMETRIJA_APT_ADRESA:-http://localhost/geometrija}
SUITE="bookworm trixie"
baza="$izlaz.baza"
mkdir -p "$izlaz" "$baza/conf"
izlaz=$(realpath "$izlaz") baza=$(realpath "$baza")

shopt -s nullglob
debovi=("$paketi"/geometrija_*_amd64.deb "$paketi"/geometrija_*_arm64.deb)
[ ${#debovi[@]} -gt 0 ] || { echo "no geometrija_*.deb in $paketi: run ./dev.sh package first" >&2; exit 1; }

# A GnuPG home of this run's own: the user's keys are never read or changed.
GNUPGHOME=$(mktemp -d)
export GNUPGHOME
trap 'gpgconf --kill all; rm -rf "$GNUPGHOME" "$baza/kljucni"' EXIT
if [ -n "${GEOMETRIJA_APT_KLJUC:-}" ]; then
    gpg --batch --quiet --import "$GEOMETRIJA_APT_KLJUC"
else
    echo "No GEOMETRIJA_APT_KLJUC: signed with a throwaway key made now. This repository is for" >&2
    echo "testing only: every run gives another key, which machines that trust the last one refuse." >&2
    gpg --batch --quiet --passphrase '' --quick-gen-key "geometrija apt (proba)" ed25519 sign 1y
fi
otisak=$(gpg --batch --quiet --with-colons --list-secret-keys 2>/dev/null | awk -F: '$1 == "fpr" { print $10; exit }')
[ -n "$otisak" ] || { echo "no secret key to sign with" >&2; exit 1; }

# The keyring package's version rises whenever the key or the address changes:
# the time of the first build with this pair, kept with the database.
stanje="$baza/kljuc-verzija"
par="$otisak $adresa"
if [ "$(sed -n 1p "$stanje" 2>/dev/null)" != "$par" ]; then
    sada=$(date +%s)
    printf '%s\n%s\n%s\n' "$par" "1.$(date -u -d "@$sada" +%Y%m%d%H%M%S)" "$sada" >"$stanje"
fi
verzija=$(sed -n 2p "$stanje")

# ---- geometrija-archive-keyring: the key, and the source written for the machine ----
k="$baza/kljucni"
rm -rf "$k"
mkdir -p "$k/DEBIAN" "$k/usr/share/keyrings" "$k/usr/share/doc/geometrija-archive-keyring"
# Binary, as trixie's apt reads keyrings in /usr/share/keyrings (an armoured .gpg it ignores).
gpg --batch --export "$otisak" >"$k/usr/share/keyrings/geometrija-archive-keyring.gpg"
cp "$(dirname "$0")/../LICENSE" "$k/usr/share/doc/geometrija-archive-keyring/copyright"
cat >"$k/DEBIAN/control" <<EOF
Package: geometrija-archive-keyring
Version: $verzija
Architecture: all
Maintainer: $(sed -n 's/^Maintainer: //p' "$(dirname "$0")/../debian/control")
Section: misc
Priority: optional
Description: OpenPGP key and apt source of the geometrija repository
 Installs the key that signs the geometrija apt repository in
 /usr/share/keyrings and the source $adresa in
 /etc/apt/sources.list.d/geometrija.sources, for this machine's Debian
 release. Removing the package removes both.
EOF
# The machine's Debian codename (a derivative such as Raspberry Pi OS names it in
# DEBIAN_CODENAME); one the repository lacks (testing, unstable) gets its newest.
cat >"$k/DEBIAN/postinst" <<EOF
#!/bin/sh
set -e
if [ "\$1" = configure ]; then
    suite=\$(. /etc/os-release && echo "\${DEBIAN_CODENAME:-\$VERSION_CODENAME}")
    case " $SUITE " in
    *" \$suite "*) ;;
    *) suite=${SUITE##* } ;;
    esac
    cat >/etc/apt/sources.list.d/geometrija.sources <<IZVOR
Types: deb
URIs: $adresa
Suites: \$suite
Components: main
Signed-By: /usr/share/keyrings/geometrija-archive-keyring.gpg
IZVOR
fi
EOF
cat >"$k/DEBIAN/postrm" <<'EOF'
#!/bin/sh
set -e
case "$1" in
remove|purge) rm -f /etc/apt/sources.list.d/geometrija.sources ;;
esac
EOF
chmod 755 "$k/DEBIAN/postinst" "$k/DEBIAN/postrm"
kljucni="$baza/geometrija-archive-keyring_${verzija}_all.deb"
SOURCE_DATE_EPOCH=$(sed -n 3p "$stanje") dpkg-deb --root-owner-group -Zxz --build "$k" "$kljucni" >/dev/null

# ---- the repository -----------------------------------------------------------------
: >"$baza/conf/distributions"
for suite in $SUITE; do
    cat >>"$baza/conf/distributions" <<EOF
Origin: geometrija
Label: geometrija
Codename: $suite
Components: main
Architectures: amd64 arm64
Description: geometrija for $suite
SignWith: $otisak

EOF
done
reprepro="reprepro --silent --basedir $baza --outdir $izlaz"
for suite in $SUITE; do
    $reprepro includedeb "$suite" "$kljucni" "${debovi[@]}"
done
# Every suite signed anew with this run's key (a new key re-signs an old repository).
$reprepro export
cp "$kljucni" "$izlaz/geometrija-archive-keyring.deb"
gpg --batch --export "$otisak" >"$izlaz/geometrija-archive-keyring.gpg"
echo "The repository is in $izlaz, for $adresa, signed by $otisak."
