# Script (cmake -P) that makes the installed form of one manual page: the page with the project's
# version after "Tarvik" in its .TH line, compressed with gzip -9n when GZIP names the program.
#   -DPAGE=source page  -DOUT=page to write (OUT.gz with GZIP)  -DVERSION=x.y.z  [-DGZIP=/bin/gzip]
file(READ "${PAGE}" text)
string(REGEX REPLACE "(\n\\.TH [^\n]*)\"Tarvik\"" "\\1\"Tarvik ${VERSION}\"" text "${text}")
if(NOT text MATCHES "\n\\.TH [^\n]*\"Tarvik ${VERSION}\"")
  message(FATAL_ERROR "${PAGE}: no \"Tarvik\" in the .TH line to put the version after")
endif()
file(WRITE "${OUT}" "${text}")
if(GZIP)
  # -n leaves the name and time out of the header, so the same page gives the same bytes.
  execute_process(COMMAND "${GZIP}" -9nf "${OUT}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip ${OUT} failed")
  endif()
endif()
