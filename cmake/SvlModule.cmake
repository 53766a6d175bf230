# One way to declare every target of the tree.
#
#   svl_module(<name> STATIC|SHARED|OBJECT|EXECUTABLE
#              [QT None|Core|Gui|Widgets]  Qt level; from Core up AUTOMOC is on (default None)
#              [SOURCES <files>...]
#              [LINKS <targets>...]        public for libraries, private for executables
#              [PRIVATE_LINKS <targets>...]
#              [INCLUDES <dirs>...]        public include folders (default: the include root)
#              [DEFINES <defs>...]         private compile definitions
#              [EXCLUDE_FROM_ALL])
#
#   svl_test(<name> [QT ...] [SOURCES ...] [LINKS ...] [DEFINES ...]
#            [MAIN gtest|qt|own]            gtest_main (default), the Qt-aware test main, or the test's own
#            [LABELS ...] [ENVIRONMENT ...] [DEPENDS <targets>...] [DISCOVERY_TIMEOUT <s>])
#
#   svl_bench(<name> SOURCES ... LINKS ... [QT ...])   only with SVL_BENCH
#   svl_fuzz(<name> SOURCES ... LINKS ... [QT ...])    only with SVL_FUZZ
#
#   svl_command_line_test(<program target> [LABELS ...] [HELP_ALSO <calls>]
#                         [USAGE_ERRORS <cases>])
#       test <target>_command_line: the program's help, version and usage errors
#       without a card, a display or a home, against its manual page
#       docs/man/<target>.1 (cmake/CheckToolCommandLine.cmake says the forms)
#
# Include root: code under app/ includes its neighbours as "<folder>/<header>" below
# app/ ("channellist/CSVLFile.h", "frame/CMainFrame.h"); everything else below the top
# ("mpegts/BitReader.h", "Allgemein/CGfxListCtrl.h", "kestrel/protocol/Commands.h").
# Which folder may include which is checked by the layering test (cmake/CheckLayers.cmake).

