# The Windows build's libraries and flags (included by the top-level CMakeLists.txt
# under windows/mingw-w64.cmake).

# The programs' icon and version resource (prozor/resursi_windows.rc.in), by windres.
enable_language(RC)

# GL and GLU: mingw's import libraries for opengl32 and glu32.
find_package(OpenGL REQUIRED)

# GLUT: the static freeglut that windows/freeglut.sh builds from Debian's source
# into the build folder.
set(GEOMETRIJA_FREEGLUT "${PROJECT_BINARY_DIR}/freeglut" CACHE PATH
  "Prefix of the static freeglut for Windows (windows/freeglut.sh)")
find_package(FreeGLUT 3.4 CONFIG REQUIRED PATHS "${GEOMETRIJA_FREEGLUT}" NO_DEFAULT_PATH
  NO_CMAKE_FIND_ROOT_PATH)
# Under the name the native programs link on every platform. Its headers want
# FREEGLUT_STATIC, or they declare every function as imported from a DLL.
add_library(GLUT::GLUT INTERFACE IMPORTED)
foreach(vrsta INCLUDE_DIRECTORIES COMPILE_DEFINITIONS)
  get_target_property(vrednost FreeGLUT::freeglut_static INTERFACE_${vrsta})
  set_target_properties(GLUT::GLUT PROPERTIES INTERFACE_${vrsta} "${vrednost}")
endforeach()
target_link_libraries(GLUT::GLUT INTERFACE FreeGLUT::freeglut_static)

# The console as the Linux program's: mingw's C99 printf and scanf, not MSVCRT's
# (which writes an infinity as 1.#INF00); where those still differ from glibc, the
# program's own console (src/citanje.cpp). Floats in SSE2 registers, never the x87's wider ones.
target_compile_definitions(geometrija_platforma INTERFACE __USE_MINGW_ANSI_STDIO=1)
target_compile_options(geometrija_platforma INTERFACE -msse2 -mfpmath=sse)
# One executable each: the C and C++ runtimes and winpthread linked in, so only
# Windows's own DLLs are imported; stripped, as the zip carries no debugger.
target_link_options(geometrija_platforma INTERFACE -static -s)
# No link time in the PE header: the same sources give the same programs, and so
# the same MSI, whose PackageCode follows from its files (windows/msi.cmake).
target_link_options(geometrija_platforma INTERFACE -Wl,--no-insert-timestamp)
