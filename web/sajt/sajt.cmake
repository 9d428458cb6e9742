# Puts the site together (cmake -P): the program's pages from the site's links,
# the start page with a link for each lesson, the manifest, the icons and the
# service worker, into IZLAZ, which it first empties.
#   IZVOR    the project's folder (lessons in docs/lekcije, the icon in paket)
#   DELOVI   the site's links: geometrija.{html,js,wasm}, geometrija-demo.{html,wasm}
#   VERZIJA  the version the start page shows and the cache is named after
cmake_minimum_required(VERSION 3.21)
foreach(ulaz IZVOR DELOVI IZLAZ VERZIJA)
  if(NOT DEFINED ${ulaz})
    message(FATAL_ERROR "sajt.cmake: -D${ulaz}=... is missing")
  endif()
endforeach()
set(ovde ${CMAKE_CURRENT_LIST_DIR})
file(REMOVE_RECURSE ${IZLAZ})
file(MAKE_DIRECTORY ${IZLAZ})

# Replaces the one `staro` in `tekst`: generated text that no longer has it
# exactly once would give a page that silently loads the wrong file.
function(zameni_jednom promenljiva staro novo)
  string(FIND "${${promenljiva}}" "${staro}" prvo)
  string(FIND "${${promenljiva}}" "${staro}" poslednje REVERSE)
  if(prvo EQUAL -1 OR NOT prvo EQUAL poslednje)
    message(FATAL_ERROR "sajt.cmake: '${staro}' is not in the text exactly once")
  endif()
  string(REPLACE "${staro}" "${novo}" tekst "${${promenljiva}}")
  set(${promenljiva} "${tekst}" PARENT_SCOPE)
endfunction()

# A file's name with its content's hash: a new content is a new address.
function(sa_hesom ime datoteka izlaz)
  file(SHA256 ${datoteka} hes)
  string(SUBSTRING ${hes} 0 12 hes)
  string(REGEX REPLACE "^([^.]*)\\." "\\1.${hes}." novo ${ime})
  set(${izlaz} ${novo} PARENT_SCOPE)
endfunction()

# ---- Icons: the program's icon drawn at each size, in a palette of at most 256
# colours (pngquant), deflated as hard as zopflipng can ----
foreach(alat rsvg-convert pngquant zopflipng)
  string(MAKE_C_IDENTIFIER ${alat} ime)
  find_program(${ime}_alat ${alat})
  if(NOT ${ime}_alat)
    message(FATAL_ERROR "sajt.cmake: ${alat} is missing (Debian: librsvg2-bin, pngquant, zopfli)")
  endif()
