# Cross-building for 64-bit Windows with Debian's mingw-w64 (posix threads):
#   cmake -S . -B build-windows --toolchain windows/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GEOMETRIJA_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GEOMETRIJA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GEOMETRIJA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${GEOMETRIJA_MINGW}-windres)

# Headers and libraries from mingw's root (and the prefixes given, such as the
# freeglut built for it); the build's own tools from this machine.
set(CMAKE_FIND_ROOT_PATH /usr/${GEOMETRIJA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
