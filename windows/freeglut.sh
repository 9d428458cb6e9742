#!/usr/bin/env bash
# freeglut for Windows, as a static library, from Debian's own source package:
#   windows/freeglut.sh BUILD_FOLDER
# installs it into BUILD_FOLDER/freeglut. The source comes through a private apt
# configuration under BUILD_FOLDER/apt with a deb-src entry for the archive this
# machine already uses; the system's apt sources and lists are never changed.
# apt checks the signed index and the files' checksums, dpkg-source the
# package's own. Once built, the library is kept: a second run does nothing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:?usage: $0 BUILD_FOLDER}")
prefix=$build/freeglut
gotovo=$prefix/include/GL/glut.h

if [ -f "$gotovo" ]; then
    echo "freeglut for Windows: kept from an earlier build in $prefix"
    exit 0
fi

ARHIVA=http://deb.debian.org/debian
IZDANJE=bookworm
KLJUC=/usr/share/keyrings/debian-archive-keyring.gpg

apt=$build/apt
rm -rf "$apt" "$build/freeglut-izvor" "$build/freeglut-gradnja"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/sources.list.d" "$build/freeglut-izvor"
cat >"$apt/sources.list" <<SOURCES
deb-src [signed-by=$KLJUC] $ARHIVA $IZDANJE main
SOURCES
opcije=(
    -o "Dir::Etc::SourceList=$apt/sources.list"
    -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State::Lists=$apt/lists"
    -o "Dir::Cache=$apt/cache"
    -o "Dir::State::status=/var/lib/dpkg/status"
    # Downloads run as the user who runs this, into the private folders.
    -o "APT::Sandbox::User=$(id -un)"
    # The private folders are this build's alone; the system's locks are left
    # to the system's apt, which may be running meanwhile.
    -o "Debug::NoLocking=true"
)
apt-get "${opcije[@]}" -qq update
(cd "$build/freeglut-izvor" && apt-get "${opcije[@]}" -q source freeglut)
# freeglut 3.4.0, whatever Debian revision the archive holds now.
izvor=$build/freeglut-izvor/freeglut-3.4.0
[ -d "$izvor" ] || { echo "freeglut 3.4.0's source was not unpacked in $build/freeglut-izvor" >&2; exit 1; }

cmake -S "$izvor" -B "$build/freeglut-gradnja" --toolchain "$PWD/windows/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
    -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF -DFREEGLUT_REPLACE_GLUT=ON
cmake --build "$build/freeglut-gradnja" -j "${JOBS:-2}"
cmake --install "$build/freeglut-gradnja"
[ -f "$gotovo" ] || { echo "freeglut built, but $gotovo is missing" >&2; exit 1; }
echo "freeglut for Windows: $prefix"