endforeach()
set(privremeno ${IZLAZ}/.ikone)
file(MAKE_DIRECTORY ${privremeno})
# Name, size, the drawing's size, and a white ground where the icon's own
# transparent corners would not do: the maskable icon (the drawing at 80 %, the
# area any mask keeps) and the iPad's, which shows transparency as black.
foreach(ikona "ikona-192.png;192;192;" "ikona-512.png;512;512;" "apple-touch-icon.png;180;180;-bwhite"
              "ikona-maskirna.png;512;410;-bwhite")
  list(GET ikona 0 ime)
  list(GET ikona 1 strana)
  list(GET ikona 2 crtez)
  list(GET ikona 3 pozadina)
  math(EXPR rub "(${strana} - ${crtez}) / 2")
  execute_process(COMMAND ${rsvg_convert_alat} -w ${crtez} -h ${crtez} --page-width ${strana}
                          --page-height ${strana} --left ${rub} --top ${rub} ${pozadina}
                          -o ${privremeno}/${ime} ${IZVOR}/paket/geometrija.svg
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${pngquant_alat} --force --strip --speed 1 --quality 60-90
                          --output ${privremeno}/q-${ime} ${privremeno}/${ime}
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND ${zopflipng_alat} -y --filters=0
                          ${privremeno}/q-${ime} ${IZLAZ}/${ime}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endforeach()
file(REMOVE_RECURSE ${privremeno})

# ---- The program's pages -------------------------------------------------------
# One script serves both pages: the demonstration's WebAssembly needs a subset
# of what the program's does. Each page names its WebAssembly (data-wasm), which
# the page's script hands to Emscripten.
file(READ ${ovde}/prijava.js PRIJAVA)
configure_file(${ovde}/glava.html.in ${IZLAZ}/.glava @ONLY)
file(READ ${IZLAZ}/.glava GLAVA)
file(REMOVE ${IZLAZ}/.glava)
sa_hesom(geometrija.js ${DELOVI}/geometrija.js skripta)
file(COPY_FILE ${DELOVI}/geometrija.js ${IZLAZ}/${skripta})
foreach(stranica geometrija geometrija-demo)
  sa_hesom(${stranica}.wasm ${DELOVI}/${stranica}.wasm wasm)
  file(COPY_FILE ${DELOVI}/${stranica}.wasm ${IZLAZ}/${wasm})
  file(READ ${DELOVI}/${stranica}.html tekst)
  zameni_jednom(tekst "src=\"${stranica}.js\"" "src=\"${skripta}\"")
  zameni_jednom(tekst "<html lang=\"sr\">" "<html lang=\"sr\" data-wasm=\"${wasm}\">")
  zameni_jednom(tekst "</head>" "${GLAVA}</head>")
  file(WRITE ${IZLAZ}/${stranica}.html "${tekst}")
endforeach()

# ---- The start page: a link for each lesson, and the same for the projector ----
# A lesson's answers go into the address as docs/web.md says: every byte but
# letters, digits and - . _ ~ as %XX.
function(adresa_odgovora tekst izlaz)
  set(adresa "")
  string(LENGTH "${tekst}" duzina)
  math(EXPR poslednji "${duzina} - 1")
  foreach(i RANGE ${poslednji})
    string(SUBSTRING "${tekst}" ${i} 1 znak)
    if(znak MATCHES "^[A-Za-z0-9._~-]$")
      string(APPEND adresa "${znak}")
    else()
      string(HEX "${znak}" kod)
      string(TOUPPER "${kod}" kod)
      string(APPEND adresa "%${kod}")
    endif()
  endforeach()
  set(${izlaz} "${adresa}" PARENT_SCOPE)
endfunction()

file(GLOB lekcije ${IZVOR}/docs/lekcije/*.txt)
list(SORT lekcije)
set(LEKCIJE "")
foreach(lekcija IN LISTS lekcije)
  get_filename_component(ime ${lekcija} NAME_WE)
  file(READ ${lekcija} odgovori)
  adresa_odgovora("${odgovori}" adresa)
  # parabola-negativno-p: "Parabola, negativno p"
  string(REGEX REPLACE "^([^-]*)-" "\\1, " naslov "${ime}")
  string(REPLACE "-" " " naslov "${naslov}")
  string(SUBSTRING "${naslov}" 0 1 prvo)
  string(SUBSTRING "${naslov}" 1 -1 ostatak)
  string(TOUPPER "${prvo}" prvo)
  set(naslov "${prvo}${ostatak}")
  string(STRIP "${odgovori}" redovi)
  string(REPLACE "\n" " / " redovi "${redovi}")
  string(APPEND LEKCIJE
    "  <li><a href=\"geometrija.html?odgovori=${adresa}\">${naslov}</a>,\n"
    "      <a href=\"geometrija.html?odgovori=${adresa}&amp;projektor=1\">${naslov}, za projektor</a>\n"
    "      <span class=\"odgovori\">(odgovori: <code>${redovi}</code>)</span></li>\n")
endforeach()
configure_file(${ovde}/pocetna.html.in ${IZLAZ}/index.html @ONLY)
configure_file(${ovde}/manifest.webmanifest.in ${IZLAZ}/manifest.webmanifest COPYONLY)

# ---- The service worker: every file but itself, and the set's name --------------
file(GLOB datoteke RELATIVE ${IZLAZ} ${IZLAZ}/*)
list(SORT datoteke)
set(DATOTEKE "")
set(spisak "")
foreach(ime IN LISTS datoteke)
  file(SHA256 ${IZLAZ}/${ime} hes)
  string(APPEND DATOTEKE "\n  [\"${ime}\", \"${hes}\"],")
  string(APPEND spisak "${ime} ${hes}\n")
endforeach()
set(DATOTEKE "[${DATOTEKE}\n]")
string(SHA256 hes "${spisak}")
string(SUBSTRING ${hes} 0 16 hes)
set(SKLADISTE "${VERZIJA} ${hes}")
configure_file(${ovde}/radnik.js ${IZLAZ}/radnik.js @ONLY)
message(STATUS "The site ${VERZIJA} (${hes}) is in ${IZLAZ}")
