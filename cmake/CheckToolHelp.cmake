# A tool's help, version and usage errors without a card or a display: an
# empty temporary key store, temporary HOME and XDG folders, no DISPLAY or
# WAYLAND_DISPLAY. Each HELP argument (e.g. "--help" "-h") exits 0 with the
# German usage text ("Aufruf:" and the "Exit-Status:" block) on standard
# output and nothing on standard error; --version prints "TOOL VERSION";
# each case of USAGE_ERRORS (cases separated by "|", words by blanks) exits
# 2 with nothing on standard output and a German message on standard error
# (ERROR_TEXT, a regular expression); an empty case is the call without
# arguments. A HELP case may hold several words ("list.svl --help"). The key
# store is never created.
#
#   cmake -DPROGRAM=<file> -DTOOL=<name> -DVERSION=<v> -DWORK=<dir>
#         -DHELP=--help;-h -DUSAGE_ERRORS=<cases> -DERROR_TEXT=<regex> -P CheckToolHelp.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home ${WORK}/config ${WORK}/data ${WORK}/runtime)
set(ENV{KESTREL_REGISTRY} ${WORK}/empty.db)
set(ENV{KESTREL_INSTANCE} help-${TOOL})
set(ENV{HOME} ${WORK}/home)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
set(ENV{XDG_DATA_HOME} ${WORK}/data)
set(ENV{XDG_RUNTIME_DIR} ${WORK}/runtime)
set(ENV{SVL_NO_DESKTOP_REGISTRATION} 1)
foreach(variable DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM KESTREL_DEFER_CONNECT)
  unset(ENV{${variable}})
endforeach()

set(failures "")
function(fail text)
  set(failures "${failures}\n${text}" PARENT_SCOPE)
endfunction()

function(run out_rc out_out out_err)
  execute_process(COMMAND ${PROGRAM} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE err TIMEOUT 20)
  set(${out_rc} "${rc}" PARENT_SCOPE)
  set(${out_out} "${out}" PARENT_SCOPE)
  set(${out_err} "${err}" PARENT_SCOPE)
endfunction()

foreach(help IN LISTS HELP)
  separate_arguments(words UNIX_COMMAND "${help}")
  run(rc out err ${words})
  if(NOT rc EQUAL 0)
    fail("${TOOL} ${help}: exit '${rc}', expected 0; stderr '${err}'")
  elseif(NOT err STREQUAL "")
    fail("${TOOL} ${help}: stderr not empty: '${err}'")
  elseif(NOT out MATCHES "^Aufruf: ${TOOL}" OR NOT out MATCHES "\nExit-Status:\n")
    fail("${TOOL} ${help}: no German usage text with exit codes: '${out}'")
  endif()
endforeach()

run(rc out err --version)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "${TOOL} ${VERSION}\n" OR NOT err STREQUAL "")
  fail("${TOOL} --version: exit '${rc}', output '${out}', stderr '${err}'")
endif()

string(REPLACE "|" ";" cases "${USAGE_ERRORS}")
foreach(case IN LISTS cases)
  separate_arguments(words UNIX_COMMAND "${case}")
  run(rc out err ${words})
  if(NOT rc EQUAL 2)
    fail("${TOOL} ${case}: exit '${rc}', expected 2 (usage); stderr '${err}'")
  elseif(NOT out STREQUAL "")
    fail("${TOOL} ${case}: a usage error wrote to standard output: '${out}'")
  elseif(NOT err MATCHES "${ERROR_TEXT}" OR err MATCHES "[Uu]sage:")
    fail("${TOOL} ${case}: no German message matching '${ERROR_TEXT}': '${err}'")
  endif()
endforeach()

if(EXISTS ${WORK}/empty.db)
  fail("${TOOL}: the key store was created")
endif()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
