# The program's hook decides the load-time connect: asked and answering 1,
# main runs unconnected and can connect later (and then gets the library's
# message); answering 0, the load-time rule holds (exit 1 before main).
include(${CMAKE_CURRENT_LIST_DIR}/HookTestCommon.cmake)
set(ENV{KESTREL_INSTANCE} deferhook)
set(ENV{DEFER_HOOK_ASKED} ${WORK}/asked)
set(message "${no_card_message}")

set(ENV{DEFER_HOOK_ANSWER} 1)
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "main ran\n" OR NOT err STREQUAL "")
  message(FATAL_ERROR "deferring hook: exit ${rc}, output '${out}', errors '${err}'")
endif()
if(NOT EXISTS ${WORK}/asked)
  message(FATAL_ERROR "the library never asked the hook")
endif()

execute_process(COMMAND ${PROGRAM} connect RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT err STREQUAL "${message}\n")
  message(FATAL_ERROR "connect after deferring: exit ${rc}, errors '${err}'")
endif()

file(REMOVE ${WORK}/asked)
set(ENV{DEFER_HOOK_ANSWER} 0)
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "" OR NOT err STREQUAL "${message}\n")
  message(FATAL_ERROR "hook answering 0: exit ${rc}, output '${out}', errors '${err}'")
endif()
if(NOT EXISTS ${WORK}/asked)
  message(FATAL_ERROR "the library never asked the hook")
endif()

# The environment variable defers whatever the hook would answer.
expect_deferred_by_environment()
