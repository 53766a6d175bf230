# A failed load-time connect reaches the program's hook, then exit code 1.
include(${CMAKE_CURRENT_LIST_DIR}/HookTestCommon.cmake)
set(ENV{KESTREL_INSTANCE} fatalhook)
set(ENV{FATAL_HOOK_FILE} ${WORK}/message.txt)
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 1 OR NOT out STREQUAL "")
  message(FATAL_ERROR "exit ${rc}, output '${out}', expected exit 1 and no output")
endif()
file(READ ${WORK}/message.txt hooked)
if(NOT hooked STREQUAL no_card_message)
  message(FATAL_ERROR "hook got '${hooked}'")
endif()
# Deferred: main runs and nothing is connected.
expect_deferred_by_environment()
