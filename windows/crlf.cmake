# The text files of the folder FASCIKLA rewritten with CRLF line ends.
file(GLOB tekstovi "${FASCIKLA}/*.txt")
foreach(tekst IN LISTS tekstovi)
  configure_file("${tekst}" "${tekst}" NEWLINE_STYLE CRLF)
endforeach()
