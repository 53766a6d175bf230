# Runs a shell tool's help, version and usage errors the way a new user meets
# them: no card, no display, an empty home. Run as a test:
#   cmake -DTOOL=<program> -DNAME=<tool> -DVERSION=<project version> -DWORK=<scratch folder>
#         [-DMAN=<manual page>] [-DUSAGE_ERRORS=<cases>] [-DHELP_ALSO=<calls>]
#         -P cmake/CheckToolCommandLine.cmake
# USAGE_ERRORS: cases separated by "|", each "ARGUMENTS=>TEXT": the tool called
# with the (blank-separated) arguments must exit 2, print nothing on standard
# output and "<tool>: ...TEXT..." (or "<tool> <command>: ...") and the hint
# "Hilfe: <tool> --help" on standard error.
# HELP_ALSO: calls separated by "|" that must print the help of --help as
# well (default "-h"), e.g. "-h|help" or "-h|liste.svl --help".
# Checks: --help prints the help on standard output, exits 0 and names the
# exit codes; --version prints "<tool> <version>"; the key store named by
# KESTREL_REGISTRY is never created, nothing is written to the home, the XDG
# folders or the working folder, and no shared object or lock of the test's
# instance appears in /dev/shm; every command and option that the help lists
# is described in the manual page.
cmake_minimum_required(VERSION 3.25)
foreach(required TOOL NAME VERSION WORK)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "CheckToolCommandLine: ${required} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK})
foreach(dir home config data cache runtime cwd)
  file(MAKE_DIRECTORY ${WORK}/${dir})
endforeach()
file(CHMOD ${WORK}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{HOME} ${WORK}/home)
set(ENV{XDG_CONFIG_HOME} ${WORK}/config)
set(ENV{XDG_DATA_HOME} ${WORK}/data)
set(ENV{XDG_CACHE_HOME} ${WORK}/cache)
set(ENV{XDG_RUNTIME_DIR} ${WORK}/runtime)
foreach(variable DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM NVDVBSRV_CONFIG KESTREL_DEFER_CONNECT)
  unset(ENV{${variable}})
endforeach()
# An empty key store: a tool that connected would find no card.
set(ENV{KESTREL_REGISTRY} ${WORK}/registry.db)
set(ENV{SVL_NO_DESKTOP_REGISTRATION} 1)
string(RANDOM LENGTH 10 ALPHABET abcdefghijklmnopqrstuvwxyz tag)
set(instance "clicheck${tag}")
set(ENV{KESTREL_INSTANCE} ${instance})

set(failures "")
macro(fail text)
  string(APPEND failures "  ${text}\n")
endmacro()

# Runs the tool; sets rc, out, err.
function(run)
  execute_process(COMMAND ${TOOL} ${ARGN} WORKING_DIRECTORY ${WORK}/cwd TIMEOUT 20
                  RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e)
  set(rc "${r}" PARENT_SCOPE)
  set(out "${o}" PARENT_SCOPE)
  set(err "${e}" PARENT_SCOPE)
endfunction()

# Help.
run(--help)
set(help "${out}")
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  fail("--help: exit ${rc}, standard error '${err}'")
endif()
# Exit code 2 is named by every tool that has usage errors.
set(wanted "Aufruf: ${NAME}" "--version" "Exit-Status:" "\n  0  " "\n  1  ")
if(USAGE_ERRORS)
  list(APPEND wanted "\n  2  ")
endif()
foreach(want IN LISTS wanted)
  string(FIND "${help}" "${want}" at)
  if(at EQUAL -1)
    fail("--help lacks '${want}'")
  endif()
endforeach()
if(NOT DEFINED HELP_ALSO)
  set(HELP_ALSO "-h")
endif()
string(REPLACE "|" ";" also "${HELP_ALSO}")
foreach(call IN LISTS also)
  separate_arguments(args UNIX_COMMAND "${call}")
  run(${args})
  if(NOT rc EQUAL 0 OR NOT out STREQUAL help)
    fail("${call}: exit ${rc}, not the text of --help")
  endif()
endforeach()

# Version.
run(--version)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "${NAME} ${VERSION}\n" OR NOT err STREQUAL "")
  fail("--version: exit ${rc}, '${out}', expected '${NAME} ${VERSION}'")
endif()

# Usage errors.
if(USAGE_ERRORS)
  string(REPLACE "|" ";" cases "${USAGE_ERRORS}")
endif()
foreach(case IN LISTS cases)
  string(FIND "${case}" "=>" split)
  string(SUBSTRING "${case}" 0 ${split} arguments)
  math(EXPR from "${split} + 2")
  string(SUBSTRING "${case}" ${from} -1 text)
  separate_arguments(args UNIX_COMMAND "${arguments}")
  run(${args})
  string(REGEX MATCH "^${NAME}( [a-z]+)*: " prefix "${err}")
  string(FIND "${err}" "${text}" said)
  string(FIND "${err}" "Hilfe: ${NAME} --help" hint)
  if(NOT rc EQUAL 2 OR NOT out STREQUAL "" OR NOT prefix OR said EQUAL -1 OR hint EQUAL -1)
    fail("'${arguments}': exit ${rc} (expected 2), standard output '${out}', "
         "standard error '${err}' (expected '${NAME}: ...${text}...' and the hint)")
  endif()
endforeach()

# Nothing touched.
file(GLOB_RECURSE written LIST_DIRECTORIES true
     ${WORK}/home/* ${WORK}/config/* ${WORK}/data/* ${WORK}/cache/* ${WORK}/runtime/* ${WORK}/cwd/*)
if(written)
  fail("files written: ${written}")
endif()
if(EXISTS ${WORK}/registry.db)
  fail("the key store was created")
endif()
file(GLOB_RECURSE shared LIST_DIRECTORIES false /dev/shm/*${instance}*)
if(shared)
  fail("shared objects or locks of the instance: ${shared}")
endif()

# The manual page describes what the help lists: the first word of every
# line indented by two blanks (commands and options) and every long option.
if(MAN)
  file(READ ${MAN} page)
  string(REPLACE "\\-" "-" page "${page}")
  string(REPLACE "\\(em" "-" page "${page}")
  string(REGEX MATCHALL "\n  [a-z-][a-z-]*" entries "${help}")
  string(REGEX MATCHALL "--[a-z][a-z-]*" options "${help}")
  foreach(entry IN LISTS entries options)
    string(STRIP "${entry}" word)
    string(REGEX MATCH "(^|[^a-z-])${word}([^a-z-]|$)" found "${page}")
    if(NOT found)
      fail("the manual page ${MAN} does not describe '${word}'")
    endif()
  endforeach()
endif()

if(failures)
  message(FATAL_ERROR "${NAME}:\n${failures}")
endif()
message(STATUS "${NAME}: help, version and usage errors as expected")