function(_svl_include_root out)
  cmake_path(IS_PREFIX PROJECT_SOURCE_DIR "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE under_top)
  cmake_path(IS_PREFIX SVL_APP_DIR "${CMAKE_CURRENT_SOURCE_DIR}" NORMALIZE under_app)
  if(under_app)
    set(${out} ${SVL_APP_DIR} PARENT_SCOPE)
  else()
    set(${out} ${PROJECT_SOURCE_DIR} PARENT_SCOPE)
  endif()
endfunction()

function(_svl_apply_qt name level)
  if(level STREQUAL "" OR level STREQUAL "None")
    set_target_properties(${name} PROPERTIES AUTOMOC OFF)
    return()
  endif()
  if(NOT level MATCHES "^(Core|Gui|Widgets)$")
    message(FATAL_ERROR "svl_module(${name}): QT must be None, Core, Gui or Widgets, not '${level}'")
  endif()
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
  get_target_property(kind ${name} TYPE)
  if(kind STREQUAL "EXECUTABLE")
    target_link_libraries(${name} PRIVATE Qt6::${level})
  else()
    target_link_libraries(${name} PUBLIC Qt6::${level})
  endif()
endfunction()

function(svl_module name kind)
  cmake_parse_arguments(PARSE_ARGV 2 M "EXCLUDE_FROM_ALL" "QT"
                        "SOURCES;LINKS;PRIVATE_LINKS;INCLUDES;DEFINES")
  if(M_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "svl_module(${name}): unknown arguments ${M_UNPARSED_ARGUMENTS}")
  endif()
  set(exclude "")
  if(M_EXCLUDE_FROM_ALL)
    set(exclude EXCLUDE_FROM_ALL)
  endif()
  if(kind STREQUAL "EXECUTABLE")
    add_executable(${name} ${exclude} ${M_SOURCES})
    target_link_libraries(${name} PRIVATE ${M_LINKS} ${M_PRIVATE_LINKS})
    set(scope PRIVATE)
  elseif(kind MATCHES "^(STATIC|SHARED|OBJECT)$")
    add_library(${name} ${kind} ${exclude} ${M_SOURCES})
    target_link_libraries(${name} PUBLIC ${M_LINKS} PRIVATE ${M_PRIVATE_LINKS})
    set(scope PUBLIC)
  else()
    message(FATAL_ERROR "svl_module(${name}): kind must be STATIC, SHARED, OBJECT or EXECUTABLE")
  endif()
  if(NOT M_INCLUDES)
    _svl_include_root(M_INCLUDES)
  endif()
  target_include_directories(${name} ${scope} ${M_INCLUDES})
  if(M_DEFINES)
    target_compile_definitions(${name} PRIVATE ${M_DEFINES})
  endif()
  _svl_apply_qt(${name} "${M_QT}")
endfunction()

function(svl_test name)
  cmake_parse_arguments(PARSE_ARGV 1 T "" "QT;MAIN;DISCOVERY_TIMEOUT"
                        "SOURCES;LINKS;DEFINES;LABELS;ENVIRONMENT;DEPENDS;INCLUDES")
  if(T_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "svl_test(${name}): unknown arguments ${T_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT T_MAIN OR T_MAIN STREQUAL "gtest")
    set(main GTest::gtest_main)
  elseif(T_MAIN STREQUAL "qt")
    set(main testsupport_main)
  elseif(T_MAIN STREQUAL "own")
    set(main GTest::gtest)
  else()
    message(FATAL_ERROR "svl_test(${name}): MAIN must be gtest, qt or own")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LINKS} ${main} GTest::gmock)
  _svl_include_root(root)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${root} ${T_INCLUDES})
  if(T_DEFINES)
    target_compile_definitions(${name} PRIVATE ${T_DEFINES})
  endif()
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  _svl_apply_qt(${name} "${T_QT}")
  if(NOT T_DISCOVERY_TIMEOUT)
    set(T_DISCOVERY_TIMEOUT 60)
  endif()
  set(props "")
  if(T_LABELS)
    list(JOIN T_LABELS ";" labels)
    list(APPEND props LABELS "${labels}")
  endif()
  if(T_ENVIRONMENT)
    list(APPEND props ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${T_DISCOVERY_TIMEOUT}
                       PROPERTIES ${props})
endfunction()

function(svl_bench name)
  cmake_parse_arguments(PARSE_ARGV 1 B "" "QT" "SOURCES;LINKS;DEFINES")
  if(NOT SVL_BENCH)
    return()
  endif()
  svl_module(${name} EXECUTABLE QT "${B_QT}" SOURCES ${B_SOURCES} LINKS ${B_LINKS}
             DEFINES ${B_DEFINES})
endfunction()

function(svl_fuzz name)
  cmake_parse_arguments(PARSE_ARGV 1 F "" "QT" "SOURCES;LINKS")
  if(NOT SVL_FUZZ)
    return()
  endif()
  svl_module(${name} EXECUTABLE QT "${F_QT}" SOURCES ${F_SOURCES} LINKS ${F_LINKS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

function(svl_command_line_test target)
  cmake_parse_arguments(PARSE_ARGV 1 C "" "HELP_ALSO;USAGE_ERRORS" "LABELS")
  set(options "")
  if(DEFINED C_HELP_ALSO)
    list(APPEND options "-DHELP_ALSO=${C_HELP_ALSO}")
  endif()
  if(DEFINED C_USAGE_ERRORS)
    list(APPEND options "-DUSAGE_ERRORS=${C_USAGE_ERRORS}")
  endif()
  add_test(NAME ${target}_command_line
    COMMAND ${CMAKE_COMMAND} -DTOOL=$<TARGET_FILE:${target}> -DNAME=${target}
            -DVERSION=${PROJECT_VERSION} -DWORK=${CMAKE_CURRENT_BINARY_DIR}/command_line
            -DMAN=${PROJECT_SOURCE_DIR}/docs/man/${target}.1 ${options}
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckToolCommandLine.cmake)
  if(C_LABELS)
    set_tests_properties(${target}_command_line PROPERTIES LABELS "${C_LABELS}")
  endif()
endfunction()
