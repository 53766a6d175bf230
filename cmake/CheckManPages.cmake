# Every manual page of the tree (DIR/*.1) formats without a single groff
# warning, with the man(7) macros and UTF-8 input, and names its own tool:
# the page <tool>.1 starts with ".TH <TOOL> 1", its NAME line reads
# "<tool> \- ...", and it has the sections SYNOPSIS, BESCHREIBUNG,
# OPTIONEN or BEFEHLE, EXIT-STATUS and SIEHE AUCH.
#
#   cmake -DDIR=<folder> -DGROFF=<groff> -P CheckManPages.cmake
file(GLOB pages ${DIR}/*.1)
if(NOT pages)
  message(FATAL_ERROR "no manual pages in ${DIR}")
endif()

set(failures "")
foreach(page IN LISTS pages)
  get_filename_component(tool ${page} NAME_WE)
  execute_process(COMMAND ${GROFF} -man -ww -z -Kutf8 ${page}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    string(APPEND failures "\n${tool}.1: groff exit ${rc}: ${err}")
  endif()
  file(READ ${page} text)
  string(TOUPPER "${tool}" title)
  if(NOT text MATCHES "(^|\n)\\.TH \"?${title}\"? 1 ")
    string(APPEND failures "\n${tool}.1: no '.TH ${title} 1' line")
  endif()
  string(REGEX MATCH "\n\\.SH \"?NAME\"?\n([^\n]*)" name_section "${text}")
  set(name_line "${CMAKE_MATCH_1}")
  string(FIND "${name_line}" "${tool} \\- " at)
  if(NOT at EQUAL 0)
    string(APPEND failures "\n${tool}.1: the NAME line '${name_line}' does not name ${tool}")
  endif()
  foreach(section SYNOPSIS BESCHREIBUNG EXIT-STATUS "SIEHE AUCH")
    if(NOT text MATCHES "\n\\.SH \"?${section}\"?\n")
      string(APPEND failures "\n${tool}.1: no section ${section}")
    endif()
  endforeach()
  if(NOT text MATCHES "\n\\.SH \"?(OPTIONEN|BEFEHLE)\"?\n")
    string(APPEND failures "\n${tool}.1: no section OPTIONEN or BEFEHLE")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
list(LENGTH pages count)
message(STATUS "${count} manual pages checked")
