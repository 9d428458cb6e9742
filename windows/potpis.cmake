# Signing with osslsigncode, when the build is given a certificate:
#   GEOMETRIJA_POTPIS          a PKCS#12 file (.p12/.pfx) with the key and certificate
#   GEOMETRIJA_POTPIS_LOZINKA  its password
#   GEOMETRIJA_POTPIS_VREME    optionally, an RFC 3161 time-stamping server's URL
# Without a certificate nothing is signed (SmartScreen warns at the first start).
# cmake -DDATOTEKE="a.exe;b.exe" -DOSSLSIGNCODE=... -P windows/potpis.cmake signs in place.
function(geometrija_potpisi)
  if("$ENV{GEOMETRIJA_POTPIS}" STREQUAL "")
    return()
  endif()
  foreach(datoteka IN LISTS ARGN)
    set(vreme "")
    if(NOT "$ENV{GEOMETRIJA_POTPIS_VREME}" STREQUAL "")
      set(vreme -ts "$ENV{GEOMETRIJA_POTPIS_VREME}")
    endif()
    file(REMOVE "${datoteka}.potpisan")
    execute_process(COMMAND ${OSSLSIGNCODE} sign -pkcs12 "$ENV{GEOMETRIJA_POTPIS}"
        -pass "$ENV{GEOMETRIJA_POTPIS_LOZINKA}" -n geometrija -h sha256 ${vreme}
        -in "${datoteka}" -out "${datoteka}.potpisan"
      RESULT_VARIABLE status OUTPUT_VARIABLE izlaz ERROR_VARIABLE izlaz)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "osslsigncode could not sign ${datoteka}:\n${izlaz}")
    endif()
    file(RENAME "${datoteka}.potpisan" "${datoteka}")
  endforeach()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  geometrija_potpisi(${DATOTEKE})
endif()
