# The include check must fail on a tree that breaks a rule and pass on one that
# keeps them: a view that includes the wiring, and a relative climb.
#   cmake -DCHECK=<CheckLayers.cmake> -DWORK=<scratch folder> -P CheckLayersSelfTest.cmake
file(REMOVE_RECURSE ${WORK})

function(run_check top expect_ok)
  execute_process(COMMAND ${CMAKE_COMMAND} -DTOP=${top} -P ${CHECK}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expect_ok AND NOT rc EQUAL 0)
    message(FATAL_ERROR "a sound tree was refused:\n${err}")
  elseif(NOT expect_ok AND rc EQUAL 0)
    message(FATAL_ERROR "a broken tree passed:\n${out}${err}")
  endif()
  set(last_output "${err}" PARENT_SCOPE)
endfunction()

file(WRITE ${WORK}/good/app/frame/view/CView.cpp
  "#include \"frame/view/CView.h\"\n#include \"common/CommandIds.h\"\n#include <QWidget>\n")
file(WRITE ${WORK}/good/app/shell/CWiring.cpp "#include \"frame/CMainFrame.h\"\n")
run_check(${WORK}/good TRUE)

file(COPY ${WORK}/good/ DESTINATION ${WORK}/up)
file(APPEND ${WORK}/up/app/frame/view/CView.cpp "#include \"shell/CWiring.h\"\n")
run_check(${WORK}/up FALSE)
if(NOT last_output MATCHES "frame/view may not see shell")
  message(FATAL_ERROR "the report does not name the broken rule:\n${last_output}")
endif()

file(COPY ${WORK}/good/ DESTINATION ${WORK}/climb)
file(WRITE ${WORK}/climb/app/common/CState.cpp "#include \"../frame/CMainFrame.h\"\n")
run_check(${WORK}/climb FALSE)
message(STATUS "include check refuses broken trees")
