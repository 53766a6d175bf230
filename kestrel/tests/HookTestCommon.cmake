# Shared by the load-time hook tests: an empty key store in WORK (no card to
# find), the library's message for that case, and the check that a deferred
# start runs main unconnected.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(ENV{KESTREL_REGISTRY} ${WORK}/empty.db)
set(ENV{HOME} ${WORK})
set(ENV{XDG_CONFIG_HOME} ${WORK})
unset(ENV{KESTREL_DEFER_CONNECT})
set(no_card_message
    "Registry error: No valid path entry for NVDVBSrv !\n\nDVB Client Application will be closed.")

# KESTREL_DEFER_CONNECT set: main runs and nothing is connected.
function(expect_deferred_by_environment)
  set(ENV{KESTREL_DEFER_CONNECT} 1)
  execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE rc OUTPUT_VARIABLE out)
  unset(ENV{KESTREL_DEFER_CONNECT})
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "main ran\n")
    message(FATAL_ERROR "deferred by the environment: exit ${rc}, output '${out}'")
  endif()
endfunction()
